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
    const std::pair<FileErrorCode, const char*> cases[] = {
        {kFileNotFound, "File not found"},
        {kInvalidFilename, "Invalid filename"},
        {kTooManyOpenFiles, "Too many open files"},
        {kAccessDenied, "File access denied"},
        {kReadBeyondEnd, "Read beyond end of file"},
        {kDiskFull, "Disk full"},
        {kInvalidNumericInput, "Invalid numeric input"},
    };
    for (auto [code, text] : cases)
        EXPECT_STREQ(FileError(code).what(), text);
    // An I/O error shows its number, even one equal to a code of the table above.
    for (int number : {5, 32, 101})
        EXPECT_EQ(FileError::Io(number).what(), "I/O error " + std::to_string(number));
    EXPECT_EQ(FileError::Io(5, 7).Line(), 7);
    EXPECT_EQ(FileError::Io(5).Code(), kIoError);
    EXPECT_EQ(FileError::Io(5).IoNumber(), 5);
}
