#pragma once

#include "app/Application.h"
#include "app/FrameDriver.h"
#include "app/MainWindow.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSettings>
#include <QStringList>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vedivez::test {

// Prompts that record every box and answer from a script instead of running modal loops.
class ScriptedPrompts : public Prompts {
public:
    struct Log {
        QStringList errors;
        // The line below each error's message (empty when it had none).
        QStringList errorDetails;
        QStringList messages;
        QStringList questions;
        int openDialogs = 0;
        int saveDialogs = 0;
        std::vector<FileRequest> requests;
        // Answers, taken front first; an empty script answers No / cancels.
        std::deque<bool> confirmAnswers;
        std::deque<std::optional<QString>> fileAnswers;
        // Called while a file dialog or the question is "open" (to look at the window
        // meanwhile).
        std::function<void()> duringFileDialog;
        std::function<void()> duringQuestion;
        // Changes "Vzhled stránky" as the user would; without it the dialog is accepted as
        // it opens.
        std::function<void(PageSetup&)> pageSetup;
    };

    explicit ScriptedPrompts(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    void ShowError(const QString& message, const QString& detail) override {
        log_->errors << message;
        log_->errorDetails << detail;
    }
    void ShowMessage(const QString& message) override { log_->messages << message; }
    bool Confirm(const QString& question) override {
        log_->questions << question;
        if (log_->duringQuestion)
            log_->duringQuestion();
        if (log_->confirmAnswers.empty())
            return false;
        const bool answer = log_->confirmAnswers.front();
        log_->confirmAnswers.pop_front();
        return answer;
    }
    std::optional<QString> OpenFileName(const FileRequest& request) override {
        ++log_->openDialogs;
        return Answer(request);
    }
    std::optional<QString> SaveFileName(const FileRequest& request) override {
        ++log_->saveDialogs;
        return Answer(request);
    }
    bool EditPageSetup(PageSetup& setup, bool, PageSetup::Output, const SetupSummary&) override {
        if (log_->pageSetup)
            log_->pageSetup(setup);
        return true;
    }

private:
    std::optional<QString> Answer(const FileRequest& request) {
        log_->requests.push_back(request);
        if (log_->duringFileDialog)
            log_->duringFileDialog();
        if (log_->fileAnswers.empty())
            return std::nullopt;
        const bool given = log_->fileAnswers.front().has_value();
        const QString name = given ? *log_->fileAnswers.front() : QString();
        log_->fileAnswers.pop_front();
        if (!given)
            return std::nullopt;
        return name;
    }

    std::shared_ptr<Log> log_;
};

// The real main window with scripted prompts, shown offscreen at a fixed size, its frame
// timer started but driven by the tests themselves.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every window starts without remembered files.
        QSettings(QStringLiteral("VediVEZ"), QStringLiteral("VediVEZ")).clear();
        log = std::make_shared<ScriptedPrompts::Log>();
        window = std::make_unique<TPanelVAD>(std::make_unique<ScriptedPrompts>(log));
        if (auto* application = qobject_cast<Application*>(qApp))
            application->SetErrorHandler(&window->Errors());
        window->resize(1200, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        if (auto* application = qobject_cast<Application*>(qApp))
            application->SetErrorHandler(nullptr);
        window.reset();
    }

    template <typename T> T* Find(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    SurfaceWidget* Surface() const { return window->View().SurfaceControl(); }
    // A menu of the menu bar by its caption; nullptr when there is none.
    QMenu* TopMenu(const char* caption) const {
        for (QAction* top : window->menuBar()->actions())
            if (top->text() == QString::fromUtf8(caption))
                return top->menu();
        return nullptr;
    }
    PanelState& Panel() const { return window->Panel(); }
    // Chooses a menu item as the user would, through its action.
    void Trigger(const char* component) const {
        QAction* action = window->Action(QString::fromLatin1(component));
        ASSERT_NE(action, nullptr) << component;
        action->trigger();
    }
    // Pointer and button events on the surface at surface pixels; the surface is scrolled so
    // that the point lies in the viewport.
    // A pointer move is delivered to the surface the way QTest delivers its other mouse
    // events (QTest would move the platform cursor instead when no button is held).
    void MoveTo(QPoint p) const {
        QMouseEvent move(QEvent::MouseMove, p, Surface()->mapToGlobal(p), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Surface(), &move);
    }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) const {
        QTest::mousePress(Surface(), b, {}, p);
    }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) const {
        QTest::mouseRelease(Surface(), b, {}, p);
    }
    // A press and release in one cell after moving there.
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) const {
        MoveTo(p);
        Press(p, b);
        Release(p, b);
    }
    // Centre of a cell in surface pixels.
    static QPoint Cell(int col, int row) { return {col * 47 + 23, row * 47 + 23}; }

    std::shared_ptr<ScriptedPrompts::Log> log;
    std::unique_ptr<TPanelVAD> window;
};

} // namespace vedivez::test
