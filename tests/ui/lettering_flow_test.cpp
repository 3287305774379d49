// The text tool through the real window's messages: X and a click open the
// lettering dialog (scripted), OK places one object, E edits it, Ctrl+L
// converts it to the strokes and shapes it sews, and each is one undo step
// back to the same bytes; Cancel changes nothing, though the design showed
// the text as it was typed.

#include "model/letteringedit.h"
#include "model/selection.h"
#include "model/textstore.h"
#include "window_fixture.h"

#include <cstring>

namespace kelvara::testing {
namespace {

struct LetteringFlow : WindowFixture {
    void SetUp() override
    {
        start();
        files.answer(folder.write("design.kvp", "CIRCLE X=90 Y=110 RX=20 RY=20\r\n"));
        ctrl('O');
        ASSERT_EQ(ws.table.objectCount, 1);
    }

    void ctrl(uint32_t key)
    {
        holdCtrl();
        press(key);
        releaseCtrl();
    }
    // A plain letter as the keyboard sends it: press, character, release.
    void key(char upper) { press(uint32_t(upper), WindowId::Canvas, upper + 32); }
    int px(int x) const { return x * ws.view.zoom - ws.view.scrollX; }
    int py(int y) const { return y * ws.view.zoom - ws.view.scrollY; }

    std::vector<unsigned char> designBytes()
    {
        std::vector<unsigned char> out;
        const auto* rows = reinterpret_cast<const unsigned char*>(ws.table.rows.data());
        out.insert(out.end(), rows, rows + sizeof ws.table.rows);
        for (int32_t row : displayOrderRows(ws.table)) {
            const unsigned char* bytes = ws.records.bytes(ws.table.rows[row].params);
            out.insert(out.end(), bytes, bytes + ws.table.rows[row].paramsSize);
        }
        out.push_back(static_cast<unsigned char>(ws.table.currentObject));
        out.push_back(static_cast<unsigned char>(ws.table.objectCount));
        return out;
    }
    int32_t lastRow() const
    {
        int32_t last = -1;
        for (int32_t row : displayOrderRows(ws.table))
            last = row;
        return last;
    }
    const LettersParams& letters(int32_t row) { return ws.records[ws.table.rows[row].params].letters; }

