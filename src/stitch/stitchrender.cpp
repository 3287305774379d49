#include "stitch/stitchrender.h"

#include "stitch/threadraster.h"

#include <QColor>
#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvara {

QColor threadColour(int32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QPen jumpLinePen()
{
    return QPen(QColor(160, 160, 160, 110), 0, Qt::DotLine);
}

void drawStitchPlan(QPainter& painter, const StitchPlan& plan, double zoom, int scrollX, int scrollY)
{
    if (plan.records.empty())
        return;
    const double z = zoom > 0 ? zoom : 1;
    const double width = kThreadWidth * z;

    // What the device shows, in canvas pixels, widened by a thread.
    QRectF visible(0, 0, 1e9, 1e9);
    if (const QPaintDevice* device = painter.device()) {
        bool invertible = false;
        const QTransform inverse = painter.worldTransform().inverted(&invertible);
        if (invertible)
            visible = inverse.mapRect(QRectF(0, 0, device->width(), device->height()));
    }
    visible.adjust(-width, -width, width, width);
    auto seen = [&](const QPointF& a, const QPointF& b) {
        return !((a.x() < visible.left() && b.x() < visible.left()) ||
                 (a.x() > visible.right() && b.x() > visible.right()) ||
                 (a.y() < visible.top() && b.y() < visible.top()) ||
                 (a.y() > visible.bottom() && b.y() > visible.bottom()));
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen threadPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen jumpPen = jumpLinePen();
    std::vector<QLineF> stitches, jumps;
    int32_t runColour = plan.records.front().colour;
    auto flush = [&]() {
        if (!stitches.empty()) {
            threadPen.setColor(threadColour(runColour));
            painter.setPen(threadPen);
            painter.drawLines(stitches.data(), static_cast<int>(stitches.size()));
            stitches.clear();
        }
    };

    QPointF at(plan.records.front().x * z - scrollX, plan.records.front().y * z - scrollY);
    for (const StitchRecord& r : plan.records) {
        const QPointF to(r.x * z - scrollX, r.y * z - scrollY);
        if (r.kind == StitchKind::Stitch) {
            if (r.colour != runColour) {
                flush();
                runColour = r.colour;
            }
            if (seen(at, to))
                stitches.emplace_back(at, to);
        } else if (r.kind == StitchKind::Jump) {
            if (seen(at, to))
                jumps.emplace_back(at, to);
        }
        at = to;
    }
    flush();
    if (!jumps.empty()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(jumpPen);
        painter.drawLines(jumps.data(), static_cast<int>(jumps.size()));
    }
    painter.restore();
}

namespace {

constexpr double kImageMargin = 20; // design units around the stitches

struct PlanBox {
    int32_t minX, maxX, minY, maxY;
    double width() const { return maxX - minX + 2 * kImageMargin; }
    double height() const { return maxY - minY + 2 * kImageMargin; }
};

PlanBox planBox(const StitchPlan& plan)
{
    PlanBox box{plan.records.front().x, plan.records.front().x, plan.records.front().y,
                plan.records.front().y};
    for (const StitchRecord& r : plan.records) {
        box.minX = std::min(box.minX, r.x);
        box.maxX = std::max(box.maxX, r.x);
        box.minY = std::min(box.minY, r.y);
        box.maxY = std::max(box.maxY, r.y);
    }
    return box;
}

QImage renderBox(const StitchPlan& plan, const PlanBox& box, double scale, const StitchLook& look)
{
    const double w = std::ceil(box.width() * scale), h = std::ceil(box.height() * scale);
    if (!(w <= kMaxStitchImageSide && h <= kMaxStitchImageSide))
        return {};
    QImage image(std::max(1, static_cast<int>(w)), std::max(1, static_cast<int>(h)), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    if (look.thread) {
        image.fill(QColor(QRgb(uint32_t(look.fabric) | 0xFF000000u)));
        rasterThreads(image, image.rect(), plan.records,
                      RasterView{scale, (box.minX - kImageMargin) * scale, (box.minY - kImageMargin) * scale});
        return image;
    }
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(scale, scale);
    drawStitchPlan(painter, plan, 1, static_cast<int>(box.minX - kImageMargin),
                   static_cast<int>(box.minY - kImageMargin));
    painter.end();
    return image;
}

} // namespace

QImage renderStitchImage(const StitchPlan& plan, int maxSide, const StitchLook& look)
{
    if (plan.records.empty())
        return {};
    const PlanBox box = planBox(plan);
    const double scale = std::min(std::max(1, maxSide) / std::max(box.width(), box.height()), 4.0);
    return renderBox(plan, box, scale, look);
}

QImage renderStitchImageAt(const StitchPlan& plan, double pixelsPerUnit, const StitchLook& look)
{
    if (plan.records.empty() || !(pixelsPerUnit > 0))
        return {};
    return renderBox(plan, planBox(plan), pixelsPerUnit, look);
}

bool writeStitchPng(const StitchPlan& plan, const std::string& path, int maxSide)
{
    const QImage image = renderStitchImage(plan, maxSide);
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

} // namespace kelvara
