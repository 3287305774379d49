#include "ui/propertiespanel.h"

#include "model/kinds/kind.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/transformselection.h"
#include "model/workspace.h"
#include "ui/fieldspinbox.h"
#include "ui/panelkeys.h"
#include "ui/placebox.h"
#include "ui/transformbox.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvara {

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The field a toolbar button opens the panel at.
FieldMeaning meaningOf(PanelField field)
{
    switch (field) {
    case PanelField::Density:
        return FieldMeaning::Density;
    case PanelField::Pattern:
        return FieldMeaning::Pattern;
    case PanelField::Width:
        return FieldMeaning::StartWidth;
    case PanelField::Underlay:
        return FieldMeaning::Underlay;
    case PanelField::Ties:
        return FieldMeaning::TieIn;
    case PanelField::Motif:
        return FieldMeaning::Motif;
    case PanelField::Any:
        break;
    }
    return FieldMeaning::Count;
}

template <typename Library> void addEntries(QComboBox& box, const Library& library)
{
    for (int i = 0; i < library.count && i < Library::kEntries; ++i)
        box.addItem(QString::fromLatin1(library.names[std::size_t(i)]), i);
}

void showColour(QPushButton& button, double value, bool mixed)
{
    button.setProperty("colour", value);
    if (mixed) {
        button.setText(QStringLiteral("mixed"));
        button.setStyleSheet({});
        return;
    }
    const auto c = static_cast<uint32_t>(int64_t(value));
    const QColor colour(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    button.setText(colour.name());
    button.setStyleSheet(QStringLiteral("background-color: %1; color: %2")
                             .arg(colour.name(), colour.lightness() > 128 ? "black" : "white"));
}

// The first line: how many objects of which kinds the fields belong to.
QString headingFor(const Workspace& ws, const std::vector<int32_t>& rows)
{
    if (rows.empty())
        return QStringLiteral("No object selected");
    QStringList kinds;
    for (const KindRow* kind : kindRows()) {
        if (kind == nullptr)
            continue;
        const auto n = std::count_if(rows.begin(), rows.end(),
                                     [&](int32_t row) { return ws.table.rows[row].kind == kind->kind; });
        if (n > 0)
            kinds << QStringLiteral("%1 %2").arg(n).arg(text(kind->name));
    }
    return (rows.size() == 1 ? QStringLiteral("1 object: ")
                             : QStringLiteral("%1 objects: ").arg(rows.size())) +
           kinds.join(QStringLiteral(", "));
}

} // namespace

