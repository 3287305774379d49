#include "model/letteringedit.h"

#include "model/editing.h"
#include "model/kinds/kind.h"
#include "model/letteringpreview.h"
#include "model/newrecord.h"
#include "model/refresh.h"
#include "model/textstore.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "shell/platform.h"

#include <optional>

namespace kelvara {

namespace {

// The family a record without a font name is sewn in.
constexpr const char* kDefaultFamily = "DejaVu Sans";

// A font name longer than this is no family any system installs.
constexpr std::size_t kLongestFamily = 200;

int32_t storedOrNone(const std::string& text)
{
    return text.empty() ? 0 : storeText(text);
}

} // namespace

bool isLettering(const Workspace& ws, int32_t row)
{
    if (row < 0 || row >= ObjectTable::kRows)
        return false;
    const ObjectEntry& entry = ws.table.rows[row];
    return entry.kind == KindLetters && ws.records.isLive(entry.params) &&
           entry.paramsSize >= int32_t(sizeof(LettersParams));
}

LetteringChoice letteringChoice(const LettersParams& l)
{
    LetteringChoice choice;
    choice.text = std::string(storedText(l.TEXT));
    choice.font = l.FONT == 0 ? std::string(kDefaultFamily) : std::string(storedText(l.FONT));
    choice.bold = l.BOLD != 0;
    choice.italic = l.ITALIC != 0;
    choice.size = l.SIZE;
    choice.align = l.ALIGN;
    choice.spacing = l.SPACING;
    choice.arc = l.ARC;
    return choice;
}

bool takeLetteringChoice(LettersParams& letters, const LetteringChoice& choice)
{
    if (choice.text.empty() || choice.text.size() > kLongestStoredText || choice.font.size() > kLongestFamily)
        return false;
    ObjectParams candidate{};
    candidate.letters = letters;
    LettersParams& l = candidate.letters;
    l.TEXT = storedOrNone(choice.text);
    // The default family stays unnamed, so a record read without FONT and
    // edited elsewhere keeps its bytes.
    l.FONT = letters.FONT == 0 && choice.font == kDefaultFamily ? 0 : storedOrNone(choice.font);
    l.BOLD = choice.bold ? 1 : 0;
    l.ITALIC = choice.italic ? 1 : 0;
    l.SIZE = choice.size;
    l.ALIGN = choice.align;
    l.SPACING = choice.spacing;
    l.ARC = choice.arc;
    const KindRow* row = kindRow(KindLetters);
    if (l.TEXT == 0 || (row->accepts && !row->accepts(candidate)))
        return false;
    letters = l;
    return true;
}

int32_t placeLettering(Workspace& ws, const Platform& platform, int32_t x, int32_t y)
{
    if (platform.lettering == nullptr)
        return -1;
    ObjectParams fresh = newRecord(KindLetters, ws.settings, ws.table.currentColour);
    fresh.letters.X = x;
    fresh.letters.Y = y;
    std::optional<LetteringChoice> choice;
    {
        LetteringPreview preview(ws, platform, -1, fresh.letters);
        choice = platform.lettering->askLettering(letteringChoice(fresh.letters),
                                                  [&](const LetteringChoice& c) { preview.show(c); });
    }
    if (!choice || !takeLetteringChoice(fresh.letters, *choice))
        return -1;
    // createObject makes an object of the tool's kind.
    const int32_t tool = ws.tools.toolMode;
    ws.tools.toolMode = KindLetters;
    const int32_t row = createObject(ws, platform, [&](ObjectParams& params) {
        params.letters.X = x;
        params.letters.Y = y;
        takeLetteringChoice(params.letters, *choice);
    });
    ws.tools.toolMode = tool;
    return row;
}

bool editLettering(Workspace& ws, const Platform& platform, int32_t row)
{
    if (!isLettering(ws, row) || platform.lettering == nullptr)
        return false;
    const LetteringChoice before = letteringChoice(ws.records[ws.table.rows[row].params].letters);
    std::optional<LetteringChoice> choice;
    {
        LetteringPreview preview(ws, platform, row, {});
        choice = platform.lettering->askLettering(before, [&](const LetteringChoice& c) { preview.show(c); });
    }
    // The dialog ran the event loop: the row is looked at afresh.
    if (!choice || *choice == before || !isLettering(ws, row))
        return false;
    LettersParams changed = ws.records[ws.table.rows[row].params].letters;
    if (!takeLetteringChoice(changed, *choice))
        return false;
    UndoStep step(ws, platform);
    step.willSaveRecord(row);
    if (!step.open())
        return false;
    step.recordBytes(row);
    ws.records[ws.table.rows[row].params].letters = changed;
    markDesignChanged(ws);
    return true;
}

} // namespace kelvara
