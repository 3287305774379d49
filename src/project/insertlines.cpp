#include "project/insertlines.h"

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
#include "shell/tokenizer.h"

#include <unordered_map>

namespace kelvara {

// The object lines of `text`, at most `room` of them; nothing more is kept
// of a text that holds more, so `tooMany` is all that is known then.
std::vector<std::string> projectObjectLines(Workspace& ws, const std::string& text, int32_t room, bool& tooMany)
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

int32_t insertObjectLines(Workspace& ws, const Platform& platform, const std::vector<std::string>& lines,
                          double offset)
{
    constexpr int32_t kRows = ObjectTable::kRows;
    // The list, the anchor's and its successor's rows, the current object
    // and every row an inserted object takes.
    UndoStep step(ws, platform);
    step.willChangeList();
    step.willSaveRowImages(2 + int(lines.size()));
    step.willSaveCurrentObject();
    if (!step.open())
        return 0;
    ObjectTable& table = ws.table;

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
        const std::string rawLine = line;
        parseLine(ws.tokens, line);
        step.rowImage(free);
        ObjectEntry& entry = table.rows[free];
        if (!parseObjectLine(ws.tokens, entry, ws.records, ws.settings, ws.libraries, rawLine))
            break;
        if (offset != 0)
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
