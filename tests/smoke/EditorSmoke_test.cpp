// Runs the real editor under a virtual X display with a window manager, drives it with the
// pointer and keyboard through xdotool, and checks screenshots and the saved file.

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <optional>

namespace vedivez::test {
namespace {

constexpr int kCell = 47;

// A tool of the session, run to completion.
QString RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool IsBlue(QRgb c) {
    return qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) > 200;
}
bool IsBlack(QRgb c) {
    return qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40;
}
bool IsFrameColour(QRgb c) {
    return qRed(c) < 40 && qAbs(qGreen(c) - 128) < 30 && qBlue(c) > 200;
}

class EditorSmokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "openbox", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        ASSERT_TRUE(work.isValid());
        // A display number nobody uses.
        for (int n = 40 + QCoreApplication::applicationPid() % 50; n < 200; ++n) {
            if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
                !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
                display = QStringLiteral(":%1").arg(n);
                break;
            }
        }
        env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("HOME"), work.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
        xvfb.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("1920x1080x24"),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        ASSERT_TRUE(WaitFor([&] {
            return QFile::exists(QStringLiteral("/tmp/.X11-unix/X") + display.mid(1));
        })) << "Xvfb did not start";
        wm.setProcessEnvironment(env);
        wm.start(QStringLiteral("openbox"), {});
        ASSERT_TRUE(wm.waitForStarted());
        QThread::msleep(500);
    }

    void TearDown() override {
        for (QProcess* p : {&editor, &wm, &xvfb}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000)) {
                    p->kill();
                    p->waitForFinished();
                }
            }
        }
    }

    template <typename F> static bool WaitFor(F ready, int timeoutMs = 15000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (ready())
                return true;
            QThread::msleep(100);
        }
        return ready();
    }

    QString Xdo(const QStringList& args) { return RunTool(QStringLiteral("xdotool"), args, env); }
    void Key(const QString& keys) { Xdo({QStringLiteral("key"), keys}); }
    void Pause(int ms = 300) { QThread::msleep(ms); }
    void Move(QPoint p) {
        Xdo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
        Pause(80);
    }
    void Click(QPoint p) {
        Move(p);
        Xdo({QStringLiteral("click"), QStringLiteral("1")});
        Pause(150);
    }
    void Drag(QPoint from, QPoint to) {
        Move(from);
        Xdo({QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int i = 1; i <= 4; ++i)
            Move(from + (to - from) * i / 4);
        Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
        Pause(150);
    }
    QImage Screenshot(const QString& name) {
        const QString path = work.filePath(name + QStringLiteral(".png"));
        RunTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path},
                env);
        QImage image(path);
        // Keep the last screenshots where a failed run can be looked at.
        const QString kept =
            QDir::temp().filePath(QStringLiteral("vedivez-smoke-") + name + QStringLiteral(".png"));
        QFile::remove(kept);
        QFile::copy(path, kept);
        return image;
    }
    // Windows whose title contains the text.
    QStringList Windows(const QString& title) {
        const QString out = Xdo({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), title});
        return out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n'));
    }

    // The surface's top-left corner on the screen: the first row and column that carry a long
    // run of blue grid pixels.
    static std::optional<QPoint> SurfaceOrigin(const QImage& shot) {
        auto longRun = [&](bool rows, int at) {
            int run = 0, best = 0;
            const int n = rows ? shot.width() : shot.height();
            for (int i = 0; i < n; ++i) {
                const QRgb c = rows ? shot.pixel(i, at) : shot.pixel(at, i);
                run = IsBlue(c) ? run + 1 : 0;
                best = std::max(best, run);
            }
            return best >= 300;
        };
        int top = -1, left = -1;
        for (int y = 0; y < shot.height() && top < 0; ++y)
            if (longRun(true, y))
                top = y;
        for (int x = 0; x < shot.width() && left < 0; ++x)
            if (longRun(false, x))
                left = x;
        if (top < 0 || left < 0)
            return std::nullopt;
        return QPoint(left, top);
    }
    // The top-left corner of the palette's selection frame.
    static std::optional<QPoint> FrameCorner(const QImage& shot) {
        for (int y = 0; y < shot.height() / 3; ++y)
            for (int x = 0; x < shot.width() / 2; ++x)
                if (IsFrameColour(shot.pixel(x, y)) && IsFrameColour(shot.pixel(x + 20, y)) &&
                    IsFrameColour(shot.pixel(x, y + 20)))
                    return QPoint(x, y);
        return std::nullopt;
    }

    QPoint CellCentre(int col, int row) const {
        return origin + QPoint(col * kCell + 23, row * kCell + 23);
    }
    // Which of the two tiles the test places shows in a cell: the horizontal straight track,
    // the rising diagonal (bottom-left to top-right), or neither.
    enum class Tile { None, Straight, Diagonal };
    Tile TileAt(const QImage& shot, int col, int row) const {
        const QPoint cell = origin + QPoint(col * kCell + 1, row * kCell + 1);
        const bool straight =
            IsBlack(shot.pixel(cell + QPoint(8, 23))) && IsBlack(shot.pixel(cell + QPoint(38, 23)));
        const bool diagonal =
            IsBlack(shot.pixel(cell + QPoint(8, 38))) && IsBlack(shot.pixel(cell + QPoint(38, 8)));
        if (straight && !diagonal)
            return Tile::Straight;
        if (diagonal && !straight)
            return Tile::Diagonal;
        return Tile::None;
    }

    bool EditorRunning() { return editor.state() == QProcess::Running; }

    // Takes screenshots until the cells show the expected tiles (the editor draws at its own
    // pace), and returns whether they did; the last screenshot is kept under `name`.
    bool ScreenShows(const QString& name, const std::vector<std::pair<int, int>>& cells,
                     Tile expected, const std::vector<std::pair<int, int>>& empty = {}) {
        return WaitFor(
            [&] {
                const QImage shot = Screenshot(name);
                if (shot.isNull())
                    return false;
                for (auto [c, r] : cells)
                    if (TileAt(shot, c, r) != expected)
                        return false;
                for (auto [c, r] : empty)
                    if (TileAt(shot, c, r) != Tile::None)
                        return false;
                return true;
            },
            10000);
    }

    QTemporaryDir work;
    QString display;
    QProcessEnvironment env;
    QProcess xvfb, wm, editor;
    QPoint origin;
};

