#include "surface/AppFonts.h"
#include "tools/ToolCommands.h"
#include "tools/ToolHelp.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> answered = vedivez::AnswerHelpOrVersion(args, std::cout))
        return *answered;
    // Declared first so that it outlives the application.
    std::optional<QTemporaryDir> runtimeDir;
    std::unique_ptr<QCoreApplication> app;
    if (vedivez::ToolNeedsGui(args)) {
        // Rendering needs fonts but never a display; outside a desktop session there is no
        // runtime folder either, and Qt would warn about it on every run.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.emplace().isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The overlay's text is drawn in Tahoma, as in the editor.
        vedivez::RegisterApplicationFonts();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return vedivez::RunTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
