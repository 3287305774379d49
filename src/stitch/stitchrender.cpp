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
#include <span>
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
    StitchLines lines(painter, zoom, scrollX, scrollY);
    lines.add(plan.records);
    lines.finish();
}

StitchLines::StitchLines(QPainter& painter, double zoom, int scrollX, int scrollY)
    : painter_(painter), zoom_(zoom > 0 ? zoom : 1), scrollX_(scrollX), scrollY_(scrollY),
      threadPen_(Qt::white, kThreadWidth * zoom_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
{
    const double width = kThreadWidth * zoom_;
    // What the device shows, in canvas pixels, widened by a thread.
    visible_ = QRectF(0, 0, 1e9, 1e9);
    if (const QPaintDevice* device = painter.device()) {
        bool invertible = false;
        const QTransform inverse = painter.worldTransform().inverted(&invertible);
        if (invertible)
            visible_ = inverse.mapRect(QRectF(0, 0, device->width(), device->height()));
    }
    visible_.adjust(-width, -width, width, width);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

bool StitchLines::seen(const QPointF& a, const QPointF& b) const
{
    return !((a.x() < visible_.left() && b.x() < visible_.left()) ||
             (a.x() > visible_.right() && b.x() > visible_.right()) ||
             (a.y() < visible_.top() && b.y() < visible_.top()) ||
             (a.y() > visible_.bottom() && b.y() > visible_.bottom()));
}

void StitchLines::flush()
{
    if (stitches_.empty())
        return;
    threadPen_.setColor(threadColour(runColour_));
    painter_.setPen(threadPen_);
    painter_.drawLines(stitches_.data(), static_cast<int>(stitches_.size()));
    stitches_.clear();
}

void StitchLines::add(std::span<const StitchRecord> records)
{
    if (records.empty())
        return;
    const double z = zoom_;
    if (!started_) {
        runColour_ = records.front().colour;
        at_ = QPointF(records.front().x * z - scrollX_, records.front().y * z - scrollY_);
        started_ = true;
    }
    for (const StitchRecord& r : records) {
        const QPointF to(r.x * z - scrollX_, r.y * z - scrollY_);
        if (r.kind == StitchKind::Stitch) {
            if (r.colour != runColour_) {
                flush();
                runColour_ = r.colour;
            }
            if (seen(at_, to)) {
                stitches_.emplace_back(at_, to);
                // Qt strokes lines sixteen at a time, so a batch cut at a
                // multiple of sixteen paints what one long batch paints.
                if (stitches_.size() >= kLinesPerBatch)
                    flush();
            }
        } else if (r.kind == StitchKind::Jump) {
            if (seen(at_, to))
                jumps_.emplace_back(at_, to);
        }
        at_ = to;
    }
}

void StitchLines::finish()
{
    flush();
    if (!jumps_.empty()) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(jumpLinePen());
        painter_.drawLines(jumps_.data(), static_cast<int>(jumps_.size()));
        jumps_.clear();
    }
    painter_.restore();
}

namespace {

constexpr double kImageMargin = 20; // design units around the stitches

double boxWidth(const PlanBox& box)
{
    return double(box.width()) + 2 * kImageMargin;
}

double boxHeight(const PlanBox& box)
{
    return double(box.height()) + 2 * kImageMargin;
}

// Where every record lies, from a first pass over the plan; Ok when the
// plan is there to draw.
PlanStatus measured(const PlanReplay& plan, PlanBox& box)
{
    box = PlanBox{};
    const PlanStatus status = plan([&](std::span<const StitchRecord> records) {
        for (const StitchRecord& r : records)
            box.add(r.x, r.y);
    });
    return status == PlanStatus::Ok && !box.empty() ? PlanStatus::Ok
           : status == PlanStatus::Ok              ? PlanStatus::Empty
                                                   : status;
}

QImage renderBox(const PlanReplay& plan, const PlanBox& box, double scale, const StitchLook& look)
{
    const double w = std::ceil(boxWidth(box) * scale), h = std::ceil(boxHeight(box) * scale);
    if (!(w <= kMaxStitchImageSide && h <= kMaxStitchImageSide))
        return {};
    QImage image(std::max(1, static_cast<int>(w)), std::max(1, static_cast<int>(h)), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    if (look.thread) {
        image.fill(QColor(QRgb(uint32_t(look.fabric) | 0xFF000000u)));
        ThreadRaster raster(image, image.rect(),
                            RasterView{scale, (box.left - kImageMargin) * scale, (box.top - kImageMargin) * scale});
        plan([&](std::span<const StitchRecord> records) { raster.add(records); });
        raster.finish();
        return image;
    }
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(scale, scale);
    StitchLines lines(painter, 1, static_cast<int>(box.left - kImageMargin),
                      static_cast<int>(box.top - kImageMargin));
    plan([&](std::span<const StitchRecord> records) { lines.add(records); });
    lines.finish();
    painter.end();
    return image;
}

} // namespace

QImage renderStitchImage(const StitchPlan& plan, int maxSide, const StitchLook& look)
{
    return renderStitchImage(replayOf(plan), maxSide, look);
}

QImage renderStitchImageAt(const StitchPlan& plan, double pixelsPerUnit, const StitchLook& look)
{
    return renderStitchImageAt(replayOf(plan), pixelsPerUnit, look);
}

QImage renderStitchImage(const PlanReplay& plan, int maxSide, const StitchLook& look, PlanStatus* status)
{
    PlanBox box;
    const PlanStatus found = measured(plan, box);
    if (status != nullptr)
        *status = found;
    if (found != PlanStatus::Ok)
        return {};
    const double scale = std::min(std::max(1, maxSide) / std::max(boxWidth(box), boxHeight(box)), 4.0);
    return renderBox(plan, box, scale, look);
}

QImage renderStitchImageAt(const PlanReplay& plan, double pixelsPerUnit, const StitchLook& look,
                           PlanStatus* status)
{
    PlanBox box;
    const PlanStatus found = measured(plan, box);
    if (status != nullptr)
        *status = found;
    if (found != PlanStatus::Ok || !(pixelsPerUnit > 0))
        return {};
    return renderBox(plan, box, pixelsPerUnit, look);
}

bool writeStitchPng(const StitchPlan& plan, const std::string& path, int maxSide)
{
    const QImage image = renderStitchImage(plan, maxSide);
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

} // namespace kelvara
