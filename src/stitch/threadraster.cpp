#include "stitch/threadraster.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

namespace kelvara {

namespace {

// Shading across a strand, by the distance from its middle in 1/32 steps of
// the half width: the light a round thread catches, with a narrow sheen.
struct CrossProfile {
    std::array<float, 33> light{};
    std::array<float, 33> sheen{};
    CrossProfile()
    {
        for (int i = 0; i <= 32; ++i) {
            const double u = i / 32.0;
            const double normal = std::sqrt(std::max(0.0, 1 - u * u));
            light[std::size_t(i)] = float(0.42 + 0.58 * normal);
            sheen[std::size_t(i)] = float(0.38 * std::pow(normal, 10));
        }
    }
};

const CrossProfile& profile()
{
    static const CrossProfile table;
    return table;
}

struct Strand {
    double ax, ay, bx, by; // pixels
    double halfWidth;
    int red, green, blue;
};

inline uint32_t blendPixel(uint32_t dst, int r, int g, int b, int alpha)
{
    // Premultiplied source over the destination; RGB32 has alpha 255 throughout.
    const int keep = 255 - alpha;
    const int dr = int((dst >> 16) & 0xFF), dg = int((dst >> 8) & 0xFF), db = int(dst & 0xFF);
    const int da = int(dst >> 24);
    const int outR = (r * alpha + dr * keep + 127) / 255;
    const int outG = (g * alpha + dg * keep + 127) / 255;
    const int outB = (b * alpha + db * keep + 127) / 255;
    const int outA = alpha + (da * keep + 127) / 255;
    return uint32_t(outA) << 24 | uint32_t(outR) << 16 | uint32_t(outG) << 8 | uint32_t(outB);
}

// The image's pixels, taken once so that bands may be painted side by side.
struct Pixels {
    uchar* bits;
    qsizetype stride;
};

void paintStrand(const Pixels& image, const QRect& clip, const Strand& s)
{
    const double reach = s.halfWidth + 0.5;
    // A pixel this far off the strand is left alone without its square root
    // being taken; the margin keeps the test on the safe side of rounding.
    const double outside = reach * reach * (1 + 1e-9);
    const int left = std::max(clip.left(), int(std::floor(std::min(s.ax, s.bx) - reach)));
    const int right = std::min(clip.right(), int(std::ceil(std::max(s.ax, s.bx) + reach)));
    const int top = std::max(clip.top(), int(std::floor(std::min(s.ay, s.by) - reach)));
    const int bottom = std::min(clip.bottom(), int(std::ceil(std::max(s.ay, s.by) + reach)));
    if (left > right || top > bottom)
        return;
    const double dx = s.bx - s.ax, dy = s.by - s.ay;
    const double lengthSquared = dx * dx + dy * dy;
    const double length = std::sqrt(lengthSquared);
    const double inverse = lengthSquared > 1e-12 ? 1 / lengthSquared : 0;
    // Where the thread dives into the fabric it lies in shadow: over about
    // one thread width at each end.
    const double endShade = std::max(1.0, s.halfWidth * 2.2);
    const CrossProfile& cross = profile();
    const double nx = length > 1e-9 ? -dy / length : 0, ny = length > 1e-9 ? dx / length : 1;
    uchar* const bits = image.bits;
    const qsizetype stride = image.stride;
    for (int y = top; y <= bottom; ++y) {
        const double py = y + 0.5 - s.ay;
        // The columns of this row the strand's band can reach.
        int from = left, to = right;
        if (std::abs(nx) > 1e-6) {
            const double c = (py * ny);
            double x1 = (-reach - c) / nx, x2 = (reach - c) / nx;
            if (x1 > x2)
                std::swap(x1, x2);
            from = std::max(from, int(std::floor(x1 + s.ax - 0.5)));
            to = std::min(to, int(std::ceil(x2 + s.ax - 0.5)));
        }
        auto* row = reinterpret_cast<uint32_t*>(bits + stride * y);
        for (int x = from; x <= to; ++x) {
            const double px = x + 0.5 - s.ax;
            double t = (px * dx + py * dy) * inverse;
            t = std::clamp(t, 0.0, 1.0);
            const double ox = px - t * dx, oy = py - t * dy;
            const double squared = ox * ox + oy * oy;
            if (squared >= outside)
                continue;
            const double distance = std::sqrt(squared);
            const double cover = reach - distance;
            if (cover <= 0)
                continue;
            const int alpha = cover >= 1 ? 255 : int(cover * 255);
            const int step = std::min(32, int(distance / s.halfWidth * 32));
            const double along = std::min(t, 1 - t) * length;
            const double ends = 0.55 + 0.45 * std::min(1.0, along / endShade);
            const double light = cross.light[std::size_t(step)] * ends;
            const double sheen = cross.sheen[std::size_t(step)] * ends * 255;
            const int r = std::min(255, int(s.red * light + sheen));
            const int g = std::min(255, int(s.green * light + sheen));
            const int b = std::min(255, int(s.blue * light + sheen));
            row[x] = blendPixel(row[x], r, g, b, alpha);
        }
    }
}

// Strands from `records` inside `clip`, the first from (fromX, fromY).
void paintRecords(const Pixels& image, const QRect& clip, std::span<const StitchRecord> records,
                  const RasterView& view, double fromX, double fromY)
{
    const double halfWidth = std::max(0.6, kThreadViewWidth * view.zoom / 2);
    const double reach = halfWidth + 1;
    Strand s{};
    s.halfWidth = halfWidth;
    for (const StitchRecord& r : records) {
        const double toX = r.x * view.zoom - view.originX, toY = r.y * view.zoom - view.originY;
        if (r.kind == StitchKind::Stitch &&
            !(std::max(fromX, toX) + reach < clip.left() || std::min(fromX, toX) - reach > clip.right() + 1 ||
              std::max(fromY, toY) + reach < clip.top() || std::min(fromY, toY) - reach > clip.bottom() + 1)) {
            s.ax = fromX;
            s.ay = fromY;
            s.bx = toX;
            s.by = toY;
            s.red = r.colour & 0xFF;
            s.green = (r.colour >> 8) & 0xFF;
            s.blue = (r.colour >> 16) & 0xFF;
            paintStrand(image, clip, s);
        }
        fromX = toX;
        fromY = toY;
    }
}

// Records gathered before they are painted, band by band on several cores:
// each pixel still takes its strands in plan order, so the picture is the
// same as painted on one.
constexpr std::size_t kBatchRecords = 65536;
constexpr std::size_t kParallelRecords = 8192;
constexpr int kMinBandRows = 32;
constexpr unsigned kMaxBands = 4;

} // namespace

void rasterThreads(QImage& image, const QRect& clip, const std::vector<StitchRecord>& records,
                   const RasterView& view)
{
    ThreadRaster raster(image, clip, view);
    raster.add(records);
    raster.finish();
}

ThreadRaster::ThreadRaster(QImage& image, const QRect& clip, const RasterView& view)
    : image_(image), clip_(clip & image.rect()), view_(view),
      usable_((image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32) &&
              !clip_.isEmpty())
{
}

ThreadRaster::~ThreadRaster()
{
    finish();
}

void ThreadRaster::add(std::span<const StitchRecord> records)
{
    if (records.empty() || !usable_)
        return;
    if (!started_) {
        fromX_ = records.front().x * view_.zoom - view_.originX;
        fromY_ = records.front().y * view_.zoom - view_.originY;
        started_ = true;
    }
    pending_.insert(pending_.end(), records.begin(), records.end());
    if (pending_.size() >= kBatchRecords)
        finish();
}

void ThreadRaster::finish()
{
    if (pending_.empty())
        return;
    const Pixels pixels{image_.bits(), image_.bytesPerLine()};
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxBands);
    // A few records are painted sooner than a helper thread starts.
    const int bands = pending_.size() < kParallelRecords
                          ? 1
                          : std::max(1, std::min(int(cores), clip_.height() / kMinBandRows));
    const std::span<const StitchRecord> records(pending_);
    const auto band = [&](int i) {
        const int top = clip_.top() + clip_.height() * i / bands;
        const int bottom = clip_.top() + clip_.height() * (i + 1) / bands - 1;
        paintRecords(pixels, QRect(QPoint(clip_.left(), top), QPoint(clip_.right(), bottom)), records, view_,
                     fromX_, fromY_);
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < bands; ++i)
        helpers.emplace_back(band, i);
    band(0);
    for (std::thread& helper : helpers)
        helper.join();
    fromX_ = pending_.back().x * view_.zoom - view_.originX;
    fromY_ = pending_.back().y * view_.zoom - view_.originY;
    pending_.clear();
}

} // namespace kelvara
