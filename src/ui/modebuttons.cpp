#include "ui/modebuttons.h"

#include "model/workspace.h"
#include "ui/buttontable.h"
#include "ui/editor.h"

#include <QToolButton>

namespace kelvara {

namespace {

// The tool each tool button starts (the select arrow is -1).
constexpr struct {
    int32_t picture;
    int32_t tool;
} kToolButtons[] = {
    {PictureSelect, -1}, {PictureRun, 1},  {PictureSaten, 2},  {PictureSteil, 3},
    {PictureRect, 4},    {PictureStar, 5}, {PictureCircle, 6},
};

} // namespace

bool modeIsOn(const Editor& editor, int32_t picture)
{
    const Workspace& ws = editor.ws;
    switch (picture) {
    case PictureStitchView:
        return editor.stitchView;
    case PictureGrid:
        return ws.settings.MRIZ != 0;
    case PictureCrossHair:
        return ws.settings.CROSS != 0;
    default:
        break;
    }
    for (const auto& button : kToolButtons)
        if (button.picture == picture)
            return ws.tools.toolMode == button.tool;
    return false;
}

void showModes(const Editor& editor)
{
    if (editor.ws.settings.SHOWMODES == 0)
        return;
    const ButtonTable& buttons = editor.buttons;
    for (int32_t row = 0; row < buttons.buttonCount; ++row) {
        const ButtonEntry& entry = buttons.rows[std::size_t(row)];
        if (entry.buttonWindow == nullptr)
            continue;
        const bool on = modeIsOn(editor, entry.picture);
        if (!entry.buttonWindow->isCheckable() && !on)
            continue;
        entry.buttonWindow->setCheckable(true);
        if (entry.buttonWindow->isChecked() != on)
            entry.buttonWindow->setChecked(on);
    }
}

} // namespace kelvara
