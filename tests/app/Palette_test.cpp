#include "AppTestSupport.h"
#include "panel/TileDescriptions.h"

#include "app/Palette.h"
#include "panel/TileCatalogue.h"
#include "panel/TileImages.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

#include <set>

namespace vedivez::test {
namespace {

const char* const kBoxes[8] = {"CH_Poloha_LH", "CH_Poloha_LS", "CH_Poloha_LD", "CH_Poloha_SH",
                               "CH_Poloha_SD", "CH_Poloha_PH", "CH_Poloha_PS", "CH_Poloha_PD"};
const char* const kFrames[4] = {"RamecekVolby_KOL", "RamecekVolby_VYH1", "RamecekVolby_VYH2",
                                "RamecekVolby_HKO"};

// Adds a point code to a space-separated list.
void Append(std::string& list, const char* code) {
    if (!list.empty())
        list += ' ';
    list += code;
}

class PaletteTest : public WindowTest {
protected:
    QTabWidget* Pages() const { return Find<QTabWidget>("PC_Sortiment"); }
    void OpenPage(const char* name) const {
        Pages()->setCurrentWidget(Find<QWidget>(name));
        QCoreApplication::processEvents();
    }
    void ClickPicture(const char* name) const {
        auto* picture = Find<TilePicture>(name);
        ASSERT_NE(picture, nullptr);
        QTest::mouseClick(picture, Qt::LeftButton);
    }
    // The codes of the boxes for which `state` holds, e.g. "LS PS".
    std::string Boxes(bool (QCheckBox::*state)() const) const {
        std::string out;
        for (const char* box : kBoxes)
            if ((Find<QCheckBox>(box)->*state)())
                Append(out, box + 10);
        return out;
    }
    std::string Checked() const { return Boxes(&QCheckBox::isChecked); }
    std::string Enabled() const { return Boxes(&QWidget::isEnabled); }
    void ExpectFramesAt(int left) const {
        for (const char* frame : kFrames)
            EXPECT_EQ(Find<QWidget>(frame)->x(), left) << frame;
    }
};

TEST_F(PaletteTest, StartsOnStraightTracksWithTheFirstTileSelected) {
    EXPECT_EQ(Pages()->currentWidget()->objectName(), QStringLiteral("SH_PRIME"));
    EXPECT_EQ(Panel().SelectedName, "KOL_sLSPS");
    EXPECT_EQ(Find<QWidget>("RamecekVolby_KOL")->x(), 3);
    for (const char* frame : {"RamecekVolby_VYH1", "RamecekVolby_VYH2", "RamecekVolby_HKO"})
        EXPECT_EQ(Find<QWidget>(frame)->x(), 4) << frame;
    for (const char* frame : kFrames)
        EXPECT_EQ(Find<QWidget>(frame)->geometry().size(), QSize(55, 55));
    EXPECT_EQ(Checked(), "LS PS");
    EXPECT_EQ(Enabled(), "LS PS");
    EXPECT_EQ(Find<QCheckBox>("CH_Poloha_SH")->text(), QStringLiteral("CH_Poloha_SH"));
    EXPECT_EQ(Find<QCheckBox>("CB_Tazeni")->geometry(), QRect(8, 96, 97, 17));
    EXPECT_EQ(Find<QLabel>("ZvolenaKolej")->geometry(), QRect(22, 23, 47, 47));
}

TEST_F(PaletteTest, PagesComeInOrderWithTheirCaptions) {
    const std::pair<const char*, const char*> pages[] = {
        {"SH_PRIME", "Přímé koleje"},
        {"SH_VYHYBKY1", "Výhybky 1"},
        {"SH_VYHYBKY2", "Výhybky 2"},
        {"SH_HRANICE", "Šturc + hranice KO"},
        {"SH_ZPRACOVANI", "Zpracování souboru"},
        {"TabSheet1", "Volby (průsvity, tlačítka)"},
        {"SH_OSTATNI", "Ostatní"},
    };
    ASSERT_EQ(Pages()->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Pages()->widget(i)->objectName(), QString::fromLatin1(pages[i].first));
        EXPECT_EQ(Pages()->tabText(i), QString::fromUtf8(pages[i].second));
    }
    EXPECT_NE(Find<QLabel>("Label1"), nullptr);
    EXPECT_NE(Find<QWidget>("ProgressBar1"), nullptr);
}

// Every catalogue tile has one picture, on the tile pages, in a row at top 7, drawn from the
// catalogue's own image with white shown transparent.
TEST_F(PaletteTest, EveryTileHasOnePictureFromTheCatalogue) {
    const std::pair<const char*, size_t> pages[] = {
        {"SH_PRIME", 14}, {"SH_VYHYBKY1", 12}, {"SH_VYHYBKY2", 16}, {"SH_HRANICE", 12}};
    std::set<std::string> seen;
    const auto pictures = PalettePictures();
    for (const auto& [page, count] : pages) {
        std::vector<TilePicture*> row;
        for (TilePicture* p : Find<QWidget>(page)->findChildren<TilePicture*>())
            row.push_back(p);
        EXPECT_EQ(row.size(), count) << page;
        std::sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        for (size_t i = 0; i < row.size(); ++i) {
            EXPECT_EQ(row[i]->y(), 7);
            EXPECT_EQ(row[i]->size(), QSize(47, 47));
            if (i > 0) {
                EXPECT_GE(row[i]->x(), row[i - 1]->x() + 47) << "pictures do not overlap";
            }
            EXPECT_TRUE(seen.insert(row[i]->objectName().toStdString()).second);
        }
        EXPECT_TRUE(row.front()->x() == 7 || row.front()->x() == 8) << page;
    }
    ASSERT_EQ(seen.size(), 54u);
    for (const auto& [name, image] : pictures) {
        ASSERT_TRUE(seen.count(name)) << name;
        const QImage shown = Find<TilePicture>(name.c_str())->pixmap().toImage();
        ASSERT_EQ(shown.size(), image.size());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool black = (image.pixel(x, y) & 0xFFFFFF) == 0;
                const QRgb s = shown.pixel(x, y);
                ASSERT_EQ(qAlpha(s), black ? 255 : 0) << name << " " << x << "," << y;
                if (black) {
                    ASSERT_EQ(s & 0xFFFFFF, 0u);
                }
            }
    }
}

