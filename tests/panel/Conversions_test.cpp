#include "panel/Conversions.h"
#include "panel/PanelErrors.h"

#include <gtest/gtest.h>

using namespace vedivez;

TEST(ConversionsTest, IntegersAsTheReaderAcceptsThem) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"0", 0},
        {"5", 5},
        {" 5", 5},
        {"   -12", -12},
        {"+7", 7},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"$10", 16},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1F", 31},
        {"0XaB", 171},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", INT32_MAX},
        {"$80000000", INT32_MIN},
        {"$00000000000F", 15},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"5 ", std::nullopt},
        {"5x", std::nullopt},
        {"- 5", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$100000000", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"1.5", std::nullopt},
        {"\t5", std::nullopt},
        {"abc", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TryParseInteger(c.text), c.value) << "'" << c.text << "'";
}

TEST(ConversionsTest, BooleansAsTheReaderAcceptsThem) {
    const struct {
        const char* text;
        char sep;
        std::optional<bool> value;
    } cases[] = {
        {"0", '.', false},          {"-1", '.', true},
        {"1", '.', true},           {"0.0", '.', false},
        {"0.5", '.', true},         {"-0", '.', false},
        {" 2 ", '.', true},         {"1E5", '.', true},
        {"0e-7", '.', false},       {"5e+2", '.', true},
        {".5", '.', true},          {"1.", '.', true},
        {"0,5", ',', true},         {"0,0", ',', false},
        {"true", '.', true},        {"TRUE", '.', true},
        {"True", '.', true},        {"fAlSe", '.', false},
        {"0,5", '.', std::nullopt}, {"yes", '.', std::nullopt},
        {"", '.', std::nullopt},    {" ", '.', std::nullopt},
        {"1E", '.', std::nullopt},  {"E5", '.', std::nullopt},
        {".", '.', std::nullopt},   {" true", '.', std::nullopt},
        {"1 1", '.', std::nullopt}, {"$1", '.', std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TryParseBoolean(c.text, c.sep), c.value) << "'" << c.text << "'";
}

TEST(ConversionsTest, FailuresCarryTheConvertedText) {
    try {
        ParseInteger("abc");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    try {
        ParseBoolean("yes");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'yes' is not a valid boolean value");
    }
}

TEST(ConversionsTest, WriterIntegersRoundTrip) {
    for (int32_t v : {0, 1, -1, 9, 10, -10, 123456, INT32_MAX, INT32_MIN}) {
        std::string s;
        AppendInteger(s, v);
        EXPECT_EQ(s, std::to_string(v));
        EXPECT_EQ(TryParseInteger(s), v);
    }
}

TEST(ConversionsTest, DisplayMessageAddsFullStopAfterCharactersAboveTheDot) {
    EXPECT_EQ(DisplayMessage("File not found"), "File not found.");
    EXPECT_EQ(DisplayMessage("'x' is not a valid integer value"),
              "'x' is not a valid integer value.");
    EXPECT_EQ(DisplayMessage("ends with dot."), "ends with dot.");
    EXPECT_EQ(DisplayMessage("ends with quote '"), "ends with quote '");
    EXPECT_EQ(DisplayMessage("ends with dash -"), "ends with dash -");
    EXPECT_EQ(DisplayMessage("slash/"), "slash/.");
    EXPECT_EQ(DisplayMessage("I/O error 7"), "I/O error 7.");
    EXPECT_EQ(DisplayMessage(""), "");
}

TEST(ConversionsTest, FileErrorMessagesByCode) {
    const std::pair<int, const char*> cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {32, "I/O error 32"},
    };
    for (auto [code, text] : cases)
        EXPECT_STREQ(FileError(code).what(), text);
}
