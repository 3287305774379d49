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

std::string writeMachineFile(const Workspace& ws, const StitchPlan& plan, const QString& path)
{
    const std::optional<MachineFormat> format = machineFormatOf(path);
    if (!format)
        return "unknown machine format \"" + QFileInfo(path).suffix().toStdString() +
               "\" (known: " + knownMachineFormats().toStdString() + ")";
    return writeMachineFiles(ws, plan, *format, path);
}

std::string writeRenderFile(const PlanReplay& plan, int pixelsPerMm, const QString& path, const StitchLook& look)
{
    PlanStatus status = PlanStatus::Ok;
    const QImage image = pixelsPerMm > 0 ? renderStitchImageAt(plan, pixelsPerMm / 10.0, look, &status)
                                         : renderStitchImage(plan, 1600, look, &status);
    if (status != PlanStatus::Ok)
        return "the design cannot be stitched";
    if (image.isNull())
        return "the picture would be more than " + std::to_string(kMaxStitchImageSide) +
               " pixels on a side; give a smaller --scale";
    // Encoded in memory, so the library never meets a failing file; the
    // bytes then go to disk whole or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return "the picture could not be encoded as PNG";
    if (std::string reason = writeWholeFile(path, std::string_view(png.constData(), std::size_t(png.size())));
        !reason.empty())
        return "cannot be written: " + reason;
    return {};
}

} // namespace kelvara
