#pragma once

#include <QImage>
#include <QString>

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

// Pixels a PNG or JPEG may have (32 M: a 5600 x 5600 scan), checked
// against its header before it is decoded.
inline constexpr int64_t kMaxPicturePixels = int64_t{32} << 20;

// A BMP (by its "BM" start, under the rules above) or a PNG or JPEG through
// Qt's image readers, in Format_RGB32 with transparent parts white. A PNG or
// JPEG of more than `maxPixels` is refused.
DecodedBitmap decodePicture(std::string_view bytes, int64_t maxPixels = kMaxPicturePixels);

// Loads the BMP, PNG or JPEG at `path` in place of the current picture, placed at the
// given scroll position. On success sets pixels, picLeft/picTop,
// picWidth/picHeight and pictureName (the path); on failure the current
// picture stays as it was and the caller shows the error.
bool loadBackgroundPicture(BackgroundPicture& picture, const QString& path, int32_t scrollX, int32_t scrollY);

} // namespace kelvara