TEST_F(EditorSmokeTest, PlaceSaveOpenAndCloseInTheRealWindow) {
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), {});
    ASSERT_TRUE(editor.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("VediVEZ v0.4")).isEmpty(); }))
        << "no editor window";
    Pause(1500);

    std::optional<QPoint> surface, frame;
    ASSERT_TRUE(WaitFor([&] {
        const QImage shot = Screenshot(QStringLiteral("start"));
        surface = SurfaceOrigin(shot);
        frame = FrameCorner(shot);
        return surface && frame;
    })) << "no grid or no palette selection frame on the screen";
    origin = *surface;
    // The maximised window leaves the palette above and the left panel beside the surface.
    EXPECT_GT(origin.x(), 140);
    EXPECT_GT(origin.y(), frame->y() + 55);

    // The second picture of the first page is the rising diagonal: the frame encloses the
    // first one at 4 pixels inside, pictures stand 54 pixels apart.
    Click(*frame + QPoint(4 + 54 + 23, 4 + 23));
    Drag(CellCentre(2, 3), CellCentre(5, 3));
    Click(CellCentre(4, 6));
    Key(QStringLiteral("ctrl+Right"));
    Move(CellCentre(12, 10));
    const std::vector<std::pair<int, int>> placed = {{3, 3}, {4, 3}, {5, 3}, {6, 3}, {5, 6}};
    EXPECT_TRUE(ScreenShows(QStringLiteral("placed"), placed, Tile::Diagonal,
                            {{2, 3}, {7, 3}, {4, 6}, {6, 6}, {3, 4}}))
        << "the drag, the click and the shift do not show where they should";

    // Save As through the real dialog: type a name without extension.
    const int windows = Windows(QStringLiteral(".")).size();
    Key(QStringLiteral("ctrl+shift+s"));
    ASSERT_TRUE(WaitFor([&] { return Windows(QStringLiteral(".")).size() > windows; }))
        << "no save dialog";
    Screenshot(QStringLiteral("save-dialog"));
    Pause(800);
    const QString typed = work.filePath(QStringLiteral("stanice"));
    Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), typed});
    Key(QStringLiteral("Return"));
    const QString saved = typed + QStringLiteral(".reru");
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(saved); })) << "nothing saved";
    Pause(500);
    const std::string bytes = ReadBytes(saved);
    for (auto [c, r] : placed)
        EXPECT_NE(bytes.find("PRUSVITKA;X=" + std::to_string(c) + ";Y=" + std::to_string(r) +
                             ";NAME=KOL_sLDPH;"),
                  std::string::npos)
            << c << "," << r;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 6 + 5);
    EXPECT_FALSE(Windows(QStringLiteral("stanice.reru")).isEmpty()) << "caption names the file";

    // New empties the panel without a question (just saved), Open brings it back.
    Key(QStringLiteral("ctrl+n"));
    Pause(600);
    EXPECT_TRUE(Windows(QStringLiteral("Confirm")).isEmpty());
    EXPECT_TRUE(ScreenShows(QStringLiteral("new"), {}, Tile::None, placed))
        << "New left tiles on the panel";
    Key(QStringLiteral("ctrl+o"));
    ASSERT_TRUE(WaitFor([&] { return Windows(QStringLiteral(".")).size() > windows; }))
        << "no open dialog";
    Pause(800);
    Key(QStringLiteral("ctrl+a"));
    Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), saved});
    Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("stanice.reru")).isEmpty(); }))
        << "not opened";
    Move(CellCentre(12, 10));
    EXPECT_TRUE(ScreenShows(QStringLiteral("opened"), placed, Tile::Diagonal))
        << "the opened file does not show its tiles";

    // An unsaved change makes closing ask; No keeps the editor, Yes lets it go.
    Click(CellCentre(9, 9));
    Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("Confirm")).isEmpty(); }))
        << "closing did not ask";
    Screenshot(QStringLiteral("question"));
    Key(QStringLiteral("Escape"));
    Pause(600);
    EXPECT_TRUE(EditorRunning());
    EXPECT_TRUE(Windows(QStringLiteral("Confirm")).isEmpty());
    Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("Confirm")).isEmpty(); }));
    Pause(300);
    Key(QStringLiteral("Return"));
    EXPECT_TRUE(editor.waitForFinished(10000)) << "the editor did not close";
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(editor.exitCode(), 0);
}

