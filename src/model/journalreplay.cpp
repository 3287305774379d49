#include "model/stepreplay.h"

#include "model/editing.h"
#include "model/journalring.h"
#include "model/refresh.h"
#include "model/stepstore.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kelvara {

namespace {

constexpr int32_t kRows = ObjectTable::kRows;
constexpr int32_t kRowImageSize = sizeof(ObjectEntry);
// A list line's text travels NUL-padded in a fixed field, as deletions save it.
constexpr int32_t kLineTextSize = 64;

// What one replayed step has to remember between its records.
struct ReplayState {
    // List position of a line re-inserted in this step, still waiting for
    // the row its object is revived in.
    int reinsertedLine = -1;
    // Lines put back that no revived row claimed (lines a rebuild would
    // number differently): their rows come from the display order.
    int unclaimedLines = 0;
    // Rows this step turned from free to used: their record is new, so
    // what a record image overwrites in it is not worth keeping.
    std::bitset<kRows> revived;
};

bool isRow(int32_t row)
{
    return row >= 0 && row < kRows;
}

bool isRowImage(const JournalHeader& header)
{
    return header.target >= UndoJournal::kRowImageBase &&
           header.target < UndoJournal::kRowImageBase + kRows && header.size == kRowImageSize;
}

bool validSize(const JournalHeader& header)
{
    return header.size >= 0 && header.size <= UndoJournal::kMaxData;
}

ObjectEntry imageOf(const unsigned char* data)
{
    ObjectEntry image;
    std::memcpy(&image, data, sizeof image);
    return image;
}

// The records that take a replay back, in the order they are written: the
// first starts the step, and they are replayed newest first.
class Inverse {
public:
    Inverse(Workspace& ws, StepStore* to) : ws_(ws), to_(to) {}

    void rowImage(int32_t row)
    {
        add(UndoJournal::kRowImageBase + row, &ws_.table.rows[row], kRowImageSize, -1);
    }
    void recordBytes(int32_t row)
    {
        const ObjectEntry& entry = ws_.table.rows[row];
        if (ws_.records.isLive(entry.params) && entry.paramsSize >= 0 && entry.paramsSize <= kMaxRecordSize)
            add(row, ws_.records.bytes(entry.params), entry.paramsSize, ListAction::kNone);
    }
    void currentObject()
    {
        add(UndoJournal::kCurrentObjectTarget, &ws_.table.currentObject, sizeof ws_.table.currentObject,
            ListAction::kNone);
    }
    void deleteLine(int line) { add(0, nullptr, 0, ListAction::deleteLine(line)); }
    void reinsertLine(int line, const std::string& text)
    {
        char field[kLineTextSize] = {};
        std::memcpy(field, text.data(), std::min<size_t>(text.size(), kLineTextSize - 1));
        add(0, field, kLineTextSize, line);
    }
    void refill() { add(0, nullptr, 0, ListAction::kRefill); }

private:
    void add(int32_t target, const void* data, int32_t size, int32_t listAction)
    {
        if (to_ == nullptr)
            return;
        to_->append(target, data, size, listAction, first_);
        first_ = false;
    }

    Workspace& ws_;
    StepStore* to_;
    bool first_ = true;
};

// What the records taking one step back need, worked out before the step
// changes anything.
struct StepPlan {
    bool refill = false;
    // Lines that stand otherwise than a rebuild would write them (a line's
    // running number is the one it got when it was made): a rebuild undone
    // writes them back as they stood.
    std::vector<std::pair<int, std::string>> staleLines;
    int64_t inverseBytes = 0;
};

// The bytes the inverse of a step takes, worked out by following what each
// record will do to its row, newest first, as the replay will: a record
// saves what its row holds at that moment, not before the step.
class InverseMeasure {
public:
    InverseMeasure(const Workspace& ws, const Platform& platform)
        : ws_(ws), lines_(platform.list != nullptr ? platform.list->count() : -1)
    {
    }

    int64_t add(const JournalHeader& header, const unsigned char* data)
    {
        switch (listActionKind(header)) {
        case ListActionKind::None:
            if (isRow(header.target)) {
                const Row row = rowAt(header.target);
                return revived_[size_t(header.target)] ? 0 : recordLength(row);
            }
            if (isRowImage(header))
                return rowImage(header.target - UndoJournal::kRowImageBase, imageOf(data));
            return header.target == UndoJournal::kCurrentObjectTarget ? UndoJournal::recordLength(4) : 0;
        case ListActionKind::ReinsertLine:
            if (lines_ < 0)
                return 0;
            ++lines_;
            return UndoJournal::recordLength(0);
        case ListActionKind::DeleteLine:
            if (lines_ < 0 || deletedLine(header) >= lines_)
                return 0;
            --lines_;
            return UndoJournal::recordLength(kLineTextSize);
        case ListActionKind::Refill:
            return 0;
        }
        return 0;
    }

private:
    struct Row {
        bool used = false;
        bool hasRecord = false;
        bool live = false;
        int32_t size = 0;
    };

