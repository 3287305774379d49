#pragma once

#include "model/records.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

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
    int32_t firstObject = 0; // 0 while empty
    int32_t currentObject = -1;
    int32_t groupCounter = 0;
    int32_t currentColour = -1;
    // The user chose currentColour since the last creation: the next object
    // takes it rather than the current object's colour.
    int32_t colourChosen = 0;
};

// The used rows in display order, from firstObject along `next`, for one
// pass: `for (int32_t row : DisplayOrder(table))`. The walk ends after
// objectCount rows, at -1, at a row outside the table, or before a row it
// has already met, so a damaged chain can neither leave the table nor loop.
class DisplayOrder {
public:
    explicit DisplayOrder(const ObjectTable& table)
        : table_(table), row_(table.objectCount > 0 ? table.firstObject : -1)
    {
        admit();
    }

    class Iterator {
    public:
        using value_type = int32_t;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        explicit Iterator(DisplayOrder* walk) : walk_(walk) {}
        int32_t operator*() const { return walk_->row_; }
        Iterator& operator++()
        {
            walk_->advance();
            return *this;
        }
        void operator++(int) { walk_->advance(); }
        bool operator==(std::default_sentinel_t) const { return walk_->row_ < 0; }

    private:
        DisplayOrder* walk_ = nullptr;
    };

    Iterator begin() { return Iterator(this); }
    std::default_sentinel_t end() const { return {}; }

private:
    void advance()
    {
        row_ = table_.rows[row_].next;
        ++taken_;
        admit();
    }
    // Ends the walk where a guard applies; otherwise the row counts as met.
    void admit()
    {
        if (taken_ >= table_.objectCount || row_ < 0 || row_ >= ObjectTable::kRows || met_[row_])
            row_ = -1;
        else
            met_[row_] = true;
    }

    const ObjectTable& table_;
    std::bitset<ObjectTable::kRows> met_;
    int32_t row_;
    int32_t taken_ = 0;
};

// The rows DisplayOrder walks, as a list.
std::vector<int32_t> displayOrderRows(const ObjectTable& table);
// The last row DisplayOrder reaches; -1 when it reaches none.
int32_t lastInDisplayOrder(const ObjectTable& table);

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
