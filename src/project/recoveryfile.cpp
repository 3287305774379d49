#include "project/recoveryfile.h"

#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "shell/platform.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

namespace kelvara {

namespace {

constexpr char kSourceTag[] = ";KELVARA-RECOVERY ";

} // namespace

QString recoveryFolder()
{
    const QString chosen = qEnvironmentVariable("KELVARA_RECOVERY_DIR");
    if (!chosen.isEmpty())
        return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

RecoveryFile::RecoveryFile(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    const QDir dir(folder);
    for (int slot = 0; slot < kSlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(dir.filePath(QStringLiteral("recovery-%1.lock").arg(slot)));
        // Only a lock whose process is gone is stale, however long it is held.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        lock_ = std::move(lock);
        path_ = dir.filePath(QStringLiteral("recovery-%1.kvp").arg(slot));
        leftBehind_ = QFile::exists(path_);
        return;
    }
}

RecoveryFile::~RecoveryFile() = default;

bool RecoveryFile::write(const Workspace& ws)
{
    if (!claimed())
        return false;
    if (ws.table.objectCount == 0) {
        remove();
        return true;
    }
    return writeProjectFile(path_, recoveryText(ws));
}

void RecoveryFile::remove()
{
    if (claimed())
        QFile::remove(path_);
    leftBehind_ = false;
}

std::string recoveryText(const Workspace& ws)
{
    const QByteArray source = ws.rememberedFileName.toUtf8().toPercentEncoding();
    std::string text = kSourceTag;
    text.append(source.constData(), std::size_t(source.size()));
    text += "\r\n";
    text += projectFileText(ws);
    return text;
}

std::optional<RecoveredDesign> readRecoveryFile(const QString& path)
{
    std::optional<std::string> bytes = readFileBytes(path, kMaxProjectFileBytes);
    if (!bytes)
        return std::nullopt;
    RecoveredDesign design;
    const std::string_view tag(kSourceTag);
    if (bytes->starts_with(tag)) {
        const std::size_t end = bytes->find_first_of("\r\n");
        const std::string encoded =
            bytes->substr(tag.size(), end == std::string::npos ? end : end - tag.size());
        design.sourceName =
            QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(encoded)));
    }
    design.bytes = std::move(*bytes);
    return design;
}

bool offerRecovery(Workspace& ws, const Platform& platform, RecoveryFile& file)
{
    if (!file.leftBehind())
        return false;
    std::optional<RecoveredDesign> design = readRecoveryFile(file.path());
    const QString name =
        design && !design->sourceName.isEmpty() ? design->sourceName : QStringLiteral("untitled");
    const std::string question = "Kelvara Stitches did not close properly last time. Restore the design it "
                                 "was working on (" +
                                 name.toStdString() + ")?";
    if (!design || !platform.boxes->askYesNo(kProgramTitle, question)) {
        file.remove();
        return false;
    }
    loadProjectBytes(ws, platform, QString(), design->bytes);
    if (ws.table.objectCount == 0) {
        file.remove();
        return false;
    }
    // Saved under no name, so Save asks where rather than overwriting the
    // file the recovered work came from.
    ws.rememberedFileName.clear();
    platform.title->setTitle(QString::fromLatin1(kProgramTitle) + QStringLiteral(" (recovered from ") + name +
                             QLatin1Char(')'));
    return true;
}

} // namespace kelvara
