#include "ui/menubar.h"

#include "ui/buttonpicture.h"
#include "ui/buttontable.h"
#include "ui/commands.h"
#include "ui/keycommands.h"
#include "ui/recentfiles.h"

#include <QFileInfo>

#include <QMenu>
#include <QMenuBar>

#include <array>
#include <utility>

namespace kelvara {

namespace {

using enum MenuId;
constexpr int kMenuCount = int(Help) + 1;

constexpr std::array<const char*, kMenuCount> kMenuTitles = {"&File", "&Edit", "&View", "&Object", "&Tools",
                                                             "&Help"};

MenuId menuOf(int32_t picture)
{
    switch (picture) {
    case PictureNewDesign:
    case PictureOpen:
    case PictureSave:
    case PictureExport:
    case PicturePrint:
        return File;
    case PictureUndo:
    case PictureRedo:
    case PictureCut:
    case PictureCopy:
    case PicturePaste:
    case PictureDelete:
    case PictureApply:
        return Edit;
    case PictureStitchView:
    case PictureCrossHair:
    case PictureGrid:
    case PictureStitchQuality:
        return View;
    case PictureGroup:
    case PictureUngroup:
    case PictureFlip:
    case PictureTrim:
    case PictureColour:
    case PictureToStart:
    case PictureToEnd:
    case PictureJoin:
    case PictureOptimise:
    case PictureInsertPoint:
    case PictureEditNodes:
    case PictureEditObject:
    case PictureUnderlay:
    case PictureTieOff:
    case PictureDensity:
    case PictureFillPattern:
    case PictureColumnWidth:
    case PictureMotif:
        return Object;
    default:
        return Tools;
    }
}

// "Draw a star: click ... (S)" becomes "Draw a star: click ...\tS": the
// menu shows the key in its own column.
QString actionText(const std::string& tip)
{
    QString text = QString::fromLatin1(tip.data(), qsizetype(tip.size()));
    const qsizetype open = text.lastIndexOf(QStringLiteral(" ("));
    QString key;
    if (open >= 0 && text.endsWith(QLatin1Char(')'))) {
        key = text.mid(open + 2, text.size() - open - 3);
        text.truncate(open);
    }
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return key.isEmpty() ? text : text + QLatin1Char('\t') + key;
}

// The files last opened or saved, rebuilt each time the menu opens; a
// chosen one is opened through `runCommand`.
void fillRecentFiles(QMenu* menu, const RunCommand& runCommand)
{
    menu->clear();
    const QStringList files = recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(name));
        action->setToolTip(path);
        action->setStatusTip(path);
        QObject::connect(action, &QAction::triggered, menu,
                         [runCommand, path] { runCommand([path](Commands& c) { c.openRecentFile(path); }); });
    }
    if (files.isEmpty())
        menu->addAction(QStringLiteral("(none yet)"))->setEnabled(false);
}

} // namespace

void buildMenuBar(QMenuBar* bar, const ButtonTable& buttons, const Settings& settings,
                  const std::function<void(int)>& clickRow, const RunCommand& runCommand)
{
    std::array<QMenu*, kMenuCount> menus{};
    for (int m = 0; m < kMenuCount; ++m)
        menus[std::size_t(m)] = bar->addMenu(QString::fromLatin1(kMenuTitles[std::size_t(m)]));
    for (int32_t row = 0; row < buttons.buttonCount; ++row) {
        const ButtonEntry& entry = buttons.rows[std::size_t(row)];
        if (!entry.handler)
            continue;
        QAction* action = menus[std::size_t(menuOf(entry.picture))]->addAction(actionText(entry.tipText));
        action->setObjectName(QStringLiteral("menu%1").arg(row));
        QObject::connect(action, &QAction::triggered, bar, [clickRow, row] { clickRow(row); });
    }
    // The key-only commands follow each menu's buttons, set apart by a line.
    std::array<bool, kMenuCount> started{};
    for (const KeyOnlyCommand& command : keyOnlyCommands()) {
        if (!offered(command, settings))
            continue;
        QMenu* menu = menus[std::size_t(command.menu)];
        if (!std::exchange(started[std::size_t(command.menu)], true) && command.menu != Help &&
            !menu->actions().isEmpty())
            menu->addSeparator();
        QString text = QString::fromLatin1(command.text);
        if (*command.keys != '\0')
            text += QLatin1Char('\t') + QString::fromLatin1(command.keys);
        QAction* action = menu->addAction(text);
        QObject::connect(action, &QAction::triggered, bar, [runCommand, run = command.run] { runCommand(run); });
    }
    if (settings.QUICKSAVE != 0) {
        QMenu* file = menus[std::size_t(File)];
        QMenu* recent = new QMenu(QStringLiteral("&Recent files"), file);
        recent->setObjectName(QStringLiteral("recentFiles"));
        QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, runCommand] { fillRecentFiles(recent, runCommand); });
        fillRecentFiles(recent, runCommand);
        // Beside Open, where the eye looks for it.
        const QList<QAction*> actions = file->actions();
        file->insertMenu(actions.size() > 2 ? actions[2] : nullptr, recent);
    }
}

} // namespace kelvara
