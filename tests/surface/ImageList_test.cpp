#include "SurfaceTestHelpers.h"
#include "surface/Cp1250.h"
#include "surface/ImageError.h"
#include "surface/ImageList.h"

#include <gtest/gtest.h>

namespace vedivez {
namespace {

TEST(ImageListTest, FindsNamesIgnoringLetterCase) {
    ImageList list;
    list.Add("KOL_sLSPS", test::CoordinateImage(47, 47));
    list.Add("Ruzek_LH", test::CoordinateImage(7, 7));
    list.Add("\xC8_Kol", test::CoordinateImage(3, 2)); // Č in Windows-1250
    struct Case {
        const char* query;
        int expected;
    };
    for (const Case c :
         {Case{"KOL_sLSPS", 0}, Case{"kol_slsps", 0}, Case{"KOL_SLSPS", 0}, Case{"ruzek_lh", 1},
          Case{"\xC8_KOL", 2}, Case{"\xE8_kol", 2}, Case{"KOL_sLSP", -1}, Case{"", -1}}) {
        EXPECT_EQ(list.TryFindImage(c.query), c.expected) << c.query;
    }
    EXPECT_EQ(list.Name(1), "Ruzek_LH");
    EXPECT_EQ(list.ImageWidth(2), 3);
    EXPECT_EQ(list.ImageHeight(2), 2);
}

// Two one-letter names are one name exactly when Qt's lower case of their Windows-1250
// characters agrees: Czech, Slovak, Polish and Hungarian capitals find their small letters,
// and signs such as the multiplication sign or the non-breaking space stay themselves.
TEST(ImageListTest, CaseRuleCoversEveryWindows1250Letter) {
    auto lower = [](int byte) {
        return ToCp1250(FromCp1250(std::string(1, char(byte))).toLower());
    };
    int pairs = 0;
    for (int stored = 0; stored < 256; ++stored) {
        ImageList list;
        list.Add(std::string(1, char(stored)), test::CoordinateImage(1, 1));
        for (int query = 0; query < 256; ++query) {
            const bool same = lower(stored) == lower(query);
            pairs += same && stored != query;
            ASSERT_EQ(list.TryFindImage(std::string(1, char(query))), same ? 0 : -1)
                << std::hex << "stored 0x" << stored << " query 0x" << query;
        }
    }
    EXPECT_EQ(pairs, 2 * (26 + 5 + 5 + 30)); // each capital-small pair counted both ways
    EXPECT_EQ(lower(0xC8), "\xE8");          // Č, č
    EXPECT_EQ(lower(0x8A), "\x9A");          // Š, š
}

TEST(ImageListTest, LaterItemOfOneNameWins) {
    ImageList list;
    list.Add("Tile", test::CoordinateImage(1, 1));
    list.Add("Other", test::CoordinateImage(2, 2));
    list.Add("TILE", test::CoordinateImage(3, 3));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.FindImage("tile"), 2);
    EXPECT_EQ(list.ImageWidth(list.FindImage("Tile")), 3);
}

TEST(ImageListTest, MissingNameRaisesExactMessage) {
    ImageList list;
    list.Add("KOL_sLSPS", test::CoordinateImage(1, 1));
    for (const std::string name : {"KOL_XYZ", "\x8A\xED\xF8ka", ""}) {
        try {
            list.FindImage(name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const ImageError& e) {
            EXPECT_EQ(std::string(e.what()), "Image '" + name + "' not found");
        }
    }
}

} // namespace
} // namespace vedivez
