#include "ToolRunner.h"
#include "support/TestSupport.h"

#include "panel/StationFile.h"
#include "tools/ToolCommands.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sstream>

using vedivez::test::ReadBytes;
using vedivez::test::Tool;
using vedivez::test::ToolRun;
using vedivez::test::WriteBytes;

namespace {

const std::string kStation =
    "SET_Vyska;12\nSET_Sirka;9999\n"
    "PRUSVITKA;X=3;Y=5;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=true;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
    "Cont_PH=0;Cont_PS=1;Cont_PD=0\n"
    "PRUSVITKA;X=3;Y=5;NAME=KOL_sLDPH;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
    "Cont_PH=0;Cont_PS=0;Cont_PD=0";

} // namespace

TEST(ToolTest, CheckPrintsSizeAndCountAfterLoading) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.reru"), kStation);
    const ToolRun r = Tool({"check", dir.filePath("a.reru")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "rows=12 cols=4000 elements=2\n");

    WriteBytes(dir.filePath("empty.reru"), "");
    EXPECT_EQ(Tool({"check", dir.filePath("empty.reru")}).out, "rows=50 cols=150 elements=0\n");
}

TEST(ToolTest, CheckReportsTheEditorsMessageWithFullStop) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("bad.reru"), "SET_Vyska;50\nPRUSVITKA;X=1;Y=\xE8\n");
    const std::string bad = dir.filePath("bad.reru").toStdString();
    const struct {
        QString path;
        std::string message;
    } cases[] = {
        // An error at a line of the file is told as compilers tell theirs: FILE:LINE: ...
        {dir.filePath("bad.reru"), bad + ":2: '\xC4\x8D' is not a valid integer value.\n"},
        {dir.filePath("missing.reru"), "File not found.\n"},
        {dir.filePath("nodir/x.reru"), "Invalid filename.\n"},
        // Reading the tool's own memory from address 0 fails with the system's EIO (5),
        // whose number must not be read as the message code 5 ("File access denied"); the
        // read fails on the first line.
        {QStringLiteral("/proc/self/mem"), "/proc/self/mem:1: I/O error 5.\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool({"check", c.path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message);
    }
}

// Every command that loads a station names the failing line the same way.
TEST(ToolTest, EveryCommandNamesTheLineOfALoadError) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("spatny.reru");
    WriteBytes(bad, "SET_Vyska;50\r\n\r\nSET_Sirka;40\r\nSET_Stanice;x\r\n"
                    "\r\n\r\n\r\nPRUSVITKA;X=1;Y=2;NAME=KOL_sLSPS;Cont_LH=ano\r\n");
    const std::string expected = bad.toStdString() + ":8: 'ano' is not a valid boolean value.\n";
    const struct {
        QStringList args;
        int exitCode;
    } commands[] = {
        {{"check", bad}, 1},
        {{"convert", bad, dir.filePath("out.reru")}, 1},
        {{"render", bad, dir.filePath("out.png")}, 1},
        {{"lint", bad}, 2},
        {{"lint", bad, "--json"}, 2},
        {{"export", bad, dir.filePath("out.svg")}, 1},
        {{"export", bad, dir.filePath("out.pdf")}, 1},
    };
    for (const auto& c : commands) {
        const ToolRun r = Tool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, expected) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, "") << c.args.join(' ').toStdString();
    }
}

TEST(ToolTest, ConvertRewritesInTheEditorsFormat) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("in.reru"), kStation);
    const ToolRun r = Tool({"convert", dir.filePath("in.reru"), dir.filePath("out.reru")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.filePath("out.reru")),
              "SET_Vyska;12\r\nSET_Sirka;4000\r\nSET_Stanice;<Nazev stanice>\r\n"
              "SET_Autor;<Nazev stanice>\r\nSET_Verze;<Nazev stanice>\r\n"
              "SET_Popis;<Nazev stanice>\r\n"
              "PRUSVITKA;X=3;Y=5;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;"
              "Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n"
              "PRUSVITKA;X=3;Y=5;NAME=KOL_sLDPH;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;"
              "Cont_SD=0;Cont_PH=0;Cont_PS=0;Cont_PD=0\r\n");
}

TEST(ToolTest, ConvertLeavesOutputUntouchedWhenLoadingFails) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("bad.reru"), "SET_Sirka;x\n");
    WriteBytes(dir.filePath("out.reru"), "precious");
    const ToolRun r = Tool({"convert", dir.filePath("bad.reru"), dir.filePath("out.reru")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              dir.filePath("bad.reru").toStdString() + ":1: 'x' is not a valid integer value.\n");
    EXPECT_EQ(ReadBytes(dir.filePath("out.reru")), "precious");
}

TEST(ToolTest, WrongUsageExplainsAndFails) {
    for (const QStringList& args : {QStringList{}, QStringList{"check"},
                                    QStringList{"convert", "a"}, QStringList{"frobnicate"}}) {
        const ToolRun r = Tool(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find("usage: vedivez-tool"), std::string::npos);
    }
}

