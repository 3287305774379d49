#include "model/objectfields.h"

#include "model/kinds/kindparts.h"
#include "model/records.h"
#include "shell/libraries.h"
#include "shell/settings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace kelvara {

namespace {

using M = FieldMeaning;
using kindparts::edgeMeaning;

constexpr std::string_view kMm = "mm";
constexpr std::string_view kDegrees = "°";
constexpr std::string_view kTimes = "×";
constexpr std::string_view kPercent = "%";

// Lengths are stored in design units of 0.1 mm, densities in 0.01 mm.
FieldInfo length(std::string_view name, FieldGroup group, std::string_view hint)
{
    return {name, group, ValueKind::Number, kMm, 0.1, 1, LibraryKind::None, hint};
}
FieldInfo flag(std::string_view name, FieldGroup group, std::string_view hint)
{
    return {name, group, ValueKind::Flag, {}, 1, 0, LibraryKind::None, hint};
}
FieldInfo angle(std::string_view name, std::string_view hint)
{
    return {name, FieldGroup::Stitching, ValueKind::Number, kDegrees, 1, 0, LibraryKind::None, hint};
}
FieldInfo library(std::string_view name, FieldGroup group, LibraryKind kind)
{
    return {name, group, ValueKind::Library, {}, 1, 0, kind, {}};
}

using G = FieldGroup;

constexpr std::array<std::string_view, 2> kStyles{"Running line", "Satin column"};
constexpr std::array<std::string_view, 3> kBorders{"None", "Running line", "Satin"};

std::array<FieldInfo, kFieldMeanings> buildInfos()
{
    std::array<FieldInfo, kFieldMeanings> infos{};
    auto set = [&](M m, FieldInfo info) { infos[static_cast<std::size_t>(m)] = info; };
    set(M::Density, {"Density", G::Stitching, ValueKind::Number, kMm, 0.01, 2, LibraryKind::None,
                     "Distance between the rows (star: between the outer ends of the rays)."});
    set(M::EndDensity,
        {"Density at the end", G::Stitching, ValueKind::Number, kMm, 0.01, 2, LibraryKind::None,
         "A column's row distance at its end; fills use the density only."});
    set(M::StitchLength, length("Stitch length", G::Stitching, {}));
    set(M::FillStitchLength, {"Tatami stitch length", G::Stitching, ValueKind::Number, kMm, 0.1, 1,
                              LibraryKind::None, "Longest stitch inside a fill row; standard: 3 mm."});
    set(M::RowOffset, {"Row offset", G::Stitching, ValueKind::Number, kPercent, 1, 0, LibraryKind::None,
                       "Each row's stitches move on by this much of a stitch; standard: 40 %."});
    set(M::Stitched, flag("Stitched (off: jump)", G::Stitching, {}));
    set(M::Style, {"Sewn as", G::Stitching, ValueKind::Choice, {}, 1, 0, LibraryKind::None,
                   "A running line along the path, or a satin column from the start width to the end width.",
                   kStyles});
    set(M::TopLayer, flag("Top stitches", G::Stitching, "Off leaves only the underlay."));
    set(M::Repeat, {"Repeat",
                    G::Stitching,
                    ValueKind::Number,
                    {},
                    1,
                    0,
                    LibraryKind::None,
                    "Passes over the same holes: 1, 3, 5, 7 or 9."});
    set(M::RunPasses, {"Passes",
                       G::Stitching,
                       ValueKind::Number,
                       {},
                       1,
                       0,
                       LibraryKind::None,
                       "Times each stitch is sewn: 2 runs there and back, 3 is a triple run; "
                       "standard: as the configuration says."});
    set(M::StartSide, {"Start on", G::Stitching, ValueKind::Side, {}, 1, 0, LibraryKind::None, {}});
    set(M::StopSide, {"End on", G::Stitching, ValueKind::Side, {}, 1, 0, LibraryKind::None, {}});
    set(M::Angle, angle("Stitch angle", "Counter-clockwise on screen, 0 along x."));
    set(M::StartAngle, angle("Start angle", "Counter-clockwise on screen, 0 along x."));
    set(M::StopAngle, angle("Stop angle", "Equal to the start angle: the whole ellipse."));
    set(M::Pattern, library("Fill pattern", G::Stitching, LibraryKind::Pattern));
    set(M::PatternScaleX,
        {"Pattern stretch along rows", G::Stitching, ValueKind::Number, kTimes, 1, 2, LibraryKind::None, {}});
    set(M::PatternScaleY,
        {"Rows per pattern row", G::Stitching, ValueKind::Number, kTimes, 1, 2, LibraryKind::None, {}});
    set(M::PullComp, length("Pull compensation", G::Compensation, "Added to every row, half on each side."));
    set(M::EndPullComp, length("Pull compensation at the end", G::Compensation, {}));
    set(M::PushComp,
        length("Push compensation", G::Compensation, "A column stops this far short at each end."));
    set(M::Underlay, length("Edge underlay stitch", G::Underlay, "Off: no edge underlay."));
    set(M::UnderlayInset, length("Edge underlay inset", G::Underlay, {}));
    set(M::WalkInset, length("Walk underlay inset", G::Underlay,
                             "How far in from the edges the walk runs; centre: down the middle and back."));
    set(M::CentreWalk, flag("Centre walk", G::Underlay,
                            "A walk down the middle and back, before the edge walk and the zigzag."));
    set(M::Zigzag, length("Zigzag underlay spacing", G::Underlay, "Off: no zigzag underlay."));
    set(M::ZigzagInset, length("Zigzag underlay inset", G::Underlay, {}));
    set(M::Motif, library("Motif", G::TiesAndMotif, LibraryKind::Motif));
    set(M::MotifSize, {"Motif size", G::TiesAndMotif, ValueKind::Number, kPercent, 1, 0, LibraryKind::None,
                       "The motif's copies at this much of their drawn size; standard: 100 %."});
    set(M::TieIn, library("Tie-in", G::TiesAndMotif, LibraryKind::TieOff));
    set(M::TieOut, library("Tie-off", G::TiesAndMotif, LibraryKind::TieOff));
    set(M::Border, {"Border", G::Border, ValueKind::Choice, {}, 1, 0, LibraryKind::None,
                    "Sewn along every path after the fill, which reaches under it.", kBorders});
    set(M::BorderWidth, length("Satin border width", G::Border, {}));
    set(M::Applique, flag("Appliqué", G::Border,
                          "Placement line, stop, tack-down, stop, then the satin border; no fill."));
    set(M::Trim, flag("Trim after", G::Thread, {}));
    set(M::Colour, {"Colour", G::Thread, ValueKind::Colour, {}, 1, 0, LibraryKind::None, {}});
    set(M::StartWidth, length("Width at the start", G::Geometry, {}));
    set(M::EndWidth, length("Width at the end", G::Geometry, {}));
    set(M::CentreX, length("Centre x", G::Geometry, {}));
    set(M::CentreY, length("Centre y", G::Geometry, {}));
    set(M::RadiusX, length("Radius x", G::Geometry, {}));
    set(M::RadiusY, length("Radius y", G::Geometry, {}));

    // The edges' names are composed once and live as long as the table.
    static const std::array<std::string, 27> edgeNames = [] {
        constexpr std::array<std::string_view, 3> edges{"Line", "Edge A", "Edge B"};
        constexpr std::array<std::string_view, 9> parts{"straight",    "start x",     "start y",
                                                        "end x",       "end y",       "control 1 x",
                                                        "control 1 y", "control 2 x", "control 2 y"};
        std::array<std::string, 27> names;
        for (std::size_t e = 0; e < 3; ++e)
            for (std::size_t p = 0; p < 9; ++p)
                names[e * 9 + p] = std::string(edges[e]) + ' ' + std::string(parts[p]);
        return names;
    }();
    for (int e = 0; e < 3; ++e) {
        const M straight = edgeMeaning(M::LineStraight, 9 * e);
        set(straight,
            flag(edgeNames[std::size_t(9 * e)], G::Geometry, "Off: a curve through the control points."));
        for (int part = 1; part <= 8; ++part)
            set(edgeMeaning(straight, part), length(edgeNames[std::size_t(9 * e + part)], G::Geometry, {}));
    }
    return infos;
}

// Coordinates and radii stay within what a stitch file can describe.
constexpr double kCoordinateLimit = 99999;

// A stored value as the panel shows it, with its unit.
std::string shown(const FieldInfo& info, double value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*f", info.decimals, value * info.scale);
    std::string text = buffer;
    if (!info.unit.empty()) {
        text += ' ';
        text += info.unit;
    }
    return text;
}

int32_t libraryCount(LibraryKind kind, const Libraries& libraries)
{
    switch (kind) {
    case LibraryKind::Motif:
        return libraries.motifs.count;
    case LibraryKind::Pattern:
        return libraries.patterns.count;
    case LibraryKind::TieOff:
        return libraries.tieOffs.count;
    case LibraryKind::None:
        break;
    }
    return 0;
}

} // namespace

