// The stitch plan kept object by object. Each object is stitched on its own
// exactly as the plan builder stitches it inside the design, with the seams
// it has there: a lock at its start only for a new thread and at its end
// only before a cut, as its neighbours decide. Nothing else of an object's
// own records depends on the others, except that its first stitch is not
// made again when the previous object's last stitch already went down at the
// same place in the same thread. The moves between objects are kept as
// connections, to be drawn as the jumps they are.
#include "stitch/objectplancache.h"

#include "model/kinds/kind.h"
#include "model/recordgeometry.h"
#include "model/workspace.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace kelvara {

namespace {

// Where the needle is after a piece, as the plan builder has it before the
// next object: a sewing piece's last needle before any lock of its end, a
// jump line's last hop. False for a piece with no records.
bool leavesNeedle(const ObjectPiece& piece, int32_t& x, int32_t& y)
{
    const std::vector<StitchRecord>& own = piece.plan.records;
    if (own.empty())
        return false;
    if (piece.ends.sews)
        x = piece.ends.endX, y = piece.ends.endY;
    else
        x = own.back().x, y = own.back().y;
    return true;
}

} // namespace

namespace {

// Names the borders a fill reaches under, so that an edit elsewhere does
// not stitch it again: those near its outline. Generations are never given
// twice, so the chain names the list.
uint64_t keyOfBordersNear(int32_t kind, const ObjectParams& params, const std::vector<stitch::BorderShape>& shapes,
                          const std::vector<uint64_t>& generations)
{
    const GeometryBox box = recordBounds(kind, params);
    const KindRow& row = *kindRow(kind);
    // A border this far off the outline still borders it; the margin keeps
    // the judgement on the safe side.
    const double reach = 2 * stitch::kBorderReach + (row.planReach ? row.planReach(params) : 0) + 10;
    uint64_t key = 1;
    for (std::size_t j = 0; j < shapes.size(); ++j) {
        const stitch::BorderShape& s = shapes[j];
        if (!box.empty() && (s.left > box.right + reach || s.right < box.left - reach ||
                             s.top > box.bottom + reach || s.bottom < box.top - reach))
            continue;
        key = (key ^ generations[j]) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
        key += key == 0;
    }
    return key;
}

} // namespace

// The borders each fill reaches under, as the whole plan finds them: the
// shapes of the objects sewn after it, in sewing order, named by a key.
struct ObjectPlanCache::PieceBorders {
    std::vector<stitch::BorderShape> shapes; // sewing order
    std::vector<std::size_t> counts;         // how many of them lie after piece i
    std::vector<uint64_t> keys;              // 0 for a piece that reaches under none
    std::span<const stitch::BorderShape> after(std::size_t i) const
    {
        return keys[i] == 0 ? std::span<const stitch::BorderShape>()
                            : std::span(shapes).subspan(shapes.size() - counts[i]);
    }
};

ObjectPlanCache::PieceBorders ObjectPlanCache::bordersOf(const PlanSource& ws, const std::vector<int32_t>& order)
{
    PieceBorders b;
    b.counts.resize(order.size());
    b.keys.resize(order.size());
    std::vector<uint64_t> generations; // of the shapes, from the last sewn
    for (std::size_t i = order.size(); i-- > 0;) {
        const int32_t row = order[i];
        b.counts[i] = b.shapes.size();
        const ObjectEntry& e = ws.table.rows[static_cast<std::size_t>(row)];
        if (b.counts[i] > 0 && kindRow(e.kind)->fillsUnderBorders)
            b.keys[i] = keyOfBordersNear(e.kind, ws.records[e.params], b.shapes, generations);
        const KnownBorder& known = refreshBorder(ws, row);
        if (known.borders) {
            b.shapes.push_back(known.shape);
            generations.push_back(known.generation);
        }
    }
    std::reverse(b.shapes.begin(), b.shapes.end());
    return b;
}

namespace {

// Generations are never given twice by any cache, so pieces from two
// caches (a planning thread's and the window's) never pass for each other.
uint64_t nextGeneration()
{
    static std::atomic<uint64_t> last{0};
    return ++last;
}

} // namespace

PlanSource::PlanSource(const Workspace& ws)
    : table(ws.table), records(ws.records), libraries(ws.libraries), settings(ws.settings)
{
}

ObjectPlanCache::ObjectPlanCache() : pieces_(ObjectTable::kRows), borders_(ObjectTable::kRows) {}

const ObjectPiece& ObjectPlanCache::piece(int32_t row) const
{
    static const ObjectPiece none;
    const std::shared_ptr<const ObjectPiece>& kept = pieces_[static_cast<std::size_t>(row)];
    return kept ? *kept : none;
}

