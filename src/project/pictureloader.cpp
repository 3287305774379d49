#include "project/pictureloader.h"

#include "model/backgroundpicture.h"
#include "project/filebytes.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>

#include <cstring>

namespace kelvara {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t u32(std::string_view b, std::size_t at)
{
    unsigned char c[4];
    std::memcpy(c, b.data() + at, 4);
    return uint32_t{c[0]} | uint32_t{c[1]} << 8 | uint32_t{c[2]} << 16 | uint32_t{c[3]} << 24;
}

uint16_t u16(std::string_view b, std::size_t at)
{
    unsigned char c[2];
    std::memcpy(c, b.data() + at, 2);
    return static_cast<uint16_t>(c[0] | c[1] << 8);
}

DecodedBitmap refuse(const char* why)
{
    DecodedBitmap result;
    result.refusal = why;
    return result;
}

} // namespace

DecodedBitmap decodeBitmap(std::string_view bytes)
{
    if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return refuse("not a BMP file");
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize)
        return refuse("short information header");
    const std::size_t info = kFileHeaderSize;
    if (u32(bytes, info) < kInfoHeaderSize)
        return refuse("information header older than 40 bytes");

    const auto width = static_cast<int32_t>(u32(bytes, info + 4));
    const auto height = static_cast<int32_t>(u32(bytes, info + 8));
    const uint16_t bitsPerPixel = u16(bytes, info + 14);
    const uint32_t compression = u32(bytes, info + 16);
    const uint32_t imageSizeField = u32(bytes, info + 20);

    if (bitsPerPixel != 24 && bitsPerPixel != 32)
        return refuse("bit depth other than 24 or 32");
    if (compression == kCompressionBitFields) {
        // Bit fields are accepted only when they describe plain BGRX pixels.
        // The masks sit right after the 40 bytes, inside a larger header too.
        const std::size_t masks = info + kInfoHeaderSize;
        if (bitsPerPixel != 32 || bytes.size() < masks + 12)
            return refuse("unusable bit fields");
        if (u32(bytes, masks) != 0x00FF0000 || u32(bytes, masks + 4) != 0x0000FF00 ||
            u32(bytes, masks + 8) != 0x000000FF)
            return refuse("bit fields other than BGRX");
    } else if (compression != kCompressionNone) {
        return refuse("compressed pixels");
    }
    if (width <= 0)
        return refuse("width not positive");
    if (height == 0)
        return refuse("height zero");

    // All sizes in 64 bits: the header's numbers may be forged.
    const uint64_t rows = height < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(height))
                                     : static_cast<uint64_t>(height);
    const uint64_t rowLength = ((static_cast<uint64_t>(width) * bitsPerPixel / 8) + 3) / 4 * 4;
    if (rowLength > 0xFFFFFFFFu)
        return refuse("row size beyond 32 bits");
    const uint64_t needed = rowLength * rows;
    if (needed > 0xFFFFFFFFu)
        return refuse("image size beyond 32 bits");
    const uint64_t imageSize = imageSizeField == 0 ? needed : imageSizeField;
    if (imageSize < needed)
        return refuse("image size smaller than the rows");

    const uint64_t offset = u32(bytes, 10);
    if (offset < kFileHeaderSize + kInfoHeaderSize)
        return refuse("pixel data inside the headers");
    if (offset > bytes.size() || imageSize > bytes.size() - offset)
        return refuse("pixel data past the end of the file");

    DecodedBitmap result;
    result.image = QImage(width, static_cast<int>(rows), QImage::Format_RGB32);
    if (result.image.isNull())
        return refuse("picture too large");

    const std::size_t step = bitsPerPixel / 8;
    const auto* source = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    for (uint64_t r = 0; r < rows; ++r) {
        // Positive heights store the bottom row first.
        const int y = height > 0 ? static_cast<int>(rows - 1 - r) : static_cast<int>(r);
        auto* out = reinterpret_cast<QRgb*>(result.image.scanLine(y));
        const unsigned char* in = source + r * rowLength;
        for (int32_t x = 0; x < width; ++x, in += step)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return result;
}

namespace {

// Whether every chunk of a PNG lies inside the file: a chunk claiming more
// than the file holds would have the decoder reserve and fill room for it.
bool pngChunksFit(std::string_view bytes)
{
    constexpr std::size_t kSignature = 8, kChunkFrame = 12; // length, type, CRC
    std::size_t at = kSignature;
    while (at < bytes.size()) {
        if (bytes.size() - at < kChunkFrame)
            return false;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
        const uint64_t length = uint64_t{p[0]} << 24 | uint64_t{p[1]} << 16 | uint64_t{p[2]} << 8 | p[3];
        if (length > bytes.size() - at - kChunkFrame)
            return false;
        if (std::memcmp(p + 4, "IEND", 4) == 0)
            return true;
        at += kChunkFrame + length;
    }
    return false;
}

} // namespace

DecodedBitmap decodePicture(std::string_view bytes, int64_t maxPixels)
{
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM")
        return decodeBitmap(bytes);
    DecodedBitmap result;
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg") {
        result.refusal = "not a BMP, PNG or JPEG picture";
        return result;
    }
    if (format == "png" && !pngChunksFit(bytes)) {
        result.refusal = "PNG chunk beyond the end of the file";
        return result;
    }
    // The size the header claims is checked before a pixel is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || static_cast<int64_t>(size.width()) * size.height() > maxPixels) {
        result.refusal = "picture size unusable";
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size) {
        result.refusal = "picture data unreadable";
        return result;
    }
    // Transparent parts show white, as paper under a tracing would.
    result.image = QImage(image.size(), QImage::Format_RGB32);
    result.image.fill(Qt::white);
    QPainter painter(&result.image);
    painter.drawImage(0, 0, image);
    painter.end();
    return result;
}

bool loadBackgroundPicture(BackgroundPicture& picture, const QString& path, int32_t scrollX, int32_t scrollY)
{
    // The old picture goes only once the new one has been decoded, so a
    // refused file leaves it loaded and shown.
    const auto bytes = readFileBytes(path, kMaxPictureFileBytes);
    if (!bytes)
        return false;
    DecodedBitmap decoded = decodePicture(*bytes);
    if (!decoded.ok())
        return false;
    releaseBackgroundPicture(picture);
    picture.pixels = std::move(decoded.image);
    picture.picLeft = scrollX;
    picture.picTop = scrollY;
    picture.picWidth = picture.pixels.width();
    picture.picHeight = picture.pixels.height();
    picture.pictureName = path;
    return true;
}

} // namespace kelvara
