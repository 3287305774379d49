// Paints the toolbar pictures and writes them as data/buttons.bmp: one
// row of 30 x 30 pictures, 24 bits per pixel, the pixel rows directly after
// the 54 header bytes and the image-size field filled in, as the editor
// reads it. Usage: makebuttons [output path]

#include "drawing.h"
#include "pictures.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvara::makebuttons {

namespace {

QImage paintStrip()
{
    QImage strip(kButtonImageSize * kButtonImageCount, kButtonImageSize, QImage::Format_RGB32);
    strip.fill(kFace);
    for (int k = 0; k < kButtonImageCount; ++k) {
        // A fresh painter for each picture, so no pen, brush or clip carries over.
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(k * kButtonImageSize, 0);
        painter.setClipRect(0, 0, kButtonImageSize, kButtonImageSize);
        drawPicture(painter, ButtonPicture(k));
    }
    return strip;
}

void put16(std::string& out, uint32_t v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string bmpBytes(const QImage& image)
{
    const uint32_t width = uint32_t(image.width());
    const uint32_t height = uint32_t(image.height());
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    const uint32_t imageSize = stride * height;
    std::string out;
    out += "BM";
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, width);
    put32(out, height); // bottom-up rows
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = int(height) - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::string line;
        for (uint32_t x = 0; x < width; ++x) {
            line += char(qBlue(row[x]));
            line += char(qGreen(row[x]));
            line += char(qRed(row[x]));
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

} // namespace

} // namespace kelvara::makebuttons

int main(int argc, char* argv[])
{
    const char* path = argc > 1 ? argv[1] : "buttons.bmp";
    const std::string bytes = kelvara::makebuttons::bmpBytes(kelvara::makebuttons::paintStrip());
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "makebuttons: cannot write %s\n", path);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "makebuttons: writing %s failed\n", path);
        return 1;
    }
    return 0;
}
