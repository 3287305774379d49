#include "shell/libraries.h"

#include "shell/outcome.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace kelvara {

namespace {

constexpr std::size_t kMaxNameLength = 63;
constexpr int32_t kPointLimit = 121;

bool endsWithTxt(std::string_view name)
{
    return name.size() >= 4 && upperCase(name.substr(name.size() - 4)) == ".TXT";
}

// The entry files of a folder: regular files (or links to them) named *.txt in
// any case. Sorted without regard to case, as an NTFS directory search returns
// them, so the entry order does not depend on the file system.
std::vector<std::string> entryFiles(const std::string& folderPath)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folderPath), ec);
    if (ec)
        return names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::string name = it->path().filename().string();
        std::error_code statusError;
        if (!endsWithTxt(name) || !it->is_regular_file(statusError))
            continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = upperCase(a);
        const std::string ub = upperCase(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

std::string entryPath(const std::string& folderPath, const std::string& name)
{
    if (!folderPath.empty() && folderPath.back() == '/')
        return folderPath + name;
    return folderPath + "/" + name;
}

// Whether a name written into a project line reads back as the same name:
// ";" starts a comment, a blank ends the value, a control character may end
// the line, and a value that reads as a number (or NIL) is no name at all.
bool readsBackAsName(std::string_view name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ';' || c == ' ' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return !readInteger(name).has_value() && upperCase(name) != "NIL";
}

template <int Entries, int Points> void clearLibrary(PointLibrary<Entries, Points>& library)
{
    library.count = 0;
    library.clashes.clear();
    for (auto& name : library.names)
        name.clear();
    for (auto& entry : library.points)
        entry.fill(LibraryPoint{});
}

void clearLibrary(PatternLibrary& library)
{
    library.count = 0;
    library.clashes.clear();
    for (auto& name : library.names)
        name.clear();
    for (auto& entry : library.rows)
        entry.fill(PatternRow{});
}

// Calls `fill` with the entry index for each usable file until the library is
// full; `fill` reads the entry's content from the line table.
template <typename Library, typename Fill>
void scanEntries(Library& library, LineTable& lines, const std::string& folderPath, Fill&& fill)
{
    clearLibrary(library);
    std::vector<std::string> files; // the file of each entry
    std::vector<std::string> upperNames;
    for (const std::string& name : entryFiles(folderPath)) {
        if (library.count >= Library::kEntries)
            break;
        // A project could name such an entry but never find it again.
        std::string entryName = libraryName(name);
        if (!readsBackAsName(entryName))
            continue;
        readTextFile(lines, entryPath(folderPath, name));
        if (lines.lineCount == 0)
            continue;
        // Names are looked up ignoring case, so a second equal name could
        // never be referred to: a reference to it would read back as the first.
        std::string upper = upperCase(entryName);
        const auto taken = std::find(upperNames.begin(), upperNames.end(), upper);
        if (taken != upperNames.end()) {
            library.clashes.push_back({files[std::size_t(taken - upperNames.begin())], name});
            continue;
        }
        files.push_back(name);
        upperNames.push_back(std::move(upper));
        const auto n = static_cast<std::size_t>(library.count);
        library.names[n] = std::move(entryName);
        fill(n);
        ++library.count;
    }
}

template <int Entries, int Points>
void scanPointLibrary(PointLibrary<Entries, Points>& library, LineTable& lines, TokenTable& tokens,
                      const std::string& folderPath)
{
    scanEntries(library, lines, folderPath, [&](std::size_t n) {
        // Lines beyond the entry's points are ignored.
        const int used = std::min(lines.lineCount, Points);
        for (int i = 0; i < used; ++i) {
            parseLine(tokens, lines.lines[static_cast<std::size_t>(i)]);
            LibraryPoint& point = library.points[n][static_cast<std::size_t>(i)];
            point.x = std::clamp(tokens.rows[0].number, -kPointLimit, kPointLimit);
            // A line with one number is a point on the x axis, not one that
            // borrows its y from whatever line came before.
            const int32_t y = tokens.tokenCount >= 2 ? tokens.rows[1].number : 0;
            point.y = std::clamp(y, -kPointLimit, kPointLimit);
        }
    });
}

template <int Entries, int Points>
int findPointEntry(const PointLibrary<Entries, Points>& library, std::string_view upperText)
{
    for (int i = 0; i < library.count && i < Entries; ++i) {
        if (upperCase(library.names[static_cast<std::size_t>(i)]) == upperText)
            return i;
    }
    return -1;
}

} // namespace

std::string libraryName(std::string_view fileName)
{
    std::string name(fileName.substr(0, kMaxNameLength));
    const std::size_t txt = upperCase(name).find(".TXT");
    if (txt != std::string::npos)
        name.erase(txt);
    return name;
}

void scanLibrary(MotifLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath)
{
    scanPointLibrary(library, lines, tokens, folderPath);
}

void scanLibrary(TieOffLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath)
{
    scanPointLibrary(library, lines, tokens, folderPath);
}

void scanLibrary(PatternLibrary& library, LineTable& lines, const std::string& folderPath)
{
    scanEntries(library, lines, folderPath, [&](std::size_t n) {
        auto& rows = library.rows[n];
        std::size_t row = 0;
        for (int i = 0; i < lines.lineCount && row < rows.size(); ++i) {
            const std::string& line = lines.lines[static_cast<std::size_t>(i)];
            // The last character is not examined, unless it is the only one.
            const std::size_t examined = line.size() == 1 ? 1 : line.size() - 1;
            PatternRow& current = rows[row];
            for (std::size_t j = 0; j < examined && current.markCount < 16; ++j) {
                if (line[j] == '*') {
                    current.marks[static_cast<std::size_t>(current.markCount)] =
                        static_cast<int32_t>(10 * (j + 1));
                    ++current.markCount;
                }
            }
            if (current.markCount > 0)
                ++row;
        }
    });
}

void loadLibraries(Libraries& libraries, LineTable& lines, TokenTable& tokens,
                   const std::string& programFolder)
{
    scanLibrary(libraries.motifs, lines, tokens, programFolder + kMotifFolder);
    scanLibrary(libraries.patterns, lines, programFolder + kPatternFolder);
    scanLibrary(libraries.tieOffs, lines, tokens, programFolder + kTieOffFolder);
}

std::string libraryClashes(const Libraries& libraries, const LineTable& messages)
{
    std::string text;
    const auto add = [&](const char* folder, const std::vector<LibraryClash>& clashes) {
        for (const LibraryClash& clash : clashes)
            text += (text.empty() ? "" : "; ") +
                    messageText(messages, Outcome(kSlotLibraryClashEntry, folder, clash.kept, clash.skipped));
    };
    add(kMotifFolder, libraries.motifs.clashes);
    add(kPatternFolder, libraries.patterns.clashes);
    add(kTieOffFolder, libraries.tieOffs.clashes);
    return text;
}

int findLibraryEntry(const MotifLibrary& library, std::string_view upperText)
{
    return findPointEntry(library, upperText);
}

int findLibraryEntry(const TieOffLibrary& library, std::string_view upperText)
{
    return findPointEntry(library, upperText);
}

int findLibraryEntry(const PatternLibrary& library, std::string_view upperText)
{
    for (int i = 0; i < library.count && i < PatternLibrary::kEntries; ++i) {
        if (upperCase(library.names[static_cast<std::size_t>(i)]) == upperText)
            return i;
    }
    return -1;
}

} // namespace kelvara
