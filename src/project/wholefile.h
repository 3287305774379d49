#pragma once

#include <QFile>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

// A file written under a temporary name beside its target, which replaces
// the target only once every byte is on disk. A full disk or a file-size
// limit fails the write (Qt's own QSaveFile may report such a cut file as
// committed); the target then stays as it was and no temporary is left.
class PendingFile {
    // Passes writes to the temporary and keeps the first failure: writers
    // such as the PDF and PNG ones go on past a short write and say nothing.
    class Checked : public QIODevice {
    public:
        explicit Checked(QFile& file) : file_(file) {}
        std::string failure;

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char* data, qint64 size) override;

    private:
        QFile& file_;
    };

public:
    explicit PendingFile(const QString& target);
    ~PendingFile(); // removes the temporary unless it replaced the target
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Makes the temporary file, first removing ones our killed writes left
    // beside the same target. "" or the system's reason.
    std::string open();
    // Where a writer puts the bytes; every short write is kept as a failure.
    QIODevice& device() { return checked_; }
    // Writes all of `bytes`; "" or the reason.
    std::string write(std::string_view bytes);
    // Flushes and syncs the temporary and checks that nothing failed on the
    // way; the target is still untouched. "" or the reason.
    std::string finish();
    // Renames the finished temporary over the target. "" or the reason.
    std::string replaceTarget();

    const QString& target() const { return target_; }

private:
    std::string failure() const;

    QString target_;
    QFile file_;
    Checked checked_{file_};
    bool replaced_ = false;
};

// Writes `bytes` to `path` whole or not at all. "" or the reason, in the
// system's words ("No space left on device").
std::string writeWholeFile(const QString& path, std::string_view bytes);

// Several files that belong together (a machine file and its colour list):
// all are written and synced before any replaces its target, so a failure
// leaves every old file, and the renames follow each other at once.
struct FileContent {
    QString path;
    std::string_view bytes;
};
// "" or the reason, which names the file that failed.
std::string writeWholeFiles(const std::vector<FileContent>& files, QString* failedPath = nullptr);

} // namespace kelvara