    static LetteringChoice club()
    {
        LetteringChoice c;
        c.text = "FC Lípa\n1921";
        c.font = "DejaVu Serif";
        c.bold = true;
        c.size = 120;
        c.align = 1;
        c.spacing = -4;
        c.arc = 600;
        return c;
    }
};

TEST_F(LetteringFlow, AClickWithTheTextToolPlacesOneObjectAndCancelPlacesNone)
{
    const std::vector<unsigned char> opened = designBytes();
    key('X');
    EXPECT_EQ(ws.tools.toolMode, KindLetters);
    // Cancel, then an OK with no text: nothing is made, nothing journaled.
    click(px(200), py(150));
    lettering.answers.push_back(LetteringChoice{});
    click(px(200), py(150));
    ASSERT_EQ(lettering.offered.size(), 2u);
    EXPECT_EQ(lettering.offered[0].font, "DejaVu Sans");
    EXPECT_EQ(lettering.offered[0].size, 100);
    EXPECT_EQ(designBytes(), opened);

    lettering.answers.push_back(club());
    click(px(200), py(150));
    ASSERT_EQ(ws.table.objectCount, 2);
    const int32_t row = lastRow();
    ASSERT_TRUE(isLettering(ws, row));
    const LettersParams& l = letters(row);
    EXPECT_EQ(l.X, 200);
    EXPECT_EQ(l.Y, 150);
    EXPECT_EQ(storedText(l.TEXT), "FC Lípa\n1921");
    EXPECT_EQ(storedText(l.FONT), "DejaVu Serif");
    EXPECT_EQ(std::tuple(l.BOLD, l.ITALIC, l.SIZE, l.ALIGN, l.SPACING, l.ARC), std::tuple(1, 0, 120, 1, -4, 600));
    // The dialog opens again on what it made, unchanged.
    EXPECT_EQ(letteringChoice(l), club());

    ctrl('U');
    EXPECT_EQ(designBytes(), opened);
}

TEST_F(LetteringFlow, EditingByTheKeyIsOneStepOnceAKeystrokeAndUndoesToTheSameBytes)
{
    key('X');
    lettering.answers.push_back(club());
    click(px(200), py(150));
    const int32_t row = lastRow();
    ASSERT_EQ(ws.table.currentObject, row);
    const std::vector<unsigned char> placed = designBytes();

    // Cancel, then an answer equal to what was offered: no step either time.
    key('E');
    lettering.answers.push_back(club());
    key('E');
    ASSERT_EQ(lettering.offered.size(), 3u); // one dialog per keystroke
    EXPECT_EQ(lettering.offered[1], club());
    EXPECT_EQ(designBytes(), placed);

    LetteringChoice edited = club();
    edited.text = "Žofie";
    edited.font = "DejaVu Sans";
    edited.italic = true;
    edited.arc = -450;
    edited.align = 2;
    lettering.answers.push_back(edited);
    key('E');
    EXPECT_EQ(letteringChoice(letters(row)), edited);
    EXPECT_EQ(ws.table.objectCount, 2);

    ctrl('U');
    EXPECT_EQ(designBytes(), placed);
    ctrl('R');
    EXPECT_EQ(letteringChoice(letters(row)), edited);
}

TEST_F(LetteringFlow, TheDesignShowsTheTextAsItIsTypedAndCancelPutsBackTheSameBytes)
{
    const std::vector<unsigned char> opened = designBytes();
    key('X');
    LetteringChoice typing = club();
    std::vector<std::string> seen;
    std::vector<int32_t> counts;
    lettering.whileOpen = [&] {
        counts.push_back(ws.table.objectCount);
        const int32_t row = lastRow();
        seen.push_back(isLettering(ws, row) ? std::string(storedText(letters(row).TEXT)) : "");
    };
    typing.text = "";
    lettering.typed.push_back(typing); // an empty text shows nothing yet
    typing.text = "F";
    lettering.typed.push_back(typing);
    typing.text = "FC";
    lettering.typed.push_back(typing);
    click(px(200), py(150));
    EXPECT_EQ(seen, (std::vector<std::string>{"", "F", "FC"}));
    EXPECT_EQ(counts, (std::vector<int32_t>{1, 2, 2}));
    EXPECT_EQ(designBytes(), opened);
    EXPECT_EQ(ws.savedRevision, ws.refresh.designRevision); // nothing to save

    // Editing shows each change in the lettering's own row; OK is one step.
    lettering.answers.push_back(club());
    click(px(200), py(150));
    const int32_t row = lastRow();
    const std::vector<unsigned char> placed = designBytes();
    seen.clear();
    typing = club();
    typing.text = "Lípa";
    lettering.typed.push_back(typing);
    lettering.answers.push_back(typing);
    key('E');
    EXPECT_EQ(seen, std::vector<std::string>{"Lípa"});
    EXPECT_EQ(storedText(letters(row).TEXT), "Lípa");
    ctrl('U');
    EXPECT_EQ(designBytes(), placed);
}

TEST_F(LetteringFlow, ConvertToShapesGivesTheStrokesAndShapesItSewsInOneUndoStep)
{
    key('X');
    LetteringChoice plain = club();
    plain.text = "Hi 8";
    plain.font = "DejaVu Sans";
    plain.arc = 0;
    lettering.answers.push_back(plain);
    click(px(200), py(150));
    const int32_t row = lastRow();
    const std::vector<unsigned char> placed = designBytes();

    ctrl('L');
    const int32_t count = ws.table.objectCount;
    ASSERT_GT(count, 4); // the circle, and at least a column for each stroke of H
    EXPECT_TRUE(ws.table.rows[row].kind == KindStroke || ws.table.rows[row].kind == KindShape);
    int32_t strokes = 0, shapes = 0;
    for (int32_t r : displayOrderRows(ws.table)) {
        if (ws.table.rows[r].kind == KindCircle)
            continue;
        EXPECT_TRUE(isSelected(ws, r)) << r;
        EXPECT_EQ(ws.table.rows[r].group, ws.table.rows[row].group);
        strokes += ws.table.rows[r].kind == KindStroke;
        shapes += ws.table.rows[r].kind == KindShape;
    }
    EXPECT_EQ(strokes + shapes, count - 1);
    EXPECT_GE(strokes, 3);
    ctrl('U');
    EXPECT_EQ(designBytes(), placed);
    ctrl('R');
    EXPECT_EQ(ws.table.objectCount, count);
    ctrl('U');
    EXPECT_EQ(designBytes(), placed);
}

} // namespace
} // namespace kelvara::testing
