#pragma once

// The editor's main window for benchmarks: offscreen at 1920 x 1080, with prompts that
// answer nothing, driven by mouse events sent straight to the surface.

#include "app/FrameDriver.h"
#include "app/MainWindow.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <memory>

namespace vedivez::bench {

// Prompts that show errors on standard error, say Yes and cancel every file dialog.
class QuietPrompts : public Prompts {
public:
    void ShowError(const QString& m, const QString&) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(m));
    }
    void ShowMessage(const QString&) override {}
    bool Confirm(const QString&) override { return true; }
    std::optional<QString> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(const FileRequest&) override { return std::nullopt; }
};

struct BenchWindow {
    std::unique_ptr<TPanelVAD> window;

    explicit BenchWindow(std::unique_ptr<Prompts> prompts = std::make_unique<QuietPrompts>()) {
        window = std::make_unique<TPanelVAD>(std::move(prompts));
        window->resize(1920, 1080);
        window->show();
        QApplication::processEvents();
    }
    Viewport& View() { return window->View(); }
    FrameDriver& Frames() { return window->Frames(); }
    // A frame, and the paint it asked for.
    void Frame() {
        Frames().RenderIfChanged(1);
        QApplication::processEvents();
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button) {
        SurfaceWidget* s = View().SurfaceControl();
        QMouseEvent e(type, p, s->mapToGlobal(p), button,
                      type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                          ? Qt::NoButton
                          : Qt::MouseButtons(button),
                      Qt::NoModifier);
        QApplication::sendEvent(s, &e);
    }
    void MoveTo(QPoint p) { Send(QEvent::MouseMove, p, Qt::NoButton); }
    void Click(QPoint p) {
        MoveTo(p);
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton);
    }
    // The surface point in the middle of a cell at the view's scale.
    QPoint Cell(int col, int row) {
        const QPoint corner = View().ToWidget(QPoint(col * 47, row * 47));
        const int half = std::max(View().Zoom().CellSize(), 1) / 2;
        return corner + QPoint(half, half);
    }
};

// main() of a window benchmark: an offscreen application around the benchmarks; `done`
// runs after them (to remove their files). The stations the benchmarks open go to the
// recent files of a settings folder of the run, not the user's.
inline int RunWindowBenchmarks(int argc, char** argv, const std::function<void()>& done = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (done)
        done();
    return 0;
}

} // namespace vedivez::bench
