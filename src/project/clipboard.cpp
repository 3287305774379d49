#include "project/clipboard.h"

#include "model/arrange.h"
#include "model/editing.h"
#include "model/objectplace.h"
#include "model/refresh.h"
#include "model/refusal.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "project/insertlines.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "shell/platform.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace kelvara {

namespace {

constexpr int32_t kRows = ObjectTable::kRows;

void remember(PasteState& paste, const std::string& text, int32_t firstStep)
{
    paste.known = true;
    paste.textHash = std::hash<std::string>{}(text);
    paste.steps = firstStep;
}

} // namespace

std::string selectionObjectLines(const Workspace& ws)
{
    std::string text;
    for (int32_t row : selectedRows(ws))
        if (appendObjectLine(text, ws.table.rows[static_cast<std::size_t>(row)], ws.records, ws.libraries))
            text += "\r\n";
    return text;
}

int32_t copySelection(Workspace& ws, const Platform& platform, PasteState& paste)
{
    const int32_t count = selectedCount(ws);
    if (count == 0 || platform.clipboard == nullptr)
        return 0;
    const std::string text = selectionObjectLines(ws);
    platform.clipboard->setObjectText(text);
    remember(paste, text, 1);
    return count;
}

int32_t cutSelection(Workspace& ws, const Platform& platform, PasteState& paste)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty() || platform.clipboard == nullptr)
        return 0;
    const std::string text = selectionObjectLines(ws);
    if (!deleteObjects(ws, platform, rows))
        return 0;
    platform.clipboard->setObjectText(text);
    remember(paste, text, 0);
    return int32_t(rows.size());
}

int32_t pasteObjects(Workspace& ws, const Platform& platform, PasteState& paste)
{
    if (platform.clipboard == nullptr)
        return 0;
    ObjectTable& table = ws.table;
    const std::string text = platform.clipboard->objectText();
    if (int64_t(text.size()) > kMaxProjectFileBytes) {
        showRefusal(ws, platform, Outcome(kSlotClipboardTooLong));
        return 0;
    }
    bool tooMany = false;
    const std::vector<std::string> lines = projectObjectLines(ws, text, kRows - table.objectCount, tooMany);
    if (tooMany) {
        showRefusal(ws, platform, Outcome(kSlotClipboardTooMany));
        return 0;
    }
    if (lines.empty()) {
        showRefusal(ws, platform, Outcome(kSlotClipboardEmpty));
        return 0;
    }
    if (!paste.known || paste.textHash != std::hash<std::string>{}(text))
        remember(paste, text, 1);
    const double offset = double(paste.steps) * kPasteStep;
    const int32_t pasted = insertObjectLines(ws, platform, lines, offset);
    if (pasted > 0)
        paste.steps = paste.steps < INT32_MAX / kPasteStep ? paste.steps + 1 : paste.steps;
    return pasted;
}

} // namespace kelvara
