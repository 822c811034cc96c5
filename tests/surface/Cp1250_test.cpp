#include "surface/Cp1250.h"

#include <gtest/gtest.h>

using namespace vedivez;

TEST(Cp1250Test, CzechLettersMapToTheirCodePageBytes) {
    EXPECT_EQ(ToCp1250(QString::fromUtf8("Uloženo")), "Ulo\x9E"
                                                      "eno");
    EXPECT_EQ(ToCp1250(QString::fromUtf8("Načteno")), "Na\xE8teno");
    EXPECT_EQ(ToCp1250(QString::fromUtf8("Šířka")), "\x8A\xED\xF8ka");
    EXPECT_EQ(FromCp1250("\x8A\xED\xF8ka"), QString::fromUtf8("Šířka"));
    EXPECT_EQ(ToCp1250(QString::fromUtf8("€ 日")), "\x80 ?");
}

TEST(Cp1250Test, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(char(b));
    EXPECT_EQ(ToCp1250(FromCp1250(all)), all);
}

// One folding in every locale: the letter pairs of the code page, ASCII and accented, fold to
// one another, and bytes without a case (signs, ß, digits) stay as they are.
TEST(Cp1250Test, CaseFoldingPairsLettersAndLeavesOtherBytes) {
    const struct {
        char small;
        char capital;
    } letters[] = {{'a', 'A'},       {'z', 'Z'},       {'\xE8', '\xC8'},  // č Č
                   {'\xF8', '\xD8'}, {'\x9E', '\x8E'}, {'\x9A', '\x8A'},  // ř Ř, ž Ž, š Š
                   {'\xBE', '\xBC'}, {'\xB3', '\xA3'}, {'\xFE', '\xDE'}}; // ľ Ľ, ł Ł, ţ Ţ
    for (const auto& l : letters) {
        EXPECT_EQ(Cp1250Upper(l.small), l.capital) << int(uint8_t(l.small));
        EXPECT_EQ(Cp1250Upper(l.capital), l.capital) << int(uint8_t(l.capital));
        EXPECT_EQ(Cp1250Lower(l.capital), l.small) << int(uint8_t(l.capital));
        EXPECT_EQ(Cp1250Lower(l.small), l.small) << int(uint8_t(l.small));
    }
    // × ß ˙ µ, the no-break space, the ellipsis, the euro sign, a digit and the underscore.
    for (const char c : {'\xD7', '\xDF', '\xFF', '\xB5', '\xA0', '\x85', '\x80', '7', '_'}) {
        EXPECT_EQ(Cp1250Upper(c), c) << int(uint8_t(c));
        EXPECT_EQ(Cp1250Lower(c), c) << int(uint8_t(c));
    }
    EXPECT_EQ(Cp1250UpperCase("kol_\xE8\xF8\x9E\x9A\xD7"), "KOL_\xC8\xD8\x8E\x8A\xD7");
    EXPECT_EQ(Cp1250LowerCase("KOL_\xC8\xD8\x8E\x8A\xD7"), "kol_\xE8\xF8\x9E\x9A\xD7");
}
