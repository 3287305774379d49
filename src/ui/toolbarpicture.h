#pragma once

#include <QImage>

#include <string>

namespace kelvara {

inline constexpr const char* kToolbarPictureFileName = "buttons.bmp";

// Result of reading buttons.bmp. Any failure ends the program with exit
// code 1; some of them first show the box "BUTTONS.BMP" / "!!!".
struct ToolbarPicture {
    enum class Status { Loaded, FailWithMessage, FailSilently };
    Status status = Status::FailWithMessage;
    QImage image; // upright, Format_RGB32; null unless Loaded
};

// Reads a 24 or 32 bpp bitmap whose pixel rows follow the 54 header bytes
// directly, `image size` bytes of them. Never trusts the header's sizes for
// an allocation before the file is known to hold that many bytes.
ToolbarPicture loadToolbarPicture(const std::string& path);
ToolbarPicture decodeToolbarPicture(const QByteArray& bytes);

} // namespace kelvara
