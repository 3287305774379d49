#include "ui/colourswatch.h"

#include <QPainter>
#include <QPen>

namespace kelvara {

ColourSwatchDelegate::ColourSwatchDelegate(std::function<int32_t(int32_t row)> colourOf, QObject* parent)
    : QStyledItemDelegate(parent), colourOf_(std::move(colourOf))
{
}

void ColourSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    const int side = option.rect.height() - 2;
    if (square_) {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + side + 4);
        QStyledItemDelegate::paint(painter, shifted, index);
    } else {
        QStyledItemDelegate::paint(painter, option, index);
    }
    const int32_t colour = colourOf_ ? colourOf_(index.data(Qt::UserRole).toInt()) : -1;
    const QColor fill =
        colour == -1 ? QColor(Qt::white) : QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    // Framed, so that a white thread shows on the white list.
    const QRect swatch(option.rect.left() + (square_ ? 1 : 0), option.rect.top() + 1,
                       square_ ? side : kSwatchWidth, side);
    painter->fillRect(swatch, fill);
    painter->setPen(QColor(128, 128, 128));
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace kelvara