TEST(ToolTest, RenderWritesThePanelAsPng) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.reru"),
               "SET_Vyska;10\nSET_Sirka;12\n"
               "PRUSVITKA;X=3;Y=2;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;"
               "Cont_SD=0;Cont_PH=-1;Cont_PS=-1;Cont_PD=0\n");
    const ToolRun r = Tool({"render", dir.filePath("a.reru"), dir.filePath("a.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage img(dir.filePath("a.png"));
    ASSERT_EQ(img.size(), QSize(12 * 47, 10 * 47));
    auto rgb = [&img](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(300, 300), 0x808080u);                 // background
    EXPECT_EQ(rgb(47, 300), 0x0000FFu);                  // grid is on by default
    EXPECT_EQ(rgb(3 * 47 + 10, 2 * 47 + 24), 0x000000u); // the tile
    EXPECT_EQ(rgb(4 * 47 + 1, 2 * 47 + 1), 0x000000u);   // its mirrored corner mark
    EXPECT_EQ(rgb(20, 24), 0x808080u);                   // no preview by default
    EXPECT_EQ(rgb(0, 20), 0x0000FFu);                    // no cursor outline by default

    const ToolRun v = Tool({"render", dir.filePath("a.reru"), dir.filePath("v.png"), "--view",
                            "100,80,200,50", "--no-grid", "--preview", "KOL_sLDPH", "--cursor",
                            "0,0", "--corners", "LH,PD", "--cursor-cell", "--overlay"});
    ASSERT_EQ(v.exitCode, 0) << v.err;
    QImage part(dir.filePath("v.png"));
    ASSERT_EQ(part.size(), QSize(200, 50));
    EXPECT_EQ(part.pixel(3 * 47 + 10 - 100, 2 * 47 + 24 - 80) & 0xFFFFFF, 0u);
    EXPECT_EQ(part.pixel(47 - 100 + 100, 10) & 0xFFFFFF, 0x808080u); // grid off
}

TEST(ToolTest, RenderViewOfAHugePanel) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("big.reru"),
               "SET_Vyska;4000\nSET_Sirka;4000\n"
               "PRUSVITKA;X=3999;Y=3999;NAME=KOL_sSDSH;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;"
               "Cont_SD=0;Cont_PH=0;Cont_PS=0;Cont_PD=0\n");
    const int origin = 3999 * 47;
    const ToolRun r = Tool({"render", dir.filePath("big.reru"), dir.filePath("b.png"), "--view",
                            QString("%1,%1,47,47").arg(origin)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QImage img(dir.filePath("b.png"));
    ASSERT_EQ(img.size(), QSize(47, 47));
    EXPECT_EQ(img.pixel(0, 20) & 0xFFFFFF, 0x0000FFu);  // grid line of the last column
    EXPECT_EQ(img.pixel(24, 20) & 0xFFFFFF, 0x000000u); // the vertical track

    // The whole surface of such a panel is far too big for one picture.
    const ToolRun whole = Tool({"render", dir.filePath("big.reru"), dir.filePath("w.png")});
    EXPECT_EQ(whole.exitCode, 2);
    EXPECT_NE(whole.err.find("choose a part with --view"), std::string::npos);
}

TEST(ToolTest, RenderReportsBadOptionsAndMissingPictures) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("m.reru"),
               "PRUSVITKA;X=1;Y=1;NAME=NOPE;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
               "Cont_PH=0;Cont_PS=0;Cont_PD=0\n");
    const ToolRun m = Tool({"render", dir.filePath("m.reru"), dir.filePath("m.png")});
    EXPECT_EQ(m.exitCode, 0);
    EXPECT_NE(m.err.find("Image 'NOPE' not found."), std::string::npos);
    EXPECT_TRUE(QImage(dir.filePath("m.png")).pixel(47 + 12, 47 + 12) == qRgb(255, 0, 0));

    for (const QStringList& extra :
         {QStringList{"--view", "1,2,3"}, QStringList{"--corners", "XY"}, QStringList{"--bogus"},
          QStringList{"--view", "0,0,0,5"}, QStringList{"--view", "999999,0,10,10"}}) {
        const ToolRun r =
            Tool(QStringList{"render", dir.filePath("m.reru"), dir.filePath("x.png")} + extra);
        EXPECT_EQ(r.exitCode, 2) << extra.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
    }
}

// An error past line 2^31 is printed with its whole line number, as compilers print theirs;
// the reader counts from line 2147483647 here, as it would have reached it in a huge file.
TEST(ToolTest, ErrorsPastTheIntRangeOfLinesKeepTheirLine) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.reru");
    WriteBytes(bad, "SET_Vyska;20\r\n\r\nSET_Sirka;abc\r\n");
    try {
        vedivez::ReadStationFile(bad.toStdString(), 2147483647);
        FAIL() << "loaded";
    } catch (const std::exception& e) {
        std::ostringstream err;
        vedivez::PrintToolError(err, e, bad.toStdString());
        EXPECT_EQ(err.str(),
                  bad.toStdString() + ":2147483649: 'abc' is not a valid integer value.\n");
    }
}
