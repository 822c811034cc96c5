#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vedivez {

class Prompts;

// The editor's one error handler: a failure that ends a user action is shown in the error
// box with the closing full stop rule, and the event loop goes on. Failures found while a
// frame is drawn are queued and shown once per distinct message, outside the drawing path.
class ErrorHandler : public QObject {
public:
    explicit ErrorHandler(Prompts& prompts) : prompts_(prompts) {}

    // Shows the failure now. Call only from an event handler, never while painting.
    void Report(std::exception_ptr failure);
    void Report(const std::exception& failure);

    // Shows the message later, from the event loop, unless it was already shown this way.
    // Messages queued before the event loop comes round share one box, one a line (at most
    // ten, then "…"), so a file with many unknown tile names opens one box, not a stack.
    void ReportOnce(const std::string& message);

    // Runs fn; a failure it raises ends it and is reported.
    void Guard(const std::function<void()>& fn);
    // The same for the drawing and timer paths: the failure is reported through
    // ReportOnce, so no box opens inside a frame and a failure that recurs at every tick
    // is shown once.
    void GuardFrame(const std::function<void()>& fn);

    // How many boxes were shown (tests).
    int Shown() const { return shown_; }

private:
    void Show(const std::string& message, const QString& detail = QString());
    void ShowQueued();

    Prompts& prompts_;
    std::set<std::string> reportedOnce_;
    std::vector<std::string> queued_;
    int shown_ = 0;
};

} // namespace vedivez
