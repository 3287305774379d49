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

QString selectionText(const Workspace& ws)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.empty())
        return QStringLiteral("nothing selected");
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
    QString text = QStringLiteral("%1 selected (%2)").arg(rows.size()).arg(kinds.join(QStringLiteral(", ")));
    // A lettering whose font is not installed says which family stands in.
    for (int32_t row : rows) {
        const ObjectEntry& entry = ws.table.rows[static_cast<std::size_t>(row)];
        if (entry.kind != KindLetters)
            continue;
        const std::string note = message(ws, stitch::replacedFontNote(ws.records[entry.params].letters));
        if (!note.empty())
            return text + QStringLiteral("; ") + QString::fromStdString(note);
    }
    return text;
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
        stitches = QStringLiteral("too large to stitch");
        break;
    default:
        stitches = QStringLiteral("%1 stitches").arg(plan.stitchCount());
        if (const PlanBox& box = plan.sewnExtent(); !box.empty())
            stitches += QStringLiteral(", %1 x %2 mm")
                            .arg(box.width() / 10.0, 0, 'f', 1)
                            .arg(box.height() / 10.0, 0, 'f', 1);
        break;
    }
    // Until the first plan comes there is no count to show.
    if (editor.plans.planning())
        stitches = (plan.order().empty() ? QString() : stitches + QStringLiteral(", ")) +
                   QStringLiteral("planning stitches %1%").arg(int(editor.plans.progress() * 100));
    QString text = QStringLiteral("%1   |   zoom %2x   |   %3   |   %4")
                       .arg(position)
                       .arg(zoom.divisor == 1 ? QString::number(zoom.zoom) : QString::number(zoom.scale(), 'g', 3))
                       .arg(selectionText(ws), stitches);
    // The next click first, where the eye looks for it.
    if (const std::string hint = toolHint(ws); !hint.empty())
        text = QString::fromStdString(hint) + QStringLiteral("   |   ") + text;
    if (const Hoop* hoop = chosenHoop(ws))
        text += QStringLiteral("   |   hoop %1%2")
                    .arg(QString::fromStdString(hoop->name),
                         editor.hoopCheck.measured && !editor.hoopCheck.fits ? QStringLiteral(" (does not fit)")
                                                                              : QString());
    if (!view.note.empty())
        text += QStringLiteral("   |   ") + QString::fromStdString(view.note);
    if (!ws.statusNote.text.empty() && ws.statusNote.revision == ws.refresh.designRevision)
        text += QStringLiteral("   |   ") + QString::fromStdString(ws.statusNote.text);
    return text;
}

} // namespace kelvara
