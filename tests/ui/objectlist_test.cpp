#include "objectlist_support.h"

#include <QGuiApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace kelvara {
namespace {

// The widget alone, with a scripted object count and a record of drops.
class ObjectListDrag : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = std::make_unique<ObjectListWidget>();
        list->objectCount = [this] { return objects; };
        list->dropped = [this](int target) { drops.push_back(target); };
        list->dragStarted = [this](int source) {
            sources.push_back(source);
            cursorAtStart = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                              : Qt::ArrowCursor;
        };
        list->resize(160, 300);
        fill(5);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    }

    void fill(int lines)
    {
        list->resetContent();
        for (int i = 0; i < lines; ++i) {
            const int at = list->addString("line " + std::to_string(i));
            list->setItemData(at, 100 + i);
        }
        objects = lines;
    }

    QWidget* viewport() { return list->viewport(); }
    QPoint centre(int line) { return list->visualItemRect(list->item(line)).center(); }

    void press(int line, Qt::KeyboardModifiers mods = {})
    {
        QTest::mousePress(viewport(), Qt::LeftButton, mods, centre(line));
    }
    void moveTo(QPoint p) { QTest::mouseMove(viewport(), p); }
    void release(QPoint p) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, p); }
    void clickLine(int line, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(viewport(), Qt::LeftButton, mods, centre(line));
    }

    Qt::CursorShape overrideShape() const
    {
        const QCursor* c = QGuiApplication::overrideCursor();
        return c ? c->shape() : Qt::BitmapCursor;
    }

    std::unique_ptr<ObjectListWidget> list;
    int objects = 0;
    std::vector<int> drops;
    std::vector<int> sources;
    Qt::CursorShape cursorAtStart = Qt::ArrowCursor;
};

TEST_F(ObjectListDrag, ClicksSelectAsUsersExpect)
{
    clickLine(1);
    EXPECT_EQ(list->selectedPositions(), std::vector<int>{1});
    clickLine(3, Qt::ControlModifier);
    EXPECT_EQ(list->selectedPositions(), (std::vector<int>{1, 3}));
    clickLine(4, Qt::ShiftModifier);
    EXPECT_EQ(list->selectedPositions(), (std::vector<int>{1, 3, 4}));
    clickLine(0);
    EXPECT_EQ(list->selectedPositions(), std::vector<int>{0});

    // A plain click on one line of a selection keeps only that line, once
    // the release shows that no drag followed.
    list->setSelected(2, true);
    list->setSelected(4, true);
    press(2);
    EXPECT_EQ(list->selectedPositions(), (std::vector<int>{0, 2, 4}));
    release(centre(2));
    EXPECT_EQ(list->selectedPositions(), std::vector<int>{2});
    EXPECT_TRUE(drops.empty());
}

TEST_F(ObjectListDrag, DraggingASelectedLineKeepsTheSelectionAndDropsOnALine)
{
    list->setSelected(1, true);
    list->setSelected(2, true);
    press(2);
    moveTo(centre(2) + QPoint(0, 1)); // within the drag distance: still a click
    EXPECT_FALSE(list->isDragging());
    moveTo(centre(3));
    EXPECT_TRUE(list->isDragging());
    EXPECT_EQ(sources, std::vector<int>{2});
    EXPECT_EQ(cursorAtStart, Qt::DragMoveCursor);
    moveTo(centre(4));
    EXPECT_EQ(overrideShape(), Qt::DragMoveCursor);
    EXPECT_EQ(list->selectedPositions(), (std::vector<int>{1, 2}));
    release(centre(4));

    EXPECT_EQ(drops, std::vector<int>{4});
    EXPECT_FALSE(list->isDragging());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(list->selectedPositions(), (std::vector<int>{1, 2}));
    // The list does not reorder itself; that is the logic's job.
    EXPECT_EQ(list->text(1), "line 1");
    EXPECT_EQ(list->itemData(4), 104);
}

TEST_F(ObjectListDrag, PressOnAnUnselectedLineSelectsItAndDragsIt)
{
    list->setSelected(0, true);
    press(3);
    moveTo(centre(1));
    EXPECT_EQ(list->selectedPositions(), std::vector<int>{3});
    release(centre(1));
    EXPECT_EQ(drops, std::vector<int>{1});
}

