#include "app/CommandLine.h"

#include "app/ErrorHandler.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "panel/Version.h"

#include <algorithm>
#include <climits>
#include <ostream>
#include <unistd.h>

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

EditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool help = false, version = false, optionsEnded = false;
    std::string unknown;
    for (const std::string& arg : args) {
        if (optionsEnded || !arg.starts_with('-') || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (unknown.empty()) {
            unknown = arg;
        }
    }
    if (help)
        return {EditorCommandLine::Action::Help, {}, {}};
    if (version)
        return {EditorCommandLine::Action::Version, {}, {}};
    if (!unknown.empty())
        return Usage(QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(unknown)));
    if (files.size() > 1)
        return Usage(QStringLiteral("one station file at most, not %1").arg(files.size()));
    if (!files.empty() && files.front().empty())
        return Usage(QStringLiteral("the file name is empty"));
    // Reading standard input is not a thing the editor does.
    if (!files.empty() && files.front() == "-")
        return Usage(QStringLiteral("'-' (standard input) is not a station file"));
    return {EditorCommandLine::Action::Run, files.empty() ? std::string() : files.front(), {}};
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

std::string AbsolutePath(const std::string& path) {
    std::string full = path;
    if (!path.starts_with('/')) {
        std::string folder(PATH_MAX, '\0');
        if (::getcwd(folder.data(), folder.size()))
            full = std::string(folder.c_str()) + "/" + path;
    }
    // The steps are taken out by their text, as a shell's `cd -L` does.
    std::vector<std::string> steps;
    size_t start = 0;
    while (start <= full.size()) {
        const size_t slash = std::min(full.find('/', start), full.size());
        const std::string step = full.substr(start, slash - start);
        if (step == "..") {
            if (!steps.empty())
                steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = slash + 1;
    }
    if (!full.starts_with('/'))
        return path; // no working folder to start from: the name as given
    std::string clean;
    for (const std::string& step : steps)
        clean += "/" + step;
    return clean.empty() ? std::string("/") : clean;
}

void OpenStartFile(TPanelVAD& window, const std::string& file) {
    window.Errors().Guard(
        [&] { window.Files().Open(FileCommands::FileToOpen(AbsolutePath(file))); });
}

} // namespace vedivez
