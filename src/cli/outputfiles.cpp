#include "cli/outputfiles.h"

#include "stitch/dstwriter.h"
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
    return QStringLiteral("dst");
}

// Only DST until the writers of the other formats take over this function.
std::string writeMachineFile(const Workspace&, const StitchPlan& plan, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("dst"))
        return "unknown machine format \"" + suffix.toStdString() +
               "\" (known: " + knownMachineFormats().toStdString() + ")";
    const std::vector<uint8_t> bytes = writeDst(plan, QFileInfo(path).completeBaseName().toStdString());
    return saveWhole(path, [&](QSaveFile& file) {
        const auto size = static_cast<qint64>(bytes.size());
        return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
    });
}

std::string writeRenderFile(const StitchPlan& plan, int pixelsPerMm, const QString& path)
{
    const QImage image =
        pixelsPerMm > 0 ? renderStitchImageAt(plan, pixelsPerMm / 10.0) : renderStitchImage(plan);
    if (image.isNull())
        return "the picture would be more than " + std::to_string(kMaxStitchImageSide) +
               " pixels on a side; give a smaller --scale";
    return saveWhole(path, [&](QSaveFile& file) { return image.save(&file, "PNG"); });
}

} // namespace kelvara
