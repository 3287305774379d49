#include "support/fullfolder.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kelvara::testing {

FullFolder::FullFolder()
{
    char pattern[] = "/tmp/kelvara-full-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        why_ = "no temporary folder";
        return;
    }
    path_ = pattern;
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") != 0) {
        why_ = "a small tmpfs cannot be mounted here (needs root); the full-disk case is skipped";
        ::rmdir(path_.c_str());
        return;
    }
    ready_ = true;
}

FullFolder::~FullFolder()
{
    if (ready_) {
        ::umount2(path_.c_str(), MNT_DETACH);
        ::rmdir(path_.c_str());
    }
}

void FullFolder::put(const std::string& name, const std::string& bytes) const
{
    std::ofstream(file(name), std::ios::binary) << bytes;
}

void FullFolder::fill() const
{
    std::FILE* filler = std::fopen(file("filler").c_str(), "wb");
    if (filler == nullptr)
        return;
    const std::string block(512, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
}

FileSizeLimit::FileSizeLimit(long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    old_ = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(old_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void limitChildFileSize(QProcess& process, long bytes)
{
    process.setChildProcessModifier([bytes] {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
}

} // namespace kelvara::testing
