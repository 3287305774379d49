#include "ui/statuswidget.h"

#include "model/kinds/kind.h"
#include "model/workspace.h"
#include "stitch/lettering.h"
#include "ui/editor.h"
#include "ui/hooprender.h"
#include "ui/stitchoutlayer.h"
#include "ui/toolhint.h"

#include <QMouseEvent>

#include <algorithm>

namespace kelvara {

namespace {

QString shown(const Workspace& ws, const Outcome& outcome)
{
    return QString::fromStdString(message(ws, outcome));
}

QString selectionText(const Workspace& ws)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty())
        return shown(ws, Outcome(kSlotNothingSelected));
    QStringList kinds;
    for (const KindRow* kind : kindRows()) {
        if (kind == nullptr)
            continue;
        const auto n = std::count_if(rows.begin(), rows.end(), [&](int32_t row) {
            return ws.table.rows[static_cast<std::size_t>(row)].kind == kind->kind;
        });
        if (n > 0)
            kinds << QStringLiteral("%1 %2").arg(n).arg(
                QLatin1String(kind->word.data(), qsizetype(kind->word.size())));
    }
    const QString selected = shown(ws, Outcome(kSlotSelectedCount, std::to_string(rows.size()),
                                               kinds.join(QStringLiteral(", ")).toStdString()));
    // A lettering whose font is not installed says which family stands in.
    for (int32_t row : rows) {
        const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (entry.kind != KindLetters)
            continue;
        const std::string note = message(ws, stitch::replacedFontNote(ws.records[entry.params].letters));
        if (!note.empty())
            return selected + QStringLiteral("; ") + QString::fromStdString(note);
    }
    return selected;
}

QString millimetres(double units)
{
    return QString::number(units / 10.0, 'f', 1);
}

} // namespace

StatusWidget::StatusWidget(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::NoFocus);
    setIndent(6);
    setToolTip(QStringLiteral("Click to choose the hoop (B)"));
}

void StatusWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && clicked)
        clicked();
    QLabel::mousePressEvent(event);
}

void StatusWidget::showState(Editor& editor)
{
    // The mouse moves far more often than the design changes.
    const uint64_t revision = editor.ws.refresh.designRevision;
    if (!counted_ || revision != countedRevision_)
        editor.plans.follow(editor.ws);
    counted_ = true;
    countedRevision_ = revision;
    chosenHoopFits(editor);
    const QString text = statusText(editor);
    if (text != this->text())
        setText(text);
}

QString statusText(const Editor& editor)
{
    if (editor.stitchOut)
        return stitchOutText(editor);
    const Workspace& ws = editor.ws;
    const ViewState& view = ws.view;
    const ZoomRatio zoom = view.ratio();
    QString position = QStringLiteral("-");
    if (view.mouseX >= 0 && view.mouseY >= 0) {
        // Design units are tenths of a millimetre.
        const double x = zoom.exactUnits(double(int64_t(view.mouseX) + view.scrollX)) / 10.0;
        const double y = zoom.exactUnits(double(int64_t(view.mouseY) + view.scrollY)) / 10.0;
        position = QStringLiteral("%1, %2 mm").arg(x, 0, 'f', 1).arg(y, 0, 'f', 1);
    }
    QString stitches;
    const ObjectPlanCache& plan = editor.plans.shown();
    switch (plan.status()) {
    case PlanStatus::TooLarge:
        stitches = shown(ws, Outcome(kSlotTooLargeToStitch));
        break;
    default:
        stitches = shown(ws, Outcome(kSlotStitchCount, std::to_string(plan.stitchCount())));
        if (const PlanBox& box = plan.sewnExtent(); !box.empty())
            stitches += QStringLiteral(", ") +
                        shown(ws, Outcome(kSlotSewnSize, millimetres(box.width()).toStdString(),
                                          millimetres(box.height()).toStdString()));
        break;
    }
    // Until the first plan comes there is no count to show.
    if (editor.plans.planning())
        stitches =
            (plan.order().empty() ? QString() : stitches + QStringLiteral(", ")) +
            shown(ws, Outcome(kSlotPlanningStitches, std::to_string(int(editor.plans.progress() * 100))));
    QString line =
        QStringLiteral("%1   |   zoom %2x   |   %3   |   %4")
            .arg(position)
            .arg(zoom.divisor == 1 ? QString::number(zoom.zoom) : QString::number(zoom.scale(), 'g', 3))
            .arg(selectionText(ws), stitches);
    // The next click first, where the eye looks for it.
    if (const std::string hint = toolHint(ws); !hint.empty())
        line = QString::fromStdString(hint) + QStringLiteral("   |   ") + line;
    if (const Hoop* hoop = chosenHoop(ws)) {
        line += QStringLiteral("   |   ") + shown(ws, Outcome(kSlotStatusHoop, hoop->name));
        if (editor.hoopCheck.measured && !editor.hoopCheck.fits)
            line += QStringLiteral(" ") + shown(ws, Outcome(kSlotStatusNoFit));
    }
    if (!view.note.empty())
        line += QStringLiteral("   |   ") + QString::fromStdString(view.note);
    if (!ws.statusNote.text.empty() && ws.statusNote.revision == ws.refresh.designRevision)
        line += QStringLiteral("   |   ") + QString::fromStdString(ws.statusNote.text);
    return line;
}

} // namespace kelvara
