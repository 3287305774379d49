// Objects travel between two editors as project-file lines on one clipboard.

#include "model/objectplace.h"
#include "model/selection.h"
#include "project/clipboard.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "projectfixtures.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

TEST(Clipboard, CutInOneWorkspacePastesIntoAnotherWithEveryParameter)
{
    FakePlatform first, second;
    auto from = makeWorkspace(), to = makeWorkspace();
    setNames(from->libraries.motifs, {"LEAF"});
    setNames(to->libraries.motifs, {"ROSE", "LEAF"});
    const std::string design = "STEIL SDENS=7 SWIDTH=33 LINE=0 X1=10 Y1=20 X2=90 Y2=20 XC1=30 YC1=0 XC2=60 "
                               "YC2=0 MOTIVE=LEAF GROUP=4\r\n\r\n"
                               "STAR X=50 Y=60 RX=30 RY=20 STARTANGLE=10 GROUP=4\r\n\r\n"
                               "CIRCLE X=5 Y=6 RX=7 RY=8\r\n\r\n";
    loadProjectBytes(*from, first.platform(), "a.kvp", design);
    loadProjectBytes(*to, second.platform(), "b.kvp", "RUN X1=1 GROUP=1\r\n\r\n");
    const std::vector<int32_t> rows = displayOrder(from->table);
    setSelected(*from, rows[0], true);
    setSelected(*from, rows[1], true);

    PasteState fromPaste, toPaste;
    second.clipboard.text = "junk before\r\n";
    ASSERT_EQ(cutSelection(*from, first.platform(), fromPaste), 2);
    EXPECT_EQ(from->table.objectCount, 1);
    second.clipboard.text = first.clipboard.text;
    ASSERT_EQ(pasteObjects(*to, second.platform(), toPaste), 2);

    // The same objects 2 mm on, motif found by its name, the group renumbered.
    const std::vector<int32_t> pasted = displayOrder(to->table);
    ASSERT_EQ(pasted.size(), 3u);
    const SteilParams column = paramsOf(*to, pasted[1]).steil;
    EXPECT_EQ(column.SDENS, 7);
    EXPECT_EQ(column.SWIDTH, 33);
    EXPECT_EQ(+column.line.xc1, 50);
    EXPECT_EQ(+column.line.y2, 40);
    EXPECT_EQ(column.MOTIVE, 1);
    const StarParams star = paramsOf(*to, pasted[2]).star;
    EXPECT_EQ(star.X, 70);
    EXPECT_EQ(star.STARTANGLE, 10);
    EXPECT_EQ(to->table.rows[pasted[1]].group, 2);
    EXPECT_EQ(to->table.rows[pasted[2]].group, 2);
    EXPECT_EQ(to->table.groupCounter, 2);
    EXPECT_EQ(second.list.count(), 3);
    EXPECT_EQ(second.list.selectedPositions(), (std::vector<int>{1, 2}));

    // Moved back, they are what was cut, line for line, but for the group.
    std::string back;
    for (size_t i = 1; i < pasted.size(); ++i) {
        translateRecord(to->table.rows[pasted[i]].kind, paramsOf(*to, pasted[i]), -20, -20);
        back += formatObjectLine(to->table.rows[pasted[i]], to->records, to->libraries) + "\r\n";
    }
    std::string cut = first.clipboard.text;
    for (size_t at = cut.find("GROUP=4"); at != std::string::npos; at = cut.find("GROUP=4"))
        cut.replace(at, 7, "GROUP=2");
    EXPECT_EQ(back, cut);
}

// Pasted after an object in the middle, each link has its mirror: the
// object after the pasted ones points back at the last of them.
TEST(Clipboard, PasteIntoTheMiddleLinksBothWays)
{
    FakePlatform fake;
    auto ws = makeWorkspace();
    loadProjectBytes(*ws, fake.platform(), "a.kvp", "RUN X1=1\r\n\r\nRUN X1=2\r\n\r\nRUN X1=3\r\n\r\n");
    const std::vector<int32_t> before = displayOrder(ws->table);
    ws->table.currentObject = before[1];
    fake.clipboard.text = "STAR X=5 RX=3 RY=3\r\n\r\nCIRCLE X=6 RX=4 RY=4\r\n\r\n";
    PasteState paste;
    ASSERT_EQ(pasteObjects(*ws, fake.platform(), paste), 2);

    const std::vector<int32_t> order = displayOrder(ws->table);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[0], before[0]);
    EXPECT_EQ(order[1], before[1]);
    EXPECT_EQ(order[4], before[2]);
    EXPECT_EQ(ws->table.rows[order[0]].prev, -1);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_EQ(ws->table.rows[order[i]].prev, order[i - 1]) << "position " << i;
    EXPECT_EQ(ws->table.rows[order[4]].next, -1);
}

} // namespace
} // namespace kelvara::testing
