#include "ui/toolbarpicture.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <cstdint>

namespace kelvara {

namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderSize = 40;
// Far beyond any toolbar picture; keeps a forged header from asking for
// gigabytes.
constexpr int32_t kMaxSide = 16384;
constexpr qint64 kMaxPixelBytes = 64 * 1024 * 1024;

uint32_t read32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

ToolbarPicture fail(ToolbarPicture::Status status)
{
    ToolbarPicture result;
    result.status = status;
    return result;
}

ToolbarPicture readPicture(QIODevice& device)
{
    unsigned char fileHeader[kFileHeaderSize];
    if (device.read(reinterpret_cast<char*>(fileHeader), kFileHeaderSize) != kFileHeaderSize ||
        fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return fail(ToolbarPicture::Status::FailWithMessage);

    unsigned char info[kInfoHeaderSize];
    if (device.read(reinterpret_cast<char*>(info), kInfoHeaderSize) != kInfoHeaderSize)
        return fail(ToolbarPicture::Status::FailSilently);
    const int bitCount = info[14]; // only the low byte counts
    if (bitCount != 24 && bitCount != 32)
        return fail(ToolbarPicture::Status::FailSilently);

    // The picture the header describes; a size no bitmap can have fails
    // like a picture that cannot be created.
    const auto width = static_cast<int32_t>(read32(info + 4));
    const auto rawHeight = static_cast<int32_t>(read32(info + 8));
    if (width <= 0 || width > kMaxSide || rawHeight == 0 || rawHeight < -kMaxSide || rawHeight > kMaxSide)
        return fail(ToolbarPicture::Status::FailSilently);
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const int bytesPerPixel = bitCount / 8;
    const qint64 stride = (qint64(width) * bitCount + 31) / 32 * 4;
    const qint64 storageSize = stride * height;
    if (storageSize > kMaxPixelBytes)
        return fail(ToolbarPicture::Status::FailSilently);

    // Exactly `image size` bytes must follow the headers. Whatever goes
    // beyond the picture's own storage is read past, never stored.
    const qint64 imageSize = read32(info + 20);
    if (device.size() - device.pos() < imageSize)
        return fail(ToolbarPicture::Status::FailWithMessage);
    QByteArray pixels = device.read(std::min(imageSize, storageSize));
    if (pixels.size() < std::min(imageSize, storageSize))
        return fail(ToolbarPicture::Status::FailWithMessage);
    pixels.resize(storageSize, '\0'); // unread rows stay black

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return fail(ToolbarPicture::Status::FailSilently);
    const auto* src = reinterpret_cast<const unsigned char*>(pixels.constData());
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = src + stride * (bottomUp ? height - 1 - y : y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + x * bytesPerPixel;
            out[x] = qRgb(p[2], p[1], p[0]);
        }
    }
    ToolbarPicture result;
    result.status = ToolbarPicture::Status::Loaded;
    result.image = std::move(image);
    return result;
}

} // namespace

ToolbarPicture loadToolbarPicture(const std::string& path)
{
    QFile file(QString::fromLocal8Bit(path.data(), qsizetype(path.size())));
    if (!file.open(QIODevice::ReadOnly))
        return fail(ToolbarPicture::Status::FailWithMessage);
    return readPicture(file);
}

ToolbarPicture decodeToolbarPicture(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPicture(buffer);
}

} // namespace kelvara