struct SelectCase {
    const char* page;
    const char* picture;
    int frameLeft;
    const char* boxes;
};

TEST_F(PaletteTest, SelectingATileMovesTheFramesAndPresetsTheBoxes) {
    const SelectCase cases[] = {
        {"SH_VYHYBKY1", "VYH_sLSPS_sLDPS", 4, "LS LD PS"},
        {"SH_HRANICE", "KOZ_sPD", 219, "PD"},
        {"SH_VYHYBKY1", "ANG_sLDPH_sSDSH_sLDSH_sSDLH", 489, "LH LD SH SD PH"},
        {"SH_PRIME", "KRI_sLDPH_sLHPD", 703, "LH LD PH PD"},
        {"SH_VYHYBKY2", "OBO_sLSPH_sSDPH", 811, "LS SD PH"},
        {"SH_HRANICE", "HKO_sSDSH", 489, "SH SD"},
    };
    for (const SelectCase& c : cases) {
        OpenPage(c.page);
        ClickPicture(c.picture);
        EXPECT_EQ(Panel().SelectedName, c.picture);
        ExpectFramesAt(c.frameLeft);
        EXPECT_EQ(Checked(), c.boxes) << c.picture;
        EXPECT_EQ(Enabled(), c.boxes) << c.picture;
        EXPECT_EQ(Find<QLabel>("L_ZvolenaSoucast")->text(), QString::fromLatin1(c.picture));
        EXPECT_EQ(Find<QLabel>("ZvolenaKolej")->pixmap().toImage(),
                  Find<TilePicture>(c.picture)->pixmap().toImage());
    }
}

