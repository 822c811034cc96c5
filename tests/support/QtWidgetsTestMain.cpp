#include "surface/AppFonts.h"

#include <QApplication>
#include <gtest/gtest.h>

// Test entry point for window tests: widgets need a QApplication, which the offscreen
// platform provides without a display. The editor's fonts are registered as at start.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vedivez::RegisterApplicationFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
