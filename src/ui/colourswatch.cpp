#include "ui/colourswatch.h"

#include <QPainter>

namespace kelvara {

namespace {

constexpr int kGap = 1;

} // namespace

ColourSwatchDelegate::ColourSwatchDelegate(std::function<int32_t(int32_t row)> colourOf, QObject* parent)
    : QStyledItemDelegate(parent), colourOf_(std::move(colourOf))
{
}

void ColourSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    // The line's own drawing (selection, text) moves right of the swatch.
    QStyleOptionViewItem textOption(option);
    textOption.rect.setLeft(option.rect.left() + kSwatchWidth + 2 * kGap);
    QStyledItemDelegate::paint(painter, textOption, index);

    const int32_t colour = colourOf_ ? colourOf_(index.data(Qt::UserRole).toInt()) : -1;
    const QColor fill =
        colour == -1 ? QColor(Qt::white) : QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    const QRect swatch(option.rect.left() + kGap, option.rect.top() + 1, kSwatchWidth,
                       option.rect.height() - 2);
    if (option.state & QStyle::State_Selected)
        painter->fillRect(
            QRect(option.rect.left(), option.rect.top(), kSwatchWidth + 2 * kGap, option.rect.height()),
            option.palette.highlight());
    painter->fillRect(swatch, fill);
    painter->setPen(QColor(96, 96, 96));
    painter->drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace kelvara
