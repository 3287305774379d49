#include "ui/letteringdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>

namespace kelvara {

namespace {

// Millimetres in the box, design units (0.1 mm) in the record.
QDoubleSpinBox* millimetres(QWidget* parent, double low, double high, int32_t units)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(units / 10.0);
    return box;
}

int32_t units(const QDoubleSpinBox* box)
{
    return int32_t(std::lround(box->value() * 10));
}

} // namespace

std::optional<LetteringChoice> QtLetteringDialog::askLettering(const LetteringChoice& initial,
                                                               const std::function<void(const LetteringChoice&)>& preview)
{
    QDialog dialog(owner_);
    dialog.setWindowTitle(QStringLiteral("Lettering"));
    auto* form = new QFormLayout(&dialog);

    auto* text = new QPlainTextEdit(QString::fromStdString(initial.text), &dialog);
    text->setObjectName(QStringLiteral("letteringText"));
    text->setTabChangesFocus(true);
    text->setFixedHeight(text->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(QStringLiteral("&Text:"), text);

    auto* font = new QFontComboBox(&dialog);
    font->setCurrentFont(QFont(QString::fromStdString(initial.font)));
    form->addRow(QStringLiteral("&Font:"), font);

    auto* size = millimetres(&dialog, 0.5, 1000, initial.size);
    form->addRow(QStringLiteral("&Size (height of H):"), size);

    auto* styles = new QHBoxLayout;
    auto* bold = new QCheckBox(QStringLiteral("&Bold"), &dialog);
    bold->setChecked(initial.bold);
    auto* italic = new QCheckBox(QStringLiteral("&Italic"), &dialog);
    italic->setChecked(initial.italic);
    styles->addWidget(bold);
    styles->addWidget(italic);
    styles->addStretch();
    form->addRow(QString(), styles);

    auto* align = new QComboBox(&dialog);
    align->addItems({QStringLiteral("Starts at the click"), QStringLiteral("Centred on the click"),
                     QStringLiteral("Ends at the click")});
    align->setCurrentIndex(std::clamp(initial.align, 0, 2));
    form->addRow(QStringLiteral("&Alignment:"), align);

    auto* spacing = millimetres(&dialog, -1000, 1000, initial.spacing);
    form->addRow(QStringLiteral("Letter s&pacing:"), spacing);

    auto* arc = millimetres(&dialog, -100000, 100000, initial.arc);
    arc->setToolTip(QStringLiteral("0: straight; above 0: the top of a circle; below 0: its bottom"));
    form->addRow(QStringLiteral("A&rc radius:"), arc);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    const auto choice = [&] {
        LetteringChoice c;
        c.text = text->toPlainText().toStdString();
        c.font = font->currentFont().family().toStdString();
        c.bold = bold->isChecked();
        c.italic = italic->isChecked();
        c.size = units(size);
        c.align = align->currentIndex();
        c.spacing = units(spacing);
        // A radius under half a millimetre bends nothing a needle could show.
        c.arc = std::abs(arc->value()) < 0.5 ? 0 : units(arc);
        return c;
    };
    // Every change shows at once: the stitches follow the typing.
    const auto changed = [&] { preview(choice()); };
    QObject::connect(text, &QPlainTextEdit::textChanged, &dialog, changed);
    QObject::connect(font, &QFontComboBox::currentFontChanged, &dialog, changed);
    QObject::connect(bold, &QCheckBox::toggled, &dialog, changed);
    QObject::connect(italic, &QCheckBox::toggled, &dialog, changed);
    QObject::connect(align, &QComboBox::currentIndexChanged, &dialog, changed);
    for (QDoubleSpinBox* box : {size, spacing, arc})
        QObject::connect(box, &QDoubleSpinBox::valueChanged, &dialog, changed);

    text->setFocus();
    text->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return choice();
}

} // namespace kelvara
