// Any bytes as one library entry file, scanned as a motif, a tie-off and a
// fill pattern. The entry's contents must stay within the tables' ranges.
#include "shell/libraries.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace kelvara;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A fresh folder per input, removed again, so nothing is left in /tmp.
class EntryFolder {
public:
    EntryFolder()
    {
        char pattern[] = "/tmp/kelvara-fuzz-library-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            std::abort();
        path_ = made;
    }
    ~EntryFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

template <typename Library> void checkPoints(const Library& library)
{
    check(library.count == 0 || library.count == 1);
    for (const auto& entry : library.points) {
        for (const LibraryPoint& p : entry)
            check(p.x >= -121 && p.x <= 121 && p.y >= -121 && p.y <= 121);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static auto libraries = std::make_unique<Libraries>();
    static auto lines = std::make_unique<LineTable>();
    static auto tokens = std::make_unique<TokenTable>();

    const EntryFolder entry;
    const std::string& folder = entry.path();
    std::FILE* file = std::fopen((folder + "/Entry.txt").c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);

    scanLibrary(libraries->motifs, *lines, *tokens, folder);
    checkPoints(libraries->motifs);
    scanLibrary(libraries->tieOffs, *lines, *tokens, folder);
    checkPoints(libraries->tieOffs);
    scanLibrary(libraries->patterns, *lines, folder);
    check(libraries->patterns.count == 0 || libraries->patterns.count == 1);
    for (const PatternRow& row : libraries->patterns.rows[0]) {
        check(row.markCount >= 0 && row.markCount <= 16);
        for (int i = 0; i < row.markCount; ++i) {
            const int32_t mark = row.marks[static_cast<std::size_t>(i)];
            check(mark % 10 == 0 && mark >= 10 && mark <= 2550);
            check(i == 0 || mark > row.marks[static_cast<std::size_t>(i - 1)]);
        }
    }
    if (libraries->motifs.count == 1)
        check(findLibraryEntry(libraries->motifs, "ENTRY") == 0);

    // The bytes as a file name, too (names are cut to 63 characters).
    const std::string name = libraryName(std::string_view(reinterpret_cast<const char*>(data), size));
    check(name.size() <= 63);
    return 0;
}
