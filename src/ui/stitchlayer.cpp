#include "ui/stitchlayer.h"

#include "model/editorstate.h"
#include "stitch/stitchrender.h"
#include "stitch/threadraster.h"

#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvara {

namespace {

// Past this many changed places one whole drawing is cheaper than clipping.
constexpr std::size_t kMostAreas = 64;

// The design units that canvas pixels `r` show, widened by `margin`.
PlanBox designPlace(const QRect& r, const ViewState& view, int32_t margin)
{
    const double zoom = view.ratio().scale();
    PlanBox box;
    box.add(int32_t(std::floor((r.left() + view.scrollX) / zoom)),
            int32_t(std::floor((r.top() + view.scrollY) / zoom)));
    box.add(int32_t(std::ceil((r.right() + view.scrollX) / zoom)),
            int32_t(std::ceil((r.bottom() + view.scrollY) / zoom)));
    return box.grown(margin);
}

} // namespace

QRect StitchLayer::toCanvas(const PlanBox& box, const ViewState& view) const
{
    // Widened by half a thread and the antialiased edge.
    const ZoomRatio zoom = view.ratio();
    const auto pad = static_cast<int64_t>(std::ceil(std::max(kThreadWidth, kThreadViewWidth) * zoom.scale() / 2)) + 2;
    const int64_t left = zoom.pixels(box.left) - view.scrollX - pad;
    const int64_t top = zoom.pixels(box.top) - view.scrollY - pad;
    const int64_t right = -zoom.pixels(-int64_t(box.right)) - view.scrollX + pad;
    const int64_t bottom = -zoom.pixels(-int64_t(box.bottom)) - view.scrollY + pad;
    const QRect bounds = image_.rect();
    if (right < bounds.left() || bottom < bounds.top() || left > bounds.right() || top > bounds.bottom())
        return {};
    return QRect(
        QPoint(int(std::max<int64_t>(left, bounds.left())), int(std::max<int64_t>(top, bounds.top()))),
        QPoint(int(std::min<int64_t>(right, bounds.right())),
               int(std::min<int64_t>(bottom, bounds.bottom()))));
}

void StitchLayer::shift(int dx, int dy, std::vector<QRect>& areas)
{
    const int w = image_.width(), h = image_.height();
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const int keepW = w - std::abs(dx), keepH = h - std::abs(dy);
    // Rows in the order that never overwrites a row still to be moved.
    for (int i = 0; i < keepH; ++i) {
        const int y = dy >= 0 ? i : keepH - 1 - i;
        const uchar* from = bits + stride * (y + std::max(dy, 0)) + 4 * std::max(dx, 0);
        uchar* to = bits + stride * (y + std::max(-dy, 0)) + 4 * std::max(-dx, 0);
        std::memmove(to, from, std::size_t(keepW) * 4);
    }
    if (dx > 0)
        areas.emplace_back(keepW, 0, dx, h);
    else if (dx < 0)
        areas.emplace_back(0, 0, -dx, h);
    if (dy > 0)
        areas.emplace_back(0, keepH, w, dy);
    else if (dy < 0)
        areas.emplace_back(0, 0, w, -dy);
}

void StitchLayer::paint(QPainter& canvas, const ObjectPlanCache& cache, const ViewState& view, bool thread)
{
    lastDrawn_ = {};
    const QSize size(std::max(0, view.canvasWidth), std::max(0, view.canvasHeight));
    if (size.isEmpty())
        return;
    const int dx = view.scrollX - scrollX_, dy = view.scrollY - scrollY_;
    const bool newView = image_.size() != size || zoom_ != view.ratio() || drawnStatus_ != cache.status() ||
                         thread_ != thread || std::abs(dx) >= size.width() || std::abs(dy) >= size.height();
    PlanSnapshot now = cache.snapshot();
    std::vector<QRect> areas;
    if (!newView && (dx != 0 || dy != 0))
        shift(dx, dy, areas);
    if (newView) {
        if (image_.size() != size)
            image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        areas.push_back(image_.rect());
    } else {
        bool reordered = false;
        const std::vector<PlanBox> boxes = changedBoxes(drawn_, now, reordered);
        if (reordered || boxes.size() > kMostAreas) {
            areas.push_back(image_.rect());
        } else {
            for (const PlanBox& box : boxes)
                if (const QRect r = toCanvas(box, view); !r.isEmpty())
                    areas.push_back(r);
        }
    }
    zoom_ = view.ratio();
    scrollX_ = view.scrollX;
    scrollY_ = view.scrollY;
    thread_ = thread;
    drawnStatus_ = cache.status();
    drawn_ = std::move(now);
    if (!areas.empty())
        draw(cache, view, areas);
    canvas.drawImage(0, 0, image_);
}

