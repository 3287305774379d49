#include "project/wholefile.h"

#include "shell/outcome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace kelvara {

namespace {

// NAME.kelvara-PID.tmp beside the target: the process id tells a temporary
// a live write is filling from one a killed write left.
constexpr char kTempInfix[] = ".kelvara-";
constexpr char kTempSuffix[] = ".tmp";

// A reason of our own. The writers hold no message table, and the reason is
// one detail of the message that says the file was not written, so the
// built-in text stands in.
std::string ownReason(MessageSlot slot)
{
    return std::string(builtInMessage(slot));
}

QString temporaryName(const QString& target)
{
    return target + QLatin1String(kTempInfix) + QString::number(QCoreApplication::applicationPid()) +
           QLatin1String(kTempSuffix);
}

bool processGone(qint64 pid)
{
    if (pid <= 0)
        return true;
    if (pid == QCoreApplication::applicationPid())
        return true; // an earlier write of ours that did not finish
#ifdef Q_OS_UNIX
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
    return false;
#endif
}

void removeStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QLatin1String(kTempInfix);
    const QDir dir = info.dir();
    const QStringList names =
        dir.entryList({prefix + QLatin1Char('*') + QLatin1String(kTempSuffix)}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QString middle = name.mid(prefix.size(), name.size() - prefix.size() - int(std::strlen(kTempSuffix)));
        bool ok = false;
        const qint64 pid = middle.toLongLong(&ok);
        const bool old = QFileInfo(dir.filePath(name)).lastModified().secsTo(QDateTime::currentDateTime()) > 24 * 3600;
        if (ok && (processGone(pid) || old))
            QFile::remove(dir.filePath(name));
    }
}

// A link is written through, as editors do: the file it names is replaced.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        return info.symLinkTarget();
    return path;
}

bool renameOver(const QString& from, const QString& to, std::string& reason)
{
#ifdef Q_OS_UNIX
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = std::strerror(errno);
    return false;
#else
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    reason = error.message();
    return !error;
#endif
}

} // namespace

qint64 PendingFile::Checked::writeData(const char* data, qint64 size)
{
    if (!failure.empty())
        return -1;
    // A short write is tried again for the rest: the system says why only
    // when nothing more can be written.
    for (qint64 done = 0; done < size;) {
        const qint64 written = file_.write(data + done, size - done);
        if (written <= 0 || file_.error() != QFileDevice::NoError) {
            const QString why = file_.errorString();
            failure = why.isEmpty() ? ownReason(kSlotWriteFailed) : why.toStdString();
            return -1;
        }
        done += written;
    }
    return size;
}

PendingFile::PendingFile(const QString& target) : target_(resolvedTarget(target)) {}

PendingFile::~PendingFile()
{
    if (!replaced_ && !file_.fileName().isEmpty()) {
        file_.close();
        QFile::remove(file_.fileName());
    }
}

std::string PendingFile::failure() const
{
    const QString why = file_.errorString();
    return why.isEmpty() ? ownReason(kSlotWriteFailed) : why.toStdString();
}

std::string PendingFile::open()
{
    if (target_.isEmpty())
        return ownReason(kSlotNoFileName);
    if (QFileInfo(target_).isDir())
        return ownReason(kSlotIsFolder);
    removeStaleTemporaries(target_);
    file_.setFileName(temporaryName(target_));
    QFile::remove(file_.fileName());
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        const std::string why = failure();
        file_.setFileName(QString());
        return why;
    }
    checked_.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // The replacement keeps the permissions the old file had.
    if (QFileInfo::exists(target_))
        file_.setPermissions(QFile::permissions(target_));
    return {};
}

std::string PendingFile::write(std::string_view bytes)
{
    checked_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return checked_.failure;
}

std::string PendingFile::finish()
{
    if (!file_.isOpen())
        return ownReason(kSlotFileNotMade);
    if (!checked_.failure.empty())
        return checked_.failure;
    if (!file_.flush() || file_.error() != QFileDevice::NoError)
        return failure();
#ifdef Q_OS_UNIX
    // On disk before the rename, so a crash cannot leave an empty file
    // under the target's name.
    if (::fsync(file_.handle()) != 0)
        return std::strerror(errno);
#endif
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        return failure();
    return {};
}

std::string PendingFile::replaceTarget()
{
    std::string reason;
    if (!renameOver(file_.fileName(), target_, reason))
        return reason;
    replaced_ = true;
    return {};
}

std::string writeWholeFile(const QString& path, std::string_view bytes)
{
    QString failed;
    return writeWholeFiles({{path, bytes}}, &failed);
}

std::string writeWholeFiles(const std::vector<FileContent>& files, QString* failedPath)
{
    std::vector<std::unique_ptr<PendingFile>> pending;
    for (const FileContent& content : files) {
        auto file = std::make_unique<PendingFile>(content.path);
        std::string reason = file->open();
        if (reason.empty())
            reason = file->write(content.bytes);
        if (reason.empty())
            reason = file->finish();
        if (!reason.empty()) {
            if (failedPath)
                *failedPath = content.path;
            return reason;
        }
        pending.push_back(std::move(file));
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (std::string reason = pending[i]->replaceTarget(); !reason.empty()) {
            if (failedPath)
                *failedPath = files[i].path;
            return reason;
        }
    }
    return {};
}

} // namespace kelvara
