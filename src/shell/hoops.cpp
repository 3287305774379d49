#include "shell/hoops.h"

#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kelvara {

namespace {

// Far more than 200 lines of hoops and comments.
constexpr std::uintmax_t kLargestHoopFile = 256 * 1024;

std::string_view nextWord(std::string_view& rest)
{
    const std::size_t start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const std::size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

// Millimetres with at most one decimal, as design units.
bool readMillimetres(std::string_view text, int32_t& units)
{
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string_view tenth = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    int32_t mm = 0;
    if (whole.empty() || whole.size() > 5)
        return false;
    auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), mm);
    if (error != std::errc() || end != whole.data() + whole.size())
        return false;
    int32_t fraction = 0;
    if (point != std::string_view::npos) {
        if (tenth.size() != 1 || tenth[0] < '0' || tenth[0] > '9')
            return false;
        fraction = tenth[0] - '0';
    }
    units = mm * 10 + fraction;
    return true;
}

bool readShape(std::string_view text, HoopShape& shape)
{
    const std::string word = upperCase(text);
    if (word == "RECT")
        shape = HoopShape::Rectangle;
    else if (word == "ROUNDED")
        shape = HoopShape::Rounded;
    else if (word == "OVAL")
        shape = HoopShape::Oval;
    else
        return false;
    return true;
}

// Why the line is no hoop; empty when `hoop` was read.
// The slot that says why the line is not a hoop; -1 for a hoop.
int readHoopLine(std::string_view line, Hoop& hoop)
{
    std::string_view rest = line;
    const std::string_view width = nextWord(rest);
    const std::string_view height = nextWord(rest);
    const std::string_view shape = nextWord(rest);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ')
        rest.remove_suffix(1);
    if (!readMillimetres(width, hoop.width) || !readMillimetres(height, hoop.height))
        return kSlotHoopNotMillimetres;
    if (hoop.width < kSmallestHoopSide || hoop.height < kSmallestHoopSide || hoop.width > kLargestHoopSide ||
        hoop.height > kLargestHoopSide)
        return kSlotHoopSides;
    if (!readShape(shape, hoop.shape))
        return kSlotHoopShape;
    if (rest.empty())
        return kSlotHoopNoName;
    if (rest.size() > 63)
        return kSlotHoopLongName;
    for (const char c : rest)
        if (static_cast<unsigned char>(c) < 0x20)
            return kSlotHoopControlCharacter;
    hoop.name = std::string(rest);
    return -1;
}

} // namespace

HoopList readHoops(std::string_view bytes)
{
    HoopList list;
    std::size_t pos = 0;
    int lineNumber = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        ++lineNumber;
        const std::string line =
            cleanTextLine(bytes.substr(pos, std::min<std::size_t>(end - pos, LineTable::kMaxLineLength)));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        pos = end + 1;
        if (line.empty())
            continue;
        Hoop hoop;
        int why = readHoopLine(line, hoop);
        if (why < 0 && list.hoops.size() >= kMostHoops)
            why = kSlotTooManyHoops;
        if (why < 0)
            list.hoops.push_back(std::move(hoop));
        else
            list.problems.push_back(Outcome(MessageSlot(why), std::to_string(lineNumber)));
    }
    return list;
}

HoopList loadHoops(const std::string& programFolder)
{
    const std::filesystem::path path(programFolder + kHoopFileName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return {};
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestHoopFile) {
        HoopList refused;
        refused.problems.push_back(Outcome(kSlotHoopFileTooLarge, kHoopFileName));
        return refused;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return readHoops(bytes);
}

const Hoop* findHoop(const HoopList& list, std::string_view setting)
{
    if (setting.empty())
        return nullptr;
    const std::string wanted = upperCase(setting);
    for (const Hoop& hoop : list.hoops)
        if (upperCase(hoop.name) == wanted)
            return &hoop;
    // "130x180" or "130 x 180": a size in mm.
    std::string compact;
    for (const char c : wanted)
        if (c != ' ')
            compact += c;
    const std::size_t x = compact.find('X');
    int32_t width = 0, height = 0;
    if (x == std::string::npos || !readMillimetres(std::string_view(compact).substr(0, x), width) ||
        !readMillimetres(std::string_view(compact).substr(x + 1), height))
        return nullptr;
    for (const Hoop& hoop : list.hoops)
        if (hoop.width == width && hoop.height == height)
            return &hoop;
    return nullptr;
}

std::string hoopSizeText(const Hoop& hoop)
{
    const auto mm = [](int32_t units) {
        return units % 10 == 0 ? std::to_string(units / 10)
                               : std::to_string(units / 10) + "." + std::to_string(units % 10);
    };
    return mm(hoop.width) + " x " + mm(hoop.height) + " mm";
}

} // namespace kelvara
