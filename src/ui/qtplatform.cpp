#include "ui/qtplatform.h"

#include "ui/recentfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>

namespace kelvara {

QString fromLatin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string toLatin1(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

namespace {

// Box texts carry file names (UTF-8) and are shown as they are: a name
// holding "<b>" is not markup.
QString boxText(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

std::unique_ptr<QMessageBox> QtMessageBoxes::makeBox(QMessageBox::Icon icon, const std::string& caption,
                                                     const std::string& text, QMessageBox::StandardButtons buttons,
                                                     QWidget* owner)
{
    auto box = std::make_unique<QMessageBox>(icon, boxText(caption), boxText(text), buttons, owner);
    box->setTextFormat(Qt::PlainText);
    return box;
}

bool QtMessageBoxes::askYesNo(const std::string& caption, const std::string& text)
{
    const auto box = makeBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner_);
    box->setDefaultButton(QMessageBox::Yes);
    return box->exec() == QMessageBox::Yes;
}

MessageBoxes::SaveAnswer QtMessageBoxes::askSaveChanges(const std::string& caption, const std::string& text)
{
    const auto box = makeBox(QMessageBox::Warning, caption, text,
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner_);
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    switch (box->exec()) {
    case QMessageBox::Save:
        return SaveAnswer::Save;
    case QMessageBox::Discard:
        return SaveAnswer::Discard;
    default:
        return SaveAnswer::Cancel;
    }
}

void QtMessageBoxes::showError(const std::string& caption, const std::string& text)
{
    makeBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner_)->exec();
}

void QtMessageBoxes::showInformation(const std::string& caption, const std::string& text)
{
    makeBox(QMessageBox::Information, caption, text, QMessageBox::Ok, owner_)->exec();
}

int QtMessageBoxes::chooseOne(const std::string& caption, const std::string& text,
                              const std::vector<std::string>& items)
{
    QStringList names;
    for (const std::string& item : items)
        names.push_back(boxText(item));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(owner_, boxText(caption), boxText(text), names, 0, false, &ok);
    return ok ? int(names.indexOf(chosen)) : -1;
}

std::optional<int> QtMessageBoxes::chooseItem(const std::string& caption, const std::vector<std::string>& items,
                                              int current)
{
    QStringList names;
    for (const std::string& item : items)
        names << QString::fromUtf8(item.data(), qsizetype(item.size()));
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(owner_, boxText(caption), QString(), names, std::max(0, current), false, &ok);
    if (!ok)
        return std::nullopt;
    const qsizetype index = names.indexOf(chosen);
    return index < 0 ? std::nullopt : std::optional<int>(int(index));
}

std::optional<QString> QtFileDialogs::openFile(const FileDialogRequest& request)
{
    return run(request, false);
}

std::optional<QString> QtFileDialogs::saveFile(const FileDialogRequest& request)
{
    return run(request, true);
}

void QtFileDialogs::prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save)
{
    dialog.setWindowTitle(fromLatin1(request.title));
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << fromLatin1(filter.description);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultSuffix.empty())
        dialog.setDefaultSuffix(fromLatin1(request.defaultSuffix));
    // A name typed without an extension takes the chosen filter's, so
    // "Brother (*.pes)" and "name" give name.pes, and the overwrite question
    // asks about that file.
    if (save && !request.defaultSuffix.empty()) {
        std::vector<std::pair<QString, QString>> suffixes;
        for (const FileFilter& filter : request.filters)
            if (filter.pattern.starts_with("*."))
                suffixes.push_back({fromLatin1(filter.description), fromLatin1(filter.pattern.substr(2))});
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffixes](const QString& chosen) {
                             for (const auto& [description, suffix] : suffixes)
                                 if (description == chosen)
                                     dialog.setDefaultSuffix(suffix);
                         });
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.startName.contains(QLatin1Char('/'))) {
        const QString folder = !request.startFolder.isEmpty() ? request.startFolder
                               : request.rememberFolder       ? lastFolder()
                                                              : QString();
        if (!folder.isEmpty())
            dialog.setDirectory(folder);
    }
    if (!request.startName.isEmpty())
        dialog.selectFile(request.startName);
}

void QtFileDialogs::fileUsed(const QString& path)
{
    addRecentFile(path);
}

QString QtFileDialogs::lastFolder()
{
    return rememberedPlaces()
        .value(QStringLiteral("files/lastFolder"))
        .toString();
}

void QtFileDialogs::rememberFolder(const QString& file)
{
    rememberedPlaces()
        .setValue(QStringLiteral("files/lastFolder"), QFileInfo(file).absolutePath());
}

std::optional<QString> QtFileDialogs::run(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(owner_);
    prepare(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (request.rememberFolder)
        rememberFolder(dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

std::optional<int32_t> QtColourDialog::chooseColour(int32_t initial)
{
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, owner_);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() | chosen.green() << 8 | chosen.blue() << 16;
}

void QtWindowTitle::setTitle(const QString& title)
{
    base_ = title;
    show();
}

void QtWindowTitle::setModified(bool modified)
{
    if (modified == modified_)
        return;
    modified_ = modified;
    show();
}

void QtWindowTitle::show()
{
    if (window_)
        window_->setWindowTitle(modified_ ? QStringLiteral("* ") + base_ : base_);
}

Qt::CursorShape QtCursor::shape(int cursorNumber)
{
    switch (cursorNumber) {
    case kCrossCursor:
        return Qt::CrossCursor;
    case kSizeAllCursor:
        return Qt::SizeAllCursor;
    case kForbiddenCursor:
        return Qt::ForbiddenCursor;
    case kUpArrowCursor:
        return Qt::UpArrowCursor;
    case kIBeamCursor:
        return Qt::IBeamCursor;
    case kHourglassCursor:
        return Qt::WaitCursor;
    case kWaitCursor:
        return Qt::BusyCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QtMessageTimer::QtMessageTimer(std::function<void()> expired)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, std::move(expired));
}

QtCursor::~QtCursor()
{
    if (overriding_)
        QApplication::restoreOverrideCursor();
}

void QtCursor::setCursor(int cursorNumber)
{
    if (cursorNumber == current_)
        return;
    current_ = cursorNumber;
    const Qt::CursorShape wanted = shape(cursorNumber);
    // The busy cursors show over every window, not only the canvas.
    if (cursorNumber == kHourglassCursor || cursorNumber == kWaitCursor) {
        if (overriding_) {
            QApplication::changeOverrideCursor(wanted);
        } else {
            QApplication::setOverrideCursor(wanted);
            overriding_ = true;
        }
        return;
    }
    if (overriding_) {
        QApplication::restoreOverrideCursor();
        overriding_ = false;
    }
    if (canvas_)
        canvas_->setCursor(wanted);
}

void QtClipboard::setObjectText(const std::string& text)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kObjectsMimeType), QByteArray(text.data(), qsizetype(text.size())));
    data->setText(fromLatin1(text));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::string QtClipboard::objectText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return {};
    const QString type = QString::fromLatin1(kObjectsMimeType);
    if (data->hasFormat(type)) {
        const QByteArray bytes = data->data(type);
        return std::string(bytes.constData(), size_t(bytes.size()));
    }
    return data->hasText() ? toLatin1(data->text()) : std::string();
}

} // namespace kelvara
