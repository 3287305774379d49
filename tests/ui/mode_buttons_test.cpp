// With SHOWMODES the buttons of the modes that are on show pressed, and only
// those; without it no button ever becomes a toggle.

#include "window_fixture.h"

#include <QToolButton>

#include <set>

namespace kelvara::testing {
namespace {

struct ModeButtons : WindowFixture {
    QToolButton* button(int32_t picture)
    {
        const ButtonTable& buttons = window->editor().buttons;
        for (int row = 0; row < buttons.buttonCount; ++row)
            if (buttons.rows[std::size_t(row)].picture == picture)
                return buttons.rows[std::size_t(row)].buttonWindow;
        return nullptr;
    }
    // The pictures whose buttons show pressed.
    std::set<int32_t> pressed()
    {
        std::set<int32_t> on;
        const ButtonTable& buttons = window->editor().buttons;
        for (int row = 0; row < buttons.buttonCount; ++row)
            if (buttons.rows[std::size_t(row)].buttonWindow->isChecked())
                on.insert(buttons.rows[std::size_t(row)].picture);
        return on;
    }
    void ctrlKey(uint32_t key)
    {
        holdCtrl();
        press(key);
        releaseCtrl();
    }
};

TEST_F(ModeButtons, OnlyTheModesThatAreOnShowPressed)
{
    start("SHOWMODES=1\n");
    resizeClient(827, 568);
    press('S', WindowId::Canvas, 's');
    EXPECT_EQ(pressed(), std::set<int32_t>{PictureSaten});
    // A click on the pressed button of another mode moves the mark there;
    // a second click on the select arrow leaves it pressed.
    button(PictureSelect)->click();
    button(PictureSelect)->click();
    EXPECT_EQ(pressed(), std::set<int32_t>{PictureSelect});
    ctrlKey('M');
    ctrlKey('K');
    press('P', WindowId::Canvas, 'p');
    EXPECT_EQ(pressed(), (std::set<int32_t>{PictureSelect, PictureStitchView, PictureCrossHair, PictureGrid}));
    ctrlKey('M');
    button(PictureCircle)->click();
    EXPECT_EQ(pressed(), (std::set<int32_t>{PictureCircle, PictureStitchView, PictureCrossHair}));
}

TEST_F(ModeButtons, WithoutTheKeyNoButtonIsAToggle)
{
    start();
    press('S', WindowId::Canvas, 's');
    ctrlKey('M');
    const ButtonTable& buttons = window->editor().buttons;
    for (int row = 0; row < buttons.buttonCount; ++row)
        EXPECT_FALSE(buttons.rows[std::size_t(row)].buttonWindow->isCheckable()) << row;
}

} // namespace
} // namespace kelvara::testing
