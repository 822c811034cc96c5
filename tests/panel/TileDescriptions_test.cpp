#include "panel/TileCatalogue.h"
#include "panel/TileDescriptions.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vedivez;

namespace {

// A few read by hand from the name grammar, one of each family.
TEST(TileDescriptionsTest, NamesReadAsTheirTrack) {
    const std::pair<const char*, const char*> cases[] = {
        {"VYH_sLSPS_sLDPS",
         "Výhybka: společný konec PS, přímý směr LS, odbočka LD — VYH_sLSPS_sLDPS"},
        {"VYH_sLHPD_sSHPD",
         "Výhybka: společný konec PD, přímý směr LH, odbočka SH — VYH_sLHPD_sSHPD"},
        {"KOL_sLSPS", "Přímá kolej: LS–PS — KOL_sLSPS"},
        {"KOL_sLSPH", "Lomená kolej: LS–PH — KOL_sLSPH"},
        {"KRI_sLDPH_sLHPD", "Křížení: LD–PH × LH–PD — KRI_sLDPH_sLHPD"},
        {"OBO_sSDLH_sSDPH",
         "Symetrická výhybka: společný konec SD, větve LH a PH — OBO_sSDLH_sSDPH"},
        {"KOZ_sPD", "Konec koleje (šturc): kolej vstupuje v bodě PD — KOZ_sPD"},
        {"HKO_sLDPH", "Hranice kolejového obvodu: kolej LD–PH dělená uprostřed — HKO_sLDPH"},
        {"ANG_sLSPS_sLHPD_sLSPD_sLHPS",
         "Anglická výhybka: LS–PS × LH–PD, spojky LS–PD a LH–PS — ANG_sLSPS_sLHPD_sLSPD_sLHPS"},
        // The slip named SDLH is drawn SD–PH: the description names what the tile draws.
        {"ANG_sLDPH_sSDSH_sLDSH_sSDLH", "Anglická výhybka: LD–PH × SD–SH, spojky LD–SH a SD–PH "
                                        "— ANG_sLDPH_sSDSH_sLDSH_sSDLH"},
        // Outside the grammar: the name alone.
        {"NEZNAMY", "NEZNAMY"},
        {"KOL_sLSXX", "KOL_sLSXX"},
    };
    for (const auto& [name, text] : cases)
        EXPECT_EQ(TileDescription(name).toStdString(), text);
}

// Every palette tile has a description of its own, not only a name of its own.
TEST(TileDescriptionsTest, EveryPaletteTileIsDescribedDistinctly) {
    const auto& names = PaletteTileNames();
    ASSERT_EQ(names.size(), 54u);
    QSet<QString> seen;
    for (const std::string& name : names) {
        const QString text = TileDescription(name);
        const qsizetype dash = text.indexOf(QString::fromUtf8(" — "));
        ASSERT_GT(dash, 0) << name << " has no description";
        EXPECT_TRUE(text.endsWith(QString::fromStdString(name))) << name;
        const QString description = text.left(dash);
        EXPECT_FALSE(seen.contains(description)) << name << ": " << description.toStdString();
        seen.insert(description);
    }
}

} // namespace
