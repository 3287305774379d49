#pragma once

#include "model/records.h"

#include <array>
#include <cstdint>

namespace kelvara {

// One row of the object table: seven 32-bit words. `params` is a handle into
// the RecordStore (0 = none), so a row can be copied as raw bytes.
struct ObjectEntry {
    int32_t kind;
    int32_t params;
    int32_t paramsSize;
    int32_t reserved;
    int32_t group;
    int32_t prev;
    int32_t next;
};
static_assert(sizeof(ObjectEntry) == 28);

// Owner of the parameter records. Handles are 1..kSlots; 0 means none.
// At most one record per row exists, so 4096 slots always suffice.
class RecordStore {
public:
    static constexpr int kSlots = 4096;

    RecordStore();
    // A new record of `size` bytes (zero-filled); 0 when the store is full.
    int32_t allocate(int32_t size);
    void release(int32_t handle);
    bool isLive(int32_t handle) const;
    int liveCount() const { return live_; }

    ObjectParams& operator[](int32_t handle) { return slots_[handle - 1]; }
    const ObjectParams& operator[](int32_t handle) const { return slots_[handle - 1]; }
    unsigned char* bytes(int32_t handle) { return slots_[handle - 1].bytes; }
    const unsigned char* bytes(int32_t handle) const { return slots_[handle - 1].bytes; }

private:
    std::array<ObjectParams, kSlots> slots_;
    std::array<int32_t, kSlots> freeList_;
    std::array<bool, kSlots> liveFlag_{};
    int freeCount_ = kSlots;
    int live_ = 0;
};

struct ObjectTable {
    static constexpr int kRows = 4096;

    std::array<ObjectEntry, kRows> rows{};
    int32_t objectCount = 0;
    int32_t firstObject = 0;   // 0 while empty
    int32_t currentObject = -1;
    int32_t groupCounter = 0;
    int32_t currentColour = -1;
};

// First row with kind 0; callers only ask while objectCount < 4096.
int32_t findFreeRow(const ObjectTable& table);
// 1-based display position of `row`, objectCount when not met, 0 when empty.
int32_t displayPosition(const ObjectTable& table, int32_t row);
void insertAfter(ObjectTable& table, int32_t newRow, int32_t anchor);
void unlinkRow(ObjectTable& table, int32_t row);
// Releases every used row's record and empties the table.
void clearTable(ObjectTable& table, RecordStore& records);

// The two fields the list text shows, wherever the kind keeps them.
int32_t objectTrim(const ObjectEntry& entry, const RecordStore& records);
int32_t objectColour(const ObjectEntry& entry, const RecordStore& records);

} // namespace kelvara
