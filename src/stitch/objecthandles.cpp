#include "stitch/objecthandles.h"

#include "model/kinds/kind.h"
#include "model/pathgeometry.h"
#include "model/pathnodes.h"

#include <cmath>

namespace kelvara {

namespace {

// The project-file keys of an edge's eight coordinates, in BezierEdge order
// after the flag: start, end, control point 1, control point 2.
constexpr const char* kLineKeys[8] = {"X1", "Y1", "X2", "Y2", "XC1", "YC1", "XC2", "YC2"};
constexpr const char* kEdgeAKeys[8] = {"AX1", "AY1", "AX2", "AY2", "AXC1", "AYC1", "AXC2", "AYC2"};
constexpr const char* kEdgeBKeys[8] = {"BX1", "BY1", "BX2", "BY2", "BXC1", "BYC1", "BXC2", "BYC2"};

const char* const* edgeKeys(HandleEdge edge)
{
    switch (edge) {
    case HandleEdge::Line:
        return kLineKeys;
    case HandleEdge::EdgeA:
        return kEdgeAKeys;
    case HandleEdge::EdgeB:
        return kEdgeBKeys;
    case HandleEdge::None:
    case HandleEdge::Path:
        break;
    }
    return nullptr;
}

// A third of the way from the start (t = 1/3) or two thirds (t = 2/3): where
// a cubic that is a straight line has its control points.
double third(double from, double to, int k)
{
    return from + (to - from) * k / 3.0;
}

void addEdge(ObjectHandles& handles, const BezierEdge& e, HandleEdge which)
{
    const char* const* keys = edgeKeys(which);
    const bool straight = e.straight != 0;
    const struct {
        HandlePoint point;
        double x, y;
    } points[4] = {
        {HandlePoint::Start, e.x1, e.y1},
        {HandlePoint::End, e.x2, e.y2},
        {HandlePoint::Control1, straight ? third(e.x1, e.x2, 1) : e.xc1,
         straight ? third(e.y1, e.y2, 1) : e.yc1},
        {HandlePoint::Control2, straight ? third(e.x1, e.x2, 2) : e.xc2,
         straight ? third(e.y1, e.y2, 2) : e.yc2},
    };
    for (int i = 0; i < 4; ++i) {
        ObjectHandle& h = handles.add();
        h.edge = which;
        h.point = points[i].point;
        h.x = points[i].x;
        h.y = points[i].y;
        h.keyX = keys ? keys[2 * i] : nullptr;
        h.keyY = keys ? keys[2 * i + 1] : nullptr;
        h.onStraightEdge = straight && i >= 2;
    }
}

void addEllipse(ObjectHandles& handles, int32_t x, int32_t y, int32_t rx, int32_t ry)
{
    handles.add() = {HandleEdge::None, HandlePoint::Centre, double(x), double(y), "X", "Y", false};
    handles.add() = {HandleEdge::None, HandlePoint::RadiusX, double(x) + rx, double(y), "RX", nullptr, false};
    handles.add() = {HandleEdge::None, HandlePoint::RadiusY, double(x), double(y) + ry, nullptr, "RY", false};
}

bool moveEdgePoint(BezierEdge& e, HandlePoint point, double x, double y)
{
    switch (point) {
    case HandlePoint::Start:
        e.x1 = x;
        e.y1 = y;
        return true;
    case HandlePoint::End:
        e.x2 = x;
        e.y2 = y;
        return true;
    case HandlePoint::Control1:
    case HandlePoint::Control2:
        if (e.straight != 0) {
            // The curve through both thirds is the same line, so only the
            // dragged control point moves the edge.
            e.xc1 = third(e.x1, e.x2, 1);
            e.yc1 = third(e.y1, e.y2, 1);
            e.xc2 = third(e.x1, e.x2, 2);
            e.yc2 = third(e.y1, e.y2, 2);
            e.straight = 0;
        }
        (point == HandlePoint::Control1 ? e.xc1 : e.xc2) = x;
        (point == HandlePoint::Control1 ? e.yc1 : e.yc2) = y;
        return true;
    default:
        return false;
    }
}

// A whole design unit that an int32 field can hold.
bool roundedUnit(double v, int32_t& out)
{
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        return false;
    out = int32_t(r);
    return true;
}

bool moveEllipsePoint(const KindEllipse& e, HandlePoint point, double x, double y)
{
    int32_t a = 0, b = 0;
    switch (point) {
    case HandlePoint::Centre:
        if (!roundedUnit(x, a) || !roundedUnit(y, b))
            return false;
        *e.x = a;
        *e.y = b;
        return true;
    case HandlePoint::RadiusX:
        if (!roundedUnit(x - *e.x, a))
            return false;
        *e.rx = a;
        return true;
    case HandlePoint::RadiusY:
        if (!roundedUnit(y - *e.y, b))
            return false;
        *e.ry = b;
        return true;
    default:
        return false;
    }
}

} // namespace

ObjectHandles objectHandles(int32_t kind, const ObjectParams& p)
{
    ObjectHandles handles;
    const KindRow* row = kindRow(kind);
    if (row == nullptr)
        return handles;
    const KindEdges edges = kindEdges(*row, p);
    if (edges.count == 1)
        addEdge(handles, *edges.at[0], HandleEdge::Line);
    for (int i = 0; edges.count == 2 && i < 2; ++i)
        addEdge(handles, *edges.at[i], i == 0 ? HandleEdge::EdgeA : HandleEdge::EdgeB);
    if (const KindEllipse e = kindEllipse(*row, p); e.x != nullptr)
        addEllipse(handles, *e.x, *e.y, *e.rx, *e.ry);
    if (const PathData* path = kindPath(*row, p)) {
        int32_t segment = 0;
        for (const BezierEdge& e : pathEdges(*path)) {
            const int first = handles.count;
            addEdge(handles, e, HandleEdge::Path);
            for (int i = first; i < handles.count; ++i)
                handles.items[size_t(i)].segment = segment;
            // A curve's control point left on its node (the corner side of
            // the curve) sits at a third of the way instead, so it neither
            // hides the node nor is hidden by it.
            ObjectHandle* h = &handles.items[size_t(first)];
            for (int c = 2; c < 4; ++c)
                if (h[c].x == h[c - 2].x && h[c].y == h[c - 2].y && !h[c].onStraightEdge) {
                    h[c].x = third(e.x1, e.x2, c - 1);
                    h[c].y = third(e.y1, e.y2, c - 1);
                    h[c].onStraightEdge = true;
                }
            ++segment;
        }
    }
    return handles;
}

bool moveHandle(int32_t kind, ObjectParams& p, const ObjectHandle& handle, double x, double y)
{
    const KindRow* row = kindRow(kind);
    if (row == nullptr || !std::isfinite(x) || !std::isfinite(y))
        return false;
    const KindEdges edges = kindEdges(*row, p);
    const int at = edges.count == 1   ? (handle.edge == HandleEdge::Line ? 0 : -1)
                   : edges.count == 2 ? (handle.edge == HandleEdge::EdgeA   ? 0
                                         : handle.edge == HandleEdge::EdgeB ? 1
                                                                            : -1)
                                      : -1;
    if (at >= 0)
        return moveEdgePoint(*edges.at[at], handle.point, x, y);
    if (handle.edge == HandleEdge::Path) {
        const PathData* path = kindPath(*row, p);
        if (path == nullptr)
            return false;
        PathData moved = *path;
        return movePathPoint(moved, handle.segment, static_cast<int>(handle.point), x, y) &&
               setKindPath(*row, p, std::move(moved));
    }
    if (handle.edge != HandleEdge::None)
        return false;
    if (const KindEllipse e = kindEllipse(*row, p); e.x != nullptr)
        return moveEllipsePoint(e, handle.point, x, y);
    return false;
}

bool editNode(int32_t kind, ObjectParams& params, const ObjectHandle& handle, NodeEdit edit)
{
    const KindRow* row = kindRow(kind);
    const PathData* path = row ? kindPath(*row, params) : nullptr;
    if (path == nullptr || handle.edge != HandleEdge::Path)
        return false;
    std::size_t sub = 0, node = 0;
    if (!locateNode(*path, handle.segment, static_cast<int>(handle.point), sub, node))
        return false;
    PathData edited = *path;
    const bool done = edit == NodeEdit::Delete ? deleteNode(edited, sub, node) : switchNode(edited, sub, node);
    return done && setKindPath(*row, params, std::move(edited));
}

bool insertNode(int32_t kind, ObjectParams& params, double x, double y, double tolerance)
{
    const KindRow* row = kindRow(kind);
    const PathData* path = row ? kindPath(*row, params) : nullptr;
    if (path == nullptr)
        return false;
    PathData edited = *path;
    return insertNodeAt(edited, x, y, tolerance) && setKindPath(*row, params, std::move(edited));
}

} // namespace kelvara
