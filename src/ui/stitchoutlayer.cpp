#include "ui/stitchoutlayer.h"

#include "model/editorstate.h"
#include "model/workspace.h"
#include "stitch/stitchout.h"
#include "stitch/stitchrender.h"
#include "stitch/threadraster.h"
#include "ui/editor.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace kelvara {

void StitchOutLayer::paint(QPainter& canvas, const StitchOut& out, const ViewState& view, bool thread)
{
    const QSize size(std::max(0, view.canvasWidth), std::max(0, view.canvasHeight));
    if (size.isEmpty())
        return;
    const bool fresh = image_.size() != size || drawnFor_ != &out || drawn_ > out.played() ||
                       zoom_ != view.ratio() || scrollX_ != view.scrollX || scrollY_ != view.scrollY ||
                       thread_ != thread;
    if (fresh) {
        if (image_.size() != size)
            image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image_.fill(Qt::transparent);
        drawn_ = 0;
        drawnFor_ = &out;
        zoom_ = view.ratio();
        scrollX_ = view.scrollX;
        scrollY_ = view.scrollY;
        thread_ = thread;
    }
    const std::vector<StitchRecord>& records = out.plan().records;
    // The stitch into the first new record starts at the record before it.
    const std::size_t from = drawn_ == 0 ? 0 : drawn_ - 1;
    const std::vector<StitchRecord> added(records.begin() + std::ptrdiff_t(from),
                                          records.begin() + std::ptrdiff_t(out.played()));
    const double zoom = view.ratio().scale();
    if (added.size() > 1 && thread) {
        rasterThreads(image_, image_.rect(), added, RasterView{zoom, double(view.scrollX), double(view.scrollY)});
    } else if (added.size() > 1) {
        QPainter painter(&image_);
        StitchPlan part;
        part.records = added;
        drawStitchPlan(painter, part, zoom, view.scrollX, view.scrollY);
    }
    drawn_ = out.played();
    canvas.drawImage(0, 0, image_);

    // The needle: a ring round where it stands.
    if (const StitchRecord* needle = out.needle()) {
        const QPointF at(needle->x * zoom - view.scrollX, needle->y * zoom - view.scrollY);
        canvas.save();
        canvas.setRenderHint(QPainter::Antialiasing, true);
        canvas.setBrush(Qt::NoBrush);
        canvas.setPen(QPen(Qt::black, 4));
        canvas.drawEllipse(at, 7, 7);
        canvas.setPen(QPen(QColor(255, 230, 0), 2));
        canvas.drawEllipse(at, 7, 7);
        canvas.drawLine(at + QPointF(-12, 0), at + QPointF(-8, 0));
        canvas.drawLine(at + QPointF(8, 0), at + QPointF(12, 0));
        canvas.drawLine(at + QPointF(0, -12), at + QPointF(0, -8));
        canvas.drawLine(at + QPointF(0, 8), at + QPointF(0, 12));
        canvas.restore();
    }
}

QString stitchOutText(const Editor& editor)
{
    const StitchOut* out = editor.stitchOut.get();
    if (out == nullptr)
        return {};
    const int32_t speed = editor.ws.settings.SPEED;
    QString colour = QStringLiteral("-");
    QString at = QStringLiteral("-");
    if (const StitchRecord* needle = out->needle()) {
        colour = threadColour(needle->colour).name().toUpper();
        at = QStringLiteral("%1, %2 mm").arg(needle->x / 10.0, 0, 'f', 1).arg(needle->y / 10.0, 0, 'f', 1);
    }
    const Workspace& ws = editor.ws;
    const auto oneDecimal = [](double value) { return QString::number(value, 'f', 1).toStdString(); };
    const std::string parts[] = {
        message(ws, Outcome(kSlotStitchOutAt, std::to_string(out->stitchesSewn()),
                            std::to_string(out->stitchesInPlan()), at.toStdString())),
        message(ws, Outcome(kSlotStitchOutThread, colour.toStdString())),
        message(ws, Outcome(kSlotStitchOutMinutes, oneDecimal(out->minutesSewn(speed)),
                            oneDecimal(double(out->stitchesInPlan()) / std::max(1, speed)),
                            std::to_string(speed))),
        message(ws, Outcome(kSlotStitchOutSpeed, std::to_string(out->speed()))),
        message(ws, Outcome(out->playing() ? kSlotStitchOutPlayingState : kSlotStitchOutPausedState)),
    };
    // The separators hold blank runs the message file cannot keep.
    QStringList texts;
    for (const std::string& part : parts)
        texts << QString::fromStdString(part);
    return texts.join(QStringLiteral("  ·  "));
}

} // namespace kelvara
