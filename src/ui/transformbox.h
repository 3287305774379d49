#pragma once

#include <QGroupBox>

#include <cstdint>

class QDoubleSpinBox;
class QSpinBox;

namespace kelvara {

// The properties panel's turn and resize of the selection: an angle in
// degrees (counter-clockwise) and sizes across and down in percent, applied
// with the panel's fields and then back at no change.
class TransformBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TransformBox(QWidget* parent);

    // Anything other than no turn at 100% both ways.
    bool pending() const;
    int32_t degrees() const;
    double scaleX() const; // 1 = unchanged
    double scaleY() const;
    void reset();

    QSpinBox* turnEditor() const { return turn_; }
    QDoubleSpinBox* acrossEditor() const { return across_; }
    QDoubleSpinBox* downEditor() const { return down_; }

private:
    QSpinBox* turn_ = nullptr;
    QDoubleSpinBox* across_ = nullptr;
    QDoubleSpinBox* down_ = nullptr;
};

} // namespace kelvara
