#include "panel/Conversions.h"
#include "panel/PanelErrors.h"
#include "panel/TileImages.h"
#include "panel/TileLookup.h"
#include "surface/ImageError.h"
#include "surface/ImageList.h"

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

// A value of any length is quoted with at most 40 characters, the last of them "…" (byte
// 0x85 of the code page) when the value was cut.
TEST(ConversionsTest, MessagesQuoteLongValuesCutShort) {
    const std::string forty(40, '9');
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"", ""},
        {forty, forty},
        {forty + "9", std::string(39, '9') + "\x85"},
        {std::string(10'000'000, '9'), std::string(39, '9') + "\x85"},
        {"abc" + std::string(100, ' ') + "x", "abc" + std::string(36, ' ') + "\x85"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntegerErrorMessage(c.text), "'" + c.quoted + "' is not a valid integer value");
        EXPECT_EQ(BooleanErrorMessage(c.text), "'" + c.quoted + "' is not a valid boolean value");
        try {
            ParseInteger(c.text);
            ADD_FAILURE() << "converted " << c.text.size() << " characters";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()), IntegerErrorMessage(c.text));
        }
    }
}

// A tile name from the file is quoted the same way when it has no picture.
TEST(ConversionsTest, MissingPictureMessagesQuoteLongNamesCutShort) {
    const ImageList images = MakeTileImageList();
    const std::string name(1'000'000, 'N');
    const std::string expected = "Image '" + std::string(39, 'N') + "\x85' not found";
    TileLookup lookup(images);
    std::vector<std::string> reported;
    lookup.onMissingImage = [&](const std::string& message) { reported.push_back(message); };
    EXPECT_EQ(lookup.IndexFor(name), -1);
    EXPECT_EQ(reported, std::vector<std::string>{expected});
    try {
        images.FindImage(name);
        ADD_FAILURE() << "found";
    } catch (const ImageError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
}

// A reader that sees a value arrive in pieces may give up once no continuation converts:
// then the value is refused whatever follows. It must never give up on a value that can
// still become valid.
TEST(ConversionsTest, ValuesArrivingInPiecesAreRefusedOnlyWhenNoEndingConverts) {
    const struct {
        std::string prefix;
        bool integer;
        bool boolean;
    } cases[] = {
        {"", true, true},
        {std::string(1000, ' '), true, true},
        {std::string(1000, '0') + "5", true, true},
        {"2147483647", true, true},
        {"2147483648", false, true},
        {"-2147483648", true, true},
        {"-21474836480", false, true},
        {std::string(200, '9'), false, true},
        {"$FFFFFFFF", true, false},
        {"$FFFFFFFF0", false, false},
        {"0", true, true},
        {"0x", true, false},
        {"0X1f", true, false},
        {"12a", false, false},
        {"5 ", false, true},
        {"5 5", false, false},
        {"1e", false, true},
        {"1e ", false, false},
        {"1e+5   ", false, true},
        {"e5", false, false},
        {".", false, true},
        {"..", false, false},
        {"tru", false, true},
        {"FALS", false, true},
        {"trux", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntegerStillPossible(c.prefix), c.integer) << "'" << c.prefix << "'";
        EXPECT_EQ(BooleanStillPossible(c.prefix, '.'), c.boolean) << "'" << c.prefix << "'";
    }

    // Every prefix of a valid text counts as possible; put the other way, no text that
    // continues a refused prefix converts.
    const std::string alphabet = " +-0123456789$xXaFeE.,tTrRuUfFlLsS";
    uint32_t seed = 12345;
    int validIntegers = 0, validBooleans = 0;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8); };
    for (int round = 0; round < 200000; ++round) {
        std::string text(next() % 12, ' ');
        for (char& ch : text)
            ch = alphabet[next() % alphabet.size()];
        const char sep = next() % 2 ? '.' : ',';
        const bool integer = TryParseInteger(text).has_value();
        const bool boolean = TryParseBoolean(text, sep).has_value();
        validIntegers += integer;
        validBooleans += boolean;
        for (size_t n = 0; n <= text.size(); ++n) {
            const std::string_view prefix = std::string_view(text).substr(0, n);
            if (integer) {
                ASSERT_TRUE(IntegerStillPossible(prefix))
                    << "'" << prefix << "' of '" << text << "'";
            }
            if (boolean) {
                ASSERT_TRUE(BooleanStillPossible(prefix, sep))
                    << "'" << prefix << "' of '" << text << "'";
            }
        }
    }
    // The random texts hold enough valid ones to mean something.
    EXPECT_GT(validIntegers, 1000);
    EXPECT_GT(validBooleans, 1000);
}
