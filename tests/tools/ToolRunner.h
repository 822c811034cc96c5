#pragma once

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

namespace vedivez::test {

// What one run of a program gave.
struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs a program to its end (at most a minute) and collects its output.
inline ToolRun RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

// Runs vedivez-tool.
inline ToolRun Tool(const QStringList& args) {
    return RunProgram(QStringLiteral(VEDIVEZ_TOOL_EXE), args);
}

} // namespace vedivez::test
