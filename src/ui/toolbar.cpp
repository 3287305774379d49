#include "ui/toolbar.h"

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
    {0, [](Commands& c) { c.newDesign(); }, kCtrl, 'N'},
    {1, [](Commands& c) { c.openProject(); }, kCtrl, 'O'},
    {3, [](Commands& c) { c.saveProject(); }, kCtrl, 'S'},
    {5, [](Commands& c) { c.exportStitches(); }, kCtrl, 'E'},
    gap,
    {4, nullptr, 0, VkReturn},
    {6, [](Commands& c) { c.selectTool(-1); }, 0, VkSpace},
    gap,
    {2, [](Commands& c) { c.deleteCurrent(); }, 0, VkDelete},
    gap,
    {34, nullptr, kCtrl, 'C'},
    {35, nullptr, kCtrl, 'V'},
    gap,
    {32, [](Commands& c) { c.undo(); }, kCtrl, 'U'},
    gap,
    {33, nullptr, kCtrl, 'R'},
    gap,
    {27, nullptr, kCtrl, 'G'},
    {28, nullptr, kCtrl, 'H'},
    gap,
    {29, nullptr, 0, 'F'},
    {30, nullptr, 0, 'T'},
    {31, [](Commands& c) { c.chooseColour(); }, 0, 'C'},
    gap,
    {36, nullptr, 0, VkHome},
    {37, nullptr, 0, VkEnd},
    gap,
    {38, [](Commands& c) { c.toggleCrossHair(); }, kCtrl, 'K'},
    {39, [](Commands& c) { c.toggleGrid(); }, kCtrl, 'M'},
    {kNewRow, nullptr, 0, 0},
    {40, nullptr, kCtrl, 'X'},
    gap,
    {7, [](Commands& c) { c.selectTool(1); }, 0, 'R'},
    {8, [](Commands& c) { c.selectTool(3); }, 0, 'O'},
    {9, [](Commands& c) { c.selectTool(2); }, 0, 'S'},
    {10, [](Commands& c) { c.selectTool(5); }, 0, 'H'},
    {11, [](Commands& c) { c.selectTool(6); }, 0, 'K'},
    {12, [](Commands& c) { c.selectTool(4); }, 0, 'V'},
    gap,
    {13, [](Commands& c) { c.toggleStitchView(); }, 0, 'P'},
    {14, nullptr, 0, 'I'},
    gap,
    {15, nullptr, 0, 'U'},
    {16, nullptr, 0, 'T'},
    gap,
    {20, nullptr, kCtrl, 'O'},
    {18, nullptr, kCtrl, 'P'},
    {19, nullptr, kCtrl, 'J'},
    gap,
    {17, nullptr, 0, 'D'},
    gap,
    {21, nullptr, 0, 'F'},
    {22, nullptr, 0, 'N'},
    {23, nullptr, 0, 'E'},
    {24, nullptr, 0, 'W'},
    gap,
    {25, nullptr, 0, 'Q'},
    gap,
    {26, nullptr, 0, 'M'},
};

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
