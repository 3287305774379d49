#include "ui/hooprender.h"

#include "model/editorstate.h"
#include "model/workspace.h"
#include "ui/editor.h"
#include "stitch/hoopfit.h"

#include <QPainter>
#include <QPainterPath>

namespace kelvara {

bool chosenHoopFits(Editor& editor)
{
    Workspace& ws = editor.ws;
    const Hoop* hoop = chosenHoop(ws);
    if (hoop == nullptr)
        return true;
    Editor::HoopCheck& check = editor.hoopCheck;
    const std::string setting(hoopSetting(ws.settings));
    const ObjectPlanCache& plan = editor.plans.follow(ws);
    // A plan still under way is measured again when it comes.
    const uint64_t revision = editor.plans.planning() ? 0 : ws.refresh.designRevision;
    if (check.measured && revision != 0 && check.revision == revision && check.setting == setting)
        return check.fits;
    std::vector<const std::vector<StitchRecord>*> runs;
    for (int32_t row : plan.order())
        runs.push_back(&plan.piece(row).plan.records);
    check = {true, fitsHoop(*hoop, runs), revision, setting};
    return check.fits;
}

void drawHoop(QPainter& painter, const Hoop& hoop, double centreX, double centreY, const ViewState& view,
              bool fits)
{
    const double zoom = view.ratio().scale();
    const QRectF field((centreX - hoop.width / 2.0) * zoom - view.scrollX,
                       (centreY - hoop.height / 2.0) * zoom - view.scrollY, hoop.width * zoom,
                       hoop.height * zoom);
    QPainterPath outline;
    switch (hoop.shape) {
    case HoopShape::Rectangle:
        outline.addRect(field);
        break;
    case HoopShape::Rounded: {
        const double r = roundedCornerRadius(hoop) * zoom;
        outline.addRoundedRect(field, r, r);
        break;
    }
    case HoopShape::Oval:
        outline.addEllipse(field);
        break;
    }
    const QColor colour = fits ? QColor(200, 200, 210) : QColor(255, 60, 60);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // A dark line under the light one keeps the field visible on any fabric.
    painter.setPen(QPen(QColor(0, 0, 0, 140), 4));
    painter.drawPath(outline);
    painter.setPen(QPen(colour, 2, fits ? Qt::SolidLine : Qt::DashLine));
    painter.drawPath(outline);
    const QString label = QString::fromStdString(hoopTitle(hoop)) +
                          (fits ? QString() : QStringLiteral(": the design does not fit"));
    QFont font = painter.font();
    font.setBold(!fits);
    painter.setFont(font);
    // Above the field, or inside its top edge where the canvas ends above it.
    const double left = std::max(field.left() + (field.top() < 24 ? 24 : 0), 6.0);
    const double top = field.top() < 24 ? std::max(field.top(), 0.0) + 6 : field.top() - 22;
    const QRectF text(left, top, std::max(field.width(), 320.0), 20);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(text.translated(1, 1), Qt::AlignLeft | Qt::AlignBottom, label);
    painter.setPen(colour);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom, label);
    painter.restore();
}

} // namespace kelvara
