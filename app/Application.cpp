#include "app/Application.h"

#include "app/ErrorHandler.h"
#include "app/ProgramIcon.h"
#include "panel/Version.h"

#include <cstdio>
#include <exception>

namespace vedivez {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationVersion(QStringLiteral(VEDIVEZ_VERSION));
    // Every window shows the program's icon, and desktops match the windows to the menu
    // entry vedivez.desktop (its icon and name in task bars and window switchers).
    setWindowIcon(ProgramIcon());
    setDesktopFileName(QStringLiteral("vedivez"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (handler_) {
            handler_->Report(std::current_exception());
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "vedivez: %s\n", e.what());
            } catch (...) {
                std::fprintf(stderr, "vedivez: unknown error\n");
            }
        }
        return true;
    }
}

} // namespace vedivez
