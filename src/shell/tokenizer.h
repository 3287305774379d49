#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

struct Token {
    std::string key;    // at most 15 characters, upper case
    int32_t number = 0;
    std::string text;   // at most 255 characters, upper case
};

// Output of parseLine. Rows from tokenCount on keep what earlier calls left.
struct TokenTable {
    static constexpr int kRows = 64;
    std::array<Token, kRows> rows;
    int32_t tokenCount = 0;
};

// Reads a whole text as a signed 32-bit integer: optional leading blanks or
// tabs, optional sign, optional base prefix ($, x, X, 0x, 0X hex; % binary;
// & octal) and at least one digit up to the end. Decimal must fit int32;
// the other bases may use all 32 bits ($FFFFFFFF is -1).
std::optional<int32_t> readInteger(std::string_view text);

// Upper-cases only 'a'..'z'.
std::string upperCase(std::string_view text);

// Splits one line into tokens (key, number, text). The line is consumed:
// on return it holds what was not parsed (empty after a complete parse).
void parseLine(TokenTable& tokens, std::string& line);

} // namespace kelvara
