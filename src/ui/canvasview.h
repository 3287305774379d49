#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

class QPainter;

namespace kelvara {

struct Workspace;
struct ViewState;

// The zoom at which the current background picture was loaded. The picture
// stores only the scroll offsets of that moment (canvas pixels at that
// zoom); with the zoom they name the design point of its top-left corner.
struct PictureAnchor {
    qint64 cacheKey = 0;
    int32_t zoom = 1;
};

// Draws extra design content (the stitch view) in canvas pixels, between
// the picture and the grid.
using DesignLayer = std::function<void(QPainter&)>;

// The lower layer: black field (the last column and row are left as they
// were), background picture, optional design layer, grid.
void renderCanvas(QImage& canvasImage, const Workspace& ws, PictureAnchor& anchor,
                  const DesignLayer& designLayer = {});

// The paint: the lower layer, then the finished preview segments, the
// rubber band and the cross-hair on top.
void presentCanvas(QPainter& target, const QImage& canvasImage, const Workspace& ws);

// True when the paint draws anything over the lower layer.
bool needsUpperLayer(const Workspace& ws);

// The scroll bar request table: the new offset of an axis of extent W.
int32_t scrollOffset(int32_t offset, int32_t extent, int32_t zoom, uint32_t request, uint32_t thumbPosition);

// The arrow-key step for a released arrow key (37..40). Returns true when
// the offset changed.
bool arrowKeyScroll(ViewState& view, uint32_t key, int32_t shiftDown);

// Page of a scroll bar over an axis of extent W.
inline int32_t scrollPage(int32_t extent, int32_t zoom)
{
    return extent / zoom;
}

inline constexpr int32_t kScrollRange = 10000;

} // namespace kelvara
