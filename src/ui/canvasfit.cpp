#include "model/kinds/kind.h"
#include "model/pathgeometry.h"
#include "model/recordgeometry.h"
#include "model/records.h"
#include "model/selection.h"
#include "model/workspace.h"
#include "stitch/geometry.h"
#include "ui/canvasview.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

constexpr int32_t kMaxZoom = 32;
// The box's top-left corner lies this many pixels inside the canvas.
constexpr int32_t kFitMargin = 4;
// Coordinates of any size may come from a file; beyond this they are as far
// out as the view can go anyway.
constexpr double kFarAway = 1e7;

class BoxBuilder {
public:
    // With ZOOMSTEPS curves count by where they run, else by their control
    // points as they always did.
    explicit BoxBuilder(const Workspace& ws) : tightCurves_(ws.settings.ZOOMSTEPS != 0) {}

    void add(double x, double y, double margin = 0)
    {
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(margin))
            return;
        x = std::clamp(x, -kFarAway, kFarAway);
        y = std::clamp(y, -kFarAway, kFarAway);
        margin = std::min(std::abs(margin), kFarAway);
        box_.add(x - margin, y - margin);
        box_.add(x + margin, y + margin);
    }

    // The box of a curve's control points would leave a wide curve small in
    // the fit; a curve that is not finite adds only its finite ends.
    void addEdge(const BezierEdge& edge, double margin = 0)
    {
        add(edge.x1, edge.y1, margin);
        add(edge.x2, edge.y2, margin);
        if (edge.straight != 0)
            return;
        if (!tightCurves_) {
            add(edge.xc1, edge.yc1, margin);
            add(edge.xc2, edge.yc2, margin);
            return;
        }
        if (!stitch::isFinite(edge))
            return;
        const GeometryBox curve = edgeBounds(edge);
        add(curve.left, curve.top, margin);
        add(curve.right, curve.bottom, margin);
    }

    void addEllipse(int32_t x, int32_t y, int32_t rx, int32_t ry)
    {
        const double dx = std::abs(double(rx));
        const double dy = std::abs(double(ry));
        add(double(x) - dx, double(y) - dy);
        add(double(x) + dx, double(y) + dy);
    }

    const GeometryBox& box() const { return box_; }

private:
    bool tightCurves_;
    GeometryBox box_;
};

void addObject(BoxBuilder& builder, int32_t kind, const ObjectParams& p)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return;
    const KindEdges edges = kindEdges(*row, p);
    for (int i = 0; i < edges.count; ++i)
        builder.addEdge(*edges.at[i], widerHalfWidth(*row, p));
    if (const KindEllipse e = kindEllipse(*row, p); e.x != nullptr && !row->anchorOnly)
        builder.addEllipse(*e.x, *e.y, *e.rx, *e.ry);
    // Lettering reaches as far as its text, past its anchor and size.
    if (row->anchorOnly && row->pickShape)
        for (const stitch::Vec& point : row->pickShape(p).points)
            builder.add(point.x, point.y);
    if (const PathData* path = kindPath(*row, p))
        for (const BezierEdge& e : pathEdges(*path))
            builder.addEdge(e, 0);
    if (row->storedOutline)
        for (const HullPoint& h : row->storedOutline(p))
            builder.addEllipse(static_cast<int32_t>(h.x), static_cast<int32_t>(h.y), 0, 0);
}

} // namespace

GeometryBox designBox(const Workspace& ws, const ZoomRatio& pictureZoom, const PlanBox& stitches)
{
    BoxBuilder builder(ws);
    // A motif's stitches may lie outside the points that carry it.
    if (!stitches.empty()) {
        builder.add(stitches.left, stitches.top);
        builder.add(stitches.right, stitches.bottom);
    }
    const ObjectTable& table = ws.table;
    for (int32_t row : DisplayOrder(table)) {
        const ObjectEntry& entry = table.rows[std::size_t(row)];
        if (recordSize(entry.kind) == 0 || !ws.records.isLive(entry.params))
            break;
        addObject(builder, entry.kind, ws.records[entry.params]);
    }
    // The picture is drawn one design unit per pixel from the design point
    // its stored offsets named at the zoom it was loaded at.
    const BackgroundPicture& picture = ws.picture;
    if (picture.loaded() && !picture.pixels.isNull()) {
        const double left = double(pictureZoom.units(picture.picLeft));
        const double top = double(pictureZoom.units(picture.picTop));
        const double width = std::min<qint64>(picture.picWidth, picture.pixels.width());
        const double height = std::min<qint64>(picture.picHeight, picture.pixels.height());
        if (width > 0 && height > 0) {
            builder.add(left, top);
            builder.add(left + width - 1, top + height - 1);
        }
    }
    return builder.box();
}

GeometryBox selectionBox(const Workspace& ws)
{
    BoxBuilder builder(ws);
    for (int32_t row : selectedRows(ws)) {
        const ObjectEntry& entry = ws.table.rows[std::size_t(row)];
        if (recordSize(entry.kind) != 0 && ws.records.isLive(entry.params))
            addObject(builder, entry.kind, ws.records[entry.params]);
    }
    return builder.box();
}

ViewFit fitView(double left, double top, double right, double bottom, int32_t canvasWidth,
                int32_t canvasHeight, const StitchReach& reach, bool fine)
{
    ViewFit fit;
    if (!(right >= left && bottom >= top))
        return fit;
    // A design unit covers zoom pixels, so a box from a to b covers
    // (b - a + 1) x zoom of them.
    const double width = std::floor(right) - std::floor(left) + 1;
    const double height = std::floor(bottom) - std::floor(top) + 1;
    ZoomRatio zoom;
    if (fine) {
        zoom = fittingZoom(width, height, canvasWidth - 2 * kFitMargin, canvasHeight - 2 * kFitMargin);
    } else {
        for (int32_t z = kMaxZoom; z > 1; --z) {
            if (width * z + 2 * kFitMargin <= canvasWidth && height * z + 2 * kFitMargin <= canvasHeight) {
                zoom = z;
                break;
            }
        }
    }
    fit.zoom = zoom.zoom;
    fit.zoomDivisor = zoom.divisor;
    const auto offset = [&zoom](double start, int32_t extent, int32_t before, int32_t beyond) {
        // Never past the first or the last offset the scroll bars reach.
        const double first = double(firstScrollOffset(zoom, before));
        const double last = double(lastScrollOffset(zoom, extent, before, beyond));
        return int32_t(std::clamp(zoom.exactPixels(std::floor(start)) - kFitMargin, first, last));
    };
    fit.scrollX = offset(left, canvasWidth, reach.left, reach.right);
    fit.scrollY = offset(top, canvasHeight, reach.top, reach.bottom);
    return fit;
}

} // namespace kelvara
