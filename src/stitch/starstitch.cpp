// STAR: a radial satin.
//
// Rungs run from the centre to the ellipse of radii RX, RY, spread evenly
// along the ellipse over the arc from STARTANGLE to STOPANGLE (degrees,
// counter-clockwise as seen on screen; the whole ellipse when they are equal),
// so that outer penetrations are DENS / 10 units apart. Penetrations alternate
// between the inner and the outer end of successive rungs. Sending every rung
// to the centre would pile hundreds of penetrations into one hole, so inner
// ends are staggered: every second one stops at half the radius, every fourth
// at a quarter and so on, and only about eight reach the centre. COMP moves
// the outer ends outwards by half its value. UNDER other than -1 lays a
// running contour inside the arc, OFSUND in from the edge, before the top.
#include "stitch/generators.h"

#include <algorithm>
#include <cmath>

namespace kelvara::stitch {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Fraction of the radius where the inner end of the j-th inner penetration lies.
double innerFraction(long j, long centreEvery)
{
    if (j % centreEvery == 0)
        return 0;
    double f = 0.5;
    while (j % 2 == 0) {
        f /= 2;
        j /= 2;
    }
    return f;
}

} // namespace

void generateStar(const StarParams& p, const GenContext&, NeedleSink& sink)
{
    const Vec centre{static_cast<double>(p.X), static_cast<double>(p.Y)};
    const double rx = std::abs(static_cast<double>(p.RX)), ry = std::abs(static_cast<double>(p.RY));
    const double start = static_cast<double>(p.STARTANGLE % 360);
    double sweep = std::fmod(static_cast<double>(p.STOPANGLE % 360) - start + 720, 360);
    const bool whole = sweep == 0;
    if (whole)
        sweep = 360;

    auto onEllipse = [&](double ax, double ay, double degrees) {
        const double a = degrees * kPi / 180;
        return Vec{centre.x + ax * std::cos(a), centre.y - ay * std::sin(a)};
    };
    const double around = 2 * kPi * std::max(rx, ry) * sweep / 360;
    const int samples = static_cast<int>(std::clamp(std::ceil(around / 2), 8.0, 2048.0));
    std::vector<Vec> arc;
    arc.reserve(static_cast<std::size_t>(samples) + 1);
    for (int i = 0; i <= samples; ++i)
        arc.push_back(onEllipse(rx, ry, start + sweep * i / samples));
    const ArcPath outer(std::move(arc));

    if (p.UNDER != -1) {
        const double inset = std::max(0, p.OFSUND);
        const double ux = std::max(0.0, rx - inset), uy = std::max(0.0, ry - inset);
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
    const long innerCount = rungs / 2;
    long centreEvery = 1;
    while (centreEvery * 2 <= innerCount / 8)
        centreEvery *= 2;
    const double comp = p.COMP / 2.0;
    const int repeat = clampedRepeat(p.REPEAT);
    // A whole ellipse does not repeat its first rung at the end.
    const double steps = whole ? static_cast<double>(rungs) : static_cast<double>(rungs - 1);

    for (int pass = 0; pass < repeat && !sink.exhausted(); ++pass) {
        for (long k = 0; k < rungs && !sink.exhausted(); ++k) {
            const long i = pass % 2 == 0 ? k : rungs - 1 - k;
            const Vec rim = outer.pointAt(outer.length() * (static_cast<double>(i) / steps));
            const Vec out = rim - centre;
            if (i % 2 == 0) {
                sink.needle(centre + out * innerFraction(i / 2, centreEvery));
            } else {
                const double r = length(out);
                sink.needle(centre + unit(out, {0, 0}) * std::max(0.0, r + comp));
            }
        }
    }
}

} // namespace kelvara::stitch
