#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
// process is gone is stale, and its slot's file was left behind. A lock that
// names no process here (empty, unreadable, written on another host) is
// stale once it has not been touched for kUnusableLockSeconds.
class RecoveryFile {
public:
    static constexpr int kSlots = 8;
    static constexpr int kUnusableLockSeconds = 10 * 60;

    // Claims a slot no running editor holds, one holding no design if there
    // is such, and takes the slots of every dead editor that left a design.
    // Without a slot (the folder cannot be made, every slot is held) nothing
    // is kept.
    explicit RecoveryFile(const QString& folder);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    bool claimed() const { return lock_ != nullptr; }
    const QString& path() const { return path_; }
    // Designs runs that did not exit left behind, this slot's first; each
    // slot stays held until offered.
    bool leftBehind() const { return !left_.empty(); }
    std::vector<QString> leftDesigns() const;
    // Lets go of the other slots' designs, which the next start offers again.
    void releaseLeftBehind();
    // Removes one left-behind design (declined, or restored into this slot).
    void discardLeftBehind(const QString& path);

    // The design, with the name of the file it came from, written through
    // the same safe save as Save. An empty design removes the file instead.
    bool write(const Workspace& ws);
    // Removes the file (a clean exit, or a recovery declined).
    void remove();

private:
    struct Left {
        QString path;
        std::unique_ptr<QLockFile> lock; // none for this editor's own slot
    };
    std::unique_ptr<QLockFile> lock_;
    QString path_;
    std::vector<Left> left_;
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
// recovered; declined, or holding nothing, the file is removed. With several
// left behind the user picks one from a list; the rest are kept for the next
// start. True when a design was restored.
bool offerRecovery(Workspace& ws, const Platform& platform, RecoveryFile& file);

} // namespace kelvara
