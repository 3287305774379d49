#include "ui/fieldspinbox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <cmath>

namespace kelvara {

namespace {

const QString kMixed = QStringLiteral("mixed");

} // namespace

FieldSpinBox::FieldSpinBox(const FieldInfo& info, const FieldRange& range, QWidget* parent)
    : QDoubleSpinBox(parent), scale_(info.scale), range_(range),
      // Only the pattern scales are stored as fractions; everything else,
      // edge points included, holds whole units.
      roundStored_(info.decimals == 0 || info.scale < 1)
{
    setDecimals(info.decimals);
    setRange((range.hasOff ? range.off : range.low) * scale_, range.high * scale_);
    setSingleStep(range.oddOnly ? 2 : info.decimals == 2 && info.scale == 1 ? 0.25 : scale_);
    off_ = QString::fromUtf8(range.offWord.data(), qsizetype(range.offWord.size()));
    if (!info.unit.empty())
        unit_ = QLatin1Char(' ') + QString::fromUtf8(info.unit.data(), qsizetype(info.unit.size()));
    setSuffix(unit_);
    setAccelerated(true);
    setKeyboardTracking(false);
    connect(this, &QDoubleSpinBox::valueChanged, this, [this] { updateSuffix(); });
}

void FieldSpinBox::updateSuffix()
{
    const QString suffix = mixed_ || isOff(value()) ? QString() : unit_;
    if (suffix != this->suffix())
        setSuffix(suffix);
}

void FieldSpinBox::showStored(double value, bool mixed)
{
    mixed_ = mixed;
    setValue(value * scale_);
    // The text follows the flag even when the value did not move.
    updateSuffix();
    lineEdit()->setText(textFromValue(this->value()) + suffix());
}

double FieldSpinBox::stored() const
{
    const double v = value() / scale_;
    return roundStored_ ? std::round(v) : v;
}

bool FieldSpinBox::isOff(double shown) const
{
    return range_.hasOff && std::abs(shown - range_.off * scale_) < 0.5 * std::pow(10.0, -decimals());
}

QString FieldSpinBox::textFromValue(double value) const
{
    if (mixed_)
        return kMixed;
    if (isOff(value))
        return off_;
    return QDoubleSpinBox::textFromValue(value);
}

double FieldSpinBox::valueFromText(const QString& text) const
{
    if (range_.hasOff && text.trimmed() == off_)
        return range_.off * scale_;
    return QDoubleSpinBox::valueFromText(text);
}

QValidator::State FieldSpinBox::validate(QString& text, int& position) const
{
    const QString t = text.trimmed();
    if ((mixed_ && t == kMixed) || (range_.hasOff && t == off_))
        return QValidator::Acceptable;
    if (range_.hasOff && !t.isEmpty() && off_.startsWith(t))
        return QValidator::Intermediate;
    return QDoubleSpinBox::validate(text, position);
}

void FieldSpinBox::leaveMixed()
{
    if (!mixed_)
        return;
    mixed_ = false;
    updateSuffix();
    lineEdit()->setText(textFromValue(value()) + suffix());
    lineEdit()->selectAll();
}

void FieldSpinBox::stepBy(int steps)
{
    leaveMixed();
    // Between "off" and the shortest length lie only values that are refused.
    if (range_.hasOff && isOff(value()) && steps > 0) {
        setValue(range_.low * scale_);
        return;
    }
    if (range_.hasOff && steps < 0 && value() - singleStep() * -steps < range_.low * scale_ - 1e-9) {
        setValue(range_.off * scale_);
        return;
    }
    QDoubleSpinBox::stepBy(steps);
}

void FieldSpinBox::keyPressEvent(QKeyEvent* event)
{
    if (mixed_ && !event->text().isEmpty() && event->text().at(0).isPrint())
        leaveMixed();
    QDoubleSpinBox::keyPressEvent(event);
}

} // namespace kelvara
