#include "shell/settings.h"

#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <algorithm>
#include <string_view>

namespace kelvara {

namespace {

enum class Range {
    Fixed,       // low..high as given
    Switch,      // 0 or 1
    DeleteToMax, // bounded by DELETE and MAX as they stand when the line is read
    Repeat,      // 1..9, then only 1, 3, 5 and 9 survive
};

struct KeyRule {
    std::string_view key;
    int32_t Settings::*field;
    Range range;
    int32_t low;
    int32_t high;
};

constexpr KeyRule kRules[] = {
    {"CROSS", &Settings::CROSS, Range::Switch, 0, 1},
    {"MRIZ", &Settings::MRIZ, Range::Switch, 0, 1},
    {"MRIZXY", &Settings::MRIZXY, Range::Fixed, 2, 100},
    {"AUTO", &Settings::AUTO, Range::Switch, 0, 1},
    {"DELETE", &Settings::DELETE, Range::Fixed, 1, 10},
    {"MAX", &Settings::MAX, Range::Fixed, 5, 20},
    {"DENSITY", &Settings::DENSITY, Range::Fixed, 1, 99},
    {"PULLCOMP", &Settings::PULLCOMP, Range::Fixed, -99, 99},
    {"PUSHCOMP", &Settings::PUSHCOMP, Range::Fixed, 0, 9},
    {"STITCH", &Settings::STITCH, Range::DeleteToMax, 0, 0},
    {"UNDER", &Settings::UNDER, Range::Switch, 0, 1},
    {"LENGTH", &Settings::LENGTH, Range::DeleteToMax, 0, 0},
    {"EDGE", &Settings::EDGE, Range::Fixed, 0, 99},
    {"CIKUND", &Settings::CIKUND, Range::Switch, 0, 1},
    {"CIKCAK", &Settings::CIKCAK, Range::DeleteToMax, 0, 0},
    {"MARGIN", &Settings::MARGIN, Range::Fixed, 0, 99},
    {"STEIL", &Settings::STEIL, Range::Fixed, 0, 999},
    {"REPEAT", &Settings::REPEAT, Range::Repeat, 1, 9},
    {"TIEIN", &Settings::TIEIN, Range::Switch, 0, 1},
    {"TIEOUT", &Settings::TIEOUT, Range::Switch, 0, 1},
    {"TIELEN", &Settings::TIELEN, Range::Fixed, 5, 99},
    {"TRIM", &Settings::TRIM, Range::Fixed, 10, 199},
    {"MAXSTITCH", &Settings::MAXSTITCH, Range::Fixed, 30, 120},
    {"STITCHVIEW", &Settings::STITCHVIEW, Range::Switch, 0, 1},
    {"OUTLINES", &Settings::OUTLINES, Range::Switch, 0, 1},
    {"CHART", &Settings::CHART, Range::Fixed, 0, 2},
    {"SPEED", &Settings::SPEED, Range::Fixed, 100, 2000},
    {"THREADVIEW", &Settings::THREADVIEW, Range::Switch, 0, 1},
    {"FABRIC", &Settings::FABRIC, Range::Fixed, 0, 0xFFFFFF},
    {"QUICKSAVE", &Settings::QUICKSAVE, Range::Switch, 0, 1},
    {"MENUBAR", &Settings::MENUBAR, Range::Switch, 0, 1},
    {"PICKCOLOUR", &Settings::PICKCOLOUR, Range::Switch, 0, 1},
    {"COLOURLISTS", &Settings::COLOURLISTS, Range::Switch, 0, 1},
    {"ZOOMSTEPS", &Settings::ZOOMSTEPS, Range::Switch, 0, 1},
    {"SHOWMODES", &Settings::SHOWMODES, Range::Switch, 0, 1},
    {"DOCKPANEL", &Settings::DOCKPANEL, Range::Switch, 0, 1},
    {"LISTWORDS", &Settings::LISTWORDS, Range::Switch, 0, 1},
    {"BACKPLAN", &Settings::BACKPLAN, Range::Switch, 0, 1},
    {"TOOLSTAYS", &Settings::TOOLSTAYS, Range::Switch, 0, 1},
    {"ENTRYEXIT", &Settings::ENTRYEXIT, Range::Switch, 0, 1},
};

// The low bound is tested first, so with DELETE above MAX the result is DELETE.
int32_t force(int32_t v, int32_t low, int32_t high)
{
    if (v < low)
        return low;
    if (v > high)
        return high;
    return v;
}

void applyRule(Settings& settings, const KeyRule& rule, int32_t v)
{
    switch (rule.range) {
    case Range::Fixed:
    case Range::Switch:
        v = force(v, rule.low, rule.high);
        break;
    case Range::DeleteToMax:
        v = force(v, settings.DELETE, settings.MAX);
        break;
    case Range::Repeat:
        v = force(v, rule.low, rule.high);
        if (v != 1 && v != 3 && v != 5 && v != 9)
            v = 1;
        break;
    }
    settings.*rule.field = v;
}

} // namespace

void applyConfigurationLines(Settings& settings, LineTable& lines, TokenTable& tokens)
{
    for (int i = 0; i < lines.lineCount; ++i) {
        // HOOP's value is a name with blanks, which the tokenizer would split.
        const std::string& raw = lines.lines[static_cast<std::size_t>(i)];
        if (raw.size() >= 5 && upperCase(std::string_view(raw).substr(0, 5)) == "HOOP=") {
            setHoopSetting(settings, std::string_view(raw).substr(5));
            continue;
        }
        parseLine(tokens, lines.lines[static_cast<std::size_t>(i)]);
        if (tokens.tokenCount == 0)
            continue;
        const Token& first = tokens.rows[0];
        for (const KeyRule& rule : kRules) {
            if (first.key == rule.key) {
                applyRule(settings, rule, first.number);
                break;
            }
        }
    }
}

std::string_view hoopSetting(const Settings& settings)
{
    return std::string_view(settings.HOOP.data());
}

void setHoopSetting(Settings& settings, std::string_view name)
{
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    settings.HOOP.fill('\0');
    name = name.substr(0, settings.HOOP.size() - 1);
    std::copy(name.begin(), name.end(), settings.HOOP.begin());
}

void readConfiguration(Settings& settings, LineTable& lines, TokenTable& tokens,
                       const std::string& programFolder)
{
    readTextFile(lines, programFolder + kConfigFileName);
    applyConfigurationLines(settings, lines, tokens);
}

} // namespace kelvara
