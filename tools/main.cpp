#include "tools/ToolCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QCoreApplication> app;
    if (vedivez::ToolNeedsGui(args)) {
        // Rendering needs fonts but never a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return vedivez::RunTool(args, std::cout, std::cerr);
}
