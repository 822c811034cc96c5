#include "surface/AppFonts.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Test entry point: painting text and loading fonts need a QGuiApplication, which the
// offscreen platform provides without a display. The editor's fonts are registered as at start.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    vedivez::RegisterApplicationFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
