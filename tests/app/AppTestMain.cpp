#include "app/Application.h"
#include "surface/AppFonts.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Entry point of the window tests: the editor's own application, so that failures escaping an
// event handler reach its error handler as in the editor, on the offscreen platform. The
// editor's settings (the recent files) go to a folder of the run, never to the user's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    if (!settings.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    vedivez::Application app(argc, argv);
    vedivez::RegisterApplicationFonts();
    app.setFont(vedivez::UiFont(11));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
