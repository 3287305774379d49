#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

namespace kelvara {

// The tracing picture under the canvas. Not part of the design and never
// journaled; a saved project names it on a line of its own. An empty
// pictureName means no picture is loaded.
struct BackgroundPicture {
    QString pictureName;
    QImage pixels;       // upright, Format_RGB32
    int32_t picLeft = 0; // scroll position when loaded (canvas pixels)
    int32_t picTop = 0;
    int32_t picWidth = 0;
    int32_t picHeight = 0;
    int32_t dimPercent = 0; // 0 as loaded .. 100 white: faded toward the paper
    bool hidden = false;    // kept loaded, not drawn

    bool loaded() const { return !pictureName.isEmpty(); }
};

// Drops a loaded picture; does nothing when none is loaded.
void releaseBackgroundPicture(BackgroundPicture& picture);

// The picture switch's next state: as loaded, dimmed 50 %, dimmed 75 %,
// hidden, and round again.
void stepPictureDimming(BackgroundPicture& picture);

// The colour a picture pixel shows with `dimPercent` (0..100) of white over it.
QRgb dimmedPixel(QRgb pixel, int32_t dimPercent);

} // namespace kelvara
