#include "app/CommandLine.h"

#include "app/ErrorHandler.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "panel/Version.h"

#include <QFileInfo>
#include <ostream>

namespace vedivez {

namespace {

const char* const kHelp =
    "Usage: vedivez [FILE]\n"
    "\n"
    "Editor of the track-diagram panel (the relief) of a railway station. With FILE, the\n"
    "editor opens that station file (.reru) right after it starts, as Open (Ctrl+O)\n"
    "would; without it, it starts with a new, empty station.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  --version      print the version and exit\n"
    "  --             take the next argument as FILE even if it begins with '-'\n"
    "\n"
    "Qt's own options (-style, -platform, ...) are accepted as in every Qt program.\n"
    "Station files without a window: see vedivez-tool(1).\n";

const char* const kUsage = "Usage: vedivez [FILE]\nTry 'vedivez --help' for more information.\n";

EditorCommandLine Usage(const QString& problem) {
    return {EditorCommandLine::Action::Usage, {}, problem};
}

} // namespace

EditorCommandLine ParseEditorCommandLine(const QStringList& args) {
    QStringList files;
    bool help = false, version = false, optionsEnded = false;
    QString unknown;
    for (const QString& arg : args) {
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QStringLiteral("-")) {
            files << arg;
        } else if (arg == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            help = true;
        } else if (arg == QStringLiteral("--version")) {
            version = true;
        } else if (unknown.isEmpty()) {
            unknown = arg;
        }
    }
    if (help)
        return {EditorCommandLine::Action::Help, {}, {}};
    if (version)
        return {EditorCommandLine::Action::Version, {}, {}};
    if (!unknown.isEmpty())
        return Usage(QStringLiteral("unknown option '%1'").arg(unknown));
    if (files.size() > 1)
        return Usage(QStringLiteral("one station file at most, not %1").arg(files.size()));
    if (!files.isEmpty() && files.first().isEmpty())
        return Usage(QStringLiteral("the file name is empty"));
    // Reading standard input is not a thing the editor does.
    if (!files.isEmpty() && files.first() == QStringLiteral("-"))
        return Usage(QStringLiteral("'-' (standard input) is not a station file"));
    return {EditorCommandLine::Action::Run, files.value(0), {}};
}

int AnswerEditorCommandLine(const EditorCommandLine& command, std::ostream& out,
                            std::ostream& err) {
    switch (command.action) {
    case EditorCommandLine::Action::Help:
        out << kHelp;
        return 0;
    case EditorCommandLine::Action::Version:
        out << "vedivez (VediVEZ) " VEDIVEZ_VERSION "\n";
        return 0;
    case EditorCommandLine::Action::Usage:
        err << "vedivez: " << command.problem.toLocal8Bit().constData() << "\n" << kUsage;
        return 2;
    case EditorCommandLine::Action::Run:
        break;
    }
    return -1;
}

void OpenStartFile(TPanelVAD& window, const QString& file) {
    window.Errors().Guard([&] { window.Files().Open(FileCommands::FileToOpen(QFileInfo(file).absoluteFilePath())); });
}

} // namespace vedivez
