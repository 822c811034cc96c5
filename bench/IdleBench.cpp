// The editor left alone: maximised on a 1920 x 1080 virtual display with a window manager,
// the CPU time it takes over 10 s as a share of one core. Redrawing at every tick of the
// frame timer would cost a whole core.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

namespace {

// User plus system CPU time of a process, in seconds.
double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

void Stop(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished();
    }
}

void BM_IdleEditor(benchmark::State& state) {
    for (const char* tool : {"Xvfb", "openbox"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            state.SkipWithError("needs Xvfb and openbox");
            return;
        }
    QTemporaryDir home;
    const QString display =
        QStringLiteral(":%1").arg(150 + QCoreApplication::applicationPid() % 50);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess xvfb, wm, editor;
    xvfb.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                        QStringLiteral("1920x1080x24"), QStringLiteral("-nolisten"),
                                        QStringLiteral("tcp")});
    QThread::sleep(1);
    wm.setProcessEnvironment(env);
    wm.start(QStringLiteral("openbox"), {});
    QThread::sleep(1);
    editor.setProcessEnvironment(env);
    editor.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), {});
    editor.waitForStarted();
    // Start-up and the first frames are not part of being idle.
    QThread::sleep(3);
    double share = 0;
    for (auto _ : state) {
        const double before = CpuSeconds(editor.processId());
        const double seconds = vedivez::bench::Seconds([] { QThread::sleep(10); });
        const double after = CpuSeconds(editor.processId());
        share = (after - before) / seconds;
        state.SetIterationTime(seconds);
    }
    if (editor.state() != QProcess::Running)
        state.SkipWithError("the editor is not running");
    state.counters["cpu_share_percent"] = share * 100;
    Stop(editor);
    Stop(wm);
    Stop(xvfb);
}
BENCHMARK(BM_IdleEditor)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
