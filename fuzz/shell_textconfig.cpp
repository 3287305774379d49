// Any bytes as a text file: the reader, the tokenizer on every kept line, and
// the configuration reader. Checks the invariants callers rely on.
#include "shell/settings.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace kelvara;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool within(int32_t v, int32_t low, int32_t high)
{
    return v >= low && v <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static auto lines = std::make_unique<LineTable>();
    static auto tokens = std::make_unique<TokenTable>();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    readTextBytes(*lines, bytes);
    check(within(lines->lineCount, 0, LineTable::kSlots));

    // The in-memory splitter used for project files keeps the same lines.
    std::vector<std::string> split;
    forEachTextLine(bytes.data(), bytes.size(), LineTable::kMaxLineLength, [&](std::string line) {
        split.push_back(std::move(line));
        return split.size() < static_cast<std::size_t>(LineTable::kSlots);
    });
    check(split.size() == static_cast<std::size_t>(lines->lineCount));
    for (int i = 0; i < lines->lineCount; ++i) {
        const std::string& line = lines->slot(i);
        check(line == split[static_cast<std::size_t>(i)]);
        check(!line.empty() && line.size() <= 255 && line.front() != ' ');
        check(line.find_first_of(";\t\r\n") == std::string::npos);

        std::string rest = line;
        parseLine(*tokens, rest);
        check(within(tokens->tokenCount, 1, TokenTable::kRows));
        check(rest.empty() || tokens->tokenCount == TokenTable::kRows);
        for (int t = 0; t < tokens->tokenCount; ++t) {
            const Token& token = tokens->rows[static_cast<std::size_t>(t)];
            check(token.key.size() <= 15 && token.text.size() <= 255);
        }
    }

    Settings settings;
    applyConfigurationLines(settings, *lines, *tokens);
    check(within(settings.DELETE, 1, 10) && within(settings.DENSITY, 1, 99));
    check(within(settings.MRIZXY, 2, 100) && within(settings.STEIL, 0, 999));
    check(settings.REPEAT == 1 || settings.REPEAT == 3 || settings.REPEAT == 5 || settings.REPEAT == 9);
    check(within(settings.CROSS, 0, 1) && within(settings.STITCHVIEW, 0, 1));
    check(settings.MAX == 90 || within(settings.MAX, 5, 20));

    // Whole inputs as integers and as a single raw line (not bound by 255).
    (void)readInteger(bytes);
    std::string raw(bytes.substr(0, bytes.find_first_of("\r\n")));
    parseLine(*tokens, raw);
    return 0;
}
