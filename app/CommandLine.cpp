#include "app/CommandLine.h"

#include "app/ErrorHandler.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "panel/Version.h"

#include <QCommandLineParser>
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
    // Qt's parser tells the options from the file (-h, --help, --version, "--", short options
    // run together). Each argument goes in as Latin-1, one character a byte, so the file
    // comes back out with exactly the bytes it had: a file name need not be UTF-8, and
    // QCoreApplication::arguments() would have decoded it as text. What the editor answers
    // stays its own: the texts and exit codes below, not process()'s, which would print Qt's
    // texts and exit with 1 where a wrong command line exits with 2.
    QStringList list{QStringLiteral("vedivez")};
    for (const std::string& arg : args)
        list << QString::fromLatin1(arg.data(), qsizetype(arg.size()));
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    const bool parsed = parser.parse(list);
    // Asked information wins over anything else on the line.
    if (parser.isSet(help))
        return {EditorCommandLine::Action::Help, {}, {}};
    if (parser.isSet(version))
        return {EditorCommandLine::Action::Version, {}, {}};
    if (!parsed) {
        // The message quotes the argument as it was typed: the first one that starts with
        // the unknown option.
        const QString name = parser.unknownOptionNames().value(0);
        QString typed = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        for (const QString& arg : list.mid(1)) {
            if (arg == QStringLiteral("--"))
                break;
            if (arg.startsWith(QLatin1Char('-') + name) ||
                arg.startsWith(QStringLiteral("--") + name)) {
                typed = arg;
                break;
            }
        }
        return Usage(
            QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(typed.toLatin1())));
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return Usage(QStringLiteral("one station file at most, not %1").arg(files.size()));
    const QByteArray file = files.value(0).toLatin1();
    if (!files.isEmpty() && file.isEmpty())
        return Usage(QStringLiteral("the file name is empty"));
    // Reading standard input is not a thing the editor does.
    if (file == "-")
        return Usage(QStringLiteral("'-' (standard input) is not a station file"));
    return {EditorCommandLine::Action::Run, std::string(file.constData(), size_t(file.size())), {}};
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
