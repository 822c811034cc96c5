#include "app/Application.h"
#include "app/MainWindow.h"
#include "surface/AppFonts.h"

#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    vedivez::Application app(argc, argv);
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
    const int result = app.exec();
    app.SetErrorHandler(nullptr);
    return result;
}
