#include "ui/transformbox.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

namespace kelvara {

namespace {

QDoubleSpinBox* percentBox(QWidget* parent, const QString& hint)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(1, 10000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(100);
    box->setToolTip(hint);
    return box;
}

} // namespace

TransformBox::TransformBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Turn and resize the selection"), parent)
{
    setObjectName(QStringLiteral("transform"));
    auto* form = new QFormLayout(this);
    turn_ = new QSpinBox(this);
    turn_->setRange(-360, 360);
    turn_->setSuffix(QStringLiteral(" °"));
    turn_->setToolTip(
        QStringLiteral("Turns the selection about its middle, counter-clockwise; angles turn with it"));
    across_ =
        percentBox(this, QStringLiteral("Resizes the selection across; stitch length and density stay"));
    down_ = percentBox(this, QStringLiteral("Resizes the selection down; stitch length and density stay"));
    form->addRow(QStringLiteral("Turn"), turn_);
    form->addRow(QStringLiteral("Across"), across_);
    form->addRow(QStringLiteral("Down"), down_);
}

bool TransformBox::pending() const
{
    return degrees() != 0 || across_->value() != 100 || down_->value() != 100;
}

int32_t TransformBox::degrees() const
{
    return turn_->value();
}

double TransformBox::scaleX() const
{
    return across_->value() / 100;
}

double TransformBox::scaleY() const
{
    return down_->value() / 100;
}

void TransformBox::reset()
{
    turn_->setValue(0);
    across_->setValue(100);
    down_->setValue(100);
}

} // namespace kelvara
