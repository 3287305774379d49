#pragma once

#include "model/journalring.h"
#include "model/redostore.h"

#include <cstdint>

namespace kelvara {

// A store of steps as replay sees it: the undo journal's ring or the redo
// store. Replay reads the newest step of one and writes the records that
// take it back into the other.
class StepStore {
public:
    virtual ~StepStore() = default;

    virtual bool empty() const = 0;
    virtual int32_t newest() const = 0;
    virtual JournalHeader header(int32_t position) const = 0;
    virtual const unsigned char* data(int32_t position) const = 0;
    // True when no record of the store comes before the one at `position`.
    virtual bool isOldest(int32_t position) const = 0;
    virtual void dropNewest(int32_t back) = 0;

    // Bytes one new step may take without losing its own first records.
    virtual int64_t room() const = 0;
    virtual void clear() = 0;
    virtual void append(int32_t target, const void* data, int32_t size, int32_t listAction,
                        bool stepStart) = 0;
};

// The bytes one step may take in the undo journal: a step must leave room
// for the tail a record wrapping to the start gives up.
inline constexpr int64_t kJournalStepRoom =
    UndoJournal::kSize - UndoJournal::recordLength(UndoJournal::kMaxData);

class JournalSteps final : public StepStore {
public:
    explicit JournalSteps(UndoJournal& journal) : journal_(journal) {}

    bool empty() const override { return journalEmpty(journal_); }
    int32_t newest() const override { return journal_.newestRecord; }
    JournalHeader header(int32_t position) const override { return readJournalHeader(journal_, position); }
    const unsigned char* data(int32_t position) const override { return journalData(journal_, position); }
    bool isOldest(int32_t position) const override
    {
        return readJournalHeader(journal_, position).back == journal_.oldestRecord;
    }
    void dropNewest(int32_t back) override { dropNewestJournalRecord(journal_, back); }
    // The ring gives up older steps for a new one.
    int64_t room() const override { return kJournalStepRoom; }
    void clear() override { resetJournal(journal_); }
    void append(int32_t target, const void* data, int32_t size, int32_t listAction, bool stepStart) override
    {
        appendJournalRecord(journal_, target, data, size, listAction, stepStart);
    }

private:
    UndoJournal& journal_;
};

class RedoSteps final : public StepStore {
public:
    explicit RedoSteps(RedoStore& store) : store_(store) {}

    bool empty() const override { return redoEmpty(store_); }
    int32_t newest() const override { return store_.newestRecord; }
    JournalHeader header(int32_t position) const override { return readRedoHeader(store_, position); }
    const unsigned char* data(int32_t position) const override { return redoData(store_, position); }
    bool isOldest(int32_t position) const override { return readRedoHeader(store_, position).back < 0; }
    void dropNewest(int32_t back) override { dropNewestRedoRecord(store_, back); }
    int64_t room() const override { return RedoStore::kCapacity - int64_t(store_.area.size()); }
    void clear() override { clearRedo(store_); }
    void append(int32_t target, const void* data, int32_t size, int32_t listAction, bool stepStart) override
    {
        appendRedoRecord(store_, target, data, size, listAction, stepStart);
    }

private:
    RedoStore& store_;
};

} // namespace kelvara
