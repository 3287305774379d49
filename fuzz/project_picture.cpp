// Feeds arbitrary bytes to the BMP decoder behind the background picture.
#include "project/pictureloader.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const kelvara::DecodedBitmap decoded =
        kelvara::decodeBitmap(std::string_view(reinterpret_cast<const char*>(data), size));
    if (decoded.ok()) {
        const QImage& image = decoded.image;
        // A decoded picture is never larger than the pixel bytes it came from.
        const auto pixels = static_cast<uint64_t>(image.width()) * static_cast<uint64_t>(image.height());
        if (image.isNull() || image.format() != QImage::Format_RGB32 || pixels * 3 > size)
            __builtin_trap();
        volatile QRgb corner = image.pixel(image.width() - 1, image.height() - 1);
        (void)corner;
    }
    return 0;
}