    Row rowAt(int32_t row) const
    {
        if (const auto it = rows_.find(row); it != rows_.end())
            return it->second;
        const ObjectEntry& entry = ws_.table.rows[row];
        return {entry.kind != KindFree, entry.params != 0, ws_.records.isLive(entry.params),
                entry.paramsSize};
    }

    static int64_t recordLength(const Row& row)
    {
        return row.live && row.size >= 0 && row.size <= kMaxRecordSize ? UndoJournal::recordLength(row.size)
                                                                       : 0;
    }

    int64_t rowImage(int32_t at, const ObjectEntry& image)
    {
        Row row = rowAt(at);
        const bool frees = image.kind == KindFree && row.used;
        const int64_t bytes = UndoJournal::recordLength(kRowImageSize) + (frees ? recordLength(row) : 0);
        // As restoreRowImage leaves the row.
        if (!row.hasRecord && image.params != 0)
            row.hasRecord = row.live = true;
        else if (row.hasRecord && image.params == 0)
            row.hasRecord = row.live = false;
        if (!row.used && image.kind != KindFree)
            revived_.set(size_t(at));
        row.used = image.kind != KindFree;
        row.size = image.paramsSize;
        rows_[at] = row;
        return bytes;
    }

    const Workspace& ws_;
    int lines_;
    std::unordered_map<int32_t, Row> rows_;
    std::bitset<kRows> revived_;
};

std::vector<std::pair<int, std::string>> staleLines(const Workspace& ws, const ListBox& list)
{
    std::vector<std::pair<int, std::string>> stale;
    ListNumbering numbering;
    restartListNumbering(numbering);
    int position = 0;
    const int count = list.count();
    for (int32_t row : DisplayOrder(ws.table)) {
        if (position >= count)
            break;
        std::string shown = list.text(position);
        if (shown != listLine(ws, numbering, row))
            stale.emplace_back(position, std::move(shown));
        ++position;
    }
    return stale;
}

StepPlan planStep(const Workspace& ws, const Platform& platform, const StepStore& from)
{
    StepPlan plan;
    InverseMeasure measure(ws, platform);
    int32_t position = from.newest();
    for (int guard = 0; guard < UndoJournal::kSize / UndoJournal::kHeaderSize; ++guard) {
        const JournalHeader header = from.header(position);
        if (!validSize(header))
            break;
        plan.inverseBytes += measure.add(header, from.data(position));
        if (listActionKind(header) == ListActionKind::Refill)
            plan.refill = true;
        if (header.stepStart == 1 || from.isOldest(position))
            break;
        position = header.back;
    }
    if (plan.refill && platform.list != nullptr)
        plan.staleLines = staleLines(ws, *platform.list);
    plan.inverseBytes += UndoJournal::recordLength(4) + (plan.refill ? UndoJournal::recordLength(0) : 0) +
                         int64_t(plan.staleLines.size()) *
                             (UndoJournal::recordLength(kLineTextSize) + UndoJournal::recordLength(0));
    return plan;
}

// Before a record is replayed: the records that put back what it overwrites.
void saveInverse(Inverse& inverse, const Workspace& ws, const Platform& platform, const JournalHeader& header,
                 const unsigned char* data, const ReplayState& state)
{
    const ListBox* list = platform.list;
    switch (listActionKind(header)) {
    case ListActionKind::None:
        if (isRow(header.target)) {
            if (!state.revived[size_t(header.target)])
                inverse.recordBytes(header.target);
        } else if (isRowImage(header)) {
            const int32_t row = header.target - UndoJournal::kRowImageBase;
            // A row the replay frees takes its record along: saved first,
            // it is replayed after the row image that revives the row.
            if (imageOf(data).kind == KindFree && ws.table.rows[row].kind != KindFree)
                inverse.recordBytes(row);
            inverse.rowImage(row);
        } else if (header.target == UndoJournal::kCurrentObjectTarget) {
            inverse.currentObject();
        }
        break;
    case ListActionKind::ReinsertLine:
        if (list != nullptr)
            inverse.deleteLine(std::min(header.listAction, list->count()));
        break;
    case ListActionKind::DeleteLine:
        if (list != nullptr && deletedLine(header) < list->count()) {
            const int line = static_cast<int>(deletedLine(header));
            inverse.reinsertLine(line, list->text(line));
        }
        break;
    case ListActionKind::Refill:
        // The plan put the rebuild where it is replayed last.
        break;
    }
}

void restoreRowImage(Workspace& ws, const Platform& platform, int32_t row, const unsigned char* data,
                     ReplayState& state)
{
    ObjectTable& table = ws.table;
    ObjectEntry image = imageOf(data);
    ObjectEntry& entry = table.rows[row];

    const bool wasUsed = entry.kind != KindFree;
    const bool becomesUsed = image.kind != KindFree;
    if (entry.params == 0 && image.params != 0) {
        image.params = ws.records.allocate(image.paramsSize);
    } else if (entry.params != 0 && image.params == 0) {
        ws.records.release(entry.params);
    } else {
        // A row that keeps its record keeps its handle: the image may hold
        // the handle of a record since released and handed out again.
        image.params = entry.params;
    }
    entry = image;
    entry.reserved = 0;

    if (wasUsed && !becomesUsed) {
        if (table.firstObject == row)
            table.firstObject = entry.next;
        --table.objectCount;
        if (table.objectCount <= 0) {
            table.objectCount = 0;
            table.firstObject = 0;
        }
    } else if (wasUsed && becomesUsed) {
        // Only links change. A reorder may have moved the head away; the
        // row that was first before the step gets its prev of -1 back.
        if (entry.prev == -1)
            table.firstObject = row;
    } else if (!wasUsed && becomesUsed) {
        state.revived.set(size_t(row));
        table.currentObject = row;
        if (entry.prev == -1)
            table.firstObject = row;
        ++table.objectCount;
        if (state.reinsertedLine >= 0 && platform.list != nullptr) {
            platform.list->setItemData(state.reinsertedLine, row);
            state.reinsertedLine = -1;
            --state.unclaimedLines;
        }
    }
}

void restoreData(Workspace& ws, const Platform& platform, const JournalHeader& header,
                 const unsigned char* data, ReplayState& state)
{
    const int32_t target = header.target;
    if (isRow(target)) {
        const int32_t handle = ws.table.rows[target].params;
        if (ws.records.isLive(handle))
            std::memcpy(ws.records.bytes(handle), data,
                        static_cast<size_t>(std::min(header.size, kMaxRecordSize)));
    } else if (isRowImage(header)) {
        restoreRowImage(ws, platform, target - UndoJournal::kRowImageBase, data, state);
    } else if (target == UndoJournal::kCurrentObjectTarget && header.size == 4) {
        std::memcpy(&ws.table.currentObject, data, 4);
    }
}

void reinsertLine(ListBox& list, const JournalHeader& header, const unsigned char* data, ReplayState& state)
{
    const char* text = reinterpret_cast<const char*>(data);
    const size_t length = strnlen(text, static_cast<size_t>(header.size));
    const int position = std::min(header.listAction, list.count());
    list.insertString(position, std::string(text, length));
    list.setItemData(position, -1);
    list.setSelected(position, true);
    state.reinsertedLine = position;
    ++state.unclaimedLines;
}

void replayRecord(Workspace& ws, const Platform& platform, const JournalHeader& header,
                  const unsigned char* data, ReplayState& state)
{
    ListBox* list = platform.list;
    switch (listActionKind(header)) {
    case ListActionKind::None:
        restoreData(ws, platform, header, data, state);
        break;
    case ListActionKind::ReinsertLine:
        if (list != nullptr)
            reinsertLine(*list, header, data, state);
        break;
    case ListActionKind::Refill:
        refillObjectList(ws, platform);
        break;
    case ListActionKind::DeleteLine:
        if (list != nullptr && deletedLine(header) < list->count())
            list->deleteString(static_cast<int>(deletedLine(header)));
        break;
    }
}

// Every line shows the row at its place in the display order.
void claimLines(const Workspace& ws, ListBox& list)
{
    int position = 0;
    const int count = list.count();
    for (int32_t row : DisplayOrder(ws.table)) {
        if (position >= count)
            break;
        if (list.itemData(position) == -1)
            list.setItemData(position, row);
        ++position;
    }
}

} // namespace

