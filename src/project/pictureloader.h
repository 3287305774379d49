#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

struct BackgroundPicture;

// Largest picture file the loader reads.
inline constexpr int64_t kMaxPictureFileBytes = int64_t{512} << 20;

// The pixels of a BMP file, upright in Format_RGB32, or why it was refused.
struct DecodedBitmap {
    QImage image;
    std::string refusal; // empty on success

    bool ok() const { return refusal.empty(); }
};

// Decodes an uncompressed 24- or 32-bit BMP (32-bit also with the standard
// BGRX bit fields). Pixel rows start at the file header's pixel-data offset,
// so larger information headers and colour tables are skipped; top-down
// pictures come out upright. Header numbers are checked against the bytes
// present before anything is allocated.
DecodedBitmap decodeBitmap(std::string_view bytes);

// Drops the current picture, then loads the BMP at `path`, placed at the
// given scroll position. On success sets pixels, picLeft/picTop,
// picWidth/picHeight and pictureName (the path); on failure no picture is
// left loaded and the caller shows the error.
bool loadBackgroundPicture(BackgroundPicture& picture, const std::string& path, int32_t scrollX,
                           int32_t scrollY);

} // namespace kelvara
