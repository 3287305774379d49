#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

struct LineTable;
struct TokenTable;

struct LibraryPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// A library of point figures: motifs (256 x 64 points) or tie-offs (16 x 16).
template <int Entries, int Points> struct PointLibrary {
    static constexpr int kEntries = Entries;
    static constexpr int kPoints = Points;
    int32_t count = 0;
    std::array<std::string, Entries> names; // LibraryName, at most 63 characters
    std::array<std::array<LibraryPoint, Points>, Entries> points{};
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
// number or as NIL.
void scanLibrary(MotifLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath);
void scanLibrary(TieOffLibrary& library, LineTable& lines, TokenTable& tokens, const std::string& folderPath);
void scanLibrary(PatternLibrary& library, LineTable& lines, const std::string& folderPath);

// Loads the three libraries from the program folder (motifs, patterns, tie-offs).
void loadLibraries(Libraries& libraries, LineTable& lines, TokenTable& tokens,
                   const std::string& programFolder);

// Index of the first entry whose upper-cased name equals `upperText`, or -1.
int findLibraryEntry(const MotifLibrary& library, std::string_view upperText);
int findLibraryEntry(const TieOffLibrary& library, std::string_view upperText);
int findLibraryEntry(const PatternLibrary& library, std::string_view upperText);

} // namespace kelvara
