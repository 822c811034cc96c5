#pragma once

#include <QApplication>

namespace vedivez {

class ErrorHandler;

// The editor's QApplication: anything that escapes an event handler is caught here and shown
// by the error handler, and the event loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    // The handler failures are shown by; the main window sets its own.
    void SetErrorHandler(ErrorHandler* handler) { handler_ = handler; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorHandler* handler_ = nullptr;
};

} // namespace vedivez
