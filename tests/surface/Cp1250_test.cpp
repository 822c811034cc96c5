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
