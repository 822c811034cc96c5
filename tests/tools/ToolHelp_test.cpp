// The tool's own help: --help, --version and COMMAND --help, run through the built program,
// and the manual page, which must describe every command and option the usage names.

#include "ToolRunner.h"
#include "panel/Version.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vedivez::test::ReadBytes;
using vedivez::test::Tool;
using vedivez::test::ToolRun;

namespace {

const QStringList kCommands = {"check", "lint", "convert", "render", "export"};

// The usage printed for a wrong command line.
QString Usage() {
    return QString::fromStdString(Tool({}).err);
}

// The options the usage lists for one command (its line and the continuation lines below).
QSet<QString> UsageOptions(const QString& command) {
    QSet<QString> options;
    bool inCommand = false;
    for (const QString& line : Usage().split(QLatin1Char('\n'))) {
        if (line.contains(QStringLiteral("vedivez-tool ")))
            inCommand = line.contains(QStringLiteral("vedivez-tool ") + command + QLatin1Char(' '));
        if (!inCommand)
            continue;
        static const QRegularExpression option(QStringLiteral("--[a-z-]+"));
        for (const auto& m : option.globalMatch(line))
            options << m.captured();
    }
    return options;
}

} // namespace

TEST(ToolHelpTest, HelpAndVersionAnswerOnStandardOutput) {
    const ToolRun help = Tool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: vedivez-tool COMMAND", 0), 0u) << help.out;
    for (const QString& command : kCommands)
        EXPECT_NE(help.out.find("\n  " + command.toStdString() + " "), std::string::npos)
            << command.toStdString();
    EXPECT_EQ(Tool({"-h"}).out, help.out);

    const ToolRun version = Tool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vedivez-tool (VediVEZ) " VEDIVEZ_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

TEST(ToolHelpTest, EachCommandDescribesItsOwnOptionsExitCodesAndAnExample) {
    QSet<std::string> texts;
    for (const QString& command : kCommands) {
        const std::string name = command.toStdString();
        const ToolRun r = Tool({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << name;
        EXPECT_EQ(r.out.rfind("Usage: vedivez-tool " + name + " ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Exit codes:"), std::string::npos) << name;
        EXPECT_NE(r.out.find("  $ vedivez-tool " + name + " "), std::string::npos) << name;
        for (const QString& option : UsageOptions(command))
            EXPECT_NE(r.out.find(option.toStdString()), std::string::npos)
                << name << " --help does not describe " << option.toStdString();
        texts.insert(r.out);
    }
    EXPECT_EQ(texts.size(), kCommands.size());
    // The usage must have named options at all, or the check above proves nothing.
    EXPECT_TRUE(UsageOptions("render").contains("--view"));
    EXPECT_TRUE(UsageOptions("export").contains("--cell-mm"));
}

TEST(ToolHelpTest, HelpAnywhereAmongACommandsArgumentsWinsOverRunningIt) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out.reru");
    const ToolRun r = Tool({"convert", dir.filePath("missing.reru"), out, "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, Tool({"convert", "--help"}).out);
    EXPECT_EQ(ReadBytes(out), "<missing>");
}

TEST(ToolHelpTest, HelpOrVersionMixedWithOtherWordsIsAUsageError) {
    const struct {
        QStringList args;
    } cases[] = {{{"frobnicate", "--help"}},
                 {{"--help", "--version"}},
                 {{"--version", "x"}},
                 {{"--help", "check"}}};
    for (const auto& c : cases) {
        const ToolRun r = Tool(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: vedivez-tool"), std::string::npos);
    }
}

TEST(ToolHelpTest, ManualPageDescribesEveryCommandAndOption) {
    const std::string page =
        ReadBytes(QStringLiteral(VEDIVEZ_SOURCE_DIR "/packaging/vedivez-tool.1.in"));
    ASSERT_NE(page, "<missing>");
    for (const QString& command : kCommands) {
        EXPECT_NE(page.find(".B vedivez-tool " + command.toStdString()), std::string::npos)
            << command.toStdString() << " is missing from the synopsis";
        EXPECT_NE(page.find("$ vedivez-tool " + command.toStdString() + " "), std::string::npos)
            << command.toStdString() << " has no example";
        for (QString option : UsageOptions(command)) {
            // Dashes are escaped in the page's source.
            option.replace(QLatin1Char('-'), QStringLiteral("\\-"));
            EXPECT_NE(page.find(option.toStdString()), std::string::npos)
                << option.toStdString() << " of " << command.toStdString();
        }
    }
    EXPECT_NE(page.find(".SH EXIT STATUS"), std::string::npos);
}
