#include "support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vedivez::test::ReadBytes;
using vedivez::test::WriteBytes;

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun Tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VEDIVEZ_TOOL_EXE), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

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
    const struct {
        QString path;
        std::string message;
    } cases[] = {
        {dir.filePath("bad.reru"), "'\xC4\x8D' is not a valid integer value.\n"},
        {dir.filePath("missing.reru"), "File not found.\n"},
        {dir.filePath("nodir/x.reru"), "Invalid filename.\n"},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool({"check", c.path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message);
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
    EXPECT_EQ(r.err, "'x' is not a valid integer value.\n");
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
