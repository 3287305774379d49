#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvara {

// The small interfaces through which the editing logic reaches the platform.
// The app implements them with Qt widgets; tests use scripted fakes. Paths
// travel as the platform's file names (QString) from the dialog to the file
// and the title, never as bytes in some guessed encoding.

// The object list box: lines of text, each with an integer (its row).
class ListBox {
public:
    virtual ~ListBox() = default;
    virtual void resetContent() = 0;
    virtual void initStorage(int items, int bytes) = 0;
    virtual int addString(const std::string& text) = 0; // returns the new position
    virtual void insertString(int position, const std::string& text) = 0;
    virtual void deleteString(int position) = 0;
    virtual std::string text(int position) const = 0;
    virtual void setItemData(int position, int32_t data) = 0;
    virtual int32_t itemData(int position) const = 0;
    virtual void setSelected(int position, bool selected) = 0; // position -1: every line
    virtual std::vector<int> selectedPositions() const = 0;    // ascending
    // Exactly the lines at `positions` (ascending) selected. A widget may
    // do it in one pass; this goes line by line.
    virtual void setSelection(const std::vector<int>& positions)
    {
        setSelected(-1, false);
        for (int position : positions)
            setSelected(position, true);
    }
    virtual int count() const = 0;
    virtual void setRedraw(bool on) = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Yes/No with the question icon; true for Yes.
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
    // OK with the error icon.
    virtual void showError(const std::string& caption, const std::string& text) = 0;
    // Save / Discard / Cancel about unsaved changes: the answer.
    enum class SaveAnswer { Save, Discard, Cancel };
    virtual SaveAnswer askSaveChanges(const std::string& caption, const std::string& text)
    {
        (void)caption, (void)text;
        return SaveAnswer::Cancel;
    }
    // One of `items` picked from a list; -1 when the user cancelled.
    virtual int chooseOne(const std::string& caption, const std::string& text, const std::vector<std::string>& items)
    {
        (void)caption, (void)text, (void)items;
        return -1;
    }
    // OK with the information icon; lines are separated by '\n'.
    virtual void showInformation(const std::string& caption, const std::string& text)
    {
        (void)caption, (void)text;
    }
    // One of `items`, `current` offered first; the chosen index, or nothing
    // when cancelled.
    virtual std::optional<int> chooseItem(const std::string& caption, const std::vector<std::string>& items,
                                          int current)
    {
        (void)caption, (void)items, (void)current;
        return std::nullopt;
    }
};

struct FileFilter {
    std::string description; // e.g. "Kelvara projekt (*.kvp)"
    std::string pattern;     // e.g. "*.kvp"
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultSuffix;     // without the dot; empty for none
    QString startName;             // initial file name
    bool mustExist = false;        // open dialogs
    bool confirmOverwrite = false; // save dialogs
    // The dialog starts in the folder last used (without a start name's own)
    // and remembers the folder of the file chosen.
    bool rememberFolder = false;
    // The folder the dialog starts in, before the one last used; empty for none.
    QString startFolder;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // A design file was opened or saved: the recent files take it first.
    virtual void fileUsed(const QString& path) { (void)path; }
};

class ColourDialog {
public:
    virtual ~ColourDialog() = default;
    // Colour as red | green << 8 | blue << 16, or nothing when cancelled.
    virtual std::optional<int32_t> chooseColour(int32_t initial) = 0;
};

class WindowTitle {
public:
    virtual ~WindowTitle() = default;
    virtual void setTitle(const QString& title) = 0;
    // Marks the title while the design has changes its file does not hold.
    virtual void setModified(bool modified) { (void)modified; }
};

// Cursor numbers. The canvas keeps one number, so the cursor a tool chose
// can be shown again whenever the pointer comes back.
inline constexpr int kArrowCursor = 0;
inline constexpr int kCrossCursor = 1;   // a drawing tool
inline constexpr int kSizeAllCursor = 2; // the select tool
inline constexpr int kForbiddenCursor = 3;
inline constexpr int kUpArrowCursor = 4;
inline constexpr int kIBeamCursor = 5;
inline constexpr int kHourglassCursor = 6;
inline constexpr int kWaitCursor = 7; // arrow with hourglass: reading, writing, exporting

class CursorControl {
public:
    virtual ~CursorControl() = default;
    virtual void setCursor(int cursorNumber) = 0;
};

class CanvasControl {
public:
    virtual ~CanvasControl() = default;
    virtual void renderCanvas() = 0;     // redraw the lower layer
    virtual void invalidateCanvas() = 0; // schedule a paint
    virtual void updateScrollBars() {}   // after a zoom change
    virtual void zoomToFit() {}          // the whole design and picture in view
    virtual void zoomToSelection() {}    // the selected objects in view
};

// The system clipboard, holding objects as project-file lines: under the
// editor's own type, so another editor takes them byte for byte, and as
// plain text, so a text editor shows them and may hand lines back.
inline constexpr const char* kObjectsMimeType = "application/x-kelvara-objects";

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setObjectText(const std::string& text) = 0;
    // The editor's own type when the clipboard holds it, else the plain
    // text (8-bit); empty when there is neither.
    virtual std::string objectText() const = 0;
};

// The message loop's one timer: once it has run out, the main window gets
// MsgTimer. Starting it while it runs starts it afresh.
class MessageTimer {
public:
    virtual ~MessageTimer() = default;
    virtual void start(int milliseconds) = 0;
    virtual bool active() const = 0;
};

// What the lettering dialog shows and gives back: the text and font name as
// UTF-8 (the text may hold line breaks), sizes in design units.
struct LetteringChoice {
    std::string text;
    std::string font;
    bool bold = false;
    bool italic = false;
    int32_t size = 100; // height of a capital H
    int32_t align = 0;  // 0 start, 1 middle, 2 end at the click
    int32_t spacing = 0;
    int32_t arc = 0; // radius; 0 for a straight baseline
    bool operator==(const LetteringChoice&) const = default;
};

class LetteringDialog {
public:
    virtual ~LetteringDialog() = default;
    // The user's lettering, starting from `initial`; nothing when cancelled.
    // `preview` is called with the lettering as it stands after each change
    // the user makes, so its stitches can follow the typing.
    virtual std::optional<LetteringChoice> askLettering(const LetteringChoice& initial,
                                                        const std::function<void(const LetteringChoice&)>& preview) = 0;
};

// Everything the logic may reach, handed to operations that need it.
struct Platform {
    ListBox* list = nullptr;
    MessageBoxes* boxes = nullptr;
    FileDialogs* files = nullptr;
    ColourDialog* colours = nullptr;
    WindowTitle* title = nullptr;
    CursorControl* cursor = nullptr;
    CanvasControl* canvas = nullptr;
    Clipboard* clipboard = nullptr;
    MessageTimer* timer = nullptr;
    LetteringDialog* lettering = nullptr;
};

} // namespace kelvara
