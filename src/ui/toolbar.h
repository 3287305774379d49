#pragma once

#include "ui/buttontable.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

class QWidget;

namespace kelvara {

struct LineTable;
class Commands;

// One entry of the toolbar layout: a button, or a gap (image -1) or a new
// row (image -2) before the next one.
struct ToolbarItem {
    int32_t image;
    void (*command)(Commands&); // nullptr: the button has no command
    int32_t needsCtrl;
    int32_t keyCode;
};

inline constexpr int32_t kGap = -1;
inline constexpr int32_t kNewRow = -2;

// The 41 buttons with their gaps, in the order they are added.
std::span<const ToolbarItem> toolbarLayout();

// "ENTER", "SPACE", "END", "HOME", "DEL", or the character itself.
std::string keyName(int32_t keyCode);

// The information line followed by " (", "CTRL+" when needed, the key name
// and ")". At most 254 characters: a long line is shortened so that the
// hotkey part always shows.
std::string buttonTipText(const std::string& line, int32_t needsCtrl, int32_t keyCode);

// Adds one row and its 32 x 32 button on `strip` (gap and new-row calls only
// move the position). The picture is the 30 x 30 square at (30 * image, 0).
// The tooltip names the hotkey only when pressing it runs this button; a
// button without a handler is shown disabled.
void addButton(ButtonTable& table, QWidget* strip, const QImage& picture, const LineTable& info,
               int32_t image, std::function<void()> handler, int32_t needsCtrl, int32_t keyCode);

// Reads programFolder + stehyinfo.txt into `lines` and adds every button of
// toolbarLayout(), each handler calling into `commands`.
void buildToolbar(ButtonTable& table, QWidget* strip, const QImage& picture, LineTable& lines,
                  const std::string& programFolder, Commands& commands);

} // namespace kelvara
