#pragma once

// The real object list wired to the editing logic the way the main window
// wires it, plus the check that the list mirrors the display order.

#include "drawingtools_driver.h"
#include "model/editing.h"
#include "ui/objectlistwidget.h"

#include <QTest>

#include <gtest/gtest.h>

namespace kelvara::testing {

// A tool driver whose list is the real widget.
struct ListFlow : ToolDriver {
    ObjectListWidget* list;

    ListFlow()
    {
        list = new ObjectListWidget;
        platform.list = list;
        list->objectCount = [this] { return ws.table.objectCount; };
        list->dragStarted = [this](int source) { ws.drop.dragSource = source; };
        list->dropped = [this](int target) { dropObjects(ws, platform, target); };
        list->resize(160, 400);
        list->show();
    }
    ~ListFlow() { delete list; }
    ListFlow(const ListFlow&) = delete;
    ListFlow& operator=(const ListFlow&) = delete;

    QWidget* viewport() const { return list->viewport(); }

    QPoint lineCentre(int line) const { return list->visualItemRect(list->item(line)).center(); }

    // A drag with the left button from line `from` to a viewport point.
    void drag(int from, QPoint to, Qt::KeyboardModifiers pressModifiers = {})
    {
        const QPoint start = lineCentre(from);
        QTest::mousePress(viewport(), Qt::LeftButton, pressModifiers, start);
        QTest::mouseMove(viewport(), start + QPoint(0, 2));
        QTest::mouseMove(viewport(), (start + to) / 2);
        QTest::mouseMove(viewport(), to);
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, to);
    }

    void dragToLine(int from, int to) { drag(from, lineCentre(to)); }

    void selectOnly(std::initializer_list<int> lines)
    {
        list->setSelected(-1, false);
        for (int line : lines)
            list->setSelected(line, true);
    }

    // Line i shows the i-th object of the display order with its row.
    void expectListMirrorsOrder() const
    {
        const std::vector<int32_t> order = displayOrder();
        ASSERT_EQ(list->count(), static_cast<int>(order.size()));
        for (int i = 0; i < list->count(); ++i)
            EXPECT_EQ(list->itemData(i), order[i]) << "line " << i;
    }

    // The texts a refill writes, built from the display order.
    std::vector<std::string> expectedTexts() const
    {
        ListNumbering numbering;
        restartListNumbering(numbering);
        std::vector<std::string> texts;
        for (int32_t row : displayOrder()) {
            std::string line = buildListLine(numbering, ws.table, ws.records, row);
            texts.push_back(line.c_str());
        }
        return texts;
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->text(i));
        return out;
    }
};

} // namespace kelvara::testing
