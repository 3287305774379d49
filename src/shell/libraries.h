#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct LineTable;
struct TokenTable;

struct LibraryPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Two files whose entry names are equal ignoring case (or once cut to 63
// characters): the first is the entry, the second is left out.
struct LibraryClash {
    std::string kept;    // file names within the library's folder
    std::string skipped;
};

// A library of point figures: motifs (256 x 64 points) or tie-offs (16 x 16).
template <int Entries, int Points> struct PointLibrary {
    static constexpr int kEntries = Entries;
    static constexpr int kPoints = Points;
    int32_t count = 0;
    std::array<std::string, Entries> names; // LibraryName, at most 63 characters
    std::array<std::array<LibraryPoint, Points>, Entries> points{};
    std::vector<LibraryClash> clashes;
};

using MotifLibrary = PointLibrary<256, 64>;
using TieOffLibrary = PointLibrary<16, 16>;

struct PatternRow {
    int32_t markCount = 0;
    std::array<int32_t, 16> marks{};
};

struct PatternLibrary {
    static constexpr int kEntries = 256;
    static constexpr int kRows = 16;
    int32_t count = 0;
    std::array<std::string, kEntries> names;
    std::array<std::array<PatternRow, kRows>, kEntries> rows{};
    std::vector<LibraryClash> clashes;
};

struct Libraries {
    MotifLibrary motifs;
    PatternLibrary patterns;
    TieOffLibrary tieOffs;
};

inline constexpr const char* kMotifFolder = "motivy";
inline constexpr const char* kPatternFolder = "vzory";
inline constexpr const char* kTieOffFolder = "zapositi";

// The entry name for a file name: first 63 characters, cut at the first
// ".TXT" (any case) when that lies within them.
std::string libraryName(std::string_view fileName);

// Loads every *.txt file of programFolder + folder as one entry each, except
// files whose entry name would not read back from a project line: names
// holding ";", a blank or a control character, and names that read as a
// number or as NIL, and files whose name an earlier file took (`clashes`).
void scanLibrary(MotifLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath);
void scanLibrary(TieOffLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath);
void scanLibrary(PatternLibrary& library, LineTable& lines, const std::string& folderPath);

// Loads the three libraries from the program folder (motifs, patterns, tie-offs).
void loadLibraries(Libraries& libraries, LineTable& lines, TokenTable& tokens,
                   const std::string& programFolder);

// The files left out of the three libraries for a name taken already, as
// "motivy/leaf.txt (LEAF.txt left out)" in the words of `messages`, joined
// by "; "; empty for none.
std::string libraryClashes(const Libraries& libraries, const LineTable& messages);

// Index of the first entry whose upper-cased name equals `upperText`, or -1.
int findLibraryEntry(const MotifLibrary& library, std::string_view upperText);
int findLibraryEntry(const TieOffLibrary& library, std::string_view upperText);
int findLibraryEntry(const PatternLibrary& library, std::string_view upperText);

} // namespace kelvara
