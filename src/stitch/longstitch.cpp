// Long stitches. A stitch longer than the machine's MAXSTITCH floats: it
// snags and does not lie flat. Satin rungs and star rays that are longer
// are split into parts of equal length, and the split points move from
// stitch to stitch by up to a third of a part either way. A short cycle of
// shifts repeats its few positions all along the column, which reads as
// seams at a third, a half and two thirds of its width; so the shift of
// stitch k is the fractional part of k times the golden ratio, which never
// repeats, spreads the holes evenly over the whole range and moves every
// stitch's holes at least a third of the range from its neighbour's. It
// depends on the stitch's number alone, so exports are reproducible. The
// part count leaves room for the shift: a shifted end part is still no
// longer than the limit.
#include "shell/settings.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kStagger = 1.0 / 3;
constexpr double kGoldenRatio = 0.6180339887498949;

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
    const double turn = static_cast<double>(phase) * kGoldenRatio;
    const double shift = (2 * (turn - std::floor(turn)) - 1) * kStagger;
    for (double k = 1; k < parts && !sink.exhausted(); ++k) {
        const double part = backwards ? parts - k : k;
        sink.needle(lerp(from, to, (part + shift) / parts));
    }
}

} // namespace kelvara::stitch
