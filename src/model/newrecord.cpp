#include "model/newrecord.h"

#include "shell/settings.h"

#include <cstring>

namespace kelvara {

namespace {

constexpr int32_t kNone = -1;

// A switch is off only at 0, as everywhere else Settings are read.
int32_t underValue(const Settings& s)
{
    return s.UNDER != 0 ? s.LENGTH : -1;
}

int32_t zigzagValue(const Settings& s)
{
    return s.CIKUND != 0 ? s.CIKCAK : -1;
}

// Library references, trim, colour, repeat and scale of every kind but RUN.
template <typename P> void fillCommon(P& p, int32_t colour)
{
    p.PATTERN = kNone;
    p.MOTIVE = kNone;
    p.TIEIN = kNone;
    p.TIEOUT = kNone;
    p.TRIM = 0;
    p.colour = colour;
    p.REPEAT = 1;
    p.ZOOMX = 1.0;
    p.ZOOMY = 1.0;
}

// SATEN, STEIL, RECT and CIRCLE: densities, compensation and underlay.
template <typename P> void fillColumn(P& p, const Settings& s, int32_t colour)
{
    fillCommon(p, colour);
    p.SDENS = s.DENSITY;
    p.TDENS = s.DENSITY;
    p.SCOMP = s.PULLCOMP;
    p.TCOMP = s.PULLCOMP;
    p.PUSHCOMP = s.PUSHCOMP;
    p.STITCHES = 1;
    p.UNDER = underValue(s);
    p.CIKCAK = zigzagValue(s);
    p.OFSUND = s.EDGE;
    p.OFSCIK = s.MARGIN;
}

} // namespace

ObjectParams newRecord(int32_t kind, const Settings& s, int32_t colour)
{
    // Every byte is set, so records built here compare and save alike.
    ObjectParams params;
    std::memset(&params, 0, sizeof params);
    switch (kind) {
    case KindRun: {
        RunParams& p = params.run;
        p.LEN = s.STITCH;
        p.MOTIVE = kNone;
        p.TIEIN = kNone;
        p.TIEOUT = kNone;
        p.TRIM = 0;
        p.JUMP = 1;
        p.colour = colour;
        break;
    }
    case KindSaten:
        fillColumn(params.saten, s, colour);
        params.saten.STARTA = 1;
        params.saten.STOPA = 1;
        break;
    case KindSteil:
        fillColumn(params.steil, s, colour);
        params.steil.SWIDTH = s.STEIL;
        params.steil.TWIDTH = s.STEIL;
        break;
    case KindRect:
        fillColumn(params.rect, s, colour);
        params.rect.STARTA = 1;
        params.rect.STOPA = 1;
        params.rect.ANGLE = 0;
        break;
    case KindStar: {
        StarParams& p = params.star;
        fillCommon(p, colour);
        p.DENS = s.DENSITY;
        p.COMP = s.PULLCOMP;
        p.STARTANGLE = 0;
        p.STOPANGLE = 0;
        p.UNDER = underValue(s);
        p.OFSUND = s.EDGE;
        break;
    }
    case KindCircle:
        fillColumn(params.circle, s, colour);
        params.circle.ANGLE = 0;
        break;
    default:
        break;
    }
    return params;
}

} // namespace kelvara
