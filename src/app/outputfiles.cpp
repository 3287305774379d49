#include "app/outputfiles.h"

#include "project/machinefile.h"
#include "stitch/stitchplan.h"
#include "stitch/stitchrender.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace kelvara {

namespace {

template <typename Write> std::string saveWhole(const QString& path, Write&& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return "cannot be written: " + file.errorString().toStdString();
    if (!write(file)) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return "cannot be written: " + reason;
    }
    if (!file.commit())
        return "cannot be written: " + file.errorString().toStdString();
    return {};
}

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

std::string writeRenderFile(const StitchPlan& plan, int pixelsPerMm, const QString& path, const StitchLook& look)
{
    const QImage image = pixelsPerMm > 0 ? renderStitchImageAt(plan, pixelsPerMm / 10.0, look)
                                         : renderStitchImage(plan, 1600, look);
    if (image.isNull())
        return "the picture would be more than " + std::to_string(kMaxStitchImageSide) +
               " pixels on a side; give a smaller --scale";
    return saveWhole(path, [&](QSaveFile& file) { return image.save(&file, "PNG"); });
}

} // namespace kelvara
