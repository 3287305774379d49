#include "model/letteringpreview.h"

#include "model/letteringedit.h"
#include "model/refresh.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <memory>

namespace kelvara {

LetteringPreview::LetteringPreview(Workspace& ws, const Platform& platform, int32_t row, const LettersParams& fresh)
    : ws_(ws), platform_(platform), row_(isLettering(ws, row) ? row : -1), base_(fresh), table_(ws.table),
      revision_(ws.refresh.designRevision)
{
    if (row_ >= 0)
        base_ = ws.records[ws.table.rows[row_].params].letters;
}

LetteringPreview::~LetteringPreview()
{
    if (!shown_)
        return;
    if (handle_ != 0) {
        ws_.records.release(handle_);
        ws_.table = table_;
    } else if (isLettering(ws_, row_)) {
        ws_.records[ws_.table.rows[row_].params].letters = base_;
    }
    // The design is as it was: as saved, when it was so before.
    const bool wasSaved = ws_.savedRevision == revision_;
    markDesignChanged(ws_);
    if (wasSaved)
        ws_.savedRevision = ws_.refresh.designRevision;
    refresh(ws_, platform_);
}

void LetteringPreview::show(const LetteringChoice& choice)
{
    LettersParams shown = base_;
    if (!takeLetteringChoice(shown, choice))
        return;
    if (row_ < 0 && handle_ == 0) {
        // New lettering goes last, where the object it will be is made.
        const int32_t r = findFreeRow(ws_.table);
        if (r < 0 || ws_.table.objectCount >= ObjectTable::kRows)
            return;
        handle_ = ws_.records.allocate(int32_t(sizeof(LettersParams)));
        if (handle_ == 0)
            return;
        ObjectEntry& entry = ws_.table.rows[r];
        entry.kind = KindLetters;
        entry.params = handle_;
        entry.paramsSize = int32_t(sizeof(LettersParams));
        insertAfter(ws_.table, r, -1);
        ++ws_.table.objectCount;
        row_ = r;
    }
    if (!isLettering(ws_, row_))
        return;
    ws_.records[ws_.table.rows[row_].params].letters = shown;
    shown_ = true;
    markDesignChanged(ws_);
    refresh(ws_, platform_);
}

} // namespace kelvara
