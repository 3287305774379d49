#pragma once

#include "model/editorstate.h"
#include "shell/platform.h"

#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kelvara::testing {

// A list box kept in memory, with the same position rules as the real one.
class FakeListBox : public ListBox {
public:
    struct Line {
        std::string text;
        int32_t data = 0;
        bool selected = false;
    };

    void resetContent() override { lines.clear(); }
    void initStorage(int, int) override { ++initStorageCalls; }
    int addString(const std::string& text) override;
    void insertString(int position, const std::string& text) override;
    void deleteString(int position) override;
    std::string text(int position) const override;
    void setItemData(int position, int32_t data) override;
    int32_t itemData(int position) const override;
    void setSelected(int position, bool selected) override;
    std::vector<int> selectedPositions() const override;
    int count() const override { return static_cast<int>(lines.size()); }
    void setRedraw(bool on) override { redrawOn = on; }

    std::vector<std::string> texts() const;
    std::vector<int32_t> data() const;

    std::vector<Line> lines;
    bool redrawOn = true;
    int initStorageCalls = 0;
};

// Records every box; answers questions from a script (Yes when empty).
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        bool question = false;
        std::string caption;
        std::string text;
    };
    bool askYesNo(const std::string& caption, const std::string& text) override;
    // The scripted answer; Discard when the script is empty. Kept as a question shown.
    SaveAnswer askSaveChanges(const std::string& caption, const std::string& text) override;
    std::deque<SaveAnswer> saveAnswers;
    void showError(const std::string& caption, const std::string& text) override;
    void showInformation(const std::string& caption, const std::string& text) override;
    // The scripted choice; cancel when the script is empty. The items offered are kept.
    std::optional<int> chooseItem(const std::string& caption, const std::vector<std::string>& items,
                                  int current) override;

    std::deque<bool> answers;
    std::deque<int> choices;
    std::vector<std::string> offered;
    int offeredCurrent = -1;
    // Picks the next of `choices` (-1 when none is left) and keeps the list.
    int chooseOne(const std::string& caption, const std::string& text,
                  const std::vector<std::string>& items) override;

    std::vector<std::string> listed;
    std::vector<Shown> shown;
};

// Answers dialogs from a script; an empty script means cancel.
class FakeFileDialogs : public FileDialogs {
public:
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;

    // Answers given as 8-bit text are UTF-8, as in the test sources.
    void answer(const std::string& path) { answers.push_back(QString::fromStdString(path)); }

    std::deque<std::optional<QString>> answers;
    std::vector<FileDialogRequest> requests;
    std::vector<bool> wasSave;
};

class FakeColourDialog : public ColourDialog {
public:
    std::optional<int32_t> chooseColour(int32_t initial) override
    {
        initials.push_back(initial);
        return answer;
    }
    std::optional<int32_t> answer;
    std::vector<int32_t> initials;
};

class FakeWindowTitle : public WindowTitle {
public:
    void setTitle(const QString& t) override { titles.push_back(t); }
    void setModified(bool m) override { modified = m; }
    bool modified = false;
    QString current() const { return titles.empty() ? QString() : titles.back(); }
    std::vector<QString> titles;
};

class FakeCursor : public CursorControl {
public:
    void setCursor(int n) override { history.push_back(n); }
    std::vector<int> history;
};

// Draws nothing. Model tests look at the marks an edit leaves in
// ws.refresh; given the view, the fake remembers the zoom its picture and
// its scroll bars were last brought to, which is what the user would see.
class FakeCanvas : public CanvasControl {
public:
    void renderCanvas() override { drawnZoom = view ? view->zoom : 0; }
    void invalidateCanvas() override {}
    void updateScrollBars() override { barsZoom = view ? view->zoom : 0; }
    const ViewState* view = nullptr;
    int32_t drawnZoom = 0;
    int32_t barsZoom = 0;
};

// One clipboard, which two workspaces may share as two editors share the
// system's.
class FakeClipboard : public Clipboard {
public:
    void setObjectText(const std::string& t) override { text = t; }
    std::string objectText() const override { return text; }
    std::string text;
};

// Answers the lettering dialog from a script; an empty script means Cancel.
// Before answering, it types each of `typed` as a preview and calls
// `whileOpen` after each.
class FakeLetteringDialog : public LetteringDialog {
public:
    std::optional<LetteringChoice> askLettering(const LetteringChoice& initial,
                                                const std::function<void(const LetteringChoice&)>& preview) override
    {
        offered.push_back(initial);
        for (const LetteringChoice& c : typed) {
            preview(c);
            if (whileOpen)
                whileOpen();
        }
        typed.clear();
        if (answers.empty())
            return std::nullopt;
        std::optional<LetteringChoice> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<LetteringChoice>> answers;
    std::vector<LetteringChoice> offered;
    std::vector<LetteringChoice> typed;
    std::function<void()> whileOpen;
};

// All fakes together, with a Platform pointing at them.
struct FakePlatform {
    FakeListBox list;
    FakeMessageBoxes boxes;
    FakeFileDialogs files;
    FakeColourDialog colours;
    FakeWindowTitle title;
    FakeCursor cursor;
    FakeCanvas canvas;
    FakeClipboard clipboard;
    FakeLetteringDialog lettering;

    Platform platform()
    {
        return Platform{&list, &boxes, &files, &colours, &title, &cursor, &canvas, &clipboard, nullptr, &lettering};
    }
};

} // namespace kelvara::testing

// Readable failure messages for paths and titles.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