TEST_F(PaletteTest, UncheckedBoxIsWhatThePlacementStores) {
    QTest::mouseClick(Find<QCheckBox>("CH_Poloha_PS"), Qt::LeftButton);
    EXPECT_FALSE(Find<QCheckBox>("CH_Poloha_PS")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("CH_Poloha_PS")->isEnabled());
    // A disabled box cannot be checked.
    QTest::mouseClick(Find<QCheckBox>("CH_Poloha_PD"), Qt::LeftButton);
    EXPECT_FALSE(Find<QCheckBox>("CH_Poloha_PD")->isChecked());
    Click(Cell(2, 2));
    ASSERT_EQ(Panel().Elements().size(), 1u);
    EXPECT_TRUE(Panel().Elements()[0].Cont_LS);
    EXPECT_FALSE(Panel().Elements()[0].Cont_PS);
    EXPECT_FALSE(Panel().Elements()[0].Cont_PD);
    ClickPicture("KOL_sLSPS");
    EXPECT_TRUE(Find<QCheckBox>("CH_Poloha_PS")->isChecked());
}

TEST_F(PaletteTest, OpeningATilePageSelectsItsFirstTile) {
    OpenPage("SH_VYHYBKY2");
    ClickPicture("OBO_sLSPH_sSDPH");
    OpenPage("SH_PRIME");
    EXPECT_EQ(Panel().SelectedName, "KOL_sLSPS");
    ExpectFramesAt(3);
    OpenPage("SH_VYHYBKY2");
    EXPECT_EQ(Panel().SelectedName, "VYH_sLSPS_sLHPS");
    ExpectFramesAt(4);
    OpenPage("SH_HRANICE");
    EXPECT_EQ(Panel().SelectedName, "KOZ_sLS");
    EXPECT_EQ(Checked(), "LS");
}

TEST_F(PaletteTest, OtherPagesKeepTheSelection) {
    OpenPage("SH_VYHYBKY1");
    ClickPicture("ANG_sLSPS_sLDPH_sLSPH_sLDPS");
    QTest::mouseClick(Find<QCheckBox>("CH_Poloha_LD"), Qt::LeftButton);
    const std::string boxes = Checked();
    for (const char* page : {"SH_ZPRACOVANI", "TabSheet1"}) {
        OpenPage(page);
        EXPECT_EQ(Panel().SelectedName, "ANG_sLSPS_sLDPH_sLSPH_sLDPS") << page;
        EXPECT_EQ(Checked(), boxes) << page;
        EXPECT_EQ(Find<QLabel>("L_ZvolenaSoucast")->text(),
                  QStringLiteral("ANG_sLSPS_sLDPH_sLSPH_sLDPS"));
    }
}

TEST_F(PaletteTest, OtherPageLetsThePaletteFillTheWindow) {
    QWidget* palette = Find<QWidget>("P_Sortiment");
    QWidget* left = Find<QWidget>("P_Levy");
    QWidget* area = Find<QWidget>("P_PodkladPlochy");
    QTest::mouseClick(Find<QWidget>("Button1"), Qt::LeftButton);
    ASSERT_FALSE(left->isVisible());
    OpenPage("SH_OSTATNI");
    EXPECT_FALSE(left->isVisible());
    EXPECT_FALSE(area->isVisible());
    QWidget* top = Find<QWidget>("P_HorniLista");
    QWidget* status = Find<QWidget>("ZB_Zapati");
    EXPECT_EQ(palette->y(), top->y() + top->height());
    EXPECT_EQ(palette->y() + palette->height(), status->y());
    EXPECT_TRUE(Find<QWidget>("SE_PolickaSirka")->isVisible());
    // Any other page brings both back, the left panel even though it had been closed.
    OpenPage("TabSheet1");
    EXPECT_TRUE(left->isVisible());
    EXPECT_TRUE(area->isVisible());
    EXPECT_EQ(palette->height(), 92);
    EXPECT_FALSE(window->Action(QStringLiteral("MP_LevyPanel"))->isChecked())
        << "the menu mark is not updated";
}

