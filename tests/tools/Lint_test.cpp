#include "ToolRunner.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vedivez::test::Tool;
using vedivez::test::ToolRun;
using vedivez::test::WriteBytes;

namespace {

std::string Line(int x, int y, const std::string& name) {
    return "PRUSVITKA;X=" + std::to_string(x) + ";Y=" + std::to_string(y) + ";NAME=" + name +
           ";Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=0;Cont_PD=0\r\n";
}

} // namespace

TEST(LintToolTest, TextAndJsonGiveTheSameFindings) {
    QTemporaryDir dir;
    // One finding of every kind; the unknown name carries a quote, a backslash and a
    // Windows-1250 letter, which both forms must pass on intact.
    WriteBytes(dir.filePath("s.reru"), "SET_Vyska;10\r\nSET_Sirka;10\r\n" + Line(0, 4, "KOZ_sLS") +
                                           Line(3, 4, "KOL_sLSPH") + Line(3, 4, "X\"\\\xE8") +
                                           Line(12, 1, "KOZ_sLS"));
    const ToolRun text = Tool({"lint", dir.filePath("s.reru")});
    EXPECT_EQ(text.exitCode, 1) << text.err;
    // The problems first, then the note of the track that leaves the panel.
    EXPECT_EQ(text.out,
              "12,1 KOZ_sLS: lies outside the panel of 10 x 10 cells; it is kept in the file "
              "but never shown\n"
              "3,4 KOL_sLSPH: cell holds 2 elements; the editor edits only the first\n"
              "3,4 X\"\\\xC4\x8D: no tile has this name\n"
              "3,4 KOL_sLSPH: open track end at LS: the cell to the left (2,4) has no track at "
              "PS\n"
              "3,4 KOL_sLSPH: open track end at PH: none of the cells (4,3), (4,4) and (3,3) "
              "has track at that corner\n"
              "0,4 KOZ_sLS: note: track at LS leaves the panel\n"
              "5 problems, 1 note\n");

    const ToolRun json = Tool({"lint", dir.filePath("s.reru"), "--json"});
    EXPECT_EQ(json.exitCode, 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
    const QJsonArray findings = doc.object().value("findings").toArray();
    const char* const kinds[] = {"outside-panel", "duplicate", "unknown-name",
                                 "open-end",      "open-end",  "leaves-panel"};
    const char* const points[] = {nullptr, nullptr, nullptr, "LS", "PH", "LS"};
    // Every JSON finding, written out as a text line, is the text form's line.
    QStringList lines = QString::fromStdString(text.out).split('\n');
    ASSERT_EQ(findings.size(), 6);
    for (int i = 0; i < findings.size(); ++i) {
        const QJsonObject f = findings[i].toObject();
        const bool note = f["severity"].toString() == QStringLiteral("note");
        EXPECT_EQ(f["severity"].toString(), i == 5 ? "note" : "problem");
        EXPECT_EQ(QString("%1,%2 %3: %4%5")
                      .arg(f["col"].toInt())
                      .arg(f["row"].toInt())
                      .arg(f["name"].toString(), note ? "note: " : "", f["message"].toString()),
                  lines[i]);
        EXPECT_EQ(f["kind"].toString(), kinds[i]);
        if (points[i])
            EXPECT_EQ(f["point"].toString(), points[i]);
        else
            EXPECT_TRUE(f["point"].isNull());
    }
}

// Notes alone leave a station clean (exit code 0) unless --strict counts them as problems;
// the summary counts both, in the singular where there is one.
TEST(LintToolTest, NotesProblemsAndStrict) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("main.reru"),
               "SET_Vyska;10\r\nSET_Sirka;10\r\n" + Line(0, 4, "KOZ_sLS") + Line(9, 6, "KOZ_sPS"));
    WriteBytes(dir.filePath("open.reru"),
               "SET_Vyska;10\r\nSET_Sirka;10\r\n" + Line(0, 4, "KOZ_sLS") + Line(5, 5, "KOZ_sPS"));
    const struct {
        const char* file;
        QStringList options;
        int exitCode;
        const char* summary;
        int marked; // lines marked as notes
    } cases[] = {
        {"main.reru", {}, 0, "0 problems, 2 notes", 2},
        {"main.reru", {"--strict"}, 1, "2 problems, 0 notes", 0},
        {"open.reru", {}, 1, "1 problem, 1 note", 1},
        {"open.reru", {"--strict"}, 1, "2 problems, 0 notes", 0},
    };
    for (const auto& c : cases) {
        const ToolRun r = Tool(QStringList{"lint", dir.filePath(c.file)} + c.options);
        const QStringList lines = QString::fromStdString(r.out).trimmed().split('\n');
        EXPECT_EQ(r.exitCode, c.exitCode) << c.file << r.out;
        EXPECT_EQ(lines.last(), QString::fromLatin1(c.summary)) << c.file;
        EXPECT_EQ(lines.filter(": note: ").size(), c.marked) << c.file << r.out;
        // The JSON form says the same and takes the options in either order.
        const ToolRun json =
            Tool(QStringList{"lint", dir.filePath(c.file)} + c.options + QStringList{"--json"});
        EXPECT_EQ(json.exitCode, c.exitCode) << c.file;
        const QJsonArray findings = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))
                                        .object()["findings"]
                                        .toArray();
        int notes = 0;
        for (const QJsonValue& f : findings)
            notes += f.toObject()["severity"].toString() == QStringLiteral("note");
        EXPECT_EQ(notes, c.marked) << c.file;
    }
    EXPECT_EQ(Tool({"lint", dir.filePath("main.reru"), "--strict", "--strict"}).exitCode, 2);
}

