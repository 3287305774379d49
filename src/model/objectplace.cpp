#include "model/objectplace.h"

#include <cmath>

namespace kelvara {

namespace {

void translateEdge(BezierEdge& edge, double dx, double dy)
{
    edge.x1 += dx;
    edge.y1 += dy;
    edge.x2 += dx;
    edge.y2 += dy;
    edge.xc1 += dx;
    edge.yc1 += dy;
    edge.xc2 += dx;
    edge.yc2 += dy;
}

// The start and the control point next to it move together.
void shiftEdgeStart(BezierEdge& edge, double dx, double dy)
{
    edge.x1 += dx;
    edge.y1 += dy;
    edge.xc1 += dx;
    edge.yc1 += dy;
}

int32_t shifted(int32_t value, double by)
{
    const double moved = double(value) + std::round(by);
    return moved > INT32_MAX ? INT32_MAX : moved < INT32_MIN ? INT32_MIN : int32_t(moved);
}

// The side a two-edge record starts or stops on: edge B for 2, else A.
const BezierEdge& side(const BezierEdge& a, const BezierEdge& b, int32_t which)
{
    return which == 2 ? b : a;
}

} // namespace

void translateRecord(int32_t kind, ObjectParams& params, double dx, double dy)
{
    switch (kind) {
    case KindRun:
        translateEdge(params.run.line, dx, dy);
        break;
    case KindSteil:
        translateEdge(params.steil.line, dx, dy);
        break;
    case KindSaten:
        translateEdge(params.saten.edgeA, dx, dy);
        translateEdge(params.saten.edgeB, dx, dy);
        break;
    case KindRect:
        translateEdge(params.rect.edgeA, dx, dy);
        translateEdge(params.rect.edgeB, dx, dy);
        break;
    case KindStar:
        params.star.X = shifted(params.star.X, dx);
        params.star.Y = shifted(params.star.Y, dy);
        break;
    case KindCircle:
        params.circle.X = shifted(params.circle.X, dx);
        params.circle.Y = shifted(params.circle.Y, dy);
        break;
    default:
        break;
    }
}

std::optional<PlacePoint> objectStart(int32_t kind, const ObjectParams& params)
{
    switch (kind) {
    case KindRun:
        return PlacePoint{params.run.line.x1, params.run.line.y1};
    case KindSteil:
        return PlacePoint{params.steil.line.x1, params.steil.line.y1};
    case KindSaten: {
        const BezierEdge& e = side(params.saten.edgeA, params.saten.edgeB, params.saten.STARTA);
        return PlacePoint{e.x1, e.y1};
    }
    case KindRect: {
        const BezierEdge& e = side(params.rect.edgeA, params.rect.edgeB, params.rect.STARTA);
        return PlacePoint{e.x1, e.y1};
    }
    default:
        return std::nullopt;
    }
}

std::optional<PlacePoint> objectEnd(int32_t kind, const ObjectParams& params)
{
    switch (kind) {
    case KindRun:
        return PlacePoint{params.run.line.x2, params.run.line.y2};
    case KindSteil:
        return PlacePoint{params.steil.line.x2, params.steil.line.y2};
    case KindSaten: {
        const BezierEdge& e = side(params.saten.edgeA, params.saten.edgeB, params.saten.STOPA);
        return PlacePoint{e.x2, e.y2};
    }
    case KindRect: {
        const BezierEdge& e = side(params.rect.edgeA, params.rect.edgeB, params.rect.STOPA);
        return PlacePoint{e.x2, e.y2};
    }
    default:
        return std::nullopt;
    }
}

bool moveStartTo(int32_t kind, ObjectParams& params, PlacePoint to)
{
    const std::optional<PlacePoint> from = objectStart(kind, params);
    if (!from || !std::isfinite(to.x) || !std::isfinite(to.y))
        return false;
    const double dx = to.x - from->x;
    const double dy = to.y - from->y;
    switch (kind) {
    case KindRun:
        shiftEdgeStart(params.run.line, dx, dy);
        break;
    case KindSteil:
        shiftEdgeStart(params.steil.line, dx, dy);
        break;
    case KindSaten:
        shiftEdgeStart(params.saten.edgeA, dx, dy);
        shiftEdgeStart(params.saten.edgeB, dx, dy);
        break;
    case KindRect:
        shiftEdgeStart(params.rect.edgeA, dx, dy);
        shiftEdgeStart(params.rect.edgeB, dx, dy);
        break;
    default:
        return false;
    }
    return true;
}

} // namespace kelvara
