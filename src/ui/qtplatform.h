#pragma once

#include "shell/platform.h"
#include "shell/texts.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QFileDialog;

namespace kelvara {

// Latin-1 at the toolkit boundary: the editor's texts are 8-bit.
QString fromLatin1(const std::string& text);
std::string toLatin1(const QString& text);

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    bool askYesNo(const std::string& caption, const std::string& text) override;
    SaveAnswer askSaveChanges(const std::string& caption, const std::string& text) override;
    void showError(const std::string& caption, const std::string& text) override;
    void showInformation(const std::string& caption, const std::string& text) override;
    std::optional<int> chooseItem(const std::string& caption, const std::vector<std::string>& items,
                                  int current) override;
    int chooseOne(const std::string& caption, const std::string& text,
                  const std::vector<std::string>& items) override;

    // The box the calls show: its texts are UTF-8 and plain, never markup.
    static std::unique_ptr<QMessageBox> makeBox(QMessageBox::Icon icon, const std::string& caption,
                                                const std::string& text, QMessageBox::StandardButtons buttons,
                                                QWidget* owner);

private:
    QPointer<QWidget> owner_;
};

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* owner) : owner_(owner) {}
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    void fileUsed(const QString& path) override;
    // Sets the dialog up for the request, as the open and save dialogs are.
    static void prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save);
    // The folder of the file last chosen in a dialog that remembers it, kept
    // between runs; empty before the first.
    static QString lastFolder();
    static void rememberFolder(const QString& file);

private:
    std::optional<QString> run(const FileDialogRequest& request, bool save);
    QPointer<QWidget> owner_;
};

class QtColourDialog : public ColourDialog {
public:
    explicit QtColourDialog(QWidget* owner) : owner_(owner) {}
    std::optional<int32_t> chooseColour(int32_t initial) override;

private:
    QPointer<QWidget> owner_;
};

class QtWindowTitle : public WindowTitle {
public:
    explicit QtWindowTitle(QWidget* window) : window_(window) {}
    void setTitle(const QString& title) override;
    void setModified(bool modified) override;

private:
    void show();

    QPointer<QWidget> window_;
    QString base_ = QString::fromLatin1(kProgramTitle);
    bool modified_ = false;
};

class QtClipboard : public Clipboard {
public:
    void setObjectText(const std::string& text) override;
    std::string objectText() const override;
};

// A single-shot QTimer of the event loop that calls `expired` when it runs out.
class QtMessageTimer : public MessageTimer {
public:
    explicit QtMessageTimer(std::function<void()> expired);
    void start(int milliseconds) override { timer_.start(milliseconds); }
    bool active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

// Cursors 0..7 shown over the canvas; the two busy cursors (6, 7) show over
// the whole application until another cursor is set.
class QtCursor : public CursorControl {
public:
    explicit QtCursor(QWidget* canvas) : canvas_(canvas) {}
    ~QtCursor() override;
    void setCursor(int cursorNumber) override;
    int current() const { return current_; }

    static Qt::CursorShape shape(int cursorNumber);

private:
    QPointer<QWidget> canvas_;
    int current_ = 0;
    bool overriding_ = false;
};

} // namespace kelvara
