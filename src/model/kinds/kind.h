#pragma once

#include "model/objectfields.h"
#include "model/records.h"
#include "model/stitchblock.h"
#include "project/projectkeys.h"
#include "stitch/geometry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvara {

struct Settings;
struct ToolState;
struct TurnAndScale;
enum class MirrorAxis;

namespace stitch {
struct BorderShape;
struct GenContext;
class NeedleSink;
struct ObjectStyle;
} // namespace stitch

// The edges of a record in handle order: the line of a one-edge kind, or
// edges A and B.
inline constexpr int kMaxKindEdges = 2;
struct KindEdges {
    BezierEdge* at[kMaxKindEdges] = {};
    int count = 0;
};

// The four whole-unit fields of an upright ellipse.
struct KindEllipse {
    int32_t* x = nullptr;
    int32_t* y = nullptr;
    int32_t* rx = nullptr;
    int32_t* ry = nullptr;
};

// A column's widths at its start and end (signed: a negative width mirrors
// the column to the other side of its line).
struct KindWidths {
    int32_t* start = nullptr;
    int32_t* end = nullptr;
};

// What picking needs of an object: a polyline (a line, a column's centre
// line) or a closed polygon (the areas), with a column's half widths.
struct PickShape {
    std::vector<stitch::Vec> points;
    bool closed = false;
    double halfWidth0 = 0, halfWidth1 = 0;
    // Where each further piece (a path's next sub-path) starts in `points`;
    // closed pieces together bound the area by the even-odd rule.
    std::vector<std::size_t> pieceStarts;
};

// Everything the program knows about one kind of object. The geometry is
// described by its parts (edges, an ellipse, a column's widths), which the
// shared code for bounds, transforms, handles, picking and outlines works
// on; the hooks hold what only this kind does. A new kind is one file that
// defines its row, plus the row's place in the table (kindtable.cpp).
struct KindRow {
    int32_t kind = KindFree;
    std::string_view word;       // the project keyword
    std::string_view name;       // what the user calls it, in lists and the panel
    // What the stitches make of the underlay field (UNDER), in words; the
    // zigzag field is a zigzag in every kind that has one.
    std::string_view underlay;
    const char* glyph = nullptr; // two characters before its line in the object list
    // Record bytes: a new record has `size`; a stored one may have from
    // `minSize` to `size` (equal for a fixed layout).
    int32_t size = 0;
    int32_t minSize = 0;
    std::span<const projectkeys::Field> keys; // the project line, in written order
    std::span<const ObjectField> fields;      // the properties panel, in meaning order

    // Drawing: the segments the tool collects, and whether the next object
    // starts where this one ended (and edges may be bent while drawing).
    int32_t segments = 0;
    bool drawsLines = false;

    // Geometry parts; null where the kind has none.
    KindEdges (*edges)(ObjectParams&) = nullptr;
    KindEllipse (*ellipse)(ObjectParams&) = nullptr;
    KindWidths (*widths)(ObjectParams&) = nullptr;
    // The ellipse part is only an anchor the shared code moves and sizes:
    // the object is outlined and bounded by its pick shape instead.
    bool anchorOnly = false;
    // The field holding the handle of a stored path (pathstore.h): the
    // shared code maps the path's points and stores the result anew.
    int32_t* (*path)(ObjectParams&) = nullptr;
    // Geometry kept outside the record (a block of stitches): the closed
    // outline that bounds, frames and outlines it, and every stored point
    // moved through a map (false when a point would leave its range).
    std::vector<HullPoint> (*storedOutline)(const ObjectParams&) = nullptr;
    bool (*mapStored)(ObjectParams&, const std::function<void(double&, double&)>&) = nullptr;
    // The fields naming the side (1 edge A, 2 edge B) stitching starts and
    // stops on; null for kinds that start at their line's start.
    int32_t* (*startSide)(ObjectParams&) = nullptr;
    int32_t* (*stopSide)(ObjectParams&) = nullptr;

