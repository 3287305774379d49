#pragma once

#include "model/box.h"
#include "model/records.h"

#include <cstdint>

namespace kelvara {

// The design units the canvas reaches to the right and down. Edits that
// move whole objects keep them within 0..kDesignArea on both axes.
inline constexpr int32_t kDesignArea = 10000;

// Within 0..kDesignArea on both axes (an empty box is).
bool insideDesignArea(const GeometryBox& box);

// An edge's ends and, for a curve, where it turns back on an axis: a wide
// curve reaches past its ends there and nowhere else.
GeometryBox edgeBounds(const BezierEdge& e);

// What an object covers: its edges with a curve's true extremes, a STEIL's
// line grown by its wider half width, an ellipse's box, lettering's text box.
// Empty for a free row
// or for geometry that is not finite.
GeometryBox recordBounds(int32_t kind, const ObjectParams& p);

// Every point moved by whole units. False (the record unchanged) when an
// integer field would leave its range.
bool translateRecord(int32_t kind, ObjectParams& p, int32_t dx, int32_t dy);

enum class MirrorAxis { LeftRight, TopBottom };

// The mirror image about the vertical line x = sum / 2 (LeftRight) or the
// horizontal line y = sum / 2. A whole `sum` keeps whole units whole, so
// mirroring twice gives the same bytes back. The stitches follow: a fill's
// rows turn to the mirrored angle, a STAR's radius along the axis changes
// sign (its rays then run the other way round), and a STEIL's widths change
// sign (its column then starts on the other side of the line).
bool mirrorRecord(int32_t kind, ObjectParams& p, MirrorAxis axis, double sum);

// How a selection is resized and turned, about one centre: first scaled by
// `scaleX` across and `scaleY` down, then turned by `degrees`
// counter-clockwise as seen on screen (the way fill angles turn).
struct TurnAndScale {
    double centreX = 0, centreY = 0;
    int32_t degrees = 0;
    double scaleX = 1, scaleY = 1;
};

// The record turned and scaled. Lengths of the geometry change with it;
// stitch lengths, densities and compensations stay. Angles turn with the
// turn. A STAR or CIRCLE keeps its ellipse upright: its radii swap where the
// turn is nearer a quarter turn than a straight one. False (the record
// unchanged) when a value would not be finite or leave its field's range.
bool turnAndScaleRecord(int32_t kind, ObjectParams& p, const TurnAndScale& how);

// One point turned and scaled as the records are.
void turnPoint(const TurnAndScale& how, double& x, double& y);

} // namespace kelvara