std::span<const ObjectField> objectFields(int32_t kind)
{
    const KindRow* row = kindRow(kind);
    return row ? row->fields : std::span<const ObjectField>{};
}

const ObjectField* findObjectField(int32_t kind, FieldMeaning meaning)
{
    const auto fields = objectFields(kind);
    const auto it = std::lower_bound(fields.begin(), fields.end(), meaning,
                                     [](const ObjectField& f, FieldMeaning m) { return f.meaning < m; });
    return it != fields.end() && it->meaning == meaning ? &*it : nullptr;
}

const FieldInfo& fieldInfo(FieldMeaning meaning)
{
    static const std::array<FieldInfo, kFieldMeanings> infos = buildInfos();
    return infos[std::min<std::size_t>(static_cast<std::size_t>(meaning), kFieldMeanings - 1)];
}

std::string_view groupName(FieldGroup group)
{
    switch (group) {
    case FieldGroup::Stitching:
        return "Stitching";
    case FieldGroup::Compensation:
        return "Compensation";
    case FieldGroup::Underlay:
        return "Underlay";
    case FieldGroup::TiesAndMotif:
        return "Ties and motif";
    case FieldGroup::Border:
        return "Border and appliqué";
    case FieldGroup::Thread:
        return "Thread";
    case FieldGroup::Geometry:
        return "Geometry";
    }
    return {};
}

