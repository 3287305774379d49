#include "support/workspacefixture.h"

#include <fstream>
#include <random>
#include <sstream>

namespace kelvara::testing {

TempFolder::TempFolder()
{
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        path_ = base / ("kelvara-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_))
            break;
    }
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::file(const std::string& name) const
{
    if (name.empty())
        return path_.string() + "/";
    return (path_ / name).string();
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const
{
    auto p = path_ / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p.string();
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace kelvara::testing
