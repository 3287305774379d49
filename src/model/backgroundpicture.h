#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

namespace kelvara {

// The tracing picture under the canvas. Not part of the design: never saved
// or journaled. An empty pictureName means no picture is loaded.
struct BackgroundPicture {
    QString pictureName;
    QImage pixels;       // upright, Format_RGB32
    int32_t picLeft = 0; // scroll position when loaded (canvas pixels)
    int32_t picTop = 0;
    int32_t picWidth = 0;
    int32_t picHeight = 0;

    bool loaded() const { return !pictureName.isEmpty(); }
};

// Drops a loaded picture; does nothing when none is loaded.
void releaseBackgroundPicture(BackgroundPicture& picture);

} // namespace kelvara