const ObjectPlanCache::KnownBorder& ObjectPlanCache::refreshBorder(const PlanSource& ws, int32_t row)
{
    const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
    const ObjectParams& params = ws.records[entry.params];
    const auto size = static_cast<std::size_t>(recordSize(entry.kind));
    std::shared_ptr<const KnownBorder>& kept = borders_[static_cast<std::size_t>(row)];
    if (kept && kept->kind == entry.kind && std::memcmp(kept->bytes.data(), params.bytes, size) == 0)
        return *kept;
    auto known = std::make_shared<KnownBorder>();
    known->kind = entry.kind;
    std::memcpy(known->bytes.data(), params.bytes, size);
    known->borders = stitch::borderShapeOf(entry.kind, params, known->shape);
    known->generation = nextGeneration();
    kept = std::move(known);
    return *kept;
}

bool ObjectPlanCache::refreshPiece(const PlanSource& ws, int32_t row, int64_t budget, const PieceSeams& seams,
                                   std::span<const stitch::BorderShape> borders)
{
    const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
    const ObjectParams& params = ws.records[entry.params];
    const auto size = static_cast<std::size_t>(recordSize(entry.kind));
    std::shared_ptr<const ObjectPiece>& kept = pieces_[static_cast<std::size_t>(row)];
    const bool same = kept && kept->kind == entry.kind && kept->seams == seams &&
                      std::memcmp(kept->bytes.data(), params.bytes, size) == 0;
    // A piece refused for want of room is tried again when there is more.
    if (same && !(kept->status == PlanStatus::TooLarge && budget > kept->budget))
        return false;

    auto fresh = std::make_shared<ObjectPiece>();
    ObjectPiece& piece = *fresh;
    piece.kind = entry.kind;
    std::memcpy(piece.bytes.data(), params.bytes, size);
    piece.generation = nextGeneration();
    piece.budget = budget;
    piece.seams = seams;
    piece.status =
        generateObjectPiece(entry.kind, params, ws.libraries, ws.settings, budget, piece.plan, seams, &piece.ends, borders);
    std::vector<StitchRecord>& records = piece.plan.records;
    if (!records.empty() && records.back().kind == StitchKind::End)
        records.pop_back();
    records.shrink_to_fit();
    piece.stitches = piece.plan.stitchCount();
    piece.box = PlanBox{};
    piece.sewnBox = PlanBox{};
    for (const StitchRecord& r : records) {
        piece.box.add(r.x, r.y);
        if (r.kind == StitchKind::Stitch)
            piece.sewnBox.add(r.x, r.y);
    }
    kept = std::move(fresh);
    return true;
}

void ObjectPlanCache::update(const Workspace& ws)
{
    update(PlanSource(ws));
}

bool ObjectPlanCache::update(const PlanSource& ws, const PlanProgress& progress)
{
    // Every record is compared, not only after a marked change: a byte
    // compare of the whole design costs far less than drawing it.
    std::vector<bool> inOrder(ObjectTable::kRows, false);
    std::vector<int32_t> order;
    order.reserve(order_.size());
    for (int32_t row : DisplayOrder(ws.table)) {
        const ObjectEntry& e = ws.table.rows[static_cast<std::size_t>(row)];
        if (recordSize(e.kind) == 0 || !ws.records.isLive(e.params))
            break;
        order.push_back(row);
        inOrder[static_cast<std::size_t>(row)] = true;
    }
    const PieceBorders borders = bordersOf(ws, order);
    // Two passes over the objects; an update stopped half way leaves the
    // summary to the next one.
    const auto total = static_cast<int64_t>(2 * order.size());
    int64_t done = 0;
    const auto goOn = [&] {
        if (!progress || progress(++done, total))
            return true;
        made_ = false;
        return false;
    };
    bool changed = false;
    int64_t records = 0;
    // Each piece is stitched from where the one before left the needle, so
    // it starts where the export starts it.
    std::vector<PieceSeams> entries;
    PieceSeams entry;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int32_t row = order[i];
        // A new piece guesses the seams most pieces have: the thread goes on
        // from the one before and on to the next.
        const ObjectPiece& known = piece(row);
        PieceSeams guess = known.kind == KindFree ? PieceSeams{i > 0, false, false} : known.seams;
        guess.hasEntry = entry.hasEntry, guess.entryX = entry.entryX, guess.entryY = entry.entryY;
        guess.hasExit = false, guess.exitX = 0, guess.exitY = 0;
        if (i + 1 < order.size()) {
            const ObjectEntry& e = ws.table.rows[static_cast<std::size_t>(row)];
            const ObjectEntry& next = ws.table.rows[static_cast<std::size_t>(order[i + 1])];
            guess.hasExit = objectExit(e.kind, ws.records[e.params], next.kind, ws.records[next.params],
                                       ws.libraries, ws.settings, guess.exitX, guess.exitY);
        }
        guess.bordersKey = borders.keys[i];
        entries.push_back(guess);
        changed = refreshPiece(ws, row, kMaxRecords - records, guess, borders.after(i)) || changed;
        const ObjectPiece& stitched = piece(row);
        records += static_cast<int64_t>(stitched.plan.records.size());
        if (leavesNeedle(stitched, entry.entryX, entry.entryY))
            entry.hasEntry = true;
        if (!goOn())
            return false;
    }
    // A piece's ends do not depend on its seams, so one pass finds them all;
    // only the pieces whose neighbours changed them are stitched again.
    std::vector<PieceSeams> seams = findSeams(ws, order);
    records = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        seams[i].hasEntry = entries[i].hasEntry;
        seams[i].entryX = entries[i].entryX, seams[i].entryY = entries[i].entryY;
        seams[i].hasExit = entries[i].hasExit;
        seams[i].exitX = entries[i].exitX, seams[i].exitY = entries[i].exitY;
        seams[i].bordersKey = entries[i].bordersKey;
        changed = refreshPiece(ws, order[i], kMaxRecords - records, seams[i], borders.after(i)) || changed;
        records += static_cast<int64_t>(piece(order[i]).plan.records.size());
        if (!goOn())
            return false;
    }
    // Objects gone from the design give their memory back.
    for (std::size_t row = 0; row < pieces_.size(); ++row)
        if (!inOrder[row]) {
            pieces_[row].reset();
            borders_[row].reset();
        }
    if (!changed && made_ && order == order_)
        return true;
    made_ = true;
    order_ = std::move(order);
    summarize(ws);
    return true;
}

