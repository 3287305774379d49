#include "model/kinds/kindparts.h"

#include "model/drawingtool.h"
#include "model/editorstate.h"
#include "model/recordgeometry.h"
#include "shell/settings.h"

#include <algorithm>
#include <cmath>

namespace kelvara::kindparts {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Turns nearer a quarter than a straight turn put an upright ellipse's
// radii the other way round.
bool swapsRadii(int32_t degrees)
{
    const int32_t q = ((degrees % 180) + 180) % 180;
    return q >= 45 && q < 135;
}

} // namespace

double halfOfWider(int32_t a, int32_t b)
{
    return std::max(std::abs(double(a)), std::abs(double(b))) / 2;
}

int32_t underValue(const Settings& s)
{
    return s.UNDER != 0 ? s.LENGTH : -1;
}

int32_t zigzagValue(const Settings& s)
{
    return s.CIKUND != 0 ? s.CIKCAK : -1;
}

void fillColumnValues(int32_t& sdens, int32_t& tdens, int32_t& scomp, int32_t& tcomp, int32_t& pushcomp,
                      int32_t& stitches, int32_t& under, int32_t& cikcak, int32_t& ofsund, int32_t& ofscik,
                      const Settings& s)
{
    sdens = s.DENSITY;
    tdens = s.DENSITY;
    scomp = s.PULLCOMP;
    tcomp = s.PULLCOMP;
    pushcomp = s.PUSHCOMP;
    stitches = 1;
    under = underValue(s);
    cikcak = zigzagValue(s);
    ofsund = s.EDGE;
    ofscik = s.MARGIN;
}

void fillEdge(BezierEdge& edge, double x1, double y1, double x2, double y2)
{
    edge = BezierEdge{1, x1, y1, x2, y2, 0.0, 0.0, 0.0, 0.0};
}

BezierEdge edgeOf(const PreviewSegment& s)
{
    return BezierEdge{s.straight,    double(s.startX), double(s.startY), double(s.endX), double(s.endY),
                      double(s.c1X), double(s.c1Y),    double(s.c2X),    double(s.c2Y)};
}

BezierEdge reversedEdgeOf(const PreviewSegment& s)
{
    return BezierEdge{s.straight,    double(s.endX), double(s.endY), double(s.startX), double(s.startY),
                      double(s.c2X), double(s.c2Y),  double(s.c1X),  double(s.c1Y)};
}

void placeEllipse(int32_t& x, int32_t& y, int32_t& rx, int32_t& ry, const PreviewSegment& s)
{
    const SegmentEllipse e = ellipseOf(s);
    x = e.x;
    y = e.y;
    rx = e.rx;
    ry = e.ry;
}

bool toField(double v, int32_t& out)
{
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return false;
    out = static_cast<int32_t>(r);
    return true;
}

int32_t negated(int32_t v)
{
    return v == INT32_MIN ? INT32_MAX : -v;
}

// Rows at -a about a vertical axis, 180 - a about a horizontal one, so the
// rows are also sewn in the mirrored order.
int32_t mirroredAngle(int32_t a, MirrorAxis axis)
{
    const int64_t wide = axis == MirrorAxis::LeftRight ? -int64_t{a} : 180 - int64_t{a};
    if (wide >= INT32_MIN && wide <= INT32_MAX)
        return static_cast<int32_t>(wide);
    const int32_t turn = a % 360;
    return axis == MirrorAxis::LeftRight ? -turn : 180 - turn;
}

// The rows' direction stretched, then turned.
bool turnedFillAngle(int32_t& angle, const TurnAndScale& how)
{
    const double a = (angle % 360) * kPi / 180;
    const double stretched = std::atan2(how.scaleY * std::sin(a), how.scaleX * std::cos(a)) * 180 / kPi;
    const double change = std::remainder(stretched - (angle % 360), 180.0);
    const int64_t turned = int64_t{angle} + std::llround(change) + how.degrees;
    if (turned < INT32_MIN || turned > INT32_MAX)
        return toField(double(angle % 360) + std::llround(change) + how.degrees % 360, angle);
    angle = static_cast<int32_t>(turned);
    return true;
}

bool turnEllipse(int32_t& x, int32_t& y, int32_t& rx, int32_t& ry, int32_t sign, const TurnAndScale& how)
{
    double cx = x, cy = y;
    turnPoint(how, cx, cy);
    if (!toField(cx, x) || !toField(cy, y) || !toField(rx * how.scaleX, rx) || !toField(ry * how.scaleY, ry))
        return false;
    if (swapsRadii(how.degrees)) {
        const int32_t oldRx = rx;
        rx = sign < 0 ? negated(ry) : ry;
        ry = sign < 0 ? negated(oldRx) : oldRx;
    }
    return true;
}

} // namespace kelvara::kindparts
