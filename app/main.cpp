#include "app/Application.h"
#include "app/MainWindow.h"
#include "surface/AppFonts.h"

int main(int argc, char** argv) {
    vedivez::Application app(argc, argv);
    vedivez::RegisterApplicationFonts();
    app.setFont(vedivez::UiFont(11));
    vedivez::TPanelVAD window;
    app.SetErrorHandler(&window.Errors());
    window.showMaximized();
    const int result = app.exec();
    app.SetErrorHandler(nullptr);
    return result;
}
