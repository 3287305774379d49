#include "model/fieldedit.h"

#include "model/editing.h"
#include "model/journalring.h"
#include "model/kinds/kind.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"
#include "shell/texts.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kelvara {

namespace {

bool isUsed(const Workspace& ws, int32_t row)
{
    return row >= 0 && row < ObjectTable::kRows && ws.table.rows[row].kind != KindFree &&
           ws.records.isLive(ws.table.rows[row].params);
}

} // namespace

std::vector<SharedField> sharedFields(const Workspace& ws, std::span<const int32_t> rows)
{
    std::vector<SharedField> shared;
    std::vector<bool> kindSeen(kindRows().size() + 1);
    int32_t first = -1;
    for (int32_t row : rows) {
        if (!isUsed(ws, row))
            continue;
        if (const auto kind = std::size_t(ws.table.rows[row].kind); kind < kindSeen.size())
            kindSeen[kind] = true;
        if (first < 0)
            first = row;
    }
    if (first < 0)
        return shared;
    for (const ObjectField& field : objectFields(ws.table.rows[first].kind)) {
        bool everyKind = true;
        for (const KindRow* kind : kindRows())
            if (kind != nullptr && kindSeen[std::size_t(kind->kind)] && findObjectField(kind->kind, field.meaning) == nullptr)
                everyKind = false;
        if (everyKind)
            shared.push_back(
                {field.meaning, readField(ws.records.bytes(ws.table.rows[first].params), field)});
    }
    // Values compare as stored, bit for bit where they are doubles.
    for (int32_t row : rows) {
        if (!isUsed(ws, row) || row == first)
            continue;
        const ObjectEntry& entry = ws.table.rows[row];
        const unsigned char* record = ws.records.bytes(entry.params);
        for (SharedField& s : shared)
            if (!s.mixed && readField(record, *findObjectField(entry.kind, s.meaning)) != s.value)
                s.mixed = true;
    }
    return shared;
}

std::string underlayInWords(const Workspace& ws, std::span<const int32_t> rows)
{
    std::string words;
    for (int32_t row : rows) {
        if (!isUsed(ws, row))
            continue;
        const ObjectEntry& entry = ws.table.rows[row];
        const KindRow* kind = kindRow(entry.kind);
        if (kind == nullptr || kindField(*kind, FieldMeaning::Underlay) == nullptr)
            continue;
        const unsigned char* record = ws.records.bytes(entry.params);
        const bool walk = kindInt(*kind, record, FieldMeaning::Underlay, -1) != -1;
        const bool walkDownCentre = walk && kindInt(*kind, record, FieldMeaning::WalkInset, 0) == kCentreWalk;
        std::string these;
        if (walk)
            these = walkDownCentre ? message(ws, kSlotUnderlayCentreWalk) : std::string(kind->underlay);
        if (kindInt(*kind, record, FieldMeaning::Zigzag, -1) != -1)
            these = these.empty() ? message(ws, kSlotUnderlayZigzag)
                                  : message(ws, Outcome(kSlotUnderlayAndZigzag, these));
        // The walk down the centre is sewn once, whichever field asks for it.
        if (kindInt(*kind, record, FieldMeaning::CentreWalk, 0) != 0 && !walkDownCentre)
            these = these.empty() ? message(ws, kSlotUnderlayCentreWalk)
                                  : message(ws, Outcome(kSlotUnderlayCentreWalkAnd, these));
        if (these.empty())
            these = message(ws, kSlotUnderlayNone);
        if (!words.empty() && words != these)
            return message(ws, kSlotUnderlayDiffers);
        words = these;
    }
    return words;
}

ApplyResult applyFieldValues(Workspace& ws, const Platform& platform, std::span<const FieldValue> values)
{
    return applyFieldValuesTo(ws, platform, selectedRows(ws), values).result;
}

FieldEdit applyFieldValuesTo(Workspace& ws, const Platform& platform, std::span<const int32_t> rows,
                             std::span<const FieldValue> values)
{
    for (const FieldValue& v : values) {
        const Outcome refusal = refusalFor(v.meaning, v.value, ws.settings, ws.libraries);
        if (!refusal.ok()) {
            showRefusal(ws, platform, refusal);
            return {ApplyResult::Refused};
        }
    }

    // Every new record is made before anything changes, so a refusal below
    // leaves the design as it was.
    struct Change {
        int32_t row;
        ObjectParams params;
    };
    std::vector<Change> changes;
    bool listChanges = false;
    for (int32_t row : rows) {
        const ObjectEntry& entry = ws.table.rows[row];
        if (!isUsed(ws, row) || !recordSizeFits(entry.kind, entry.paramsSize))
            continue;
        const unsigned char* old = ws.records.bytes(entry.params);
        Change change{row, {}};
        std::memcpy(change.params.bytes, old, std::size_t(entry.paramsSize));
        for (const FieldValue& v : values)
            if (const ObjectField* field = findObjectField(entry.kind, v.meaning))
                writeField(change.params.bytes, *field, v.value);
        if (std::memcmp(change.params.bytes, old, std::size_t(entry.paramsSize)) == 0)
            continue;
        for (FieldMeaning shownInList : {FieldMeaning::Trim, FieldMeaning::Colour}) {
            const ObjectField* field = findObjectField(entry.kind, shownInList);
            listChanges = listChanges || readField(old, *field) != readField(change.params.bytes, *field);
        }
        changes.push_back(change);
    }
    if (changes.empty())
        return {ApplyResult::Unchanged};
    UndoStep step(ws, platform);
    if (listChanges)
        step.willChangeList();
    for (const Change& change : changes)
        step.willSaveRecord(change.row);
    if (!step.open())
        return {ApplyResult::Refused};

    // Undo replays newest first: the records come back before the list is
    // rebuilt from them.
    if (listChanges)
        step.listRefill();
    for (const Change& change : changes)
        step.recordBytes(change.row);
    for (const Change& change : changes) {
        const ObjectEntry& entry = ws.table.rows[change.row];
        std::memcpy(ws.records.bytes(entry.params), change.params.bytes, std::size_t(entry.paramsSize));
    }
    if (listChanges)
        updateListLines(ws, platform);
    markDesignChanged(ws);
    return {ApplyResult::Applied, int32_t(changes.size())};
}

} // namespace kelvara