FieldRange fieldRange(FieldMeaning meaning, const Settings& settings, const Libraries& libraries)
{
    const FieldInfo& info = fieldInfo(meaning);
    switch (info.kind) {
    case ValueKind::Flag:
        return {0, 1};
    case ValueKind::Side:
        return {1, 2};
    case ValueKind::Library:
        return {-1, double(libraryCount(info.library, libraries) - 1)};
    case ValueKind::Colour:
        return {0, 0xFFFFFF};
    case ValueKind::Choice:
        return {0, double(info.choices.size()) - 1};
    case ValueKind::Number:
        break;
    }
    const double shortest = settings.DELETE, longest = settings.MAX;
    switch (meaning) {
    case M::Density:
    case M::EndDensity:
        return {1, 99};
    case M::StitchLength:
        return {shortest, longest};
    // Besides 0, the standard, what the stitches use as it is.
    case M::FillStitchLength:
        return {15, 70, true, 0, false, "standard"};
    case M::RowOffset:
        return {1, 99, true, 0, false, "standard"};
    case M::MotifSize:
        return {10, 1000, true, 0, false, "standard"};
    case M::Repeat:
        return {1, 9, false, -1, true};
    case M::RunPasses:
        return {1, 9, true, 0, false, "standard"};
    case M::Angle:
    case M::StartAngle:
    case M::StopAngle:
        return {-359, 359};
    // The reader keeps any scale that is not negative; the stitches use a
    // stretch up to 20 and up to 16 rows per pattern row.
    case M::PatternScaleX:
        return {0, 20};
    case M::PatternScaleY:
        return {0, 16};
    case M::PullComp:
    case M::EndPullComp:
        return {-99, 99};
    case M::PushComp:
        return {0, 9};
    case M::Underlay:
    case M::Zigzag:
        return {shortest, longest, true, -1};
    case M::UnderlayInset:
    case M::ZigzagInset:
        return {0, 99};
    case M::WalkInset:
        return {0, 99, true, kCentreWalk, false, "centre"};
    case M::StartWidth:
    case M::EndWidth:
    case M::BorderWidth:
        return {0, 999};
    case M::RadiusX:
    case M::RadiusY:
        return {0, kCoordinateLimit};
    default:
        return {-kCoordinateLimit, kCoordinateLimit};
    }
}

