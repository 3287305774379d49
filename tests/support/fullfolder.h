#pragma once

#include <QProcess>

#include <string>

namespace kelvara::testing {

// A folder on a file system of its own, a few KiB large, filled to the last
// block: every write into it meets a full disk. Needs the right to mount a
// tmpfs; `ready()` is false (with `why()`) where that is refused.
class FullFolder {
public:
    FullFolder();
    ~FullFolder();
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;

    bool ready() const { return ready_; }
    const std::string& why() const { return why_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Places `bytes` at `name` before the folder is filled up.
    void put(const std::string& name, const std::string& bytes) const;
    // Fills the free space with a filler file.
    void fill() const;

private:
    std::string path_;
    std::string why_;
    bool ready_ = false;
};

// This process may make files no larger than `bytes` while it lives; the
// signal that would end it is ignored, so writes past the limit fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();

private:
    unsigned long long old_ = 0;
};

// Runs children under a file-size limit of `bytes`.
void limitChildFileSize(QProcess& process, long bytes);

} // namespace kelvara::testing
