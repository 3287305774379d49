#include "ui/toolbar.h"

#include "model/records.h"
#include "shell/texts.h"
#include "ui/commands.h"
#include "ui/messages.h"

#include <QIcon>
#include <QPixmap>
#include <QToolButton>

namespace kelvara {

namespace {

constexpr int32_t kCtrl = 1;
constexpr int32_t kMaxTipLength = 254; // plus the zero character: 255

constexpr ToolbarItem gap{kGap, nullptr, 0, 0};

constexpr ToolbarItem kLayout[] = {
    {PictureNewDesign, [](Commands& c) { c.newDesign(); }, kCtrl, 'N'},
    {PictureOpen, [](Commands& c) { c.openProject(); }, kCtrl, 'O'},
    {PictureSave, [](Commands& c) { c.saveProject(); }, kCtrl, 'S'},
    {PictureExport, [](Commands& c) { c.exportStitches(); }, kCtrl, 'E'},
    gap,
    {PictureApply, [](Commands& c) { c.applyParameters(); }, 0, VkReturn},
    {PictureSelect, [](Commands& c) { c.selectTool(-1); }, 0, VkSpace},
    gap,
    {PictureDelete, [](Commands& c) { c.deleteCurrent(); }, 0, VkDelete},
    gap,
    {PictureCopy, [](Commands& c) { c.copy(); }, kCtrl, 'C'},
    {PicturePaste, [](Commands& c) { c.paste(); }, kCtrl, 'V'},
    gap,
    {PictureUndo, [](Commands& c) { c.undo(); }, kCtrl, 'U'},
    gap,
    {PictureRedo, [](Commands& c) { c.redo(); }, kCtrl, 'R'},
    gap,
    {PictureGroup, [](Commands& c) { c.group(); }, kCtrl, 'G'},
    {PictureUngroup, [](Commands& c) { c.ungroup(); }, kCtrl, 'H'},
    gap,
    {PictureFlip, [](Commands& c) { c.flip(); }, 0, 'F'},
    {PictureTrim, [](Commands& c) { c.toggleTrim(); }, 0, 'T'},
    {PictureColour, [](Commands& c) { c.chooseColour(); }, 0, 'C'},
    gap,
    {PictureToStart, [](Commands& c) { c.moveToStart(); }, 0, VkHome},
    {PictureToEnd, [](Commands& c) { c.moveToEnd(); }, 0, VkEnd},
    gap,
    {PictureCrossHair, [](Commands& c) { c.toggleCrossHair(); }, kCtrl, 'K'},
    {PictureGrid, [](Commands& c) { c.toggleGrid(); }, kCtrl, 'M'},
    {kNewRow, nullptr, 0, 0},
    {PictureCut, [](Commands& c) { c.cut(); }, kCtrl, 'X'},
    gap,
    {PictureRun, [](Commands& c) { c.selectTool(1); }, 0, 'R'},
    {PictureSteil, [](Commands& c) { c.selectTool(3); }, 0, 'O'},
    {PictureSaten, [](Commands& c) { c.selectTool(2); }, 0, 'S'},
    {PictureStar, [](Commands& c) { c.selectTool(5); }, 0, 'H'},
    {PictureCircle, [](Commands& c) { c.selectTool(6); }, 0, 'K'},
    {PictureRect, [](Commands& c) { c.selectTool(4); }, 0, 'V'},
    gap,
    {PictureStitchView, [](Commands& c) { c.toggleStitchView(); }, 0, 'P'},
    {PictureInsertPoint, [](Commands& c) { c.insertPoint(); }, 0, 'I'},
    gap,
    {PictureUnderlay, [](Commands& c) { c.editObject(PanelField::Underlay); }, 0, 'U'},
    {PictureTieOff, [](Commands& c) { c.editObject(PanelField::Ties); }, 0, 'T'},
    gap,
    // Ctrl+O belongs to Open, which comes first: the button alone runs it.
    {PictureOptimise, [](Commands& c) { c.optimiseOrder(); }, kCtrl, 'O'},
    {PicturePrint, [](Commands& c) { c.printWorksheet(); }, kCtrl, 'P'},
    {PictureJoin, [](Commands& c) { c.join(); }, kCtrl, 'J'},
    gap,
    {PictureDensity, [](Commands& c) { c.editObject(PanelField::Density); }, 0, 'D'},
    gap,
    {PictureFillPattern, [](Commands& c) { c.editObject(PanelField::Pattern); }, 0, 'F'},
    {PictureEditNodes, [](Commands& c) { c.editNodes(); }, 0, 'N'},
    {PictureEditObject, [](Commands& c) { c.editObject(); }, 0, 'E'},
    {PictureColumnWidth, [](Commands& c) { c.editObject(PanelField::Width); }, 0, 'W'},
    gap,
    {PictureStitchQuality, [](Commands& c) { c.showDesignInformation(); }, 0, 'Q'},
    gap,
    {PictureMotif, [](Commands& c) { c.editObject(PanelField::Motif); }, 0, 'M'},
    gap,
    {PictureStrokePen, [](Commands& c) { c.selectPen(KindStroke); }, 0, 'Y'},
    {PictureShapePen, [](Commands& c) { c.selectPen(KindShape); }, 0, 'G'},
    {PictureConvertToPath, [](Commands& c) { c.convertToPath(); }, kCtrl, 'L'},
    {PictureAddHole, [](Commands& c) { c.addHole(); }, kCtrl, 'D'},
    {PictureImport, [](Commands& c) { c.importFile(); }, kCtrl, 'I'},
    {PictureText, [](Commands& c) { c.selectTool(KindLetters); }, 0, 'X'},
};

// Every picture of buttons.bmp is on exactly one button, and a button shows
// no picture the file does not hold.
constexpr bool eachPictureOnOneButton()
{
    int uses[kButtonImageCount] = {};
    for (const ToolbarItem& item : kLayout) {
        if (item.image == kGap || item.image == kNewRow)
            continue;
        if (item.image < 0 || item.image >= kButtonImageCount)
            return false;
        uses[item.image] += 1;
    }
    for (const int count : uses)
        if (count != 1)
            return false;
    return true;
}
static_assert(eachPictureOnOneButton());

std::string shortTip(const std::string& line)
{
    return line.size() <= std::size_t(kMaxTipLength) ? line : line.substr(0, kMaxTipLength - 3) + "...";
}

// Whether the hotkey of `row` runs it: the hotkey runs the first row with a
// command for that key, so a row without one, or behind another row with
// the same key, must not name the key in its tooltip.
bool runsHotkey(const ButtonTable& table, int32_t row)
{
    const ButtonEntry& entry = table.rows[std::size_t(row)];
    if (!entry.handler)
        return false;
    for (int32_t r = 0; r < row; ++r) {
        const ButtonEntry& earlier = table.rows[std::size_t(r)];
        if (earlier.handler && earlier.keyCode == entry.keyCode && earlier.needsCtrl == entry.needsCtrl)
            return false;
    }
    return true;
}

} // namespace

std::span<const ToolbarItem> toolbarLayout()
{
    return kLayout;
}

std::string keyName(int32_t keyCode)
{
    switch (keyCode) {
    case VkReturn:
        return "ENTER";
    case VkSpace:
        return "SPACE";
    case VkEnd:
        return "END";
    case VkHome:
        return "HOME";
    case VkDelete:
        return "DEL";
    default:
        return std::string(1, static_cast<char>(keyCode));
    }
}

std::string buttonTipText(const std::string& line, int32_t needsCtrl, int32_t keyCode)
{
    const std::string hotkey = " (" + std::string(needsCtrl ? "CTRL+" : "") + keyName(keyCode) + ")";
    const std::size_t room = kMaxTipLength - hotkey.size();
    if (line.size() <= room)
        return line + hotkey;
    // Cut the description, not the hotkey; the ellipsis shows it was cut.
    return line.substr(0, room - 3) + "..." + hotkey;
}

void addButton(ButtonTable& table, QWidget* strip, const QImage& picture, const LineTable& info,
               int32_t image, std::function<void()> handler, int32_t needsCtrl, int32_t keyCode)
{
    if (image == kGap) {
        table.nextButtonX += 8;
        return;
    }
    if (image == kNewRow) {
        table.nextButtonX = 4;
        table.nextButtonY += 34;
        return;
    }
    if (table.buttonCount >= ButtonTable::kRows)
        return;

    const int32_t row = table.buttonCount;
    ButtonEntry& entry = table.rows[static_cast<std::size_t>(row)];
    entry.handler = std::move(handler);
    entry.image = picture.copy(kButtonImageSize * image, 0, kButtonImageSize, kButtonImageSize);
    entry.needsCtrl = needsCtrl;
    entry.keyCode = keyCode;
    entry.picture = image;
    entry.tipText = runsHotkey(table, row) ? buttonTipText(info.slot(image), needsCtrl, keyCode)
                                           : shortTip(info.slot(image));

    auto* button = new QToolButton(strip);
    button->setObjectName(QStringLiteral("button%1").arg(row));
    button->setGeometry(table.nextButtonX, table.nextButtonY, kButtonSize, kButtonSize);
    // Keys must keep reaching the main window and the canvas.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->setIconSize(QSize(kButtonImageSize, kButtonImageSize));
    button->setIcon(QIcon(QPixmap::fromImage(entry.image)));
    button->setToolTip(QString::fromLatin1(entry.tipText.data(), qsizetype(entry.tipText.size())));
    // A button without a command says so in its tooltip and cannot be pressed.
    button->setEnabled(static_cast<bool>(entry.handler));
    button->show();
    entry.buttonWindow = button;

    table.nextButtonX += 34;
    table.buttonCount += 1;
}

void buildToolbar(ButtonTable& table, QWidget* strip, const QImage& picture, LineTable& lines,
                  const std::string& programFolder, Commands& commands)
{
    readTextFile(lines, programFolder + kButtonInfoFileName);
    for (const ToolbarItem& item : toolbarLayout()) {
        std::function<void()> handler;
        if (item.command != nullptr)
            handler = [&commands, command = item.command] { command(commands); };
        addButton(table, strip, picture, lines, item.image, std::move(handler), item.needsCtrl, item.keyCode);
    }
}

} // namespace kelvara
