// STAR: a radial satin.
//
// Rungs run from the centre to the ellipse of radii RX, RY, spread evenly
// along the ellipse over the arc from STARTANGLE to STOPANGLE (degrees,
// counter-clockwise as seen on screen; the whole ellipse when they are equal),
// so that outer penetrations are DENS / 10 units apart. Penetrations alternate
// between the inner and the outer end of successive rungs. A negative RX or
// RY mirrors the star across that axis. Sending every rung
// to the centre would pile hundreds of penetrations into one hole, and
// stopping them at a few fixed radii leaves dense rings outside each of
// them. So the inner ends are spread evenly over the radius (short-stitch
// rings): the j-th stops at the bit-reversed fraction of j, scaled to reach
// at most 85% of the way out. The share of rays that cross any radius then
// grows with it, and thread lines lie as far apart everywhere as at the rim;
// neighbouring rays stop far apart; none comes nearer the centre than
// 0.3 mm, so the rays that get that far close it in a small ring of holes
// instead of sewing one hole over and over. Near the centre of a large star
// only a few rays come close, and the fabric shows in the wedges between
// them: a whole star of 15 mm radius or more is finished by a small centre,
// a spiral of running stitches 0.3 mm between turns over the rays' inner
// ends, a tenth of the star's radius and at most 3 mm round. Rays longer than the maximum stitch are
// split, staggered (see longstitch.cpp). COMP moves the outer ends outwards by half its value. UNDER other
// than -1 lays a running contour inside the arc, OFSUND in from the edge, before the top.
#include "shell/settings.h"
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr double kInnerReach = 0.85;
constexpr double kCentreShare = 0.1; // the small centre's radius against the star's, at most
constexpr double kCentreZone = 30;   // and at most 3 mm
constexpr double kCentreTurns = 3;   // design units between its turns
constexpr double kCentreStitch = 6;  // its stitch length
constexpr double kCentreFrom = 150;  // whole stars at least this large get one
constexpr double kCentreGap = 3;     // design units kept free round the centre

// Fraction of the radius where the inner end of the j-th inner penetration
// lies: j's binary digits mirrored behind the point, which takes every value
// evenly and sends neighbours far apart.
double innerFraction(long j)
{
    double f = 0, bit = 0.5;
    for (; j > 0; j /= 2, bit /= 2)
        if (j % 2 == 1)
            f += bit;
    return f * kInnerReach;
}

// The small centre: a spiral of running stitches from the rim of the centre
// zone, on the side the needle is, in towards the middle.
void sewCentre(Vec centre, double zone, Vec from, NeedleSink& sink)
{
    const Vec d = from - centre;
    const double start = std::atan2(d.y, d.x);
    const double turns = zone / kCentreTurns;
    for (double angle = 0; !sink.exhausted();) {
        const double r = zone * (1 - angle / (2 * kPi * turns));
        if (r <= 1.5 * kCentreTurns)
            return; // the rays' innermost ends hold the middle
        sink.needle(centre + Vec{std::cos(start + angle), std::sin(start + angle)} * r);
        angle += kCentreStitch / r;
    }
}

} // namespace

void generateStar(const StarParams& p, const GenContext& ctx, NeedleSink& sink)
{
    const Vec centre{static_cast<double>(p.X), static_cast<double>(p.Y)};
    // A negative radius mirrors the star across that axis (a flipped star):
    // its rays then run round the other way.
    const double rx = static_cast<double>(p.RX), ry = static_cast<double>(p.RY);
    const double start = static_cast<double>(p.STARTANGLE % 360);
    double sweep = std::fmod(static_cast<double>(p.STOPANGLE % 360) - start + 720, 360);
    const bool whole = sweep == 0;
    if (whole)
        sweep = 360;

    auto onEllipse = [&](double ax, double ay, double degrees) {
        const double a = degrees * kPi / 180;
        return Vec{centre.x + ax * std::cos(a), centre.y - ay * std::sin(a)};
    };
    const double around = 2 * kPi * std::max(std::abs(rx), std::abs(ry)) * sweep / 360;
    const int samples = static_cast<int>(std::clamp(std::ceil(around / 2), 8.0, 2048.0));
    std::vector<Vec> arc;
    arc.reserve(static_cast<std::size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i)
        arc.push_back(onEllipse(rx, ry, start + sweep * i / samples));
    const ArcPath outer(std::move(arc));

    if (p.UNDER != -1) {
        const double inset = std::max(0, p.OFSUND);
        const double ux = std::copysign(std::max(0.0, std::abs(rx) - inset), rx);
        const double uy = std::copysign(std::max(0.0, std::abs(ry) - inset), ry);
        std::vector<Vec> contour{centre};
        for (int i = 0; i <= samples; ++i)
            contour.push_back(onEllipse(ux, uy, start + sweep * i / samples));
        contour.push_back(centre);
        const ArcPath path(std::move(contour));
        runAlong(path, 0, path.length(), clampedLength(p.UNDER, 1, 1e9), true, sink);
    }

    // Rungs half the outer spacing apart, one penetration each.
    const double rungSpacing = clampedLength(p.DENS, 5, 1e7) / 20;
    long rungs = std::max(2L, std::lround(std::min(outer.length() / rungSpacing, 1e9)));
    if (rungs % 2 == 1)
        ++rungs; // an even count ends on the outside and closes a whole ellipse evenly
    const double comp = p.COMP / 2.0;
    const int repeat = clampedRepeat(p.REPEAT);
    // A whole ellipse does not repeat its first rung at the end.
    const double steps = whole ? static_cast<double>(rungs) : static_cast<double>(rungs - 1);

    const double maxStitch = generatorMaxStitch(ctx.settings);
    auto holeAt = [&](long i) {
        const Vec out = outer.pointAt(outer.length() * (static_cast<double>(i) / steps)) - centre;
        if (i % 2 == 0) {
            // From the second number on: the first ray, where the tie-in lies, ends mid-way.
            const double f = innerFraction(i / 2 + 1);
            const double r = length(out);
            return centre + out * (r > 0 ? std::max(f, std::min(kCentreGap / r, kInnerReach)) : f);
        }
        return centre + unit(out, {0, 0}) * std::max(0.0, length(out) + comp);
    };

    Vec prev;
    long prevI = -1;
    for (int pass = 0; pass < repeat && !sink.exhausted(); ++pass) {
        for (long k = 0; k < rungs && !sink.exhausted(); ++k) {
            const long i = pass % 2 == 0 ? k : rungs - 1 - k;
            const Vec hole = holeAt(i);
            if (prevI >= 0 && prevI != i) {
                // Split from the inner end so that a ray sewn back is split alike.
                const bool outwards = i % 2 == 1;
                splitStitch(outwards ? prev : hole, outwards ? hole : prev, maxStitch, std::min(i, prevI),
                            !outwards, sink);
            }
            sink.needle(hole);
            prev = hole;
            prevI = i;
        }
    }
    // Only a few rays come near the centre of a large star, and the fabric
    // shows in the wedges between them.
    const double smaller = std::min(std::abs(rx), std::abs(ry));
    if (whole && smaller >= kCentreFrom && prevI >= 0 && !sink.exhausted())
        sewCentre(centre, std::min(kCentreZone, kCentreShare * smaller), prev, sink);
}

} // namespace kelvara::stitch