#pragma once

#include "stitch/geometry.h"

#include <cstddef>
#include <cstdint>

namespace kelvara {
struct Settings;
struct Libraries;
struct PatternRow;
struct LibraryPoint;
} // namespace kelvara

namespace kelvara::stitch {

// Where the per-kind generators put their penetrations. Generators stop as
// soon as the sink is exhausted, which bounds every loop by the stitch budget.
class NeedleSink {
public:
    virtual ~NeedleSink() = default;
    virtual void needle(Vec p) = 0;
    // A penetration the short-stitch rule must keep: where a fill row meets
    // the outline, which would otherwise leave every other row short of it.
    virtual void edgeNeedle(Vec p) = 0;
    // A move without stitching (a running line marked as a jump).
    virtual void jump(Vec p) = 0;
    // A stop of the machine with the same thread (an appliqué's fabric is
    // laid or trimmed there); sinks that only gather positions ignore it.
    virtual void stop() {}
    // A cut where the needle is, inside an object sewn as it was read.
    virtual void trim() {}
    virtual bool exhausted() const = 0;
    // How many more needles the sink will take; generators that gather work
    // before emitting it size their buffers by this.
    virtual int64_t room() const = 0;
    // Called by a generator whose work would not fit: the sink is then exhausted.
    virtual void markOverflow() = 0;
};

struct BorderShape;

struct GenContext {
    const Settings& settings;
    const Libraries& libraries;
    // What is sewn after the object that may border it (fills reach under it).
    const BorderShape* borders = nullptr;
    std::size_t borderCount = 0;
    // Where the needle is before the object, when anything was sewn: objects
    // that can start anywhere (fills, closed running lines) start near it.
    bool hasEntry = false;
    Vec entry{};
    // Where the next object starts when it carries this one's seam on:
    // fills end near it.
    bool hasExit = false;
    Vec exit{};
};

// Running stitches from s0 to s1 (either way) along `path`, evenly spaced and
// at most `stitchLength` apart, the first one on s0 when `includeFirst`.
void runAlong(const ArcPath& path, double s0, double s1, double stitchLength, bool includeFirst,
              NeedleSink& sink);

// The longest stitch a generator lays, a little under MAXSTITCH so that
// rounding to design units keeps it within.
double generatorMaxStitch(const Settings& settings);

// The penetrations strictly between `from` and `to` that split a stitch
// longer than `maxLength` into staggered parts (`phase` counts stitches, so
// neighbours split at different points); `backwards` gives them in the order
// from `to` to `from`, so a stitch sewn either way uses the same holes.
void splitStitch(Vec from, Vec to, double maxLength, long phase, bool backwards, NeedleSink& sink);

// Number of leading points of a library figure up to its last non-zero one.
template <typename Points> int figureLength(const Points& points)
{
    int n = 0;
    for (int i = 0; i < static_cast<int>(points.size()); ++i)
        if (points[i].x != 0 || points[i].y != 0)
            n = i + 1;
    return n;
}

// Copies of a motif's `count` points laid along `path`, `scale` times the
// size they are drawn at, stretched so a whole number of them fills it.
void layMotif(const ArcPath& path, const LibraryPoint* points, int count, double stitchLength, double scale,
              NeedleSink& sink);

// Stitch lengths and counts from record fields that may hold anything.
double clampedLength(int32_t value, double low, double high);
int clampedRepeat(int32_t value);
// A running line's passes over each stitch: its own (even ones sew the line
// there and back), or the configuration's REPEAT for 0.
int runPasses(int32_t value, const Settings& settings);
// A motif's copies at MSIZE percent of their drawn size; 0 is 100 %.
double motifScale(int32_t msize);

void generateRun(const RunRecord& r, const GenContext& ctx, NeedleSink& sink);
void generateSaten(const SatenRecord& r, const GenContext& ctx, NeedleSink& sink);
void generateSteil(const SteilRecord& r, const GenContext& ctx, NeedleSink& sink);
void generateRect(const RectRecord& r, const GenContext& ctx, NeedleSink& sink);
void generateCircle(const CircleRecord& r, const GenContext& ctx, NeedleSink& sink);
void generateStar(const StarParams& p, const GenContext& ctx, NeedleSink& sink);

// The fewest records a fill's stitches make in a plan, from its outline alone
// and far cheaper than stitching it; more than `limit` when it cannot fit.
int64_t rectRecordFloor(const RectRecord& r, const GenContext& ctx, int64_t limit);
int64_t circleRecordFloor(const CircleRecord& r, const GenContext& ctx, int64_t limit);

} // namespace kelvara::stitch
