#include "ui/placebox.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

namespace kelvara {

namespace {

constexpr double kAreaMm = kDesignArea / 10.0;

} // namespace

PlaceBox::PlaceBox(QWidget* parent) : QGroupBox(QStringLiteral("Position and size"), parent)
{
    setObjectName(QStringLiteral("place"));
    // Two fields a row keeps the panel's fields above in view.
    auto* grid = new QGridLayout(this);
    const std::array<const char*, 4> names{"X", "Y", "Width", "Height"};
    const std::array<const char*, 4> hints{
        "The left edge of the selection's box, from the design area's left edge",
        "The top edge of the selection's box, from the design area's top edge",
        "The selection's width; its left edge stays", "The selection's height; its top edge stays"};
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* field = new QDoubleSpinBox(this);
        field->setObjectName(QString::fromLatin1(names[i]));
        field->setDecimals(1);
        field->setRange(i < 2 ? 0 : 0.1, kAreaMm);
        field->setSuffix(QStringLiteral(" mm"));
        field->setToolTip(QString::fromLatin1(hints[i]));
        connect(field, &QDoubleSpinBox::valueChanged, this, [this, i] {
            if (!filling_)
                changed_[i] = true;
        });
        const int row = int(i) / 2, column = int(i) % 2 * 2;
        grid->addWidget(new QLabel(QString::fromLatin1(names[i]), this), row, column);
        grid->addWidget(field, row, column + 1);
        fields_[i] = field;
    }
}

void PlaceBox::showBox(const GeometryBox& box)
{
    filling_ = true;
    const std::array<double, 4> values{box.left, box.top, box.width(), box.height()};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setValue(box.empty() ? 0 : values[i] / 10);
    setEnabled(!box.empty());
    shown_ = box;
    changed_ = {};
    filling_ = false;
}

bool PlaceBox::pending() const
{
    return !shown_.empty() && (changed_[0] || changed_[1] || changed_[2] || changed_[3]);
}

GeometryBox PlaceBox::target() const
{
    const auto value = [&](Field f, double own) { return changed_[f] ? fields_[f]->value() * 10 : own; };
    GeometryBox box;
    box.left = value(Left, shown_.left);
    box.top = value(Top, shown_.top);
    box.right = box.left + value(Width, shown_.width());
    box.bottom = box.top + value(Height, shown_.height());
    return box;
}

} // namespace kelvara
