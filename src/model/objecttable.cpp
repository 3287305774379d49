#include "model/objecttable.h"

#include "model/objectfields.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

RecordStore::RecordStore()
{
    // A stack of free handles with handle 1 on top. Last released, first
    // handed out: Undo then gives a revived row back the handle it lost.
    for (int i = 0; i < kSlots; ++i)
        freeList_[i] = kSlots - i;
}

int32_t RecordStore::allocate(int32_t size)
{
    if (freeCount_ == 0 || size < 0 || size > kMaxRecordSize)
        return 0;
    int32_t handle = freeList_[--freeCount_];
    liveFlag_[handle - 1] = true;
    ++live_;
    std::memset(slots_[handle - 1].bytes, 0, sizeof(ObjectParams));
    return handle;
}

void RecordStore::release(int32_t handle)
{
    if (!isLive(handle))
        return;
    liveFlag_[handle - 1] = false;
    --live_;
    freeList_[freeCount_++] = handle;
}

bool RecordStore::isLive(int32_t handle) const
{
    return handle >= 1 && handle <= kSlots && liveFlag_[handle - 1];
}

int32_t findFreeRow(const ObjectTable& table)
{
    for (int32_t r = 0; r < ObjectTable::kRows; ++r)
        if (table.rows[r].kind == KindFree)
            return r;
    return -1;
}

namespace {
bool isRow(int32_t r)
{
    return r >= 0 && r < ObjectTable::kRows;
}
} // namespace

std::vector<int32_t> displayOrderRows(const ObjectTable& table)
{
    std::vector<int32_t> order;
    order.reserve(static_cast<size_t>(std::max(table.objectCount, 0)));
    for (int32_t row : DisplayOrder(table))
        order.push_back(row);
    return order;
}

int32_t lastInDisplayOrder(const ObjectTable& table)
{
    int32_t last = -1;
    for (int32_t row : DisplayOrder(table))
        last = row;
    return last;
}

int32_t displayPosition(const ObjectTable& table, int32_t row)
{
    if (table.objectCount <= 0)
        return 0;
    int32_t position = 1;
    for (int32_t r : DisplayOrder(table)) {
        if (r == row)
            return position;
        ++position;
    }
    return table.objectCount;
}

void insertAfter(ObjectTable& table, int32_t newRow, int32_t anchor)
{
    if (!isRow(newRow))
        return;
    ObjectEntry& entry = table.rows[newRow];
    entry.next = -1;
    // Into an empty table the row comes alone; without an anchor it goes
    // after the last object in display order.
    if (table.objectCount <= 0)
        anchor = -1;
    else if (!isRow(anchor))
        anchor = lastInDisplayOrder(table);
    if (!isRow(anchor)) {
        entry.prev = -1;
        table.firstObject = newRow;
        return;
    }
    entry.prev = anchor;
    const int32_t successor = table.rows[anchor].next;
    if (isRow(successor)) {
        table.rows[successor].prev = newRow;
        entry.next = successor;
    }
    table.rows[anchor].next = newRow;
}

void unlinkRow(ObjectTable& table, int32_t row)
{
    if (!isRow(row))
        return;
    ObjectEntry& entry = table.rows[row];
    if (isRow(entry.prev))
        table.rows[entry.prev].next = entry.next;
    if (table.firstObject == row)
        table.firstObject = entry.next;
    if (isRow(entry.next))
        table.rows[entry.next].prev = entry.prev;
    entry.prev = -1;
    entry.next = -1;
}

void clearTable(ObjectTable& table, RecordStore& records)
{
    // Every row is looked at, not only the first objectCount: deletion
    // leaves holes, so used rows can sit anywhere in the table.
    for (ObjectEntry& entry : table.rows)
        if (entry.params != 0)
            records.release(entry.params);
    table.rows.fill(ObjectEntry{});
    table.objectCount = 0;
    table.groupCounter = 0;
    table.currentColour = -1;
    table.colourChosen = 0;
    table.firstObject = 0;
    table.currentObject = -1;
}

int32_t objectTrim(const ObjectEntry& entry, const RecordStore& records)
{
    const ObjectField* field = findObjectField(entry.kind, FieldMeaning::Trim);
    if (field == nullptr || !records.isLive(entry.params))
        return 0;
    return static_cast<int32_t>(readField(records.bytes(entry.params), *field));
}

int32_t objectColour(const ObjectEntry& entry, const RecordStore& records)
{
    const ObjectField* field = findObjectField(entry.kind, FieldMeaning::Colour);
    if (field == nullptr || !records.isLive(entry.params))
        return -1;
    return static_cast<int32_t>(readField(records.bytes(entry.params), *field));
}

} // namespace kelvara
