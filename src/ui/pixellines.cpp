#include "ui/pixellines.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvara {

QImage* PixelLines::imageOf(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image || !painter.transform().isIdentity())
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    return image->format() == QImage::Format_RGB32 ? image : nullptr;
}

void PixelLines::stamp(int x, int y, QRgb colour, int thickness)
{
    const int left = std::max(x - thickness / 2, 0);
    const int top = std::max(y - thickness / 2, 0);
    const int right = std::min(x - thickness / 2 + thickness, width_);
    const int bottom = std::min(y - thickness / 2 + thickness, height_);
    for (int row = top; row < bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + stride_ * row);
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

void PixelLines::fill(const QRect& box, QRgb colour)
{
    const QRect visible = box & QRect(0, 0, width_, height_);
    for (int row = visible.top(); row <= visible.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + stride_ * row);
        std::fill(line + visible.left(), line + visible.right() + 1, colour);
    }
}

// Bresenham between the rounded end points. The lines come clipped to a
// little more than the image, so the rounded coordinates are small.
void PixelLines::draw(const std::vector<QLineF>& lines, QRgb colour, int thickness)
{
    for (const QLineF& l : lines) {
        int x = int(std::lround(l.x1())), y = int(std::lround(l.y1()));
        const int x2 = int(std::lround(l.x2())), y2 = int(std::lround(l.y2()));
        const int dx = std::abs(x2 - x), dy = -std::abs(y2 - y);
        const int sx = x < x2 ? 1 : -1, sy = y < y2 ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            stamp(x, y, colour, thickness);
            if (x == x2 && y == y2)
                break;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += sx;
            }
            if (twice <= dx) {
                error += dx;
                y += sy;
            }
        }
    }
}

} // namespace kelvara
