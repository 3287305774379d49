#pragma once

#include "model/zoomratio.h"
#include "stitch/objectplancache.h"

#include <QImage>
#include <QRect>
#include <QRegion>

class QPainter;

namespace kelvara {

struct ViewState;

// The stitch view: the kept pieces of the plan drawn into an image of the
// canvas's size. A new view (zoom, scroll, size) draws everything; an edit
// draws again only where pieces changed, clipped to their old and new boxes.
class StitchLayer {
public:
    // Brings the image up to the pieces and lays it over `canvas`: as
    // thread when `thread`, else as flat lines. A scroll moves what is drawn
    // and draws only the strips it uncovers.
    void paint(QPainter& canvas, const ObjectPlanCache& cache, const ViewState& view, bool thread = false);
    void release();
    // The canvas pixels the last paint drew again; empty when none.
    QRect lastDrawn() const { return lastDrawn_; }

private:
    void draw(const ObjectPlanCache& cache, const ViewState& view, const std::vector<QRect>& areas);
    void drawThreads(const ObjectPlanCache& cache, const ViewState& view, const QRegion& region);
    // Moves the drawn pixels by the scroll; the strips it uncovers are added to `areas`.
    void shift(int dx, int dy, std::vector<QRect>& areas);
    QRect toCanvas(const PlanBox& box, const ViewState& view) const;

    QImage image_; // premultiplied ARGB, clear where no thread lies
    PlanSnapshot drawn_;
    PlanStatus drawnStatus_ = PlanStatus::Empty;
    ZoomRatio zoom_;
    int32_t scrollX_ = 0, scrollY_ = 0;
    bool thread_ = false;
    QRect lastDrawn_;
};

} // namespace kelvara
