// The line tokenizer and the integer reader behind every key=value file.
#include "shell/tokenizer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kelvara;

namespace {

struct Parsed {
    std::unique_ptr<TokenTable> tokens = std::make_unique<TokenTable>();
    std::string rest;
};

Parsed parse(const std::string& text)
{
    Parsed p;
    p.rest = text;
    parseLine(*p.tokens, p.rest);
    return p;
}

void expectToken(const TokenTable& tokens, int i, const std::string& key, int32_t number,
                 const std::string& text)
{
    const Token& t = tokens.rows[static_cast<std::size_t>(i)];
    EXPECT_EQ(t.key, key) << "token " << i;
    EXPECT_EQ(t.number, number) << "token " << i;
    EXPECT_EQ(t.text, text) << "token " << i;
}

} // namespace

TEST(IntegerReading, AcceptsEveryBaseWithinThirtyTwoBits)
{
    const std::pair<const char*, int32_t> numbers[] = {
        {"0", 0},
        {"123", 123},
        {"-123", -123},
        {"+7", 7},
        {"  42", 42},
        {"\t 42", 42},
        {"000000000000000000042", 42},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$7fffffff", 2147483647},
        {"0x10", 16},
        {"0X1f", 31},
        {"x1F", 31},
        {"X10", 16},
        {"%101", 5},
        {"&17", 15},
        {"%11111111111111111111111111111111", -1},
        {"&37777777777", -1},
        {"0x00000000FFFFFFFF", -1},
        {"-$1", -1},
        {"$28", 40},
    };
    for (const auto& [text, value] : numbers) {
        const auto read = readInteger(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(*read, value) << text;
    }
}

TEST(IntegerReading, RefusesOverflowEmptyDigitsAndForeignCharacters)
{
    const char* notNumbers[] = {"",
                                "-",
                                "+",
                                "0x",
                                "$",
                                "x",
                                "%",
                                "&",
                                "2147483648",
                                "-2147483649",
                                "99999999999999999999",
                                "$100000000",
                                "%111111111111111111111111111111111",
                                "&40000000000",
                                "12a",
                                "42 ",
                                "1.5",
                                "0x-1",
                                "%2",
                                "&8",
                                "- 5",
                                "--5",
                                "$ 1",
                                "abc"};
    for (const char* text : notNumbers)
        EXPECT_FALSE(readInteger(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(readInteger(std::string_view("1\0"
                                              "2",
                                              3))
                     .has_value());
}

TEST(UpperCasing, ChangesOnlyAsciiLetters)
{
    EXPECT_EQ(upperCase("wave-1_\xe9t\xe9"), "WAVE-1_\xe9T\xe9");
}

TEST(LineTokenizer, ExamplesOfTheFileFormats)
{
    auto numbers = parse("10 20");
    ASSERT_EQ(numbers.tokens->tokenCount, 2);
    expectToken(*numbers.tokens, 0, "", 10, "");
    expectToken(*numbers.tokens, 1, "", 20, "");

    auto keyValue = parse("DENSITY=40");
    ASSERT_EQ(keyValue.tokens->tokenCount, 1);
    expectToken(*keyValue.tokens, 0, "DENSITY", 40, "");

    auto bareWord = parse("LINEA AX1=7");
    ASSERT_EQ(bareWord.tokens->tokenCount, 2);
    expectToken(*bareWord.tokens, 0, "LINEA", 0, "");
    expectToken(*bareWord.tokens, 1, "AX1", 7, "");

    auto text = parse("PATTERN=Wave");
    expectToken(*text.tokens, 0, "PATTERN", 0, "WAVE");

    auto trailingWord = parse("A=1 B");
    ASSERT_EQ(trailingWord.tokens->tokenCount, 2);
    expectToken(*trailingWord.tokens, 0, "A", 1, "");
    expectToken(*trailingWord.tokens, 1, "", 0, "B");
}

TEST(LineTokenizer, BareWordBeforeALaterEqualsIsReadAsANumberToo)
{
    auto p = parse("12 run X=1");
    ASSERT_EQ(p.tokens->tokenCount, 3);
    expectToken(*p.tokens, 0, "12", 12, "");
    expectToken(*p.tokens, 1, "RUN", 0, "");
    expectToken(*p.tokens, 2, "X", 1, "");
}

TEST(LineTokenizer, KeysAreCutTo15AndTextsTo255Characters)
{
    auto p = parse("abcdefghijklmnopqrst=" + std::string(300, 'w') + " =5");
    ASSERT_EQ(p.tokens->tokenCount, 2);
    expectToken(*p.tokens, 0, "ABCDEFGHIJKLMNO", 0, std::string(255, 'W'));
    expectToken(*p.tokens, 1, "", 5, "");
}

TEST(LineTokenizer, EqualsAtTheEndOfTheLineGivesNumberZeroNotAStaleValue)
{
    Parsed p;
    p.rest = "DENSITY=77 EDGE=9";
    parseLine(*p.tokens, p.rest);
    p.rest = "A=1 DENSITY=";
    parseLine(*p.tokens, p.rest);
    ASSERT_EQ(p.tokens->tokenCount, 2);
    expectToken(*p.tokens, 1, "DENSITY", 0, "");

    p.rest = "DENSITY= 40";
    parseLine(*p.tokens, p.rest);
    ASSERT_EQ(p.tokens->tokenCount, 2);
    expectToken(*p.tokens, 0, "DENSITY", 0, "");
    expectToken(*p.tokens, 1, "", 40, "");
}

TEST(LineTokenizer, RowsFromTokenCountOnKeepWhatEarlierLinesLeft)
{
    Parsed p;
    p.rest = "A=1 B=2 C=3";
    parseLine(*p.tokens, p.rest);
    p.rest = "D=4";
    parseLine(*p.tokens, p.rest);
    EXPECT_EQ(p.tokens->tokenCount, 1);
    expectToken(*p.tokens, 0, "D", 4, "");
    expectToken(*p.tokens, 2, "C", 3, "");

    p.rest = "";
    parseLine(*p.tokens, p.rest);
    EXPECT_EQ(p.tokens->tokenCount, 0);
    expectToken(*p.tokens, 0, "D", 4, "");
}

TEST(LineTokenizer, DoubleBlanksGiveAnEmptyToken)
{
    auto p = parse("A  B");
    ASSERT_EQ(p.tokens->tokenCount, 3);
    expectToken(*p.tokens, 0, "", 0, "A");
    expectToken(*p.tokens, 1, "", 0, "");
    expectToken(*p.tokens, 2, "", 0, "B");
}

TEST(LineTokenizer, LineIsConsumedAndStopsAfter64Tokens)
{
    std::string line;
    for (int i = 1; i <= 70; ++i)
        line += (i > 1 ? " " : "") + std::to_string(i);
    auto p = parse(line);
    EXPECT_EQ(p.tokens->tokenCount, 64);
    expectToken(*p.tokens, 63, "", 64, "");
    EXPECT_EQ(p.rest, "65 66 67 68 69 70");

    auto complete = parse("A=1 B=2 ");
    EXPECT_EQ(complete.tokens->tokenCount, 2);
    EXPECT_EQ(complete.rest, "");
}