TEST_F(PaletteTest, ClickOnTheChosenPictureKeepsACatalogueName) {
    OpenPage("SH_HRANICE");
    ClickPicture("KOZ_sSH");
    QTest::mouseClick(Find<QWidget>("ZvolenaKolej"), Qt::LeftButton);
    EXPECT_EQ(Panel().SelectedName, "KOZ_sSH");
    EXPECT_EQ(Checked(), "SH");
}

// The flags follow a plain case-insensitive substring search; for catalogue names that gives
// exactly the point codes written in the name's segments.
TEST(PaletteFlags, TileNameFlagsFindTheCodesIgnoringCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"kol_slsps", "LS PS"},
        {"KOL_sLSPS", "LS PS"},
        {"xxLHyy", "LH"},
        {"", ""},
        {"ANG_sLDPH_sSDSH_sLDSH_sSDLH", "LH LD SH SD PH"},
        {"VyH_SlSpS_SlDpS", "LS LD PS"},
    };
    auto codes = [](const PositionFlags& f) {
        std::string out;
        const std::pair<bool, const char*> all[] = {{f.LH, "LH"}, {f.LS, "LS"}, {f.LD, "LD"},
                                                    {f.SH, "SH"}, {f.SD, "SD"}, {f.PH, "PH"},
                                                    {f.PS, "PS"}, {f.PD, "PD"}};
        for (const auto& [on, code] : all)
            if (on)
                Append(out, code);
        return out;
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(codes(Palette::TileNameFlags(name)), expected) << name;
    // For every palette tile: the codes of the segments after "_s", two letters each.
    for (const std::string& name : PaletteTileNames()) {
        std::set<std::string> written;
        size_t at = 0;
        while ((at = name.find("_s", at)) != std::string::npos) {
            at += 2;
            while (at + 1 < name.size() && name[at] != '_') {
                written.insert(name.substr(at, 2));
                at += 2;
            }
        }
        const PositionFlags f = Palette::TileNameFlags(name);
        const std::pair<bool, const char*> all[] = {{f.LH, "LH"}, {f.LS, "LS"}, {f.LD, "LD"},
                                                    {f.SH, "SH"}, {f.SD, "SD"}, {f.PH, "PH"},
                                                    {f.PS, "PS"}, {f.PD, "PD"}};
        for (const auto& [on, code] : all)
            EXPECT_EQ(on, written.count(code) == 1) << name << " " << code;
    }
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// Each picture and the chosen tile's copy tell what the tile is, so a double slip is not
// mistaken for a crossing.
TEST_F(PaletteTest, PicturesAndTheChosenTileCarryTheirDescription) {
    auto* chosen = Find<QLabel>("ZvolenaKolej");
    EXPECT_EQ(chosen->toolTip(), TileDescription("KOL_sLSPS"));
    for (const char* name : {"ANG_sLDPH_sSDSH_sLDSH_sSDLH", "KRI_sLDPH_sLHPD", "VYH_sLSPS_sLDPS"}) {
        TilePicture* picture = Find<TilePicture>(name);
        EXPECT_EQ(picture->toolTip(), TileDescription(name));
        window->PaletteControls().SelectTile(picture);
        EXPECT_EQ(chosen->toolTip(), TileDescription(name)) << name;
    }
    EXPECT_NE(Find<TilePicture>("ANG_sLSPS_sLDPH_sLSPH_sLDPS")->toolTip(),
              Find<TilePicture>("KRI_sLDPH_sLHPD")->toolTip());
}

} // namespace
} // namespace vedivez::test
