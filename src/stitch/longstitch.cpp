// Long stitches. A stitch longer than the machine's MAXSTITCH floats: it
// snags and does not lie flat. Satin rungs and star rays that are longer
// are split into parts of equal length, and the split points move from
// stitch to stitch by a third of a part (a three-step cycle), so the extra
// holes of neighbouring stitches never line up into a visible seam. The
// part count leaves room for that shift: a shifted end part is still no
// longer than the limit.
#include "shell/settings.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kStagger = 1.0 / 3;

// Room for rounding both ends of a part to whole design units.
constexpr double kRoundingMargin = 1.5;

} // namespace

double generatorMaxStitch(const Settings& settings)
{
    return std::max(2.0, settings.MAXSTITCH - kRoundingMargin);
}

void splitStitch(Vec from, Vec to, double maxLength, long phase, bool backwards, NeedleSink& sink)
{
    const double span = length(to - from);
    if (!(maxLength > 0) || !(span > maxLength))
        return;
    const double parts = std::ceil(std::min(span * (1 + kStagger) / maxLength, 1e9));
    const double shift = phase % 3 == 0 ? 0 : phase % 3 == 1 ? kStagger : -kStagger;
    for (double k = 1; k < parts && !sink.exhausted(); ++k) {
        const double part = backwards ? parts - k : k;
        sink.needle(lerp(from, to, (part + shift) / parts));
    }
}

} // namespace kelvara::stitch
