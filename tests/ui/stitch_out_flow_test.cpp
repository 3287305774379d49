// The stitch-out simulator in the window: A starts and leaves it, its keys
// move the needle, and nothing done while it runs changes the design.
#include "window_fixture.h"

#include "project/saveproject.h"
#include "stitch/sampledesign.h"

namespace kelvara {
namespace {

using namespace testing;

struct StitchOutFlow : WindowFixture {};

TEST_F(StitchOutFlow, PlayingAndEveryEditKeyLeaveTheDesignAsItWas)
{
    start();
    buildSampleDesign(ws);
    markDesignChanged(ws);
    const std::string before = projectFileText(ws);
    const uint64_t revision = ws.refresh.designRevision;
    Editor& editor = window->editor();

    press('A', WindowId::Canvas, 'a');
    ASSERT_TRUE(editor.stitchOut);
    EXPECT_TRUE(editor.stitchOut->playing());
    editor.stitchOut->advance(500);
    press(VkSpace);
    EXPECT_FALSE(editor.stitchOut->playing());
    const std::size_t at = editor.stitchOut->played();
    press(VkRight);
    EXPECT_EQ(editor.stitchOut->played(), at + 1);
    press(VkLeft);
    press(VkLeft);
    EXPECT_EQ(editor.stitchOut->played(), at - 1);

    // Keys that edit anywhere else: delete, trim, flip, undo, a tool's click.
    press(VkDelete, WindowId::Canvas, '.');
    press('T', WindowId::Canvas, 't');
    press('F', WindowId::Canvas, 'f');
    holdCtrl();
    press('Z');
    press('U');
    releaseCtrl();
    press('R', WindowId::Canvas, 'r');
    click(200, 200);
    click(300, 250);
    EXPECT_TRUE(editor.stitchOut);
    EXPECT_EQ(projectFileText(ws), before);
    EXPECT_EQ(ws.refresh.designRevision, revision);

    // Escape leaves; A starts again from the first stitch.
    press(VkEscape);
    EXPECT_FALSE(editor.stitchOut);
    press('A', WindowId::Canvas, 'a');
    ASSERT_TRUE(editor.stitchOut);
    EXPECT_EQ(editor.stitchOut->played(), 0u);
    press('A', WindowId::Canvas, 'a');
    EXPECT_FALSE(editor.stitchOut);
    EXPECT_EQ(projectFileText(ws), before);
}

} // namespace
} // namespace kelvara
