#include "app/Application.h"
#include "surface/AppFonts.h"

#include <gtest/gtest.h>

// Entry point of the window tests: the editor's own application, so that failures escaping an
// event handler reach its error handler as in the editor, on the offscreen platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vedivez::Application app(argc, argv);
    vedivez::RegisterApplicationFonts();
    app.setFont(vedivez::UiFont(11));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