// `vedivez station.reru`, as a desktop starts it for a double-clicked file: the window comes
// up with the station's tiles on the panel and its name in the caption.
TEST_F(EditorSmokeTest, OpensTheStationNamedOnTheCommandLine) {
    std::string station = "SET_Vyska;12\r\nSET_Sirka;20\r\n";
    const std::vector<std::pair<int, int>> straight = {{1, 2}, {2, 2}, {3, 2}, {4, 2}};
    const std::vector<std::pair<int, int>> diagonal = {{6, 5}, {7, 4}};
    auto tile = [&](std::pair<int, int> cell, const char* name) {
        station += "PRUSVITKA;X=" + std::to_string(cell.first) +
                   ";Y=" + std::to_string(cell.second) + ";NAME=" + name +
                   ";Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=0;"
                   "Cont_PD=0\r\n";
    };
    for (auto cell : straight)
        tile(cell, "KOL_sLSPS");
    for (auto cell : diagonal)
        tile(cell, "KOL_sLDPH");
    WriteBytes(work.filePath(QStringLiteral("station.reru")), station);

    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.setWorkingDirectory(work.path());
    editor.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), {QStringLiteral("station.reru")});
    ASSERT_TRUE(editor.waitForStarted());
    ASSERT_TRUE(WaitFor([&] {
        return !Windows(QStringLiteral("VediVEZ v0.4 - station.reru")).isEmpty();
    })) << "no window with the station's name in its caption";
    EXPECT_TRUE(Windows(QStringLiteral("Error")).isEmpty());
    Pause(1000);

    std::optional<QPoint> surface;
    ASSERT_TRUE(WaitFor([&] {
        surface = SurfaceOrigin(Screenshot(QStringLiteral("start-file")));
        return surface.has_value();
    })) << "no grid on the screen";
    origin = *surface;
    // Away from the tiles, so that neither the preview nor the cursor outline covers one.
    Move(CellCentre(15, 10));
    EXPECT_TRUE(ScreenShows(QStringLiteral("start-file-straight"), straight, Tile::Straight,
                            {{0, 2}, {5, 2}, {6, 4}}))
        << "the straight tiles of the file are not on the panel";
    EXPECT_TRUE(ScreenShows(QStringLiteral("start-file-diagonal"), diagonal, Tile::Diagonal))
        << "the diagonal tiles of the file are not on the panel";

    // Nothing was changed: closing does not ask.
    Key(QStringLiteral("alt+F4"));
    EXPECT_TRUE(editor.waitForFinished(10000)) << "the editor did not close";
    EXPECT_EQ(editor.exitCode(), 0);
}

} // namespace
} // namespace vedivez::test