void StitchLayer::release()
{
    image_ = QImage();
    drawn_ = PlanSnapshot{};
}

void StitchLayer::draw(const ObjectPlanCache& cache, const ViewState& view, const std::vector<QRect>& areas)
{
    QRegion region;
    for (const QRect& r : areas)
        region += r;
    lastDrawn_ = region.boundingRect();

    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<uint32_t*>(image_.scanLine(y));
            std::fill(line + r.left(), line + r.right() + 1, 0u);
        }
    }
    // A design too large to stitch shows no stitches, as it cannot be exported.
    if (cache.status() == PlanStatus::TooLarge)
        return;
    if (thread_)
        drawThreads(cache, view, region);
    QPainter painter(&image_);
    painter.setClipRegion(region);

    // The places to draw in design units, for skipping whole pieces.
    const double zoom = view.ratio().scale();
    std::vector<PlanBox> places;
    for (const QRect& r : region)
        places.push_back(designPlace(r, view, 2));
    const auto wanted = [&](const PlanBox& box) {
        return std::any_of(places.begin(), places.end(), [&](const PlanBox& p) { return box.intersects(p); });
    };
    const auto at = [&](const StitchRecord& r) {
        return QPointF(r.x * zoom - view.scrollX, r.y * zoom - view.scrollY);
    };

    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen threadPen(Qt::white, kThreadWidth * zoom, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    std::vector<QLineF> stitches, jumps;
    int32_t colour = -1;
    const auto flush = [&] {
        if (stitches.empty())
            return;
        threadPen.setColor(threadColour(colour));
        painter.setPen(threadPen);
        painter.drawLines(stitches.data(), int(stitches.size()));
        stitches.clear();
    };
    // Stitches in plan order, so later objects lie over earlier ones.
    for (int32_t row : thread_ ? std::vector<int32_t>() : cache.order()) {
        const ObjectPiece& piece = cache.piece(row);
        const std::vector<StitchRecord>& records = piece.plan.records;
        if (records.empty() || !wanted(piece.box))
            continue;
        QPointF from = at(records.front());
        for (std::size_t i = 1; i < records.size(); ++i) {
            const StitchRecord& r = records[i];
            const QPointF to = at(r);
            if (r.kind == StitchKind::Stitch) {
                if (r.colour != colour) {
                    flush();
                    colour = r.colour;
                }
                stitches.emplace_back(from, to);
            } else if (r.kind == StitchKind::Jump) {
                jumps.emplace_back(from, to);
            }
            from = to;
        }
    }
    flush();
    // Thread shows what is sewn: the needle's travels leave nothing on fabric.
    if (thread_)
        return;
    for (const Connection& c : cache.connections()) {
        PlanBox box;
        box.add(c.fromX, c.fromY);
        box.add(c.toX, c.toY);
        if (wanted(box))
            jumps.emplace_back(QPointF(c.fromX * zoom - view.scrollX, c.fromY * zoom - view.scrollY),
                               QPointF(c.toX * zoom - view.scrollX, c.toY * zoom - view.scrollY));
    }
    if (!jumps.empty()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(jumpLinePen());
        painter.drawLines(jumps.data(), int(jumps.size()));
    }
}

void StitchLayer::drawThreads(const ObjectPlanCache& cache, const ViewState& view, const QRegion& region)
{
    const double zoom = view.ratio().scale();
    const RasterView raster{zoom, double(view.scrollX), double(view.scrollY)};
    for (const QRect& r : region) {
        const PlanBox place = designPlace(r, view, 4);
        for (int32_t row : cache.order()) {
            const ObjectPiece& piece = cache.piece(row);
            if (!piece.plan.records.empty() && piece.box.intersects(place))
                rasterThreads(image_, r, piece.plan.records, raster);
        }
    }
}

} // namespace kelvara