TEST(LintToolTest, ExitCodesForCleanAndUnreadableFiles) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("clean.reru"), Line(2, 2, "KOZ_sPS") + Line(3, 2, "KOZ_sLS"));
    const ToolRun clean = Tool({"lint", dir.filePath("clean.reru")});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.out, "no findings\n");
    const ToolRun cleanJson = Tool({"lint", dir.filePath("clean.reru"), "--json"});
    EXPECT_EQ(cleanJson.exitCode, 0);
    EXPECT_EQ(cleanJson.out, "{\"findings\": []}\n");

    WriteBytes(dir.filePath("bad.reru"), "SET_Sirka;x\n");
    for (const QString& file : {dir.filePath("bad.reru"), dir.filePath("missing.reru")}) {
        const ToolRun r = Tool({"lint", file});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(Tool({"lint", dir.filePath("bad.reru")}).err,
              dir.filePath("bad.reru").toStdString() + ":1: 'x' is not a valid integer value.\n");
    EXPECT_EQ(Tool({"lint", dir.filePath("clean.reru"), "--xml"}).exitCode, 2);
}

// Lines of an unknown kind are findings of their own, before the cells' findings: in text
// with their line number, in JSON with "line" and nulls for the cell's fields. check counts
// them on standard error and still succeeds.
TEST(LintToolTest, LinesOfAnUnknownKindComeFirst) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("u.reru"),
               "SET_Vyska;10\r\nSET_Sirka;10\r\nset_vyska;12\r\n\r\n   \r\n" +
                   Line(0, 4, "KOZ_sLS") + "PRUSVITKX;X=3;Y=1\r\n;x\r\n");
    const ToolRun text = Tool({"lint", dir.filePath("u.reru")});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.out, "line 3: unknown line kind \"set_vyska\" is ignored and not saved\n"
                        "line 7: unknown line kind \"PRUSVITKX\" is ignored and not saved\n"
                        "line 8: unknown line kind \"\" is ignored and not saved\n"
                        "0,4 KOZ_sLS: note: track at LS leaves the panel\n"
                        "3 problems, 1 note\n");
    const ToolRun json = Tool({"lint", dir.filePath("u.reru"), "--json"});
    const QJsonArray findings =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object()["findings"].toArray();
    ASSERT_EQ(findings.size(), 4);
    const QJsonObject first = findings[1].toObject();
    EXPECT_EQ(first["line"].toInt(), 7);
    EXPECT_EQ(first["kind"].toString(), QStringLiteral("unknown-line"));
    for (const char* key : {"col", "row", "name", "point"})
        EXPECT_TRUE(first[QLatin1String(key)].isNull()) << key;
    EXPECT_EQ(first["message"].toString(),
              QStringLiteral("unknown line kind \"PRUSVITKX\" is ignored and not saved"));
    EXPECT_EQ(findings[3].toObject()["kind"].toString(), QStringLiteral("leaves-panel"));

    const ToolRun check = Tool({"check", dir.filePath("u.reru")});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, "rows=10 cols=10 elements=1\n");
    EXPECT_EQ(check.err, "warning: 3 lines of an unknown kind (first at line 3) ignored; a save "
                         "does not write them\n");
}
