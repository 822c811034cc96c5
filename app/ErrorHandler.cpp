#include "app/ErrorHandler.h"

#include "app/Prompts.h"
#include "panel/PanelErrors.h"
#include "surface/Cp1250.h"

#include <QCoreApplication>
#include <QTimer>
#include <new>
#include <stdexcept>

namespace vedivez {

void ErrorHandler::Show(const std::string& message) {
    ++shown_;
    prompts_.ShowError(FromCp1250(DisplayMessage(message)));
}

void ErrorHandler::Report(const std::exception& failure) {
    if (dynamic_cast<const std::bad_alloc*>(&failure))
        Show("Out of memory");
    else
        Show(failure.what());
}

void ErrorHandler::Report(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        Report(e);
    } catch (...) {
        Show("Unknown error");
    }
}

void ErrorHandler::ReportOnce(const std::string& message) {
    if (!reportedOnce_.insert(message).second)
        return;
    // A box opened from a frame would run a modal loop inside the drawing code; the event
    // loop shows it once the frame is done.
    QTimer::singleShot(0, this, [this, message] { Show(message); });
}

void ErrorHandler::GuardFrame(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::bad_alloc&) {
        ReportOnce("Out of memory");
    } catch (const std::exception& e) {
        ReportOnce(e.what());
    } catch (...) {
        ReportOnce("Unknown error");
    }
}

void ErrorHandler::Guard(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        Report(std::current_exception());
    }
}

} // namespace vedivez
