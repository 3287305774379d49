#pragma once

#include "model/fieldedit.h"
#include "model/objecttable.h"
#include "ui/editor.h"

#include <QWidget>

#include <QSet>

#include <bitset>
#include <functional>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace kelvara {

class PlaceBox;
class TransformBox;

// The properties of the selected objects: a tool window beside the main
// window, or docked in it (DOCKPANEL), with every field they share, grouped
// and in its unit. Changed fields are applied to the whole selection at
// once; the logic is applyFieldValues, this window only shows and collects
// values. Docked, it also shows the selection's position and size in mm.
class PropertiesPanel : public QWidget {
    Q_OBJECT
public:
    PropertiesPanel(Editor& editor, QWidget* parent, bool docked = false);

    // Shows the panel for the selection, the focus on `field`'s editor.
    void openAt(PanelField field);
    // Brings the fields up to date when the selection or the design changed
    // since they were filled; costs a comparison otherwise.
    void follow();
    // Applies the changed fields; true when the design changed.
    bool apply();

    // The editor widget of a shown field, or null.
    QWidget* fieldEditor(FieldMeaning meaning) const;
    QPushButton* applyButton() const { return applyButton_; }
    // Called after every Apply: the button is pressed outside any message,
    // so the window's own refresh after a message does not follow it.
    std::function<void()> applied;
    TransformBox* transformBox() const { return transform_; }
    PlaceBox* placeBox() const { return place_; }
    QLabel* underlayWords() const { return underlay_; }

    // A key that is not the focused field's own goes on to the editor,
    // pressed or released, so hotkeys and Ctrl shortcuts work here too.
    std::function<void(const QKeyEvent& event, bool pressed)> keyPassed;
    // Escape in the docked panel: its edits are dropped and the focus
    // goes back to the canvas.
    std::function<void()> left;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The wheel over a field without the focus scrolls the panel instead
    // of changing the field; keys go on as keyPassed says.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        FieldMeaning meaning;
        QWidget* editor;
        bool changed = false;
    };

    void rebuild();
    // Every field, new ones included, under the wheel guard and key filter.
    void guardFields();
    QWidget* makeEditor(const SharedField& field, QWidget* parent);
    void showValue(QWidget* editor, const SharedField& field);
    void markChanged(FieldMeaning meaning);
    std::vector<FieldValue> changedValues() const;

    Editor& editor_;
    std::bitset<ObjectTable::kRows> shownSelection_;
    uint64_t shownRevision_ = ~uint64_t{0};
    bool filling_ = false;
    std::vector<Row> rows_;
    // Keys whose press the focused field kept: their release is its too,
    // whatever was let go before it (Ctrl of a Ctrl+A).
    QSet<int> keptKeys_;

    QLabel* heading_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* form_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    TransformBox* transform_ = nullptr;
    PlaceBox* place_ = nullptr;
    QLabel* underlay_ = nullptr;
    bool docked_ = false;
};

} // namespace kelvara
