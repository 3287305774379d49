#pragma once

#include "shell/outcome.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvara {

struct Settings;
struct Libraries;

// What a record field means to the embroiderer. Fields of different kinds
// that mean the same thing share one meaning (SATEN's SDENS and STAR's DENS
// are both the density), so one value can be set on a mixed selection. The
// order is the order the panel lists them in.
enum class FieldMeaning : uint8_t {
    // Stitching
    Density,
    EndDensity,
    StitchLength,
    FillStitchLength,
    RowOffset,
    Stitched,
    Style,
    TopLayer,
    Repeat,
    RunPasses, // a running line's passes, 2 there and back; 0 the configuration's
    StartSide,
    StopSide,
    Angle,
    StartAngle,
    StopAngle,
    Pattern,
    PatternScaleX,
    PatternScaleY,
    // Compensation
    PullComp,
    EndPullComp,
    PushComp,
    // Underlay
    Underlay,
    UnderlayInset,
    WalkInset, // a column's walk: its inset, or down the centre
    CentreWalk,
    Zigzag,
    ZigzagInset,
    // Ties and motif
    Motif,
    MotifSize,
    TieIn,
    TieOut,
    // Border and appliqué
    Border,
    BorderWidth,
    Applique,
    // Thread
    Trim,
    Colour,
    // Geometry
    StartWidth,
    EndWidth,
    CentreX,
    CentreY,
    RadiusX,
    RadiusY,
    // Three edges (the line of RUN and STEIL, edges A and B) of nine fields
    // each: the straight flag, start, end and both control points.
    LineStraight,
    EdgeAStraight = LineStraight + 9,
    EdgeBStraight = EdgeAStraight + 9,
    Count = EdgeBStraight + 9,
};

inline constexpr int kFieldMeanings = static_cast<int>(FieldMeaning::Count);

enum class FieldGroup : uint8_t { Stitching, Compensation, Underlay, TiesAndMotif, Border, Thread, Geometry };
inline constexpr int kFieldGroups = 7;

enum class ValueKind : uint8_t {
    Number,  // shown as value x scale in the unit
    Flag,    // 0 or 1
    Side,    // 1 edge A, 2 edge B
    Library, // an entry index, -1 none
    Colour,  // red | green << 8 | blue << 16
    Choice,  // 0, 1, ... naming the field's choices in turn
};

enum class LibraryKind : uint8_t { None, Motif, Pattern, TieOff };

// Where a field is stored in its record.
struct ObjectField {
    FieldMeaning meaning;
    uint16_t offset;
    bool isDouble;
};

struct FieldInfo {
    std::string_view name; // as the embroiderer calls it
    FieldGroup group;
    ValueKind kind;
    std::string_view unit; // of the shown value; empty for none
    double scale;          // shown value = stored value x scale
    int decimals;          // of the shown value
    LibraryKind library;
    std::string_view hint; // one sentence for a tooltip; may be empty
    std::span<const std::string_view> choices = {}; // of a Choice, in value order
};

// The values a field may take, in stored units. `off` is a value allowed
// besides the range (-1 turns an underlay off), named `offWord` to the
// user; `oddOnly` allows 1, 3, 5...
struct FieldRange {
    double low = 0;
    double high = 0;
    bool hasOff = false;
    double off = -1;
    bool oddOnly = false;
    std::string_view offWord = "off";
};

// Every field of a kind's record, in meaning order; empty for other kinds.
std::span<const ObjectField> objectFields(int32_t kind);
// The field of `kind` that has `meaning`, or null.
const ObjectField* findObjectField(int32_t kind, FieldMeaning meaning);

const FieldInfo& fieldInfo(FieldMeaning meaning);
std::string_view groupName(FieldGroup group);

// The same ranges the project reader brings values into; where it stores
// a value as read, the range of the configuration key that gives the
// field's default. Library ranges end at the loaded entries.
FieldRange fieldRange(FieldMeaning meaning, const Settings& settings, const Libraries& libraries);

// Fine when `value` (stored units) is allowed, else why not, for the user.
Outcome refusalFor(FieldMeaning meaning, double value, const Settings& settings, const Libraries& libraries);

// Stored value of a field (integers widened) and its write-back; an
// integer field takes the nearest integer.
double readField(const unsigned char* record, const ObjectField& field);
void writeField(unsigned char* record, const ObjectField& field, double value);

} // namespace kelvara
