#include "model/undostep.h"

#include "model/journal.h"
#include "model/refusal.h"
#include "model/stepstore.h"
#include "model/workspace.h"
#include "shell/platform.h"

namespace kelvara {

namespace {

constexpr int32_t kLineTextSize = 64; // a line's text travels NUL-padded

int64_t length(int32_t size)
{
    return UndoJournal::recordLength(size);
}

int32_t savedSize(const Workspace& ws, int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return 0;
    const int32_t size = ws.table.rows[row].paramsSize;
    return size >= 0 && size <= UndoJournal::kMaxData ? size : 0;
}

} // namespace

UndoStep::UndoStep(Workspace& ws, const Platform& platform) : ws_(ws), platform_(platform) {}

void UndoStep::willSaveRecord(int32_t row)
{
    measured_ += length(savedSize(ws_, row));
}

void UndoStep::willSaveRowImages(int count)
{
    measured_ += count * length(int32_t(sizeof(ObjectEntry)));
}

void UndoStep::willSaveCurrentObject()
{
    measured_ += length(int32_t(sizeof ws_.table.currentObject));
}

void UndoStep::willSaveListLine()
{
    measured_ += length(kLineTextSize);
}

void UndoStep::willChangeList()
{
    measured_ += length(0);
}

int64_t UndoStep::largestStep()
{
    return kJournalStepRoom;
}

bool UndoStep::open()
{
    open_ = measured_ <= largestStep();
    if (!open_)
        showRefusal(ws_, platform_, Outcome(kSlotStepTooLarge));
    return open_;
}

bool UndoStep::starts()
{
    const bool first = !started_;
    started_ = true;
    return first;
}

void UndoStep::recordBytes(int32_t row)
{
    // The journal saves nothing for a row without a usable record size, and
    // such a call must not take the step's start.
    if (row < 0 || row >= ObjectTable::kRows || savedSize(ws_, row) != ws_.table.rows[row].paramsSize)
        return;
    written_ += length(savedSize(ws_, row));
    journalRecordBytes(ws_, row, starts() ? JournalStep::Starts : JournalStep::Continues);
}

void UndoStep::rowImage(int32_t row)
{
    written_ += length(int32_t(sizeof(ObjectEntry)));
    journalRowImage(ws_, row, starts() ? JournalStep::Starts : JournalStep::Continues);
}

void UndoStep::currentObject()
{
    written_ += length(int32_t(sizeof ws_.table.currentObject));
    journalCurrentObject(ws_, starts() ? JournalStep::Starts : JournalStep::Continues);
}

void UndoStep::listDelete(int32_t line)
{
    written_ += length(0);
    journalListDelete(ws_, line, starts() ? JournalStep::Starts : JournalStep::Continues);
}

void UndoStep::listReinsert(int32_t line, std::string_view text)
{
    written_ += length(kLineTextSize);
    journalListReinsert(ws_, line, text, starts() ? JournalStep::Starts : JournalStep::Continues);
}

void UndoStep::listRefill()
{
    written_ += length(0);
    journalListRefill(ws_, starts() ? JournalStep::Starts : JournalStep::Continues);
}

} // namespace kelvara
