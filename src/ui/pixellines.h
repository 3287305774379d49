#pragma once

#include <QImage>
#include <QLineF>
#include <QRect>

#include <vector>

class QPainter;

namespace kelvara {

// Lines and boxes written straight into the pixels of an RGB32 image. A
// design of thousands of objects makes tens of thousands of short lines,
// which the general line drawing takes many times longer over.
class PixelLines {
public:
    // The image a painter draws on, when it is a plain RGB32 image without a
    // transform; null otherwise, and the caller draws with the painter.
    static QImage* imageOf(QPainter& painter);

    explicit PixelLines(QImage& image)
        : bits_(image.bits()), stride_(image.bytesPerLine()), width_(image.width()), height_(image.height())
    {
    }

    // Each line `thickness` pixels wide (a square of that side at every
    // pixel of it), end points included; pixels off the image are skipped.
    void draw(const std::vector<QLineF>& lines, QRgb colour, int thickness);

    // A filled box, clipped to the image.
    void fill(const QRect& box, QRgb colour);

private:
    void stamp(int x, int y, QRgb colour, int thickness);

    uchar* bits_;
    qsizetype stride_;
    int width_;
    int height_;
};

} // namespace kelvara
