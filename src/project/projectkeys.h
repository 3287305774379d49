#pragma once

#include "model/records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// How a kind's object line is written: its keys in the order they are
// written, with the form of their value and the record field they belong
// to. Each kind's file builds its list from these pieces; one list serves
// the writer and the reader.
namespace kelvara::projectkeys {

enum class Form : uint8_t {
    Group,   // the row's group word, not a record field
    Integer, // stored as read
    Flag,    // 1 when the value is 1, else 0
    Coord,   // double field, written rounded
    Scale,   // double field, written as 256 x value
    Angle,   // written as remainder by 360, read as |value| mod 360
    Side,    // 1 = edge A, 2 = edge B; written "1" or "0"
    Red,     // the bytes of the colour field
    Green,
    Blue,
    Motif, // library references, by name
    Pattern,
    TieOff,
    Repeat,    // clamped 1..9, even values become 1
    RunRepeat, // 0 (the configuration's) or clamped 1..9; even sews there and back
    Tail,      // an integer of a record's tail, written only when not 0, so a
               // design that leaves it standard saves as it did before it existed
    TailFlag,  // a tail's switch: written as Tail, read as Flag
    RunLength, // clamped DELETE..MAX
    Jump,      // the file holds the inverse of the field
    Path,      // path data, the field a handle into the path store
    Text,      // %-escaped UTF-8, the field a handle into the text store
    Moves,     // a block's moves (stitchblock.h), the field a handle into the block store
               // followed by the block's place x and y, which the moves are written at
};

struct Field {
    std::string_view key;
    Form form = Form::Integer;
    uint16_t offset = 0; // byte offset in the record
};

using EdgeKeys = std::array<std::string_view, 9>; // flag, then points as written

inline constexpr EdgeKeys kLineKeys{"LINE", "X1", "Y1", "XC1", "YC1", "XC2", "YC2", "X2", "Y2"};
inline constexpr EdgeKeys kEdgeAKeys{"LINEA", "AX1", "AY1", "AXC1", "AYC1", "AXC2", "AYC2", "AX2", "AY2"};
inline constexpr EdgeKeys kEdgeBKeys{"LINEB", "BX1", "BY1", "BXC1", "BYC1", "BXC2", "BYC2", "BX2", "BY2"};

template <std::size_t N> struct FieldList {
    std::array<Field, N> fields{};
    std::size_t count = 0;

    constexpr void add(std::string_view key, Form form, std::size_t offset)
    {
        fields[count++] = Field{key, form, static_cast<uint16_t>(offset)};
    }
    constexpr void addEdgeFlag(const EdgeKeys& keys, std::size_t edge)
    {
        add(keys[0], Form::Flag, edge + offsetof(BezierEdge, straight));
    }
    // Start, first control point, second control point, end: not the order
    // in which the record keeps them.
    constexpr void addEdgePoints(const EdgeKeys& keys, std::size_t edge)
    {
        add(keys[1], Form::Coord, edge + offsetof(BezierEdge, x1));
        add(keys[2], Form::Coord, edge + offsetof(BezierEdge, y1));
        add(keys[3], Form::Coord, edge + offsetof(BezierEdge, xc1));
        add(keys[4], Form::Coord, edge + offsetof(BezierEdge, yc1));
        add(keys[5], Form::Coord, edge + offsetof(BezierEdge, xc2));
        add(keys[6], Form::Coord, edge + offsetof(BezierEdge, yc2));
        add(keys[7], Form::Coord, edge + offsetof(BezierEdge, x2));
        add(keys[8], Form::Coord, edge + offsetof(BezierEdge, y2));
    }
    // Library references, trim, colour and scale, in the order every kind
    // but RUN writes them.
    template <typename R> constexpr void addShared()
    {
        add("PATTERN", Form::Pattern, offsetof(R, PATTERN));
        add("MOTIVE", Form::Motif, offsetof(R, MOTIVE));
        add("TIEIN", Form::TieOff, offsetof(R, TIEIN));
        add("TIEOUT", Form::TieOff, offsetof(R, TIEOUT));
        add("TRIM", Form::Flag, offsetof(R, TRIM));
        add("R", Form::Red, offsetof(R, colour));
        add("G", Form::Green, offsetof(R, colour));
        add("B", Form::Blue, offsetof(R, colour));
        add("ZOOMX", Form::Scale, offsetof(R, ZOOMX));
        add("ZOOMY", Form::Scale, offsetof(R, ZOOMY));
    }
    template <typename R> constexpr void addColumnHead()
    {
        add("PUSHCOMP", Form::Integer, offsetof(R, PUSHCOMP));
        add("STITCHES", Form::Flag, offsetof(R, STITCHES));
        add("SDENS", Form::Integer, offsetof(R, SDENS));
        add("TDENS", Form::Integer, offsetof(R, TDENS));
        add("SCOMP", Form::Integer, offsetof(R, SCOMP));
        add("TCOMP", Form::Integer, offsetof(R, TCOMP));
    }
    template <typename R> constexpr void addColumnTail()
    {
        add("REPEAT", Form::Repeat, offsetof(R, REPEAT));
        add("UNDER", Form::Integer, offsetof(R, UNDER));
        add("CIKCAK", Form::Integer, offsetof(R, CIKCAK));
        add("OFSUND", Form::Integer, offsetof(R, OFSUND));
        add("OFSCIK", Form::Integer, offsetof(R, OFSCIK));
    }
};

// A list with room for `More` keys after its own.
template <std::size_t More, std::size_t N> constexpr FieldList<N + More> extended(const FieldList<N>& l)
{
    FieldList<N + More> out;
    for (std::size_t i = 0; i < l.count; ++i)
        out.fields[i] = l.fields[i];
    out.count = l.count;
    return out;
}

// SATEN, and RECT with its ANGLE after the sides.
template <typename R, std::size_t N> constexpr FieldList<N> twoEdgeFields()
{
    FieldList<N> l;
    l.add("GROUP", Form::Group, 0);
    l.addEdgeFlag(kEdgeAKeys, offsetof(R, edgeA));
    l.addEdgeFlag(kEdgeBKeys, offsetof(R, edgeB));
    l.template addColumnHead<R>();
    l.template addShared<R>();
    l.add("STARTA", Form::Side, offsetof(R, STARTA));
    l.add("STOPA", Form::Side, offsetof(R, STOPA));
    if constexpr (N == 43)
        l.add("ANGLE", Form::Angle, offsetof(R, ANGLE));
    l.addEdgePoints(kEdgeAKeys, offsetof(R, edgeA));
    l.addEdgePoints(kEdgeBKeys, offsetof(R, edgeB));
    l.template addColumnTail<R>();
    return l;
}

} // namespace kelvara::projectkeys
