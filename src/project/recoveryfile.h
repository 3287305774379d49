#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QLockFile;

namespace kelvara {

struct Workspace;
struct Platform;

// Where recovery files are kept: the user's data folder, or the folder the
// KELVARA_RECOVERY_DIR environment variable names (tests keep theirs apart).
QString recoveryFolder();

// The design kept in the user's data folder while the editor runs, so that a
// run which ends without closing leaves it behind for the next start. Each
// running editor holds a slot of its own through a lock file; a lock whose
// process is gone is stale, and its slot's file was left behind.
class RecoveryFile {
public:
    static constexpr int kSlots = 8;

    // Claims the first slot no running editor holds. Without one (the folder
    // cannot be made, every slot is held) nothing is kept.
    explicit RecoveryFile(const QString& folder);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    bool claimed() const { return lock_ != nullptr; }
    const QString& path() const { return path_; }
    // The slot's file was there when it was claimed: a run did not exit.
    bool leftBehind() const { return leftBehind_; }

    // The design, with the name of the file it came from, written through
    // the same safe save as Save. An empty design removes the file instead.
    bool write(const Workspace& ws);
    // Removes the file (a clean exit, or a recovery declined).
    void remove();

private:
    std::unique_ptr<QLockFile> lock_;
    QString path_;
    bool leftBehind_ = false;
};

// The recovery file's text: a comment line naming the file the design came
// from (percent-encoded UTF-8), then the project lines.
std::string recoveryText(const Workspace& ws);

struct RecoveredDesign {
    std::string bytes;  // project lines, the naming comment ignored by the reader
    QString sourceName; // empty for a design never saved or opened
};
std::optional<RecoveredDesign> readRecoveryFile(const QString& path);

// At start-up: a design the last run left behind is offered back. Restored,
// it opens with no file name (Save asks where) and the title says it was
// recovered; declined, or holding nothing, the file is removed. True when
// the design was restored.
bool offerRecovery(Workspace& ws, const Platform& platform, RecoveryFile& file);

} // namespace kelvara
