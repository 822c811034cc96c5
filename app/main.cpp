#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "surface/AppFonts.h"

#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // --help and --version are answered before the application starts, so they work
    // without a display; so is a wrong command line that holds no option Qt could take.
    // The arguments are taken as the bytes they are: a file name need not be UTF-8, and
    // the file system wants back exactly what it gave.
    const std::vector<std::string> given(argv + 1, argv + argc);
    const vedivez::EditorCommandLine early = vedivez::ParseEditorCommandLine(given);
    const bool qtOptions = std::any_of(given.begin(), given.end(),
                                       [](const std::string& arg) { return arg.starts_with('-'); });
    if (early.action == vedivez::EditorCommandLine::Action::Help ||
        early.action == vedivez::EditorCommandLine::Action::Version ||
        (early.action == vedivez::EditorCommandLine::Action::Usage && !qtOptions))
        return vedivez::AnswerEditorCommandLine(early, std::cout, std::cerr);

    vedivez::Application app(argc, argv);
    // What is left once Qt has taken its own options (-style, -platform, ...) out of argv;
    // not app.arguments(), which has turned the bytes into text.
    const vedivez::EditorCommandLine command =
        vedivez::ParseEditorCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const int exitCode = vedivez::AnswerEditorCommandLine(command, std::cout, std::cerr);
        exitCode >= 0)
        return exitCode;

    // Qt's own dialogs (the file dialogs) speak Czech like the rest of the editor, where the
    // translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    vedivez::RegisterApplicationFonts();
    app.setFont(vedivez::UiFont(11));
    vedivez::TPanelVAD window;
    app.SetErrorHandler(&window.Errors());
    window.showMaximized();
    // Once the window is up, so that an error box stands over it.
    if (!command.file.empty())
        QTimer::singleShot(0, &window, [&] { vedivez::OpenStartFile(window, command.file); });
    const int result = app.exec();
    app.SetErrorHandler(nullptr);
    return result;
}
