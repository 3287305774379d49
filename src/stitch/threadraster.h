#pragma once

#include "stitch/stitchplan.h"

#include <QRect>

#include <span>
#include <vector>

class QImage;

namespace kelvara {

// Embroidery thread lies about 0.4 mm wide: four design units.
inline constexpr double kThreadViewWidth = 4.0;

// Where design units land in an image: design point (x, y) at pixel
// (x * zoom - originX, y * zoom - originY).
struct RasterView {
    double zoom = 1;
    double originX = 0;
    double originY = 0;
};

// Paints needle stitches as thread straight into `image` (ARGB32
// premultiplied or RGB32), inside `clip` only: each stitch a rounded strand
// kThreadViewWidth wide, lit along its crest and shaded where it enters the
// fabric at both ends, antialiased at its edges, later stitches over earlier
// ones. Jumps, trims and colour changes leave nothing. The strands are
// painted by hand rather than by QPainter: three pens a stitch are several
// times slower, and a large design has hundreds of thousands of stitches.
void rasterThreads(QImage& image, const QRect& clip, const std::vector<StitchRecord>& records,
                   const RasterView& view);

// rasterThreads for a plan handed over a stretch at a time: the stretches
// paint exactly what the whole plan paints in one call. Records are
// gathered into batches painted on the machine's cores side by side.
class ThreadRaster {
public:
    ThreadRaster(QImage& image, const QRect& clip, const RasterView& view);
    ~ThreadRaster();
    ThreadRaster(const ThreadRaster&) = delete;
    ThreadRaster& operator=(const ThreadRaster&) = delete;

    void add(std::span<const StitchRecord> records);
    // Paints what is gathered; the image is finished once this returns.
    void finish();

private:
    QImage& image_;
    QRect clip_;
    RasterView view_;
    bool usable_ = false;
    bool started_ = false;
    double fromX_ = 0, fromY_ = 0; // where the last painted record left the needle, in pixels
    std::vector<StitchRecord> pending_;
};

} // namespace kelvara
