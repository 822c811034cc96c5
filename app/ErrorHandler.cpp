#include "app/ErrorHandler.h"

#include "app/Prompts.h"
#include "panel/PanelErrors.h"
#include "surface/Cp1250.h"

#include <QCoreApplication>
#include <QTimer>
#include <new>
#include <stdexcept>

namespace vedivez {

namespace {

constexpr size_t kMaxQueuedLines = 10;

} // namespace

void ErrorHandler::Show(const std::string& message, const QString& detail) {
    ++shown_;
    prompts_.ShowError(FromCp1250(DisplayMessage(message)), detail);
}

void ErrorHandler::Report(const std::exception& failure) {
    if (dynamic_cast<const std::bad_alloc*>(&failure)) {
        Show("Out of memory");
        return;
    }
    const int64_t line = FailingLine(failure);
    Show(failure.what(),
         line > 0 ? QString::fromUtf8("Chyba je na řádku %1.").arg(qint64(line)) : QString());
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
    queued_.push_back(message);
    // A box opened from a frame would run a modal loop inside the drawing code; the event
    // loop shows it once the frame is done.
    if (queued_.size() == 1)
        QTimer::singleShot(0, this, [this] { ShowQueued(); });
}

void ErrorHandler::ShowQueued() {
    std::vector<std::string> messages;
    messages.swap(queued_);
    if (messages.empty())
        return;
    if (messages.size() == 1) {
        Show(messages.front());
        return;
    }
    // Each line is a message of its own with its own full stop.
    std::string text;
    for (size_t i = 0; i < messages.size() && i < kMaxQueuedLines; ++i) {
        if (i > 0)
            text += '\n';
        text += DisplayMessage(messages[i]);
    }
    if (messages.size() > kMaxQueuedLines)
        text += "\n\x85"; // the ellipsis in Windows-1250
    ++shown_;
    prompts_.ShowError(FromCp1250(text));
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
