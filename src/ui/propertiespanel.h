#pragma once

#include "model/fieldedit.h"
#include "model/objecttable.h"
#include "ui/editor.h"

#include <QWidget>

#include <bitset>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace kelvara {

class TransformBox;

// The properties of the selected objects: a tool window beside the main
// window with every field they share, grouped and in its unit. Changed
// fields are applied to the whole selection at once; the logic is
// applyFieldValues, this window only shows and collects values.
class PropertiesPanel : public QWidget {
    Q_OBJECT
public:
    PropertiesPanel(Editor& editor, QWidget* parent);

    // Shows the panel for the selection, the focus on `field`'s editor.
    void openAt(PanelField field);
    // Brings the fields up to date when the selection or the design changed
    // since they were filled; costs a comparison otherwise.
    void follow();
    // Applies the changed fields; true when the design changed.
    bool apply();
    // Enter reaches the window procedure as a character and as a key
    // release: the fields are applied once per keystroke.
    void applyOnce(uint64_t inputSerial);

    // The editor widget of a shown field, or null.
    QWidget* fieldEditor(FieldMeaning meaning) const;
    QPushButton* applyButton() const { return applyButton_; }
    TransformBox* transformBox() const { return transform_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        FieldMeaning meaning;
        QWidget* editor;
        bool changed = false;
    };

    void rebuild();
    QWidget* makeEditor(const SharedField& field, QWidget* parent);
    void showValue(QWidget* editor, const SharedField& field);
    void markChanged(FieldMeaning meaning);
    std::vector<FieldValue> changedValues() const;

    Editor& editor_;
    std::bitset<ObjectTable::kRows> shownSelection_;
    uint64_t shownRevision_ = ~uint64_t{0};
    Editor::OncePerKeystroke appliedOnce_;
    bool filling_ = false;
    std::vector<Row> rows_;

    QLabel* heading_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* form_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    TransformBox* transform_ = nullptr;
};

} // namespace kelvara