// Follows the needle from piece to piece as the plan builder's connect does:
// a piece starting near the last one's end in its thread carries the seam
// on (no locks between them); otherwise the last one's own tie-off is laid,
// and a trim (pending, a long move or a new colour) or a jump line locks an
// end still open. A piece starts with the thread in unless a cut came
// before it; the end of the design locks the last open end.
std::vector<PieceSeams> ObjectPlanCache::findSeams(const PlanSource& ws, const std::vector<int32_t>& order) const
{
    std::vector<PieceSeams> seams(order.size(), PieceSeams{false, false, false});
    bool any = false, threadIn = false, pendingTrim = false, colourKnown = false;
    int32_t colour = 0;
    int64_t x = 0, y = 0;
    std::ptrdiff_t open = -1; // the piece whose end is not locked yet
    bool openTiesOff = false; // and whose own tie-off waits for the next piece
    const auto distance = [&](int64_t tx, int64_t ty) { return std::hypot(double(tx - x), double(ty - y)); };
    const auto lockOpenEnd = [&] {
        if (open >= 0)
            seams[std::size_t(open)].cutAfter = true;
        open = -1;
    };
    for (std::size_t i = 0; i < order.size(); ++i) {
        const ObjectPiece& piece = this->piece(order[i]);
        const std::vector<StitchRecord>& own = piece.plan.records;
        if (own.empty())
            continue;
        const PieceEnds& ends = piece.ends;
        if (!ends.sews) {
            // A jump line's two hops: to its start and to its end.
            for (const StitchRecord* hop : {&own.front(), &own.back()}) {
                if (any) {
                    if (threadIn)
                        lockOpenEnd();
                    if (threadIn && (pendingTrim || distance(hop->x, hop->y) > ws.settings.TRIM))
                        threadIn = false;
                    pendingTrim = false;
                }
                any = true;
                x = hop->x, y = hop->y;
            }
            pendingTrim = pendingTrim || ends.trimAfter;
            continue;
        }
        if (!colourKnown) {
            colour = ends.colour;
            colourKnown = true;
        }
        bool continuing = false;
        if (any) {
            const bool recolour = ends.colour != colour;
            const double gap = distance(ends.firstX, ends.firstY);
            continuing = threadIn && !pendingTrim && !recolour && gap <= kContinueReach;
            if (!continuing) {
                if (threadIn && openTiesOff)
                    lockOpenEnd();
                if (threadIn && (pendingTrim || gap > ws.settings.TRIM || recolour)) {
                    lockOpenEnd();
                    threadIn = false;
                }
                pendingTrim = false;
                if (recolour) {
                    colour = ends.colour;
                    threadIn = false;
                }
            }
        }
        seams[i].threadIn = threadIn;
        seams[i].continuing = continuing;
        any = threadIn = true;
        // The end's lock waits for the next piece.
        open = std::ptrdiff_t(i);
        openTiesOff = ends.locksItsEnd;
        x = ends.endX, y = ends.endY;
        pendingTrim = ends.trimAfter;
    }
    if (threadIn)
        lockOpenEnd();
    return seams;
}

