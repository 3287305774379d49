#pragma once

#include "model/records.h"

#include <cstdint>

namespace kelvara {

// The point of the edge at curve parameter t (0..1): along the line for a
// straight edge, on the cubic through its control points otherwise.
void edgePointAt(const BezierEdge& e, double t, double& x, double& y);

// The edge cut at parameter t (de Casteljau): `first` runs from its start to
// the point at t, `second` from there to its end, and together they trace
// the edge exactly.
void splitEdge(const BezierEdge& e, double t, BezierEdge& first, BezierEdge& second);

// The parameter of the edge's point nearest to (x, y); `distance` is how far
// that point is.
double nearestOnEdge(const BezierEdge& e, double x, double y, double& distance);

// Edge B runs against edge A when its start lies nearer A's end (the rule
// the column generator reads it by).
bool runsAgainst(const BezierEdge& a, const BezierEdge& b);
// Fraction of the edge's length up to parameter t.
double lengthFraction(const BezierEdge& e, double t);
// A column's width a fraction of the way from its start width to its end's.
int32_t widthAt(int32_t start, int32_t end, double fraction);

// `t` when the point of `line` at t lies within `reach` (`distance` is
// how far the click is) and leaves both pieces some length; else -1.
double splitParameterOn(const BezierEdge& line, double t, double distance, double reach);
// The same for the point of `line` nearest to (x, y).
double lineSplitParameter(const BezierEdge& line, double x, double y, double reach);

// Where a click at (x, y) splits a RUN, STEIL or SATEN: the curve parameter
// of its line (a SATEN's edge A) within `tolerance` of the click (a STEIL's
// column counts too), or -1 when the click is not on it or too near an end
// to leave two pieces.
double splitParameterAt(int32_t kind, const ObjectParams& p, double x, double y, double tolerance);

// A RUN, STEIL or SATEN cut at curve parameter t into two objects that stitch
// the same path: a SATEN's edges both at t (edge B counted in the column's
// direction), a STEIL's width at the cut as the column has it there. The
// pieces keep every other field, except that the lock and the trim between
// them go: the first keeps the tie-in, the second the tie-off and the trim.
// False for any other kind or a t outside 0..1.
bool splitRecord(int32_t kind, const ObjectParams& p, double t, ObjectParams& first, ObjectParams& second);

} // namespace kelvara
