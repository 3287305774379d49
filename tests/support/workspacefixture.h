#pragma once

#include "model/workspace.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kelvara::testing {

// A fresh workspace on the heap (it is large), program folder unset.
inline std::unique_ptr<Workspace> makeWorkspace()
{
    return std::make_unique<Workspace>();
}

// A temporary folder removed when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Path of a file inside, as a string; with a trailing separator for "".
    std::string file(const std::string& name) const;
    // Writes `bytes` to `name` inside the folder (creating subfolders).
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string readWholeFile(const std::string& path);

} // namespace kelvara::testing
