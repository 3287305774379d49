#include "project/clipboard.h"

#include "model/arrange.h"
#include "model/editing.h"
#include "model/objectplace.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/undostep.h"
#include "model/workspace.h"
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

void refuse(const Workspace& ws, const Platform& platform, const char* text)
{
    if (platform.boxes != nullptr)
        platform.boxes->showError(message(ws, kSlotErrorCaption), text);
}

void remember(PasteState& paste, const std::string& text, int32_t firstStep)
{
    paste.known = true;
    paste.textHash = std::hash<std::string>{}(text);
    paste.steps = firstStep;
}

// The object lines of `text`, at most `room` of them; nothing more is kept
// of a text that holds more, so `tooMany` is all that is known then.
std::vector<std::string> objectLines(Workspace& ws, const std::string& text, int32_t room, bool& tooMany)
{
    std::vector<std::string> lines;
    tooMany = false;
    forEachTextLine(text.data(), text.size(), 0, [&](std::string&& line) {
        std::string probe = line;
        parseLine(ws.tokens, probe);
        if (objectLineKind(ws.tokens) == KindFree)
            return true;
        if (int32_t(lines.size()) >= room) {
            tooMany = true;
            return false;
        }
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
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
        refuse(ws, platform, "The clipboard holds too much text to paste.");
        return 0;
    }
    bool tooMany = false;
    const std::vector<std::string> lines = objectLines(ws, text, kRows - table.objectCount, tooMany);
    if (tooMany) {
        refuse(ws, platform,
               "The objects on the clipboard do not fit into the design (4096 objects at most). "
               "Nothing was pasted.");
        return 0;
    }
    if (lines.empty()) {
        refuse(ws, platform, "Nothing to paste: the clipboard holds no objects.");
        return 0;
    }
    // The list, the anchor's and its successor's rows, the current object
    // and every row a pasted object takes.
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(2 + int(lines.size()));
    step.willSaveCurrentObject();
    if (!step.open())
        return 0;

    const std::size_t hash = std::hash<std::string>{}(text);
    if (!paste.known || paste.textHash != hash)
        remember(paste, text, 1);
    const double offset = double(paste.steps) * kPasteStep;
    paste.steps = paste.steps < INT32_MAX / kPasteStep ? paste.steps + 1 : paste.steps;

    // After the current object, else after the last one.
    const int32_t cur = table.currentObject;
    const bool currentUsed = cur >= 0 && cur < kRows && table.rows[cur].kind != KindFree;
    const int32_t anchor = currentUsed ? cur : lastInDisplayOrder(table);
    const int32_t successor = anchor >= 0 ? table.rows[anchor].next : -1;

    // Undo replays newest first: rows freed, links and current object back,
    // then the list rebuilt.
    step.listRefill();
    if (anchor >= 0)
        step.rowImage(anchor);
    if (successor >= 0)
        step.rowImage(successor);
    step.currentObject();

    std::unordered_map<int32_t, int32_t> groups;
    std::vector<int32_t> pasted;
    pasted.reserve(lines.size());
    int32_t previous = anchor;
    for (std::string line : lines) {
        const int32_t free = findFreeRow(table);
        if (free < 0)
            break;
        const std::string pathText(rawKeyValue(line, "PATH"));
        const std::string rawLine = line;
        parseLine(ws.tokens, line);
        step.rowImage(free);
        ObjectEntry& entry = table.rows[free];
        if (!parseObjectLine(ws.tokens, entry, ws.records, ws.settings, ws.libraries, pathText, rawLine))
            break;
        translateRecord(entry.kind, ws.records[entry.params], offset, offset);
        if (entry.group != 0) {
            auto [found, added] = groups.try_emplace(entry.group, 0);
            if (added)
                found->second = takeGroupNumber(ws);
            entry.group = found->second;
        }
        insertAfter(table, free, previous);
        previous = free;
        ++table.objectCount;
        pasted.push_back(free);
    }

    clearSelection(ws);
    for (int32_t row : pasted)
        setSelected(ws, row, true);
    if (!pasted.empty())
        table.currentObject = pasted.back();
    refillObjectList(ws, platform);
    showSelectionInList(ws, platform);
    markDesignChanged(ws);
    return int32_t(pasted.size());
}

} // namespace kelvara