void ObjectPlanCache::summarize(const PlanSource& ws)
{
    connections_.clear();
    stitchCount_ = 0;
    bool tooLarge = false;
    int64_t records = 0;
    PlanBox extent;
    sewnExtent_ = PlanBox{};
    const StitchRecord* last = nullptr; // the previous piece's last record
    for (int32_t row : order_) {
        const ObjectPiece& piece = this->piece(row);
        tooLarge = tooLarge || piece.status == PlanStatus::TooLarge;
        const std::vector<StitchRecord>& own = piece.plan.records;
        if (own.empty())
            continue;
        records += static_cast<int64_t>(own.size());
        extent.add(piece.box);
        sewnExtent_.add(piece.sewnBox);
        stitchCount_ += piece.stitches;
        const StitchRecord& first = own.front();
        if (last != nullptr) {
            if (last->x != first.x || last->y != first.y)
                connections_.push_back({last->x, last->y, first.x, first.y});
            // A piece carrying the seam on does not go down again where the
            // needle already is, nor a step shorter than DELETE from it.
            if (piece.seams.continuing && last->kind == StitchKind::Stitch && first.kind == StitchKind::Stitch &&
                ((first.x == last->x && first.y == last->y) ||
                 std::hypot(double(first.x - last->x), double(first.y - last->y)) < ws.settings.DELETE))
                --stitchCount_;
        }
        last = &own.back();
    }
    // A trim's jumps reach one unit beyond the needle on either side.
    if (tooLarge || records > kMaxRecords ||
        (!extent.empty() && (int64_t{extent.right} - extent.left + 2 > kMaxExtent ||
                             int64_t{extent.bottom} - extent.top + 2 > kMaxExtent))) {
        status_ = PlanStatus::TooLarge;
        stitchCount_ = 0;
    } else {
        status_ = stitchCount_ > 0 ? PlanStatus::Ok : PlanStatus::Empty;
    }
}

PlanSnapshot ObjectPlanCache::snapshot() const
{
    PlanSnapshot shot;
    shot.entries.reserve(order_.size());
    for (int32_t row : order_) {
        const ObjectPiece& piece = this->piece(row);
        shot.entries.push_back({row, piece.generation, piece.box});
    }
    shot.connections = connections_;
    return shot;
}

namespace {

PlanBox connectionBox(const Connection& c)
{
    PlanBox box;
    box.add(c.fromX, c.fromY);
    box.add(c.toX, c.toY);
    return box;
}

// Each of `from` not in `other` adds its box.
void addMissing(std::vector<Connection> from, std::vector<Connection> other, std::vector<PlanBox>& boxes)
{
    std::sort(from.begin(), from.end());
    std::sort(other.begin(), other.end());
    std::vector<Connection> missing;
    std::set_difference(from.begin(), from.end(), other.begin(), other.end(), std::back_inserter(missing));
    for (const Connection& c : missing)
        boxes.push_back(connectionBox(c));
}

} // namespace

std::vector<PlanBox> changedBoxes(const PlanSnapshot& before, const PlanSnapshot& after, bool& reordered)
{
    reordered = false;
    std::vector<PlanBox> boxes;
    // Position of each row's unchanged piece in `after`, or -1.
    std::vector<int32_t> kept(ObjectTable::kRows, -1);
    std::vector<uint64_t> generationAfter(ObjectTable::kRows, 0);
    for (std::size_t i = 0; i < after.entries.size(); ++i)
        generationAfter[static_cast<std::size_t>(after.entries[i].row)] = after.entries[i].generation;
    std::vector<bool> stayed(ObjectTable::kRows, false);
    int32_t lastPosition = -1;
    for (const PlanSnapshot::Entry& e : before.entries) {
        const auto row = static_cast<std::size_t>(e.row);
        if (generationAfter[row] != e.generation) {
            boxes.push_back(e.box);
            continue;
        }
        stayed[row] = true;
    }
    for (std::size_t i = 0; i < after.entries.size(); ++i) {
        const PlanSnapshot::Entry& e = after.entries[i];
        if (!stayed[static_cast<std::size_t>(e.row)])
            boxes.push_back(e.box);
        else
            kept[static_cast<std::size_t>(e.row)] = static_cast<int32_t>(i);
    }
    // The kept pieces must come in the same order as before.
    for (const PlanSnapshot::Entry& e : before.entries) {
        const int32_t position = kept[static_cast<std::size_t>(e.row)];
        if (position < 0)
            continue;
        if (position < lastPosition)
            reordered = true;
        lastPosition = position;
    }
    addMissing(before.connections, after.connections, boxes);
    addMissing(after.connections, before.connections, boxes);
    std::erase_if(boxes, [](const PlanBox& b) { return b.empty(); });
    return boxes;
}

} // namespace kelvara
