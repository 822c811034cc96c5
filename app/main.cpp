#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "surface/AppFonts.h"

#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    // --help and --version are answered before the application starts, so they work
    // without a display; so is a wrong command line that holds no option Qt could take.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const vedivez::EditorCommandLine early = vedivez::ParseEditorCommandLine(given);
    const bool qtOptions = std::any_of(given.begin(), given.end(), [](const QString& arg) {
        return arg.startsWith(QLatin1Char('-'));
    });
    if (early.action == vedivez::EditorCommandLine::Action::Help ||
        early.action == vedivez::EditorCommandLine::Action::Version ||
        (early.action == vedivez::EditorCommandLine::Action::Usage && !qtOptions))
        return vedivez::AnswerEditorCommandLine(early, std::cout, std::cerr);

    vedivez::Application app(argc, argv);
    // What is left once Qt has taken its own options (-style, -platform, ...).
    const vedivez::EditorCommandLine command =
        vedivez::ParseEditorCommandLine(app.arguments().mid(1));
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
    if (!command.file.isEmpty())
        QTimer::singleShot(0, &window, [&] { vedivez::OpenStartFile(window, command.file); });
    const int result = app.exec();
    app.SetErrorHandler(nullptr);
    return result;
}