Outcome refusalFor(FieldMeaning meaning, double value, const Settings& settings, const Libraries& libraries)
{
    const FieldInfo& info = fieldInfo(meaning);
    const FieldRange range = fieldRange(meaning, settings, libraries);
    if (range.hasOff && value == range.off)
        return {};
    const bool whole = value == std::floor(value);
    const bool inside = std::isfinite(value) && value >= range.low && value <= range.high;
    // Numbers are rounded as they are stored; choices must be whole.
    const bool integral = info.kind == ValueKind::Number || whole;
    if (inside && integral && (!range.oddOnly || std::fmod(value, 2.0) == 1.0))
        return {};

    std::string name(info.name);
    switch (info.kind) {
    case ValueKind::Library:
        return Outcome(range.high < 0 ? kSlotFieldNoEntries : kSlotFieldNoSuchEntry, name);
    case ValueKind::Flag:
        return Outcome(kSlotFieldOnOrOff, name);
    case ValueKind::Side:
        return Outcome(kSlotFieldSide, name);
    case ValueKind::Colour:
        return Outcome(kSlotFieldNoColour, name);
    case ValueKind::Choice: {
        std::string choices;
        for (std::size_t i = 0; i < info.choices.size(); ++i)
            choices += (i == 0 ? "" : ", ") + std::string(info.choices[i]);
        return Outcome(kSlotFieldChoices, name, choices);
    }
    case ValueKind::Number:
        break;
    }
    if (range.oddOnly)
        return Outcome(kSlotFieldOddPasses, name);
    if (range.hasOff)
        return Outcome(kSlotFieldRangeOrOff, name, std::string(range.offWord), shown(info, range.low),
                       shown(info, range.high));
    return Outcome(kSlotFieldRange, name, shown(info, range.low), shown(info, range.high));
}

namespace {

// Widths and radii are sizes to the user; a negative one marks a mirrored
// (flipped) STEIL or STAR, and an edit of the size keeps it so.
bool isSignedSize(FieldMeaning meaning)
{
    return meaning == FieldMeaning::StartWidth || meaning == FieldMeaning::EndWidth ||
           meaning == FieldMeaning::RadiusX || meaning == FieldMeaning::RadiusY;
}

int32_t storedInteger(const unsigned char* record, const ObjectField& field)
{
    int32_t v;
    std::memcpy(&v, record + field.offset, sizeof v);
    return v;
}

} // namespace

double readField(const unsigned char* record, const ObjectField& field)
{
    if (field.isDouble) {
        double v;
        std::memcpy(&v, record + field.offset, sizeof v);
        return v;
    }
    const int32_t v = storedInteger(record, field);
    // Turns may leave an angle past a full turn; it is shown, and saved, as
    // the same direction within one turn, keeping its sign.
    if (field.meaning == FieldMeaning::Angle || field.meaning == FieldMeaning::StartAngle ||
        field.meaning == FieldMeaning::StopAngle)
        return v % 360;
    return isSignedSize(field.meaning) ? std::abs(double(v)) : v;
}

void writeField(unsigned char* record, const ObjectField& field, double value)
{
    if (field.isDouble) {
        std::memcpy(record + field.offset, &value, sizeof value);
        return;
    }
    if (isSignedSize(field.meaning) && storedInteger(record, field) < 0)
        value = -value;
    const double bounded = std::clamp(std::round(value), -2147483648.0, 2147483647.0);
    const int32_t v = std::isfinite(bounded) ? static_cast<int32_t>(bounded) : 0;
    std::memcpy(record + field.offset, &v, sizeof v);
}

} // namespace kelvara