int64_t inverseStepBytes(const Workspace& ws, const Platform& platform, const StepStore& from)
{
    return from.empty() ? 0 : planStep(ws, platform, from).inverseBytes;
}

bool replayNewestStep(Workspace& ws, const Platform& platform, StepStore& from, StepStore& to, NoRoom noRoom)
{
    if (from.empty())
        return false;

    const StepPlan plan = planStep(ws, platform, from);
    StepStore* saveTo = &to;
    if (plan.inverseBytes > to.room()) {
        if (noRoom == NoRoom::Refuse)
            return false;
        to.clear();
        saveTo = nullptr;
    }
    // Replayed last: the rebuild, then the lines it would write otherwise,
    // after the rows are back and the current object with them.
    Inverse inverse(ws, saveTo);
    for (const auto& [line, text] : plan.staleLines) {
        inverse.reinsertLine(line, text);
        inverse.deleteLine(line);
    }
    if (plan.refill)
        inverse.refill();
    inverse.currentObject();

    ReplayState state;
    for (int guard = 0; guard < UndoJournal::kSize / UndoJournal::kHeaderSize; ++guard) {
        const int32_t position = from.newest();
        const JournalHeader header = from.header(position);
        if (!validSize(header))
            break;
        const unsigned char* data = from.data(position);
        saveInverse(inverse, ws, platform, header, data, state);
        replayRecord(ws, platform, header, data, state);
        const bool last = header.stepStart == 1 || from.isOldest(position);
        from.dropNewest(header.back);
        if (last || from.empty())
            break;
    }
    if (state.unclaimedLines > 0 && platform.list != nullptr)
        claimLines(ws, *platform.list);

    markDesignChanged(ws);
    return true;
}

} // namespace kelvara
