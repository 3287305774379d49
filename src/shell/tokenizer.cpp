#include "shell/tokenizer.h"

#include <algorithm>

namespace kelvara {

namespace {

constexpr std::size_t kMaxKeyLength = 15;
constexpr std::size_t kMaxTextLength = 255;

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

} // namespace

std::optional<int32_t> readInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = (text[i] == '-');
        ++i;
    }

    int base = 10;
    std::string_view rest = text.substr(i);
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        rest.remove_prefix(2);
    } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        base = 16;
        rest.remove_prefix(1);
    } else if (!rest.empty() && rest[0] == '%') {
        base = 2;
        rest.remove_prefix(1);
    } else if (!rest.empty() && rest[0] == '&') {
        base = 8;
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return std::nullopt;

    // Decimal must fit the signed range; the other bases may fill all 32 bits.
    const uint64_t limit = base == 10 ? (negative ? 2147483648ULL : 2147483647ULL) : 0xFFFFFFFFULL;
    uint64_t value = 0;
    for (char c : rest) {
        const int digit = digitValue(c);
        if (digit >= base)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }

    uint32_t bits = static_cast<uint32_t>(value);
    if (negative)
        bits = 0U - bits;
    return static_cast<int32_t>(bits);
}

std::string upperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

void parseLine(TokenTable& tokens, std::string& line)
{
    tokens.tokenCount = 0;
    // `start` marks what remains of the line; the consumed part is cut once at the end.
    std::size_t start = 0;
    while (start < line.size()) {
        const std::string_view rest = std::string_view(line).substr(start);
        const std::size_t blank = rest.find(' ');
        const std::size_t tokenEnd = blank == std::string_view::npos ? rest.size() : blank;
        const std::size_t equals = rest.find('=');
        const std::string_view token = rest.substr(0, tokenEnd);

        Token& row = tokens.rows[static_cast<std::size_t>(tokens.tokenCount)];
        if (equals != std::string_view::npos && equals > tokenEnd) {
            // A bare word before a later key=value: it is a key of its own.
            row.key = upperCase(token.substr(0, kMaxKeyLength));
            row.text.clear();
            row.number = readInteger(row.key).value_or(0);
        } else {
            std::string_view value = token;
            if (equals == std::string_view::npos) {
                row.key.clear();
            } else {
                row.key = upperCase(token.substr(0, std::min(equals, kMaxKeyLength)));
                value = token.substr(equals + 1);
            }
            const std::optional<int32_t> number = readInteger(value);
            if (number) {
                row.number = *number;
                row.text.clear();
            } else {
                // Includes "KEY=" at the very end of the line: number 0, never
                // a value left in the row by an earlier line.
                row.number = 0;
                row.text = upperCase(value.substr(0, kMaxTextLength));
            }
        }

        ++tokens.tokenCount;
        start += tokenEnd + 1;
        if (tokens.tokenCount == TokenTable::kRows)
            break;
    }
    line.erase(0, std::min(start, line.size()));
}

} // namespace kelvara
