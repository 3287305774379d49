#pragma once

#include <QStyledItemDelegate>

#include <cstdint>
#include <functional>

namespace kelvara {

// Draws each object list line with a small swatch of its object's thread
// colour at its left edge, before the text. The colour is looked up while painting, so only
// the lines in view cost anything, and a recolour needs only a repaint.
class ColourSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // A strip in the margin before the text: the list is no wider than
    // its lines, so the text keeps its place.
    static constexpr int kSwatchWidth = 4;

    // `colourOf` gives the colour of a line's row (its item data) as
    // red | green << 8 | blue << 16, -1 for none (shown white).
    ColourSwatchDelegate(std::function<int32_t(int32_t row)> colourOf, QObject* parent = nullptr);

    // A square as tall as the line before the text, which moves right to
    // make room, instead of the strip in the margin (LISTWORDS).
    void setSquare(bool square) { square_ = square; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    std::function<int32_t(int32_t)> colourOf_;
    bool square_ = false;
};

} // namespace kelvara
