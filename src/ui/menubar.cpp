#include "ui/menubar.h"

#include "ui/buttonpicture.h"
#include "ui/buttontable.h"
#include "ui/commands.h"

#include <QMenu>
#include <QMenuBar>

#include <array>

namespace kelvara {

namespace {

enum Menu { File, Edit, View, Object, Tools, Help, kMenuCount };

constexpr std::array<const char*, kMenuCount> kMenuTitles = {"&File", "&Edit", "&View", "&Object", "&Tools",
                                                             "&Help"};

Menu menuOf(int32_t picture)
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

struct KeyOnlyCommand {
    Menu menu;
    const char* text;
    void (*run)(Commands&);
};

constexpr KeyOnlyCommand kKeyOnly[] = {
    {File, "Save under another name\tCTRL+SHIFT+S", [](Commands& c) { c.saveProjectAs(); }},
    {File, "Quit\tCTRL+Q", [](Commands& c) { c.quit(); }},
    {View, "Thread or flat lines in the stitch view\tL", [](Commands& c) { c.toggleThreadView(); }},
    {View, "Choose the hoop\tB", [](Commands& c) { c.chooseHoop(); }},
    {View, "Stitch-out simulator\tA", [](Commands& c) { c.toggleStitchOut(); }},
    {Help, "Keys\tF1", [](Commands& c) { c.showHelp(); }},
    {Help, "About Kelvara Stitches", [](Commands& c) { c.showAbout(); }},
};

} // namespace

void buildMenuBar(QMenuBar* bar, const ButtonTable& buttons,
                  const std::function<void(int)>& clickRow,
                  const std::function<void(void (*)(Commands&))>& runCommand)
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
    for (const KeyOnlyCommand& command : kKeyOnly) {
        QMenu* menu = menus[std::size_t(command.menu)];
        if (command.menu != Help && menu->actions().size() > 0 && !menu->actions().back()->isSeparator())
            menu->addSeparator();
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        QObject::connect(action, &QAction::triggered, bar,
                         [runCommand, run = command.run] { runCommand(run); });
    }
}

} // namespace kelvara
