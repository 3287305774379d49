#pragma once

#include "model/box.h"
#include "model/editorstate.h"
#include "stitch/objectplancache.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <functional>

class QPainter;

namespace kelvara {

struct Workspace;
struct ViewState;
struct Platform;

// The zoom at which the current background picture was loaded. The picture
// stores only the scroll offsets of that moment (canvas pixels at that
// zoom); with the zoom they name the design point of its top-left corner.
struct PictureAnchor {
    qint64 cacheKey = 0;
    ZoomRatio zoom;
};

// Draws the design (the stitch view or the outlines) in canvas pixels,
// between the picture and the grid.
using DesignLayer = std::function<void(QPainter&)>;

// The lower layer: black field (or `field`; the last column and row are
// left as they were), background picture, optional design layer, grid, and
// over them the selection with its handles.
void renderCanvas(QImage& canvasImage, const Workspace& ws, PictureAnchor& anchor,
                  const DesignLayer& designLayer = {}, QRgb field = 0xFF000000u);

// The paint: the lower layer, then the finished preview segments, the
// rubber band and the cross-hair on top.
void presentCanvas(QPainter& target, const QImage& canvasImage, const Workspace& ws);

// True when the paint draws anything over the lower layer.
bool needsUpperLayer(const Workspace& ws);

// The scroll bar request table: the new offset of an axis of extent W. The
// offsets run from -before x zoom to the range's end plus beyond x zoom,
// `before` and `beyond` being how far stitches reach past the design area.
int32_t scrollOffset(int32_t offset, int32_t extent, const ZoomRatio& zoom, uint32_t request, uint32_t thumbPosition,
                     int32_t before = 0, int32_t beyond = 0);

// The arrow-key step for a released arrow key (37..40). Returns true when
// the offset changed.
bool arrowKeyScroll(ViewState& view, uint32_t key, int32_t shiftDown);

// The view's hotkeys, run on the key's release while Ctrl is held: 0 fits
// the whole design into the canvas, + and - zoom in and out by one step, B
// steps the tracing picture through dimmed, more dimmed, hidden and shown;
// with ZOOMSTEPS 9 brings the selection into view. False for any other key.
bool viewHotkey(Workspace& ws, const Platform& platform, uint32_t key);

// Page of a scroll bar over an axis of extent W.
inline int32_t scrollPage(int32_t extent, const ZoomRatio& zoom)
{
    return int32_t(zoom.page(extent));
}

// The design units the canvas reaches to the right and down.
inline constexpr int32_t kScrollRange = 10000;

// The end of the scroll offsets in canvas pixels. It grows with the zoom,
// so that the canvas's far edges reach design unit kScrollRange at every
// zoom: a fixed range would leave most of the design out of reach up close.
inline int32_t scrollRange(const ZoomRatio& zoom)
{
    return int32_t(zoom.pixels(kScrollRange));
}

// The first scroll offset, `before` design units before the area's edge,
// and the last, `beyond` units past its far edge, for an axis of `extent`.
inline int64_t firstScrollOffset(const ZoomRatio& zoom, int32_t before)
{
    return zoom.pixels(-int64_t(before));
}
inline int64_t lastScrollOffset(const ZoomRatio& zoom, int32_t extent, int32_t before, int32_t beyond)
{
    const int64_t last = scrollRange(zoom) - zoom.pixels(-int64_t(beyond)) - scrollPage(extent, zoom);
    return std::max(firstScrollOffset(zoom, before), last);
}

// A view that shows a whole design box.
struct ViewFit {
    int32_t zoom = 1;
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    int32_t zoomDivisor = 1;
};

// The largest zoom (1..32) at which the box [left, right] x [top, bottom]
// in design units fits a canvas of the given size, scrolled so that the
// box's top-left corner lies a few pixels inside the canvas. An empty box
// (right < left) gives zoom 1 at offset 0; offsets never go before where
// the stitches' reach lets the view go. `fine` allows any ratio from the
// smallest zoom step up, not only whole zooms.
ViewFit fitView(double left, double top, double right, double bottom, int32_t canvasWidth,
                int32_t canvasHeight, const StitchReach& reach = {}, bool fine = false);

// The largest fine zoom (from the smallest step up to 32) at which a box
// of width x height design units fits canvasWidth x canvasHeight pixels.
ZoomRatio fittingZoom(double width, double height, int32_t canvasWidth, int32_t canvasHeight);

// How far the stitches of `extent` reach past the design area.
StitchReach stitchReach(const PlanBox& extent);

// The box around every object of the design, its stitches (`stitches`) and
// the background picture, in design units; empty when there is none. `pictureZoom` is the
// zoom at which the picture was loaded (its stored offsets are canvas
// pixels of that zoom).
GeometryBox designBox(const Workspace& ws, const ZoomRatio& pictureZoom, const PlanBox& stitches = {});
// The box around the selected objects, satin edges included.
GeometryBox selectionBox(const Workspace& ws);

} // namespace kelvara
