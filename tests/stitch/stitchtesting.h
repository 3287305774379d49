#pragma once

// Object records and measurements shared by the stitch tests.

#include "model/workspace.h"
#include "stitch/stitchplan.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace kelvara::testing {

inline BezierEdge straightEdge(double x1, double y1, double x2, double y2)
{
    return BezierEdge{1, x1, y1, x2, y2, 0, 0, 0, 0};
}

inline BezierEdge curvedEdge(double x1, double y1, double c1x, double c1y, double c2x, double c2y, double x2,
                             double y2)
{
    return BezierEdge{0, x1, y1, x2, y2, c1x, c1y, c2x, c2y};
}

// Records as the drawing tools make them from the default configuration.
inline ObjectParams runParams(BezierEdge line, int32_t len = 20)
{
    ObjectParams p{};
    p.run = RunParams{len, -1, -1, -1, 0, 1, line, 0x0000FF};
    return p;
}

inline ObjectParams satenParams(BezierEdge a, BezierEdge b)
{
    ObjectParams p{};
    SatenParams& s = p.saten;
    s.SDENS = s.TDENS = 35;
    s.SCOMP = s.TCOMP = 0;
    s.PATTERN = s.MOTIVE = s.TIEIN = s.TIEOUT = -1;
    s.TRIM = 0;
    s.colour = 0x00FF00;
    s.REPEAT = 1;
    s.ZOOMX = s.ZOOMY = 1.0;
    s.PUSHCOMP = 0;
    s.edgeA = a;
    s.edgeB = b;
    s.STITCHES = 1;
    s.STARTA = 1;
    s.STOPA = 1;
    s.UNDER = -1;
    s.CIKCAK = -1;
    s.OFSUND = 5;
    s.OFSCIK = 3;
    return p;
}

inline ObjectParams steilParams(BezierEdge line, int32_t width)
{
    ObjectParams p{};
    SteilParams& s = p.steil;
    s.SDENS = s.TDENS = 35;
    s.SWIDTH = s.TWIDTH = width;
    s.PATTERN = s.MOTIVE = s.TIEIN = s.TIEOUT = -1;
    s.colour = 0xFF0000;
    s.REPEAT = 1;
    s.ZOOMX = s.ZOOMY = 1.0;
    s.line = line;
    s.STITCHES = 1;
    s.UNDER = -1;
    s.CIKCAK = -1;
    return p;
}

inline ObjectParams rectParams(BezierEdge a, BezierEdge b, int32_t angle = 0)
{
    ObjectParams p{};
    RectParams& r = p.rect;
    r.SDENS = r.TDENS = 35;
    r.PATTERN = r.MOTIVE = r.TIEIN = r.TIEOUT = -1;
    r.colour = 0x00FFFF;
    r.REPEAT = 1;
    r.ZOOMX = r.ZOOMY = 1.0;
    r.edgeA = a;
    r.edgeB = b;
    r.STARTA = r.STOPA = 1;
    r.ANGLE = angle;
    r.STITCHES = 1;
    r.UNDER = -1;
    r.CIKCAK = -1;
    return p;
}

inline ObjectParams circleParams(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t angle = 0)
{
    ObjectParams p{};
    CircleParams& c = p.circle;
    c.SDENS = c.TDENS = 35;
    c.PATTERN = c.MOTIVE = c.TIEIN = c.TIEOUT = -1;
    c.colour = 0xFF00FF;
    c.REPEAT = 1;
    c.ZOOMX = c.ZOOMY = 1.0;
    c.X = x;
    c.Y = y;
    c.RX = rx;
    c.RY = ry;
    c.ANGLE = angle;
    c.STITCHES = 1;
    c.UNDER = -1;
    c.CIKCAK = -1;
    return p;
}

inline ObjectParams starParams(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t start = 0,
                               int32_t stop = 0)
{
    ObjectParams p{};
    StarParams& s = p.star;
    s.DENS = 35;
    s.PATTERN = s.MOTIVE = s.TIEIN = s.TIEOUT = -1;
    s.colour = 0xFFFF00;
    s.REPEAT = 1;
    s.ZOOMX = s.ZOOMY = 1.0;
    s.X = x;
    s.Y = y;
    s.RX = rx;
    s.RY = ry;
    s.STARTANGLE = start;
    s.STOPANGLE = stop;
    s.UNDER = -1;
    return p;
}

// Appends an object at the end of the display order; returns its row.
inline int32_t addObject(Workspace& ws, int32_t kind, const ObjectParams& params)
{
    const int32_t row = findFreeRow(ws.table);
    const int32_t handle = ws.records.allocate(recordSize(kind));
    std::memcpy(ws.records.bytes(handle), params.bytes, static_cast<std::size_t>(recordSize(kind)));
    ws.table.rows[static_cast<std::size_t>(row)] = ObjectEntry{kind, handle, recordSize(kind), 0, 1, -1, -1};
    insertAfter(ws.table, row, -1);
    ++ws.table.objectCount;
    return row;
}

// Settings without tie-offs, so geometry tests see only the object.
inline Settings plainSettings()
{
    Settings s;
    s.TIEIN = 0;
    s.TIEOUT = 0;
    return s;
}

inline double distance(double ax, double ay, double bx, double by)
{
    return std::hypot(ax - bx, ay - by);
}

// Consecutive penetrations of a plan as segments (stitches only).
struct Segment {
    double ax, ay, bx, by;
};
inline std::vector<Segment> stitchSegments(const StitchPlan& plan)
{
    std::vector<Segment> out;
    for (std::size_t i = 1; i < plan.records.size(); ++i)
        if (plan.records[i].kind == StitchKind::Stitch)
            out.push_back({static_cast<double>(plan.records[i - 1].x),
                           static_cast<double>(plan.records[i - 1].y), static_cast<double>(plan.records[i].x),
                           static_cast<double>(plan.records[i].y)});
    return out;
}

// How far a plan moves without stitching (all its jumps together) and how
// often it trims.
inline std::pair<double, int> jumpsAndTrims(const StitchPlan& plan)
{
    std::pair<double, int> out{0, 0};
    for (std::size_t i = 1; i < plan.records.size(); ++i) {
        const StitchRecord &a = plan.records[i - 1], &b = plan.records[i];
        if (b.kind == StitchKind::Jump)
            out.first += distance(a.x, a.y, b.x, b.y);
        out.second += b.kind == StitchKind::Trim;
    }
    return out;
}

} // namespace kelvara::testing
