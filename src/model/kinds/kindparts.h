#pragma once

// Pieces the kind files build their rows from: field lists, the values a new
// record takes, and the arithmetic their transforms share.

#include "model/kinds/kind.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace kelvara {

struct PreviewSegment;
struct TurnAndScale;

namespace kindparts {

using M = FieldMeaning;

constexpr M edgeMeaning(M straight, int part)
{
    return static_cast<M>(static_cast<int>(straight) + part);
}

// A kind's properties fields, built in any order and kept in meaning order.
template <std::size_t N> struct FieldTable {
    std::array<ObjectField, N> fields{};
    std::size_t count = 0;

    constexpr void add(M meaning, std::size_t offset, bool isDouble = false)
    {
        fields[count++] = ObjectField{meaning, static_cast<uint16_t>(offset), isDouble};
    }
    // Straight flag, then the eight doubles as the record keeps them.
    constexpr void addEdge(M straight, std::size_t edge)
    {
        add(straight, edge + offsetof(BezierEdge, straight));
        for (int part = 1; part <= 8; ++part)
            add(edgeMeaning(straight, part), edge + offsetof(BezierEdge, x1) + (part - 1) * sizeof(double),
                true);
    }
    // `walk` is the meaning of OFSUND: the columns' walk, or the inset of
    // every other kind's underlay.
    template <typename R> constexpr void addShared(M walk = M::UnderlayInset)
    {
        add(M::Pattern, offsetof(R, PATTERN));
        add(M::Motif, offsetof(R, MOTIVE));
        add(M::TieIn, offsetof(R, TIEIN));
        add(M::TieOut, offsetof(R, TIEOUT));
        add(M::Trim, offsetof(R, TRIM));
        add(M::Colour, offsetof(R, colour));
        add(M::Repeat, offsetof(R, REPEAT));
        add(M::PatternScaleX, offsetof(R, ZOOMX), true);
        add(M::PatternScaleY, offsetof(R, ZOOMY), true);
        add(M::Underlay, offsetof(R, UNDER));
        add(walk, offsetof(R, OFSUND));
    }
    // Everything SATEN, STEIL, RECT and CIRCLE have alike.
    template <typename R> constexpr void addColumn(M walk = M::UnderlayInset)
    {
        addShared<R>(walk);
        add(M::Density, offsetof(R, SDENS));
        add(M::EndDensity, offsetof(R, TDENS));
        add(M::PullComp, offsetof(R, SCOMP));
        add(M::EndPullComp, offsetof(R, TCOMP));
        add(M::PushComp, offsetof(R, PUSHCOMP));
        add(M::TopLayer, offsetof(R, STITCHES));
        add(M::Zigzag, offsetof(R, CIKCAK));
        add(M::ZigzagInset, offsetof(R, OFSCIK));
    }
    constexpr FieldTable sorted() const
    {
        FieldTable copy = *this;
        std::sort(copy.fields.begin(), copy.fields.begin() + copy.count,
                  [](const ObjectField& a, const ObjectField& b) { return a.meaning < b.meaning; });
        return copy;
    }
    constexpr std::span<const ObjectField> span() const { return {fields.data(), count}; }
    // A table that names every field of its record once covers its size.
    constexpr int32_t coveredBytes() const
    {
        int32_t bytes = 0;
        for (std::size_t i = 0; i < count; ++i)
            bytes += fields[i].isDouble ? 8 : 4;
        return count == N ? bytes : -1;
    }
};

template <std::size_t N>
constexpr std::span<const projectkeys::Field> keySpan(const projectkeys::FieldList<N>& l)
{
    return {l.fields.data(), l.count};
}

inline constexpr int32_t kNone = -1;

// A switch is off only at 0, as everywhere else Settings are read.
int32_t underValue(const Settings& s);
int32_t zigzagValue(const Settings& s);

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
void fillColumnValues(int32_t& sdens, int32_t& tdens, int32_t& scomp, int32_t& tcomp, int32_t& pushcomp,
                      int32_t& stitches, int32_t& under, int32_t& cikcak, int32_t& ofsund, int32_t& ofscik,
                      const Settings& s);
template <typename P> void fillColumn(P& p, const Settings& s, int32_t colour)
{
    fillCommon(p, colour);
    fillColumnValues(p.SDENS, p.TDENS, p.SCOMP, p.TCOMP, p.PUSHCOMP, p.STITCHES, p.UNDER, p.CIKCAK, p.OFSUND,
                     p.OFSCIK, s);
}

// A straight edge from (x1, y1) to (x2, y2), for a sample shape.
void fillEdge(BezierEdge& edge, double x1, double y1, double x2, double y2);

// A drawn segment as an edge, forwards or with its far end first.
BezierEdge edgeOf(const PreviewSegment& s);
BezierEdge reversedEdgeOf(const PreviewSegment& s);
// The ellipse a drawn segment spans, into the four fields.
void placeEllipse(int32_t& x, int32_t& y, int32_t& rx, int32_t& ry, const PreviewSegment& s);

// A whole value an int32 field can hold; false for anything else.
bool toField(double v, int32_t& out);
int32_t negated(int32_t v);
// A fill's rows (or a star's angles) mirrored about the axis.
int32_t mirroredAngle(int32_t a, MirrorAxis axis);
// A fill angle after the scale and the turn.
bool turnedFillAngle(int32_t& angle, const TurnAndScale& how);
// An upright ellipse moved with the turn and scale, radii swapped where the
// turn is nearer a quarter than a straight one (`sign` -1: swapped mirrored).
bool turnEllipse(int32_t& x, int32_t& y, int32_t& rx, int32_t& ry, int32_t sign, const TurnAndScale& how);

// Parts of records that keep them under the same names; `Layout` is the
// record's member of ObjectParams (&ObjectParams::saten).
template <auto Layout> KindEdges lineEdge(ObjectParams& p)
{
    return {{&(p.*Layout).line}, 1};
}
template <auto Layout> KindEdges twoEdges(ObjectParams& p)
{
    return {{&(p.*Layout).edgeA, &(p.*Layout).edgeB}, 2};
}
template <auto Layout> int32_t* startSideOf(ObjectParams& p)
{
    return &(p.*Layout).STARTA;
}
template <auto Layout> int32_t* stopSideOf(ObjectParams& p)
{
    return &(p.*Layout).STOPA;
}
template <auto Layout> int32_t* pathField(ObjectParams& p)
{
    return &(p.*Layout).PATH;
}
template <auto Layout> KindEllipse uprightEllipse(ObjectParams& p)
{
    auto& r = p.*Layout;
    return {&r.X, &r.Y, &r.RX, &r.RY};
}
// The kind's stitch generator on its record.
template <auto Layout, auto Generator>
void generateWith(const ObjectParams& p, const stitch::GenContext& ctx, stitch::NeedleSink& sink)
{
    Generator(p.*Layout, ctx, sink);
}
// The fewest plan records of a fill, from its own floor.
template <auto Layout, auto Floor>
int64_t recordFloorWith(const ObjectParams& p, const stitch::GenContext& ctx, int64_t limit)
{
    return Floor(p.*Layout, ctx, limit);
}
// A fill's rows mirrored with its outline.
template <auto Layout> bool mirrorFillAngle(ObjectParams& p, MirrorAxis axis, double)
{
    (p.*Layout).ANGLE = mirroredAngle((p.*Layout).ANGLE, axis);
    return true;
}
// A fill reaches half its pull compensation beyond its outline.
template <auto Layout> double halfPullComp(const ObjectParams& p)
{
    return std::abs(static_cast<double>((p.*Layout).SCOMP)) / 2;
}

// A fill's fields into a SHAPE, which keeps them under the same names.
template <typename R> void copyFillInto(const Tailed<R, FillTail>& tailed, ShapeParams& shape)
{
    const R& r = tailed.fixed;
    shape.FLEN = tailed.tail.FLEN;
    shape.ROWSHIFT = tailed.tail.ROWSHIFT;
    shape.SDENS = r.SDENS;
    shape.SCOMP = r.SCOMP;
    shape.TDENS = r.TDENS;
    shape.TCOMP = r.TCOMP;
    shape.PATTERN = r.PATTERN;
    shape.MOTIVE = r.MOTIVE;
    shape.TIEIN = r.TIEIN;
    shape.TIEOUT = r.TIEOUT;
    shape.TRIM = r.TRIM;
    shape.colour = r.colour;
    shape.REPEAT = r.REPEAT;
    shape.ZOOMX = r.ZOOMX;
    shape.ZOOMY = r.ZOOMY;
    shape.PUSHCOMP = r.PUSHCOMP;
    shape.STITCHES = r.STITCHES;
    shape.UNDER = r.UNDER;
    shape.CIKCAK = r.CIKCAK;
    shape.OFSUND = r.OFSUND;
    shape.OFSCIK = r.OFSCIK;
    shape.ANGLE = r.ANGLE;
}

// Half the wider of two compensations, or of one: how far stitches reach
// beyond the geometry.
double halfOfWider(int32_t a, int32_t b);

// The tie-off and trim fields a split drops between its two pieces.
template <typename Params> void dropLocksBetween(Params& first, Params& second)
{
    first.TIEOUT = -1;
    first.TRIM = 0;
    second.TIEIN = -1;
}

} // namespace kindparts
} // namespace kelvara
