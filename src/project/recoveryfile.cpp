#include "project/recoveryfile.h"

#include "model/workspace.h"
#include "project/filebytes.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "shell/platform.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
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

namespace {

// A slot's lock: free, or held by a process that is gone, or unusable and
// untouched for long enough.
std::unique_ptr<QLockFile> takeSlot(const QString& lockPath)
{
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Only a lock whose process is gone is stale, however long it is held.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    qint64 pid = 0;
    QString host, application;
    if (lock->getLockInfo(&pid, &host, &application) &&
        (host.isEmpty() || host == QSysInfo::machineHostName()))
        return nullptr; // a running editor here
    const QDateTime touched = QFileInfo(lockPath).lastModified();
    if (!touched.isValid() || touched.secsTo(QDateTime::currentDateTime()) < RecoveryFile::kUnusableLockSeconds)
        return nullptr;
    if (!lock->removeStaleLockFile() || !lock->tryLock(0))
        return nullptr;
    return lock;
}

QString slotFile(const QDir& dir, int slot, const char* suffix)
{
    return dir.filePath(QStringLiteral("recovery-%1.%2").arg(slot).arg(QLatin1String(suffix)));
}

} // namespace

RecoveryFile::RecoveryFile(const QString& folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    const QDir dir(folder);
    std::unique_ptr<QLockFile> taken[kSlots];
    for (int slot = 0; slot < kSlots; ++slot)
        taken[slot] = takeSlot(slotFile(dir, slot, "lock"));
    // A slot without a design is ours when there is one, so every design
    // left behind can still be offered.
    int own = -1;
    for (int slot = 0; slot < kSlots && own < 0; ++slot)
        if (taken[slot] && !QFile::exists(slotFile(dir, slot, "kvp")))
            own = slot;
    for (int slot = 0; slot < kSlots && own < 0; ++slot)
        if (taken[slot])
            own = slot;
    if (own < 0)
        return;
    lock_ = std::move(taken[own]);
    path_ = slotFile(dir, own, "kvp");
    if (QFile::exists(path_))
        left_.push_back({path_, nullptr});
    for (int slot = 0; slot < kSlots; ++slot)
        if (taken[slot] && QFile::exists(slotFile(dir, slot, "kvp")))
            left_.push_back({slotFile(dir, slot, "kvp"), std::move(taken[slot])});
}

RecoveryFile::~RecoveryFile() = default;

std::vector<QString> RecoveryFile::leftDesigns() const
{
    std::vector<QString> paths;
    for (const Left& left : left_)
        paths.push_back(left.path);
    return paths;
}

void RecoveryFile::releaseLeftBehind()
{
    left_.clear();
}

void RecoveryFile::discardLeftBehind(const QString& path)
{
    for (auto it = left_.begin(); it != left_.end(); ++it) {
        if (it->path == path) {
            QFile::remove(path);
            left_.erase(it);
            return;
        }
    }
}

bool RecoveryFile::write(const Workspace& ws)
{
    if (!claimed())
        return false;
    if (ws.table.objectCount == 0) {
        remove();
        return true;
    }
    // The lock is touched too, so an editor on another host sharing this
    // folder does not see it as forgotten.
    QFile(lock_->fileName()).setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    return writeProjectFile(path_, recoveryText(ws)).empty();
}

void RecoveryFile::remove()
{
    if (claimed())
        QFile::remove(path_);
    discardLeftBehind(path_);
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

namespace {

QString shownName(const std::optional<RecoveredDesign>& design)
{
    return design && !design->sourceName.isEmpty() ? design->sourceName : QStringLiteral("untitled");
}

bool restore(Workspace& ws, const Platform& platform, RecoveryFile& file, const QString& path,
             const RecoveredDesign& design)
{
    loadProjectBytes(ws, platform, QString(), design.bytes);
    if (ws.table.objectCount == 0) {
        file.discardLeftBehind(path);
        return false;
    }
    // Saved under no name, so Save asks where rather than overwriting the
    // file the recovered work came from.
    ws.rememberedFileName.clear();
    // Another slot's design now lives in this one: kept here first, then
    // given up there.
    if (path != file.path() && file.write(ws))
        file.discardLeftBehind(path);
    platform.title->setTitle(
        QString::fromLatin1(kProgramTitle) + QLatin1Char(' ') +
        QString::fromStdString(message(ws, Outcome(kSlotRecoveredFrom, shownName(design).toStdString()))));
    return true;
}

} // namespace

bool offerRecovery(Workspace& ws, const Platform& platform, RecoveryFile& file)
{
    const std::vector<QString> paths = file.leftDesigns();
    if (paths.empty())
        return false;
    std::vector<std::optional<RecoveredDesign>> designs;
    for (const QString& path : paths)
        designs.push_back(readRecoveryFile(path));

    bool restored = false;
    if (paths.size() == 1) {
        const std::string question =
            message(ws, kSlotRecoveryQuestion) + " (" + shownName(designs[0]).toStdString() + ")";
        if (designs[0] && platform.boxes->askYesNo(kProgramTitle, question))
            restored = restore(ws, platform, file, paths[0], *designs[0]);
        else
            file.discardLeftBehind(paths[0]);
    } else {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const QString when = QFileInfo(paths[i]).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
            names.push_back(shownName(designs[i]).toStdString() + " (" + when.toStdString() + ")");
        }
        const int chosen = platform.boxes->chooseOne(kProgramTitle, message(ws, kSlotRecoveryChoice), names);
        if (chosen >= 0 && std::size_t(chosen) < paths.size() && designs[std::size_t(chosen)])
            restored = restore(ws, platform, file, paths[std::size_t(chosen)], *designs[std::size_t(chosen)]);
    }
    file.releaseLeftBehind();
    return restored;
}

} // namespace kelvara
