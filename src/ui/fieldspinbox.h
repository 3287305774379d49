#pragma once

#include "model/objectfields.h"

#include <QDoubleSpinBox>

namespace kelvara {

// A number field in its unit. It can show "mixed" (the selected objects
// differ) until the user changes it, and "off" for the value that turns an
// underlay off (or the range's own word for its special value, "centre" for
// a walk down the middle); stepping from it goes straight to the shortest length.
class FieldSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    FieldSpinBox(const FieldInfo& info, const FieldRange& range, QWidget* parent = nullptr);

    // Shows a stored value, or "mixed".
    void showStored(double value, bool mixed);
    bool isMixed() const { return mixed_; }
    // The shown value in stored units.
    double stored() const;

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& position) const override;
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool isOff(double shown) const;
    void leaveMixed();
    // "mixed" and "off" stand without the unit.
    void updateSuffix();

    double scale_;
    FieldRange range_;
    bool roundStored_;
    bool mixed_ = false;
    QString unit_;
    QString off_; // the word shown for the off value
};

} // namespace kelvara