    // Every field at the value a new object takes (colour as given).
    void (*defaults)(ObjectParams&, const Settings&, int32_t colour) = nullptr;
    // A small fixed shape, for a project line that gives none.
    void (*sampleShape)(ObjectParams&) = nullptr;
    // Values read from a project line the kind can use; null: any.
    bool (*accepts)(const ObjectParams&) = nullptr;
    // The shape the drawing tool's clicks give.
    void (*place)(ObjectParams&, const ToolState&) = nullptr;

    // What a mirror and a turn-and-scale do beyond moving the edges and the
    // ellipse's centre: angles, radii, widths. False when a field would
    // leave its range. Null: nothing more.
    bool (*mirrorRest)(ObjectParams&, MirrorAxis, double sum) = nullptr;
    bool (*turnRest)(ObjectParams&, const TurnAndScale&) = nullptr;
    // The outline picking tests against; null for the shape the parts give.
    PickShape (*pickShape)(const ObjectParams&) = nullptr;

    // What the object lays over a fill sewn before it (points, or a band):
    // false, or null, for kinds that do not border fills.
    bool (*borderShape)(const ObjectParams&, stitch::BorderShape&) = nullptr;

    // The same outline as a path kind (STROKE, SHAPE): the new kind and
    // every field at its new value; false when it cannot be.
    bool (*toPath)(const ObjectParams&, const Settings&, int32_t& kind, ObjectParams& out) = nullptr;
    // The path objects the object is sewn as, in order, when it is sewn as
    // several (lettering: its strokes and shapes); false when it cannot be.
    bool (*toPaths)(const ObjectParams&, const stitch::GenContext&, std::vector<std::pair<int32_t, ObjectParams>>& out) =
        nullptr;

    // Split at a point and join: null for kinds that cannot be split.
    double (*splitAt)(const ObjectParams&, double x, double y, double tolerance) = nullptr;
    bool (*split)(const ObjectParams&, double t, ObjectParams& first, ObjectParams& second) = nullptr;

    // The stitches: how far beyond its geometry they may reach, what the
    // kind adds to the shared style (null: nothing), the needles, and the
    // fewest plan records a fill makes (null: proportional to its length).
    // Whether its stitches reach under the borders sewn after it (fills).
    bool fillsUnderBorders = false;
    // Whether, with ENTRYEXIT, it may end towards the next object as fills
    // do: columns sewn from either end, lines that may close on themselves.
    bool choosesItsEnd = false;
    double (*planReach)(const ObjectParams&) = nullptr;
    void (*style)(const ObjectParams&, const stitch::GenContext&, stitch::ObjectStyle&) = nullptr;
    void (*generate)(const ObjectParams&, const stitch::GenContext&, stitch::NeedleSink&) = nullptr;
    int64_t (*recordFloor)(const ObjectParams&, const stitch::GenContext&, int64_t limit) = nullptr;
};

// The row of `kind`; null for a free row or a kind the table does not hold.
const KindRow* kindRow(int32_t kind);
// Every row, in kind order.
std::span<const KindRow* const> kindRows();
// The row of a project keyword; null when no kind has it.
const KindRow* kindByWord(std::string_view word);

// A record of `paramsSize` bytes can be one of `kind`.
bool recordSizeFits(int32_t kind, int32_t paramsSize);

// Part lookups that read only; empty where the kind has none.
KindEdges kindEdges(const KindRow& row, const ObjectParams& p);
KindEllipse kindEllipse(const KindRow& row, const ObjectParams& p);
// The wider half width of a column; 0 for other kinds.
double widerHalfWidth(const KindRow& row, const ObjectParams& p);

// Integer fields every kind keeps, through the properties field list.
const ObjectField* kindField(const KindRow& row, FieldMeaning meaning);
int32_t kindInt(const KindRow& row, const unsigned char* record, FieldMeaning meaning, int32_t otherwise);

// Tests replace the table to see a kind added through it alone; the
// returned span is the table before, to be put back.
std::span<const KindRow* const> replaceKindTableForTest(std::span<const KindRow* const> rows);

} // namespace kelvara