PropertiesPanel::PropertiesPanel(Editor& editor, QWidget* parent, bool docked)
    : QWidget(parent, docked ? Qt::Widget : Qt::Tool), editor_(editor), docked_(docked)
{
    setObjectName(QStringLiteral("properties"));
    setWindowTitle(QStringLiteral("Properties"));
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    layout->addWidget(heading_);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    if (docked)
        scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(scroll_, 1);
    if (docked_) {
        place_ = new PlaceBox(this);
        layout->addWidget(place_);
    }
    transform_ = new TransformBox(this);
    layout->addWidget(transform_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    applyButton_ = new QPushButton(QStringLiteral("Apply"), this);
    applyButton_->setToolTip(QStringLiteral("Apply the changed fields to every selected object (Enter)"));
    buttons->addWidget(applyButton_);
    layout->addLayout(buttons);
    connect(applyButton_, &QPushButton::clicked, this, [this] { apply(); });
    guardFields();
    if (!docked_)
        resize(380, 560);
}

void PropertiesPanel::guardFields()
{
    for (QWidget* field : findChildren<QWidget*>()) {
        // The wheel alone never gives a field the focus.
        if (qobject_cast<QAbstractSpinBox*>(field) != nullptr || qobject_cast<QComboBox*>(field) != nullptr)
            field->setFocusPolicy(Qt::StrongFocus);
        field->installEventFilter(this); // installed once however often it is asked
    }
}

bool PropertiesPanel::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Wheel:
        if (field != nullptr && !field->hasFocus() &&
            (qobject_cast<QAbstractSpinBox*>(field) != nullptr || qobject_cast<QComboBox*>(field) != nullptr)) {
            QCoreApplication::sendEvent(scroll_->verticalScrollBar(), event);
            return true;
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // A spin box hands its keys on to its own line edit: only the
        // focused field's event is looked at, once.
        if (docked_ && field != nullptr && field == QApplication::focusWidget() && keyPassed) {
            const auto& key = *static_cast<QKeyEvent*>(event);
            const bool press = event->type() == QEvent::KeyPress;
            bool kept = isFieldKey(key, field);
            if (press && kept) {
                keptKeys_.insert(key.key());
            } else if (press) {
                keptKeys_.remove(key.key());
            } else if (keptKeys_.contains(key.key())) {
                kept = true;
                if (!key.isAutoRepeat())
                    keptKeys_.remove(key.key());
            }
            if (!kept) {
                keyPassed(key, press);
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void PropertiesPanel::openAt(PanelField field)
{
    if (!isVisible() || docked_) {
        // Beside the main window, on its right, the first time it opens;
        // over the canvas's right side when the screen has no room there.
        if (QWidget* main = parentWidget(); main != nullptr && pos().isNull() && !docked_) {
            const QRect frame = main->frameGeometry();
            QPoint at = frame.topRight() + QPoint(8, 0);
            const QRect screen = main->screen()->availableGeometry();
            if (at.x() + width() > screen.right())
                at = QPoint(std::max(screen.left(), frame.right() - 200 - width()), frame.top() + 80);
            move(at);
        }
        show();
        // Edits left when the panel was closed are not applied later.
        rebuild();
    }
    if (!docked_) {
        raise();
        activateWindow();
    }
    follow();
    const FieldMeaning meaning = meaningOf(field);
    QWidget* target = fieldEditor(meaning);
    // A field the selection lacks opens the panel at its group, if shown.
    for (const Row& row : rows_)
        if (target == nullptr && meaning != FieldMeaning::Count &&
            fieldInfo(row.meaning).group == fieldInfo(meaning).group)
            target = row.editor;
    if (target == nullptr && !rows_.empty())
        target = rows_.front().editor;
    if (target != nullptr) {
        scroll_->ensureWidgetVisible(target);
        target->setFocus(Qt::OtherFocusReason);
    }
}

void PropertiesPanel::follow()
{
    const Workspace& ws = editor_.ws;
    if (!isVisible() || (ws.selection.rows == shownSelection_ && ws.refresh.designRevision == shownRevision_))
        return;
    rebuild();
}

void PropertiesPanel::rebuild()
{
    const Workspace& ws = editor_.ws;
    shownSelection_ = ws.selection.rows;
    shownRevision_ = ws.refresh.designRevision;
    const std::vector<int32_t> rows = selectedRows(ws);
    heading_->setText(headingFor(ws, rows));
    if (place_ != nullptr)
        place_->showBox(selectionBounds(ws, rows));
    const std::string underlay = underlayInWords(ws, rows);

    filling_ = true;
    const std::vector<SharedField> shared = sharedFields(ws, rows);
    // The same fields as shown (an edit of the same selection, a node
    // dragged): only the values change, which keeps following the design cheap.
    const bool sameFields =
        shared.size() == rows_.size() &&
        std::equal(shared.begin(), shared.end(), rows_.begin(),
                   [](const SharedField& s, const Row& r) { return s.meaning == r.meaning; });
    if (sameFields && form_ != nullptr) {
        for (std::size_t i = 0; i < shared.size(); ++i) {
            showValue(rows_[i].editor, shared[i]);
            rows_[i].changed = false;
        }
        if (underlay_ != nullptr)
            underlay_->setText(text(underlay));
        applyButton_->setEnabled(!rows.empty());
        transform_->setEnabled(!rows.empty());
        filling_ = false;
        return;
    }

    // Otherwise a new form replaces the old one whole.
    rows_.clear();
    form_ = new QWidget;
    auto* column = new QVBoxLayout(form_);
    std::array<QFormLayout*, kFieldGroups> groups{};
    std::array<QGroupBox*, kFieldGroups> boxes{};
    for (int g = 0; g < kFieldGroups; ++g) {
        bool any = false;
        for (const SharedField& s : shared)
            any = any || int(fieldInfo(s.meaning).group) == g;
        if (!any)
            continue;
        boxes[std::size_t(g)] = new QGroupBox(text(groupName(FieldGroup(g))), form_);
        groups[std::size_t(g)] = new QFormLayout(boxes[std::size_t(g)]);
        column->addWidget(boxes[std::size_t(g)]);
    }
    for (const SharedField& s : shared) {
        const FieldInfo& info = fieldInfo(s.meaning);
        QFormLayout* group = groups[std::size_t(info.group)];
        QWidget* editor = makeEditor(s, group->parentWidget());
        showValue(editor, s);
        editor->setToolTip(text(info.hint));
        group->addRow(text(info.name), editor);
        rows_.push_back({s.meaning, editor});
    }
    // The underlay's fields read as lengths; this line says what they sew.
    underlay_ = nullptr;
    if (QFormLayout* group = groups[std::size_t(FieldGroup::Underlay)]; group != nullptr && !underlay.empty()) {
        underlay_ = new QLabel(text(underlay), group->parentWidget());
        underlay_->setObjectName(QStringLiteral("underlayWords"));
        underlay_->setWordWrap(true);
        group->insertRow(0, QStringLiteral("Underlay"), underlay_);
    }
    column->addStretch(1);
    scroll_->setWidget(form_); // deletes the old form
    guardFields();
    applyButton_->setEnabled(!rows.empty());
    transform_->setEnabled(!rows.empty());
    filling_ = false;
}

QWidget* PropertiesPanel::makeEditor(const SharedField& field, QWidget* parent)
{
    const Workspace& ws = editor_.ws;
    const FieldInfo& info = fieldInfo(field.meaning);
    const FieldMeaning meaning = field.meaning;
    switch (info.kind) {
    case ValueKind::Number: {
        auto* spin = new FieldSpinBox(info, fieldRange(meaning, ws.settings, ws.libraries), parent);
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, meaning] { markChanged(meaning); });
        return spin;
    }
    case ValueKind::Flag: {
        auto* box = new QCheckBox(parent);
        box->setTristate(field.mixed);
        box->setCheckState(field.mixed        ? Qt::PartiallyChecked
                           : field.value != 0 ? Qt::Checked
                                              : Qt::Unchecked);
        connect(box, &QCheckBox::clicked, this, [this, box, meaning] {
            box->setTristate(false);
            markChanged(meaning);
        });
        return box;
    }
    case ValueKind::Side:
    case ValueKind::Choice:
    case ValueKind::Library: {
        auto* box = new QComboBox(parent);
        if (info.kind == ValueKind::Side) {
            box->addItem(QStringLiteral("Edge A"), 1);
            box->addItem(QStringLiteral("Edge B"), 2);
        } else if (info.kind == ValueKind::Choice) {
            for (std::size_t i = 0; i < info.choices.size(); ++i)
                box->addItem(text(info.choices[i]), int(i));
        } else {
            box->addItem(QStringLiteral("None"), -1);
            if (info.library == LibraryKind::Motif)
                addEntries(*box, ws.libraries.motifs);
            else if (info.library == LibraryKind::Pattern)
                addEntries(*box, ws.libraries.patterns);
            else
                addEntries(*box, ws.libraries.tieOffs);
        }
        connect(box, &QComboBox::activated, this, [this, meaning] { markChanged(meaning); });
        return box;
    }
    case ValueKind::Colour: {
        auto* button = new QPushButton(parent);
        connect(button, &QPushButton::clicked, this, [this, button, meaning] {
            ColourDialog* dialog = editor_.platform.colours;
            const auto initial = static_cast<int32_t>(button->property("colour").toDouble());
            if (dialog == nullptr)
                return;
            if (const auto chosen = dialog->chooseColour(initial)) {
                showColour(*button, *chosen & 0xFFFFFF, false);
                markChanged(meaning);
            }
        });
        return button;
    }
    }
    return new QWidget(parent);
}

void PropertiesPanel::showValue(QWidget* editor, const SharedField& field)
{
    if (auto* spin = qobject_cast<FieldSpinBox*>(editor)) {
        spin->showStored(field.value, field.mixed);
    } else if (auto* box = qobject_cast<QCheckBox*>(editor)) {
        box->setTristate(field.mixed);
        box->setCheckState(field.mixed        ? Qt::PartiallyChecked
                           : field.value != 0 ? Qt::Checked
                                              : Qt::Unchecked);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setPlaceholderText(field.mixed ? QStringLiteral("mixed") : QStringLiteral("(not loaded)"));
        combo->setCurrentIndex(field.mixed ? -1 : combo->findData(int(field.value)));
    } else if (auto* button = qobject_cast<QPushButton*>(editor)) {
        showColour(*button, field.value, field.mixed);
    }
}

void PropertiesPanel::markChanged(FieldMeaning meaning)
{
    if (filling_)
        return;
    for (Row& row : rows_)
        if (row.meaning == meaning)
            row.changed = true;
}

std::vector<FieldValue> PropertiesPanel::changedValues() const
{
    std::vector<FieldValue> values;
    for (const Row& row : rows_) {
        if (!row.changed)
            continue;
        double value = 0;
        if (auto* spin = qobject_cast<FieldSpinBox*>(row.editor)) {
            if (spin->isMixed())
                continue;
            value = spin->stored();
        } else if (auto* box = qobject_cast<QCheckBox*>(row.editor)) {
            if (box->checkState() == Qt::PartiallyChecked)
                continue;
            value = box->isChecked() ? 1 : 0;
        } else if (auto* combo = qobject_cast<QComboBox*>(row.editor)) {
            if (combo->currentIndex() < 0)
                continue;
            value = combo->currentData().toInt();
        } else {
            value = row.editor->property("colour").toDouble();
        }
        values.push_back({row.meaning, value});
    }
    return values;
}

bool PropertiesPanel::apply()
{
    // A number being typed counts as entered when Apply is pressed.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(focusWidget()))
        spin->interpretText();
    const std::vector<FieldValue> values = changedValues();
    const bool placing = place_ != nullptr && place_->pending();
    if (values.empty() && !transform_->pending() && !placing)
        return false;
    Workspace& ws = editor_.ws;
    bool changed = false;
    if (!values.empty()) {
        const ApplyResult result = applyFieldValues(ws, editor_.platform, values);
        if (result == ApplyResult::Refused)
            return false; // the edits stay, for the user to correct
        changed = result == ApplyResult::Applied;
    }
    // The turn and resize is a step of its own, after the fields.
    if (transform_->pending()) {
        const TransformResult result = turnAndScaleSelection(ws, editor_.platform, transform_->degrees(),
                                                             transform_->scaleX(), transform_->scaleY());
        if (result != TransformResult::Refused)
            transform_->reset();
        changed = changed || result == TransformResult::Applied;
    }
    // Position and size last: a step of their own, in mm as typed.
    if (placing)
        changed = placeSelection(ws, editor_.platform, place_->target()) == TransformResult::Applied || changed;
    refresh(ws, editor_.platform);
    rebuild();
    if (applied)
        applied();
    return changed;
}

QWidget* PropertiesPanel::fieldEditor(FieldMeaning meaning) const
{
    for (const Row& row : rows_)
        if (row.meaning == meaning)
            return row.editor;
    return nullptr;
}

void PropertiesPanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The spin box has taken its text by now and passed the key on.
        if (!event->isAutoRepeat())
            apply();
        return;
    case Qt::Key_Escape:
        if (!docked_) {
            close();
        } else {
            rebuild();
            if (left)
                left();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace kelvara
