#pragma once

#include "model/box.h"
#include "stitch/fillborders.h"
#include "stitch/stitchplan.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace kelvara {

struct Workspace;
struct ObjectTable;
class RecordStore;

// One object's piece of the design plan: its records as they stand inside
// the design, without the End record. Kept until the object's record changes.
struct ObjectPiece {
    int32_t kind = KindFree;                           // KindFree: nothing kept for the row
    std::array<unsigned char, kMaxRecordSize> bytes{}; // the record it was stitched from
    uint64_t generation = 0;                           // changes whenever it is stitched again
    int64_t budget = 0;                                // record limit it was stitched with
    PlanStatus status = PlanStatus::Empty;
    StitchPlan plan;
    int64_t stitches = 0;
    PlanBox box;     // every record's position
    PlanBox sewnBox; // the stitches' positions only
    PieceSeams seams; // as it was stitched
    PieceEnds ends;
};

// The needle moving up from one object's last record to the next one's first.
struct Connection {
    int32_t fromX = 0, fromY = 0, toX = 0, toY = 0;
    auto operator<=>(const Connection&) const = default;
};

// What a drawing of the pieces showed: enough to find what to draw again.
struct PlanSnapshot {
    struct Entry {
        int32_t row;
        uint64_t generation;
        PlanBox box;
    };
    std::vector<Entry> entries; // display order
    std::vector<Connection> connections;
};

// Where two snapshots differ, in design units: the old and the new box of
// every piece stitched again, added or gone, and of every connection that
// moved. `reordered` is set when kept pieces changed places, which changes
// how they overlap anywhere: then everything is drawn again.
std::vector<PlanBox> changedBoxes(const PlanSnapshot& before, const PlanSnapshot& after, bool& reordered);

// What the pieces are stitched from: the design's objects and what their
// stitches depend on besides. A planning thread is given copies of the table
// and the records, so the editor may change its own while it plans.
struct PlanSource {
    const ObjectTable& table;
    const RecordStore& records;
    const Libraries& libraries;
    const Settings& settings;
    explicit PlanSource(const Workspace& ws);
    PlanSource(const ObjectTable& t, const RecordStore& r, const Libraries& l, const Settings& s)
        : table(t), records(r), libraries(l), settings(s)
    {
    }
};

// Told between objects how many steps of `total` are done; false stops the update.
using PlanProgress = std::function<bool(int64_t done, int64_t total)>;

// The design's stitches object by object. An edit stitches again only the
// objects whose kind or record bytes changed, instead of the whole design;
// the settings and libraries the stitches also depend on do not change
// while the editor runs. A piece once stitched is never changed, only
// replaced, so a copy of the cache is cheap and shares the pieces: one
// thread may go on updating while another draws from a copy.
class ObjectPlanCache {
public:
    ObjectPlanCache();

    // Brings every piece up to the design: a compare of every record, and
    // stitching for the objects whose kind or bytes changed.
    void update(const Workspace& ws);
    // The same from a source; false when `progress` stopped it, which
    // leaves the pieces already stitched for the next update to keep.
    bool update(const PlanSource& source, const PlanProgress& progress = {});

    // Rows with a piece, in display order; the walk stops where generatePlan's does.
    const std::vector<int32_t>& order() const { return order_; }
    const ObjectPiece& piece(int32_t row) const;
    // The moves between consecutive pieces that have records, where they move at all.
    const std::vector<Connection>& connections() const { return connections_; }
    // As generatePlan would judge the design: Ok, Empty or TooLarge.
    PlanStatus status() const { return status_; }
    // Stitches of the design's plan.
    int64_t stitchCount() const { return stitchCount_; }
    // Where the design's stitches lie, in design units: its sewn size.
    const PlanBox& sewnExtent() const { return sewnExtent_; }
    PlanSnapshot snapshot() const;

private:
    // True when the row's piece was stitched again.
    bool refreshPiece(const PlanSource& ws, int32_t row, int64_t budget, const PieceSeams& seams,
                      std::span<const stitch::BorderShape> borders);
    // The shape the row's object lays over fills sewn before it, kept until
    // its record changes; its generation names the shape in a piece's seams.
    struct KnownBorder {
        int32_t kind = KindFree;
        std::array<unsigned char, kMaxRecordSize> bytes{};
        bool borders = false;
        stitch::BorderShape shape;
        uint64_t generation = 0;
    };
    const KnownBorder& refreshBorder(const PlanSource& ws, int32_t row);
    struct PieceBorders;
    PieceBorders bordersOf(const PlanSource& ws, const std::vector<int32_t>& order);
    // The seams every piece has in the design, from the pieces' ends.
    std::vector<PieceSeams> findSeams(const PlanSource& ws, const std::vector<int32_t>& order) const;
    void summarize(const PlanSource& ws);

    // Null for a row without a piece.
    std::vector<std::shared_ptr<const ObjectPiece>> pieces_;
    std::vector<std::shared_ptr<const KnownBorder>> borders_;
    std::vector<int32_t> order_;
    std::vector<Connection> connections_;
    PlanStatus status_ = PlanStatus::Empty;
    int64_t stitchCount_ = 0;
    PlanBox sewnExtent_;
    bool made_ = false;
};

} // namespace kelvara
