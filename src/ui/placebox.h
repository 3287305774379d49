#pragma once

#include "model/recordgeometry.h"

#include <QGroupBox>

#include <array>

class QDoubleSpinBox;

namespace kelvara {

// The properties panel's position and size of the selection in mm: the
// top-left corner of its box, its width and its height. They are applied
// with the panel's fields as one step of their own (placeSelection).
class PlaceBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PlaceBox(QWidget* parent);

    // Shows the selection's box (design units); empty shows blank fields.
    void showBox(const GeometryBox& box);
    // A field was changed since the box was shown.
    bool pending() const;
    // The box the fields ask for, in design units: a field left as shown
    // keeps the box's own value, not the shown one rounded to 0.1 mm.
    GeometryBox target() const;

    QDoubleSpinBox* field(int index) const { return fields_[std::size_t(index)]; }
    enum Field { Left, Top, Width, Height };

private:
    std::array<QDoubleSpinBox*, 4> fields_{};
    std::array<bool, 4> changed_{};
    GeometryBox shown_;
    bool filling_ = false;
};

} // namespace kelvara
