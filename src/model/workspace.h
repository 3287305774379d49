#pragma once

#include "model/backgroundpicture.h"
#include "model/editorstate.h"
#include "model/journalring.h"
#include "model/listtext.h"
#include "model/objecttable.h"
#include "model/redostore.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "shell/hoops.h"
#include "shell/libraries.h"
#include "shell/outcome.h"
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <array>
#include <string>

namespace kelvara {

// State of the object list's drag and drop.
struct DropState {
    int32_t dragSource = -1;
    int32_t dragTarget = -1;
    std::array<bool, ObjectTable::kRows> rowRecorded{};
};

// Every table of the editor, owned in one place: the app creates one, each
// test creates its own. Large; create it on the heap.
struct Workspace {
    std::string programFolder; // ends with the separator

    Settings settings;
    TokenTable tokens;
    LineTable lines; // holds the message table between operations
    Libraries libraries;
    HoopList hoops; // hoops.txt of the program folder

    ObjectTable table;
    RecordStore records;
    UndoJournal journal;
    RedoStore redo; // emptied by every new step and whenever the journal is reset
    ListNumbering numbering;
    DropState drop;
    Selection selection;

    ViewState view;
    ToolState tools;
    InputState input;
    int32_t cursorNumber = kArrowCursor; // shown over the canvas
    PendingRefresh refresh;

    BackgroundPicture picture;
    QString rememberedFileName; // as the file dialog gave it
    // A line the status bar adds to the state, such as what an export wrote,
    // shown until the design changes.
    struct StatusNote {
        std::string text;
        uint64_t revision = 0;
    } statusNote;
    // The design revision the project file holds (read or written last).
    uint64_t savedRevision = 0;
    // The project file as this editor last read or wrote it, so Save
    // notices another program's change made in between.
    struct FileStamp {
        QString path;
        int64_t modifiedMs = 0;
        int64_t size = -1;
        bool operator==(const FileStamp&) const = default;
    } fileStamp;
};

// Message text of a slot of the message table (the line table), built in
// where the message file has no line for it.
inline std::string message(const Workspace& ws, int slot)
{
    return messageText(ws.lines, Outcome(MessageSlot(slot)));
}

// The text that tells the user an outcome's message, its details in place.
inline std::string message(const Workspace& ws, const Outcome& outcome)
{
    return messageText(ws.lines, outcome);
}

// The hoop the HOOP setting names among the listed hoops; null for none.
inline const Hoop* chosenHoop(const Workspace& ws)
{
    return findHoop(ws.hoops, hoopSetting(ws.settings));
}

} // namespace kelvara
