#pragma once

#include "model/box.h"
#include "model/records.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kelvara {
namespace stitch {
struct BorderShape;
}

struct Workspace;
struct Settings;
struct Libraries;

// What the machine does at one record of a stitch plan.
enum class StitchKind : uint8_t {
    Stitch,       // move to (x, y) and put the needle down
    Jump,         // move to (x, y) with the needle up
    Trim,         // cut the thread where the needle is
    ColourChange, // stop for the next thread; `colour` is that thread
    End,
};

// One record of the plan. Positions are design units (0.1 mm), y downward;
// `colour` is the thread (red in bits 0-7), never -1 (no colour stitches white).
struct StitchRecord {
    int32_t x = 0;
    int32_t y = 0;
    int32_t colour = 0;
    StitchKind kind = StitchKind::Stitch;
};

// Needle positions for a whole design or one object, ready for a machine
// format: the plan ends with one End record, and a generated plan moves no
// stitch or jump more than kMaxStep on either axis (a plan read from a machine
// file keeps the file's own moves, which the writers split as they need).
struct StitchPlan {
    std::vector<StitchRecord> records;

    int64_t stitchCount() const;
    int64_t colourChangeCount() const;
};

enum class PlanStatus {
    Ok,
    Empty,    // nothing to stitch: no object, or only jumps
    TooLarge, // beyond what DST holds (extents, record count, unusable numbers)
};

// A plan's records handed over a stretch at a time, in order; a stretch
// handed over never changes afterwards.
using RecordSink = std::function<void(std::span<const StitchRecord>)>;

// Hands a plan's records to a sink, a stretch at a time, as often as it is
// asked, and says what the plan is: one pass can measure a plan and the
// next draw it without either holding it whole.
using PlanReplay = std::function<PlanStatus(const RecordSink&)>;

// A plan already made, handed over whole: Ok, or Empty without records.
// The plan must outlive the replay.
PlanReplay replayOf(const StitchPlan& plan);

inline constexpr int32_t kMaxStep = 121;          // largest DST move per record and axis
inline constexpr int32_t kMaxExtent = 99999;      // widest design DST describes, per axis
inline constexpr int64_t kMaxRecords = 9999999;   // records a DST header can count
inline constexpr int32_t kWhiteThread = 0xFFFFFF; // colour -1 stitches as white

// Stitches every object of the workspace in display order. On anything but
// Ok the plan is left empty; nothing is allocated for a design that is refused.
// A design of more than `recordLimit` records is TooLarge.
PlanStatus generatePlan(const Workspace& workspace, StitchPlan& plan, int64_t recordLimit = kMaxRecords);

// generatePlan's records, End included, handed to `sink` object by object as
// they are stitched instead of kept: memory for one object's records, not
// the design's. The status is generatePlan's; on anything but Ok `sink` may
// have seen the start of a plan that is refused, so what must not show a
// refused plan measures it in a first pass.
PlanStatus streamPlan(const Workspace& workspace, const RecordSink& sink, int64_t recordLimit = kMaxRecords);

// A replay stitching the workspace's design with streamPlan each time it is
// run; the workspace must outlive it and stay as it is.
PlanReplay replayOf(const Workspace& workspace);

// One object's plan, assembled exactly as inside a design (tie-offs, split and
// dropped stitches), for tests and previews of a single object.
PlanStatus generateObjectPlan(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                              const Settings& settings, StitchPlan& plan);

// An object starting this near where the last one ended, in its thread and
// with no trim asked between, carries its seam on: no locks between them.
inline constexpr double kContinueReach = 5;

// How a piece meets its neighbours in the design: whether the thread is
// already in the fabric where it starts (no lock for a new thread then), or
// it even carries on the last piece's seam, and whether its end is locked
// (a cut, a tie-off or the end of the design follows).
struct PieceSeams {
    bool threadIn = false;
    bool continuing = false;
    bool cutAfter = true;
    // Where the needle is when the piece begins, as in the design: columns
    // start at the nearer end and fills near it, so the piece needs it to
    // be stitched as the export stitches it.
    bool hasEntry = false;
    int32_t entryX = 0, entryY = 0;
    // Where the next object starts, as objectExit finds it.
    bool hasExit = false;
    int32_t exitX = 0, exitY = 0;
    // For a fill: names the borders sewn after it, which its stitches reach
    // under; a piece is stitched again when they change.
    uint64_t bordersKey = 0;
    bool operator==(const PieceSeams&) const = default;
};

// Where a fill should end: the start of the object after it, when that
// one goes on in its thread with no trim asked between and is a line or a
// column (a fill starts near wherever the needle is anyway). False when
// the fill has no such object after it. With ENTRYEXIT, columns and
// running lines (closed ones end where they start) are given it too.
bool objectExit(int32_t kind, const ObjectParams& params, int32_t nextKind, const ObjectParams& next,
                const Libraries& libraries, const Settings& settings, int32_t& x, int32_t& y);

// What the design's assembly needs of a piece to find its seams.
struct PieceEnds {
    bool sews = false;               // false for a jump line
    int32_t firstX = 0, firstY = 0;  // its first needle
    int32_t endX = 0, endY = 0;      // its last needle, before a lock of its end
    int32_t colour = 0;
    bool trimAfter = false;
    bool locksItsEnd = false;        // its own tie-off unless the next piece carries the seam on
};

// The object's piece of a design plan, for keeping plans object by object:
// as generateObjectPlan, but a jump line keeps its jumps (Ok without a
// stitch), at most `recordLimit` records are made (TooLarge beyond) and the
// piece is stitched with the seams it has in the design. `ends` is filled
// when given.
// `borders` are the shapes of the objects sewn after it that border it.
PlanStatus generateObjectPiece(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                               const Settings& settings, int64_t recordLimit, StitchPlan& plan,
                               const PieceSeams& seams = {}, PieceEnds* ends = nullptr,
                               std::span<const stitch::BorderShape> borders = {});

// The fewest records the object can make in a plan, judged from its
// geometry before anything is stitched; a design whose objects add up to more
// than kMaxRecords is refused at once. Beyond kMaxRecords for an object that
// cannot fit; 0 for one beyond the DST limits.
int64_t objectRecordFloor(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                          const Settings& settings);

// A raw needle position of one object before assembly.
struct Needle {
    double x = 0;
    double y = 0;
    bool jump = false;
};

// The penetrations an object's generator lays down, in order, before tie-offs
// and the short-stitch rule: what the geometry tests look at. Empty for an
// object beyond the DST limits.
std::vector<Needle> objectNeedles(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                                  const Settings& settings);

} // namespace kelvara