TEST_F(ObjectListDrag, DropBelowTheLastLineAndOutside)
{
    const QPoint below(centre(0).x(), viewport()->height() - 5);
    ASSERT_FALSE(list->indexAt(below).isValid());
    press(0);
    moveTo(below);
    release(below);
    EXPECT_EQ(drops, std::vector<int>{5});

    press(1);
    moveTo(QPoint(-40, centre(1).y()));
    release(QPoint(-40, centre(1).y()));
    press(1);
    moveTo(QPoint(10, 10000));
    release(QPoint(10, 10000));
    EXPECT_EQ(drops, (std::vector<int>{5, -1, -1}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ObjectListDrag, OneObjectShowsTheStopCursor)
{
    fill(1);
    press(0);
    moveTo(centre(0) + QPoint(0, 40));
    EXPECT_TRUE(list->isDragging());
    EXPECT_EQ(overrideShape(), Qt::ForbiddenCursor);
    release(centre(0) + QPoint(0, 40));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ObjectListDrag, EscapeCancelsADrag)
{
    press(1);
    moveTo(centre(3));
    ASSERT_TRUE(list->isDragging());
    QTest::keyClick(list.get(), Qt::Key_Escape);
    EXPECT_FALSE(list->isDragging());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    release(centre(3));
    EXPECT_TRUE(drops.empty());
}

TEST_F(ObjectListDrag, PointerBelowTheListScrollsIt)
{
    fill(300);
    QCoreApplication::processEvents(); // the list lays itself out later
    list->scrollToTop();
    QScrollBar* bar = list->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    press(0);
    moveTo(centre(2));
    moveTo(QPoint(10, viewport()->height() + 20));
    QTest::qWait(400);
    const int scrolled = bar->value();
    EXPECT_GT(scrolled, 1);
    moveTo(QPoint(10, -20)); // above: back up
    QTest::qWait(200);
    EXPECT_LT(bar->value(), scrolled);
    const QPoint inside(10, 10);
    moveTo(inside);
    const int still = bar->value();
    QTest::qWait(200);
    EXPECT_EQ(bar->value(), still);
    release(inside);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], list->indexAt(inside).row());
}

TEST_F(ObjectListDrag, NewlySelectedAndKeyboardCurrentLinesComeIntoView)
{
    fill(300);
    QCoreApplication::processEvents();
    list->scrollToTop();
    auto visible = [this](int line) {
        return viewport()->rect().contains(list->visualItemRect(list->item(line)));
    };
    list->setSelected(-1, false);
    list->setSelected(250, true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(visible(250));
    EXPECT_EQ(list->currentRow(), 250);

    list->setFocus();
    QTest::keyClick(list.get(), Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_TRUE(visible(0));
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(list.get(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->currentRow(), 40);
    EXPECT_TRUE(visible(40));
}

// ---- The list box seam ----

TEST(ObjectListSeam, LinesTextsDataAndSelection)
{
    ObjectListWidget list;
    EXPECT_EQ(list.addString("a"), 0);
    EXPECT_EQ(list.addString(std::string("c\0junk", 6)), 1); // a line ends at its NUL
    list.insertString(1, "b\xE9");
    list.insertString(-1, "d");
    list.insertString(99, "e");
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.text(1), "b\xE9"); // 8-bit texts survive the round trip
    EXPECT_EQ(list.text(2), "c");
    EXPECT_EQ(list.text(4), "e");
    EXPECT_EQ(list.text(7), "");

    list.setItemData(2, 4095);
    EXPECT_EQ(list.itemData(2), 4095);
    EXPECT_EQ(list.itemData(0), -1); // never set
    EXPECT_EQ(list.itemData(-3), -1);
    list.setItemData(9, 1); // out of range: ignored

    list.setSelected(3, true);
    list.setSelected(0, true);
    list.setSelected(9, true);
    EXPECT_EQ(list.selectedPositions(), (std::vector<int>{0, 3}));
    list.setSelected(-1, true);
    EXPECT_EQ(list.selectedPositions().size(), 5u);
    list.setSelected(-1, false);
    EXPECT_TRUE(list.selectedPositions().empty());

    list.deleteString(0);
    list.deleteString(17);
    EXPECT_EQ(list.text(0), "b\xE9");
    list.setRedraw(false);
    EXPECT_FALSE(list.updatesEnabled());
    list.setRedraw(true);
    EXPECT_TRUE(list.updatesEnabled());
    list.resetContent();
    EXPECT_EQ(list.count(), 0);
}

} // namespace
} // namespace kelvara
