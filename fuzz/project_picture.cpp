// Feeds arbitrary bytes to the picture decoders behind the background
// picture: the BMP decoder, and PNG and JPEG through Qt's readers.
#include "project/pictureloader.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // A megapixel is plenty for the decoders' paths; the
    // full limit would only fill the sanitizer's quarantine.
    constexpr int64_t kFuzzPixels = int64_t{1} << 20;
    const kelvara::DecodedBitmap decoded = kelvara::decodePicture(bytes, kFuzzPixels);
    if (decoded.ok()) {
        const QImage& image = decoded.image;
        const auto pixels = static_cast<uint64_t>(image.width()) * static_cast<uint64_t>(image.height());
        // A BMP is never larger than the pixel bytes it came from.
        if (image.isNull() || image.format() != QImage::Format_RGB32 ||
            (bytes.substr(0, 2) == "BM" && pixels * 3 > size) || pixels > uint64_t(kFuzzPixels))
            __builtin_trap();
        volatile QRgb corner = image.pixel(image.width() - 1, image.height() - 1);
        (void)corner;
    }
    return 0;
}
