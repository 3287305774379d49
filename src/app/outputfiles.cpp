#include "app/outputfiles.h"

#include "project/machinefile.h"
#include "project/wholefile.h"
#include "stitch/stitchplan.h"
#include "stitch/stitchrender.h"

#include <QFileInfo>
#include <QImage>
#include <QBuffer>

namespace kelvara {

namespace {

} // namespace

QString knownMachineFormats()
{
    return QStringLiteral("dst, exp, jef, pes");
}

Outcome writeMachineFile(const Workspace& ws, const StitchPlan& plan, const QString& path)
{
    const std::optional<MachineFormat> format = machineFormatOf(path);
    if (!format)
        return Outcome(kSlotUnknownFormat, QFileInfo(path).suffix().toStdString(),
                       knownMachineFormats().toStdString());
    return writeMachineFiles(ws, plan, *format, path);
}

Outcome writeRenderFile(const PlanReplay& plan, int pixelsPerMm, const QString& path, const StitchLook& look)
{
    PlanStatus status = PlanStatus::Ok;
    const QImage image = pixelsPerMm > 0 ? renderStitchImageAt(plan, pixelsPerMm / 10.0, look, &status)
                                         : renderStitchImage(plan, 1600, look, &status);
    if (status != PlanStatus::Ok)
        return Outcome(kSlotCannotStitch);
    if (image.isNull())
        return Outcome(kSlotPictureTooLarge, std::to_string(kMaxStitchImageSide));
    // Encoded in memory, so the library never meets a failing file; the
    // bytes then go to disk whole or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Outcome(kSlotPngFailed);
    if (std::string reason = writeWholeFile(path, std::string_view(png.constData(), std::size_t(png.size())));
        !reason.empty())
        return Outcome(kSlotCannotBeWritten, reason);
    return {};
}

} // namespace kelvara
