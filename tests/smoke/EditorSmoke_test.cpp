// Runs the real editor under a virtual X display with a window manager, drives it with the
// pointer and keyboard through xdotool, and checks screenshots and the saved file.

#include "panel/Version.h"
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
#include <QTransform>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <unistd.h>

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
// The lighter blue of the grid at 6 to 10 pixels a cell.
bool IsLightBlue(QRgb c) {
    return qBlue(c) > 200 && qRed(c) > 90 && qRed(c) < 190 && qGreen(c) > 90 && qGreen(c) < 190;
}
// The panel's grey where no tile, grid or cursor is.
bool IsPanelGrey(QRgb c) {
    return qAbs(qRed(c) - 128) < 8 && qAbs(qGreen(c) - 128) < 8 && qAbs(qBlue(c) - 128) < 8;
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
        // The editor's settings (the recent files) stay in the run's folder.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
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
    // A drag with a mouse button: 1 left, 2 middle, 3 right.
    void Drag(QPoint from, QPoint to, int button = 1) {
        Move(from);
        Xdo({QStringLiteral("mousedown"), QString::number(button)});
        for (int i = 1; i <= 4; ++i)
            Move(from + (to - from) * i / 4);
        Xdo({QStringLiteral("mouseup"), QString::number(button)});
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

    // The centres of the palette's tabs: the tab row above the page holds upright grey
    // separator lines between the tabs.
    static std::vector<QPoint> TabCentres(const QImage& shot, QPoint frame) {
        const int top = frame.y() - 26, bottom = frame.y() - 6;
        std::vector<int> separators;
        for (int x = std::max(0, frame.x() - 5); x < shot.width() / 2; ++x) {
            int grey = 0;
            for (int y = top; y < bottom; ++y) {
                const int v = qGray(shot.pixel(x, y));
                if (v >= 150 && v <= 205)
                    ++grey;
            }
            if (grey >= 14 && (separators.empty() || x > separators.back() + 3))
                separators.push_back(x);
        }
        std::vector<QPoint> centres;
        for (size_t i = 0; i + 1 < separators.size(); ++i)
            centres.emplace_back((separators[i] + separators[i + 1]) / 2, (top + bottom) / 2);
        return centres;
    }
    // The left and top edges of the cursor's red outline run along the cell's edges.
    bool OutlineAt(const QImage& shot, int col, int row) const {
        const QPoint cell = origin + QPoint(col * kCell, row * kCell);
        auto red = [&](QPoint p) {
            const QRgb c = shot.pixel(p);
            return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
        };
        return red(cell + QPoint(0, 30)) && red(cell + QPoint(30, 0)) && red(cell + QPoint(47, 30));
    }
    // How much of the visible panel is black: a panel drawn fully is grey with a blue grid.
    double BlackShare(const QImage& shot) const {
        int black = 0, all = 0;
        for (int y = origin.y() + 100; y < origin.y() + 700; y += 7)
            for (int x = origin.x() + 100; x < origin.x() + 1500; x += 7, ++all)
                black += IsBlack(shot.pixel(x, y)) ? 1 : 0;
        return double(black) / all;
    }
    // The menu titles of the menu bar, left to right: runs of dark text pixels in the row
    // between the title bar and the tool bar.
    std::vector<QPoint> MenuTitles(const QImage& shot, int barY) const {
        std::vector<QPoint> titles;
        int start = -1, last = -100;
        for (int x = 0; x < shot.width() / 2; ++x) {
            bool dark = false;
            for (int y = barY - 5; y <= barY + 5; ++y)
                dark = dark || qGray(shot.pixel(x, y)) < 110;
            if (!dark)
                continue;
            if (x - last > 8) {
                if (start >= 0)
                    titles.emplace_back((start + last) / 2, barY);
                start = x;
            }
            last = x;
        }
        if (start >= 0)
            titles.emplace_back((start + last) / 2, barY);
        return titles;
    }
    // The five menu titles: the first row from the top that reads as five words.
    std::vector<QPoint> MenuBarTitles() {
        std::vector<QPoint> menus;
        const QImage shot = Screenshot(QStringLiteral("menus"));
        for (int y = 6; y < frameCorner.y() - 40 && menus.size() != 5; ++y)
            menus = MenuTitles(shot, y);
        return menus;
    }
    // The width of the pale yellow tooltip box just below a point of the screen, 0 for none.
    static int TooltipWidth(const QImage& shot, QPoint at) {
        int best = 0;
        for (int y = at.y() + 8; y < at.y() + 45 && y < shot.height(); ++y) {
            int run = 0;
            for (int x = std::max(0, at.x() - 60); x < std::min(shot.width(), at.x() + 500); ++x) {
                run = (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFDC ? run + 1 : 0;
                best = std::max(best, run);
            }
        }
        return best;
    }
    void Wheel(int button, int notches = 1) {
        for (int i = 0; i < notches; ++i)
            Xdo({QStringLiteral("click"), QString::number(button)});
        Pause(300);
    }
    // Starts the editor and finds the panel and the palette's selection frame on the screen.
    void StartEditor(const QStringList& args = {}) {
        editor.setProcessEnvironment(env);
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), args);
        ASSERT_TRUE(editor.waitForStarted());
        ASSERT_TRUE(WaitFor([&] {
            return !Windows(QStringLiteral("VediVEZ v" VEDIVEZ_VERSION)).isEmpty();
        })) << "no editor window";
        Pause(1500);
        std::optional<QPoint> surface, frame;
        ASSERT_TRUE(WaitFor([&] {
            const QImage shot = Screenshot(QStringLiteral("start"));
            surface = SurfaceOrigin(shot);
            frame = FrameCorner(shot);
            return surface && frame;
        })) << "no grid or no palette selection frame on the screen";
        origin = *surface;
        frameCorner = *frame;
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
    QPoint frameCorner;
};

TEST_F(EditorSmokeTest, PlaceSaveOpenAndCloseInTheRealWindow) {
    StartEditor();
    const std::optional<QPoint> frame = frameCorner;
    // The maximised window leaves the palette above and the left panel beside the surface.
    EXPECT_GT(origin.x(), 140);
    EXPECT_GT(origin.y(), frame->y() + 55);

    // The tool bar's file buttons, 44 pixels above the palette's frame, name what they do
    // and their key in a tooltip: "Uložit jako (Ctrl+Shift+S)" makes a wider box than
    // "Uložit (Ctrl+S)". The pointer rests in between where nothing has a tooltip.
    std::vector<int> tips;
    for (const int left : {5, 31, 57, 84}) {
        const QPoint button(frame->x() - 7 + left + 11, frame->y() - 44);
        Move(button + QPoint(400, 0));
        WaitFor([&] { return TooltipWidth(Screenshot(QStringLiteral("no-tooltip")), button) == 0; },
                5000);
        Move(button);
        int width = 0;
        WaitFor(
            [&] {
                const int was = width;
                width = TooltipWidth(Screenshot(QStringLiteral("tooltip")), button);
                return width > 0 && width == was;
            },
            5000);
        tips.push_back(width);
    }
    for (size_t i = 0; i < tips.size(); ++i)
        EXPECT_GT(tips[i], 60) << "no tooltip on file button " << i;
    EXPECT_GT(tips[2], tips[1] + 40) << "Save As does not name its longer key";

    // The second picture of the first page is the rising diagonal: the frame encloses the
    // first one at 4 pixels inside, pictures stand 54 pixels apart.
    Click(*frame + QPoint(4 + 54 + 23, 4 + 23));
    Drag(CellCentre(2, 3), CellCentre(5, 3));
    Click(CellCentre(4, 6));
    Key(QStringLiteral("ctrl+Right"));
    Move(CellCentre(12, 10));
    EXPECT_TRUE(ScreenShows(QStringLiteral("placed"), {{3, 3}, {4, 3}, {5, 3}, {6, 3}, {5, 6}},
                            Tile::Diagonal, {{2, 3}, {7, 3}, {4, 6}, {6, 6}, {3, 4}}))
        << "the drag, the click and the shift do not show where they should";
    // Only the left button lays a row: a right-button drag along the laid row removes the
    // tile of its release cell alone, a middle-button drag along a row changes nothing.
    Drag(CellCentre(3, 3), CellCentre(6, 3), 3);
    Drag(CellCentre(0, 6), CellCentre(4, 6), 2);
    Move(CellCentre(12, 10));
    const std::vector<std::pair<int, int>> placed = {{3, 3}, {4, 3}, {5, 3}, {5, 6}};
    EXPECT_TRUE(ScreenShows(QStringLiteral("other-buttons"), placed, Tile::Diagonal,
                            {{6, 3}, {2, 3}, {0, 6}, {2, 6}, {4, 6}}))
        << "a right- or middle-button drag laid or kept more than its release cell";

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
    EXPECT_EQ(bytes.find(";X=6;Y=3;"), std::string::npos) << "the right-button drag's cell";
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 6 + 4);
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

    // Once more from "Soubor › Naposledy otevřené", the fifth item of "Soubor": its first
    // item is the station just opened.
    Key(QStringLiteral("ctrl+n"));
    EXPECT_TRUE(ScreenShows(QStringLiteral("new-again"), {}, Tile::None, placed));
    const std::vector<QPoint> menus = MenuBarTitles();
    ASSERT_EQ(menus.size(), 5u) << "the five menu titles are not in the menu bar";
    Click(menus[0]);
    Pause(300);
    for (int i = 0; i < 5; ++i)
        Key(QStringLiteral("Down"));
    Key(QStringLiteral("Right"));
    Pause(500);
    Screenshot(QStringLiteral("recent-menu"));
    Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("stanice.reru")).isEmpty(); }))
        << "the recent file was not opened";
    Move(CellCentre(12, 10));
    EXPECT_TRUE(ScreenShows(QStringLiteral("opened-recent"), placed, Tile::Diagonal))
        << "the station opened from the recent files does not show its tiles";

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
    // Enter takes the default answer, No: the work stays.
    Key(QStringLiteral("Return"));
    Pause(600);
    EXPECT_TRUE(EditorRunning());
    EXPECT_TRUE(Windows(QStringLiteral("Confirm")).isEmpty());
    Key(QStringLiteral("alt+F4"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("Confirm")).isEmpty(); }));
    Pause(300);
    Key(QStringLiteral("alt+y"));
    EXPECT_TRUE(editor.waitForFinished(10000)) << "the editor did not close";
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(editor.exitCode(), 0);
}

// What people trip over first, done as a person does it: scrolling with the pointer still,
// walking the palette's pages, the wheel over the tabs, keys with the focus in a size field,
// the tool panels on "Ostatní", Enter on the question and Escape in the small windows.
TEST_F(EditorSmokeTest, PagesScrollingKeysAndQuestionsInTheRealWindow) {
    StartEditor();
    const std::vector<QPoint> tabs = TabCentres(Screenshot(QStringLiteral("tabs")), frameCorner);
    ASSERT_EQ(tabs.size(), 7u) << "the palette's seven tabs are not where they should be";
    Click(CellCentre(4, 5));
    ASSERT_TRUE(ScreenShows(QStringLiteral("first-tile"), {{4, 5}}, Tile::Straight));

    // A wheel notch with the pointer still scrolls three rows: the outline moves to the cell
    // now under the pointer, and a click lands there.
    Move(CellCentre(8, 6));
    Wheel(5);
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Screenshot(QStringLiteral("after-wheel"));
        return OutlineAt(shot, 8, 6) && !OutlineAt(shot, 8, 3) &&
               TileAt(shot, 4, 2) == Tile::Straight;
    })) << "the cursor outline did not follow the pointer after the scroll";
    Xdo({QStringLiteral("click"), QStringLiteral("1")});
    Pause(300);
    Wheel(4);
    Move(CellCentre(14, 12));
    EXPECT_TRUE(
        ScreenShows(QStringLiteral("wheel-click"), {{4, 5}, {8, 9}}, Tile::Straight, {{8, 6}}))
        << "the click after the scroll did not land under the pointer";

    // Every page and back: the panel is drawn whole again at once, the pointer far from it.
    for (size_t i = 1; i < tabs.size(); ++i) {
        Click(tabs[i]);
        Pause(400);
        Click(tabs[0]);
        EXPECT_TRUE(WaitFor(
            [&] {
                const QImage shot = Screenshot(QStringLiteral("page-back-%1").arg(i));
                return BlackShare(shot) < 0.02 && TileAt(shot, 4, 5) == Tile::Straight;
            },
            5000))
            << "the panel stayed black after page " << i;
    }

    // The wheel over the tab row turns no page: the diagonal chosen stays chosen.
    Click(frameCorner + QPoint(4 + 54 + 23, 4 + 23));
    Move(tabs[3]);
    Wheel(4, 3);
    Wheel(5, 3);
    Click(CellCentre(10, 8));
    Move(tabs[1] + QPoint(0, 40));
    EXPECT_TRUE(ScreenShows(QStringLiteral("wheel-tabs"), {{10, 8}}, Tile::Diagonal))
        << "the wheel over the tabs changed the page and the chosen tile";

    // Ctrl+Right with the focus in the width field shifts everything right.
    Click(tabs[6]);
    Pause(400);
    const QPoint page = frameCorner - QPoint(3, 3);
    Click(page + QPoint(8 + 136 + 15, 4 + 18 + 11));
    Key(QStringLiteral("ctrl+Right"));
    Pause(300);
    // A width typed there is the panel's size at once (seen below, back on a tile page).
    Key(QStringLiteral("ctrl+a"));
    Xdo({QStringLiteral("type"), QStringLiteral("12")});
    Pause(300);

    // F2 then F3 on "Ostatní": the left panel comes back as the strip at the left edge from
    // the top bar to the status bar, the palette beside it.
    Key(QStringLiteral("F2"));
    Pause(400);
    Key(QStringLiteral("F3"));
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage shot = Screenshot(QStringLiteral("other-f3"));
            int rows = 0, edged = 0;
            for (int y = frameCorner.y() - 15; y < origin.y() + 600; y += 5, ++rows) {
                bool edge = false;
                for (int x = origin.x() - 6; x <= origin.x() + 1; ++x)
                    edge = edge || qGray(shot.pixel(x, y)) < 200;
                edged += edge ? 1 : 0;
            }
            return edged >= rows * 95 / 100;
        },
        5000))
        << "no left panel strip from the top bar down on \"Ostatní\"";
    Click(tabs[0] + QPoint(145, 0));
    Move(tabs[2]);
    EXPECT_TRUE(
        ScreenShows(QStringLiteral("shifted"), {{5, 5}, {9, 9}}, Tile::Straight, {{4, 5}, {8, 9}}))
        << "Ctrl+Right in the width field did not shift the panel";
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Screenshot(QStringLiteral("width-12"));
        return IsPanelGrey(shot.pixel(CellCentre(11, 3))) &&
               !IsPanelGrey(shot.pixel(CellCentre(12, 3)));
    })) << "the panel does not end after the 12 columns typed into the width field";

    // Enter on the question keeps the work.
    Key(QStringLiteral("ctrl+n"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("Confirm")).isEmpty(); }))
        << "New did not ask";
    Pause(300);
    Key(QStringLiteral("Return"));
    EXPECT_TRUE(WaitFor([&] { return Windows(QStringLiteral("Confirm")).isEmpty(); }));
    EXPECT_TRUE(ScreenShows(QStringLiteral("kept"), {{5, 5}, {9, 9}}, Tile::Straight))
        << "Enter on the question threw the work away";

    // Escape closes the manual, the About window and the shift dialog. The menu bar is the
    // first row from the top that reads as five words.
    const std::vector<QPoint> menus = MenuBarTitles();
    ASSERT_EQ(menus.size(), 5u) << "the five menu titles are not in the menu bar";
    const struct {
        size_t menu;
        QStringList keys;
        const char* title;
    } windows[] = {
        {4, {QStringLiteral("Down"), QStringLiteral("Return")}, "VediVEZ - N"},
        {4,
         {QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")},
         "O programu"},
        {1,
         {QStringLiteral("Down"), QStringLiteral("Right"), QStringLiteral("Down"),
          QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
          QStringLiteral("Return")},
         "Posunout v"},
    };
    for (const auto& w : windows) {
        Click(menus[w.menu]);
        Pause(300);
        for (const QString& key : w.keys) {
            Key(key);
            Pause(120);
        }
        const QString title = QString::fromUtf8(w.title);
        ASSERT_TRUE(WaitFor([&] { return !Windows(title).isEmpty(); }))
            << w.title << " did not open";
        Pause(400);
        Screenshot(QStringLiteral("window-open"));
        Key(QStringLiteral("Escape"));
        EXPECT_TRUE(WaitFor([&] { return Windows(title).isEmpty(); }, 5000))
            << "Escape did not close " << w.title;
    }
    EXPECT_TRUE(EditorRunning());
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
        return !Windows(QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - station.reru")).isEmpty();
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

    // The same station under a name in Windows-1250, "stanice-č" with the byte 0xE8, as a
    // shell passes it: the editor opens that very file.
    const std::string native = work.path().toStdString() + "/stanice-\350.reru";
    if (std::FILE* f = std::fopen(native.c_str(), "wb")) {
        std::fwrite(station.data(), 1, station.size(), f);
        std::fclose(f);
    }
    editor.start(QStringLiteral("sh"),
                 {QStringLiteral("-c"),
                  QStringLiteral("exec \"$0\" \"$(printf 'stanice-\\350.reru')\""),
                  QStringLiteral(VEDIVEZ_EDITOR_EXE)});
    ASSERT_TRUE(editor.waitForStarted());
    EXPECT_TRUE(WaitFor([&] {
        return !Windows(QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - stanice-.*reru")).isEmpty();
    })) << "no window with the station's name in its caption";
    Pause(1000);
    EXPECT_TRUE(Windows(QStringLiteral("Error")).isEmpty()) << "the file was not opened";
    Move(CellCentre(15, 10));
    EXPECT_TRUE(ScreenShows(QStringLiteral("start-file-cp1250"), straight, Tile::Straight))
        << "the tiles of the file named in Windows-1250 are not on the panel";
    Key(QStringLiteral("alt+F4"));
    EXPECT_TRUE(editor.waitForFinished(10000)) << "the editor did not close";
    // QTemporaryDir cannot name the file to remove it.
    ::unlink(native.c_str());
}

// The whole panel at a glance and back: Ctrl+0 shows all 150 x 50 cells, a click there
// places a tile in the cell under the pointer, Ctrl+1 returns to 100 % and Ctrl+Home to the
// panel's corner, where the tile is.
TEST_F(EditorSmokeTest, ZoomOutPlaceAndBackInTheRealWindow) {
    StartEditor();
    Key(QStringLiteral("ctrl+0"));
    // At 10 pixels a cell the grid lines, in the lighter blue, stand 10 pixels apart from
    // the panel's corner, and the panel ends 1500 pixels to the right.
    const int s = 10;
    auto gridAt = [&](const QImage& shot, int col, int row) {
        return IsLightBlue(shot.pixel(origin + QPoint(col * s, row * s + 3))) &&
               IsLightBlue(shot.pixel(origin + QPoint(col * s + 3, row * s)));
    };
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Screenshot(QStringLiteral("zoom-whole"));
        // Row 8: below the overlay's text.
        return gridAt(shot, 1, 8) && gridAt(shot, 77, 30) && gridAt(shot, 149, 49) &&
               !IsLightBlue(shot.pixel(origin + QPoint(150 * s + 3, 20 * s)));
    })) << "Ctrl+0 did not show the whole panel at 10 pixels a cell";
    const QPoint cell = origin + QPoint(30 * s + 3, 14 * s + 3);
    Click(cell);
    Move(origin + QPoint(60 * s, 30 * s));
    EXPECT_TRUE(WaitFor([&] {
        const QImage shot = Screenshot(QStringLiteral("zoom-placed"));
        for (int y = 1; y < s; ++y)
            for (int x = 1; x < s; ++x)
                if (!IsBlack(shot.pixel(origin + QPoint(30 * s + x, 14 * s + y))))
                    return false;
        return !IsBlack(shot.pixel(origin + QPoint(31 * s + 3, 14 * s + 3)));
    })) << "the click at the small scale did not fill its cell";
    Key(QStringLiteral("ctrl+1"));
    Pause(300);
    Key(QStringLiteral("ctrl+Home"));
    Move(CellCentre(20, 8));
    EXPECT_TRUE(ScreenShows(QStringLiteral("zoom-back"), {{30, 14}}, Tile::Straight,
                            {{29, 14}, {31, 14}, {30, 13}, {30, 15}}))
        << "back at 100 % the tile is not in its cell";
}

// The connection check on a station with one open track end: Ctrl+K shows a red mark at
// the open end, F4 puts the cursor's outline on its cell.
// The check on a panel eleven cells wide: a track leaving it at the left (a note, marked
// orange) and one open end at column 9. F4 goes to the open end and names it in a tooltip;
// once a track runs on to the panel's edge only notes remain, and F4 says so in a tooltip,
// not a box: the next key still reaches the window.
TEST_F(EditorSmokeTest, ConnectionCheckFindsTheOpenEndInTheRealWindow) {
    std::string station = "SET_Vyska;50\r\nSET_Sirka;11\r\n";
    auto tile = [&](int col, const char* name) {
        station += "PRUSVITKA;X=" + std::to_string(col) + ";Y=5;NAME=" + name +
                   ";Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;"
                   "Cont_PD=0\r\n";
    };
    for (int col = 0; col <= 9; ++col)
        tile(col, "KOL_sLSPS"); // leaves the panel at the left, ends open at the right of 9
    WriteBytes(work.filePath(QStringLiteral("jeden-konec.reru")), station);
    StartEditor({work.filePath(QStringLiteral("jeden-konec.reru"))});
    Move(CellCentre(5, 12));
    ASSERT_TRUE(ScreenShows(QStringLiteral("check-start"), {{5, 5}, {9, 5}}, Tile::Straight));

    auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; };
    // Orange, or orange under the translucent preview of the tile in the cursor's cell.
    auto orange = [](QRgb c) {
        return qRed(c) > 140 && qGreen(c) > qRed(c) / 3 && qGreen(c) < qRed(c) * 2 / 3 &&
               qBlue(c) < 40;
    };
    // The marks: a triangle in the cell at its PS point, pointing out to the right, and one at
    // the LS point of the first cell.
    auto markAt = [&](const QImage& shot, int col) {
        return red(shot.pixel(origin + QPoint(col * kCell + 43, 5 * kCell + 23)));
    };
    auto noteAt = [&](const QImage& shot) {
        return orange(shot.pixel(origin + QPoint(3, 5 * kCell + 23)));
    };
    EXPECT_FALSE(markAt(Screenshot(QStringLiteral("check-off")), 9));
    Key(QStringLiteral("ctrl+k"));
    EXPECT_TRUE(WaitFor([&] { return markAt(Screenshot(QStringLiteral("check-on")), 9); }, 5000))
        << "no mark at the open end";
    const QImage on = Screenshot(QStringLiteral("check-on"));
    for (int col = 0; col <= 8; ++col)
        EXPECT_FALSE(markAt(on, col)) << "a mark where the track goes on, column " << col;
    EXPECT_TRUE(noteAt(on)) << "no orange mark where the track leaves the panel";

    // Where two screenshots differ: the bounding box and the number of pixels.
    auto changes = [](const QImage& a, const QImage& b, const QRect& area) {
        QRect box;
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    box |= QRect(x, y, 1, 1);
                    ++n;
                }
        return std::pair{box, n};
    };
    // F4's tooltip stands below and to the right of the cell.
    auto namedBelow = [&](const QImage& shot, int col, int row) {
        const QPoint corner = origin + QPoint((col + 1) * kCell, (row + 1) * kCell);
        return changes(on, shot, QRect(corner, QSize(300, 50))).second > 1000;
    };
    Key(QStringLiteral("F4"));
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage shot = Screenshot(QStringLiteral("check-f4"));
            return OutlineAt(shot, 9, 5) && namedBelow(shot, 9, 5);
        },
        5000))
        << "F4 did not put the cursor's outline on the cell of the open end and name it";
    // The translucent preview of the chosen tile now lies over the mark, which still shows.
    const QRgb under = Screenshot(QStringLiteral("check-f4"))
                           .pixel(origin + QPoint(9 * kCell + 43, 5 * kCell + 23));
    EXPECT_TRUE(qRed(under) > 120 && qGreen(under) < 60 && qBlue(under) < 60);

    // The straight track (the palette's first picture) in the last column: its PS leaves the
    // panel too, so notes alone remain.
    Click(frameCorner + QPoint(4 + 23, 4 + 23));
    Click(CellCentre(10, 5));
    // The pointer rests beside the panel, where no cell's tooltip shows.
    Move(origin + QPoint(11 * kCell + 300, 12 * kCell));
    Pause(1500);
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage shot = Screenshot(QStringLiteral("check-mended"));
            return !markAt(shot, 9) &&
                   orange(shot.pixel(origin + QPoint(10 * kCell + 43, 5 * kCell + 23)));
        },
        5000))
        << "the open end is not mended on the screen";
    const int windows = Windows(QStringLiteral(".")).size();
    const QPoint gridPixel = origin + QPoint(6 * kCell, 8 * kCell + 20);
    const QImage mended = Screenshot(QStringLiteral("check-mended"));
    ASSERT_TRUE(IsBlue(mended.pixel(gridPixel)));
    Key(QStringLiteral("F4"));
    Pause(700);
    const QImage said = Screenshot(QStringLiteral("check-no-problems"));
    EXPECT_TRUE(noteAt(said)) << "the note's mark went";
    EXPECT_EQ(Windows(QStringLiteral(".")).size(), windows) << "a window opened";
    // A tooltip's worth of change in the view, nothing more (below the diagnostic text in
    // the top rows, whose frame rate changes on its own).
    const auto [box, changed] = changes(
        mended, said,
        QRect(origin + QPoint(0, 2 * kCell), QPoint(said.width() - 30, said.height() - 40)));
    EXPECT_GT(changed, 1000) << "no tooltip on the screen";
    EXPECT_LT(box.width(), 400) << "more than a tooltip changed";
    EXPECT_LT(box.height(), 60) << "more than a tooltip changed";
    // The next key goes to the window as before: Ctrl+G takes the grid away.
    Key(QStringLiteral("ctrl+g"));
    EXPECT_TRUE(WaitFor(
        [&] { return !IsBlue(Screenshot(QStringLiteral("check-grid-off")).pixel(gridPixel)); },
        5000))
        << "the key after the message did not reach the window";
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// F2 and F3 under a resting pointer: the cursor's outline goes to the cell the panel now has
// under the pointer, and a click lands there.
TEST_F(EditorSmokeTest, CursorFollowsTheRestingPointerThroughF2AndF3) {
    // The outline's edges along the cell's top, which the cell's tooltip, shown below the
    // resting pointer, does not cover.
    auto TopOfOutlineAt = [&](const QImage& shot, QPoint cell) {
        const QPoint corner = origin + cell * kCell;
        auto red = [&](QPoint p) {
            const QRgb c = shot.pixel(corner + p);
            return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
        };
        return red({0, 8}) && red({20, 0}) && red({47, 8});
    };
    StartEditor();
    const QPoint start = origin;
    const QPoint pointer = CellCentre(12, 9);
    Move(pointer);
    Pause(300);
    Key(QStringLiteral("F2"));
    std::optional<QPoint> moved;
    ASSERT_TRUE(WaitFor([&] {
        moved = SurfaceOrigin(Screenshot(QStringLiteral("f2")));
        return moved && *moved != start;
    })) << "F2 did not move the panel";
    origin = *moved;
    // (QPoint's division rounds; cells are counted down.)
    const QPoint cell((pointer.x() - origin.x()) / kCell, (pointer.y() - origin.y()) / kCell);
    ASSERT_NE(cell, QPoint(12, 9));
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage shot = Screenshot(QStringLiteral("f2-outline"));
            return TopOfOutlineAt(shot, cell) && !TopOfOutlineAt(shot, {12, 9});
        },
        5000))
        << "after F2 the outline is not on the cell under the pointer";
    Xdo({QStringLiteral("click"), QStringLiteral("1")});
    Pause(300);

    Key(QStringLiteral("F3"));
    ASSERT_TRUE(WaitFor([&] { return SurfaceOrigin(Screenshot(QStringLiteral("f3"))) == start; }))
        << "F3 did not bring the panel back";
    origin = start;
    // Back where it started, (12, 9) is under the pointer again; the tile is in the cell
    // that was under it after F2.
    const QPoint placed = cell;
    EXPECT_TRUE(WaitFor(
        [&] {
            const QImage shot = Screenshot(QStringLiteral("f3-outline"));
            return TopOfOutlineAt(shot, {12, 9}) && !TopOfOutlineAt(shot, placed);
        },
        5000))
        << "after F3 the outline is not on the cell under the pointer";
    Move(CellCentre(25, 14));
    EXPECT_TRUE(ScreenShows(QStringLiteral("f2-click"), {{placed.x(), placed.y()}}, Tile::Straight,
                            {{12, 9}}))
        << "the click after F2 did not land under the pointer";
}

// Ctrl and the wheel from "Celý panel" on a 1000 x 300 panel keep the cell under the pointer
// under it at every step, though at the whole panel it is smaller than the viewport and at
// two pixels a cell the scroll bar alone could not hold it there.
TEST_F(EditorSmokeTest, CtrlWheelKeepsItsTargetFromTheWholePanel) {
    // A cross around (705, 219): cells 690 to 720 of its row, 212 to 226 of its column.
    std::string station = "SET_Vyska;300\r\nSET_Sirka;1000\r\n";
    auto tile = [&](int col, int row) {
        station += "PRUSVITKA;X=" + std::to_string(col) + ";Y=" + std::to_string(row) +
                   ";NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
                   "Cont_PH=0;Cont_PS=0;Cont_PD=0\r\n";
    };
    for (int col = 690; col <= 720; ++col)
        tile(col, 219);
    for (int row = 212; row <= 226; ++row)
        if (row != 219)
            tile(705, row);
    WriteBytes(work.filePath(QStringLiteral("sirka.reru")), station);
    StartEditor({work.filePath(QStringLiteral("sirka.reru"))});
    Key(QStringLiteral("ctrl+0"));
    Pause(500);
    // One pixel a cell: the target is that pixel.
    const QPoint pointer = origin + QPoint(705, 219);
    Move(pointer);
    // The cells at these distances from the one under the pointer are dark blocks, those one
    // further not: the cross lies where it should around the pointer.
    auto crossAround = [&](const QImage& shot, int s) {
        auto dark = [&](int dx, int dy) {
            return IsBlack(shot.pixel(pointer + QPoint(dx, dy) * s));
        };
        return dark(-15, 0) && dark(-8, 0) && dark(8, 0) && dark(15, 0) && !dark(-16, 0) &&
               !dark(16, 0) && dark(0, -7) && dark(0, -4) && dark(0, 4) && dark(0, 7) &&
               !dark(0, -8) && !dark(0, 8);
    };
    ASSERT_TRUE(WaitFor([&] { return crossAround(Screenshot(QStringLiteral("wheel-1")), 1); }))
        << "the cross is not under the pointer at the whole panel";
    for (const int s : {2, 3, 4}) {
        Xdo({QStringLiteral("keydown"), QStringLiteral("ctrl")});
        Xdo({QStringLiteral("click"), QStringLiteral("4")});
        Xdo({QStringLiteral("keyup"), QStringLiteral("ctrl")});
        EXPECT_TRUE(WaitFor(
            [&] { return crossAround(Screenshot(QStringLiteral("wheel-%1").arg(s)), s); }, 5000))
            << "at " << s << " pixels a cell the target is no longer under the pointer";
    }
}

// Printing for real: "Tisk..." (Ctrl+P), "Vzhled stránky" and the system's print dialog
// accepted with Enter, to the virtual PDF printer of CUPS that scripts/pdf-printer.sh sets
// up. The PDF the printer writes has the pages of "vedivez-tool export" of the same station
// with the same (default) settings, equal within the anti-aliasing of the two rasterisers.
TEST_F(EditorSmokeTest, PrintsThroughTheSystemDialogTheToolsPages) {
    const QString queue = QStringLiteral("VediVEZ-PDF");
    const QDir printed(QStringLiteral("/var/spool/cups-pdf/vedivez"));
    if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty() ||
        !RunTool(QStringLiteral("lpstat"), {QStringLiteral("-p"), queue}, env)
             .startsWith(QStringLiteral("printer")) ||
        !printed.exists())
        GTEST_SKIP() << "no CUPS queue " << queue.toStdString() << " writing to "
                     << printed.path().toStdString() << " (scripts/pdf-printer.sh sets it up)";

    // A station wider than high, so that the page turns; its name is the job's title.
    std::string station = "SET_Vyska;12\r\nSET_Sirka;30\r\n";
    for (int x = 1; x < 28; ++x)
        station += "PRUSVITKA;X=" + std::to_string(x) + ";Y=" + std::to_string(2 + x % 3 * 3) +
                   ";NAME=" + (x % 4 ? "KOL_sLSPS" : "KOL_sLDPH") +
                   ";Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;"
                   "Cont_PD=0\r\n";
    const QString name = QStringLiteral("tisk%1").arg(QCoreApplication::applicationPid());
    const QString file = work.filePath(name + QStringLiteral(".reru"));
    WriteBytes(file, station);
    const auto before = printed.entryList({name + QStringLiteral("*")}, QDir::Files);
    for (const QString& old : before)
        QFile::remove(printed.filePath(old));

    env.insert(QStringLiteral("PRINTER"), queue); // the print dialog's default printer
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), {file});
    ASSERT_TRUE(editor.waitForStarted());
    ASSERT_TRUE(
        WaitFor([&] { return !Windows(QStringLiteral("VediVEZ v" VEDIVEZ_VERSION)).isEmpty(); }));
    Pause(1500);

    Key(QStringLiteral("ctrl+p"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QString::fromUtf8("Vzhled stránky")).isEmpty(); }))
        << "Ctrl+P opened no \"Vzhled stránky\"";
    Pause(500);
    Screenshot(QStringLiteral("print-setup"));
    Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return !Windows(QStringLiteral("^(Print|Tisk)$")).isEmpty(); }))
        << "no system print dialog";
    Pause(1500);
    Screenshot(QStringLiteral("print-dialog"));
    Key(QStringLiteral("Return"));

    // cups-pdf writes the file under the job's title once the job is done.
    QString pdf;
    ASSERT_TRUE(WaitFor(
        [&] {
            const QStringList found =
                printed.entryList({name + QStringLiteral("*.pdf")}, QDir::Files);
            if (found.isEmpty())
                return false;
            pdf = printed.filePath(found.first());
            return !RunTool(QStringLiteral("pdfinfo"), {pdf}, env).isEmpty();
        },
        60000))
        << "the printer wrote no PDF";
    Key(QStringLiteral("alt+F4"));

    const QString exported = work.filePath(QStringLiteral("tool.pdf"));
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(VEDIVEZ_TOOL_EXE), {QStringLiteral("export"), file, exported});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0);

    // Page by page at 50 dpi, as grey levels; a pixel differs when its grey is more than
    // half the scale apart (anti-aliased edges are closer). Edges and the re-rendered label
    // text differ in places; a drawing moved, scaled or cut differs in most of its ink.
    auto pages = [&](const QString& pdfPath, const QString& prefix) {
        RunTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"), pdfPath,
                 work.filePath(prefix)},
                env, 60000);
        QStringList files =
            QDir(work.path())
                .entryList({prefix + QStringLiteral("*.pgm")}, QDir::Files, QDir::Name);
        std::vector<QImage> images;
        for (const QString& f : files)
            images.emplace_back(
                QImage(work.filePath(f)).convertToFormat(QImage::Format_Grayscale8));
        return images;
    };
    const std::vector<QImage> fromPrinter = pages(pdf, QStringLiteral("printed"));
    const std::vector<QImage> fromTool = pages(exported, QStringLiteral("exported"));
    ASSERT_FALSE(fromTool.empty());
    ASSERT_EQ(fromPrinter.size(), fromTool.size()) << "page counts differ";
    for (size_t i = 0; i < fromTool.size(); ++i) {
        // CUPS puts a landscape job on upright paper, turned a quarter to the left.
        QImage a = fromPrinter[i];
        const QImage& b = fromTool[i];
        if (a.size() == b.size().transposed())
            a = a.transformed(QTransform().rotate(90));
        ASSERT_EQ(a.size(), b.size()) << "page " << i + 1 << " has another paper size";
        int64_t differing = 0, inked = 0;
        for (int y = 0; y < a.height(); ++y) {
            const uchar* p = a.constScanLine(y);
            const uchar* q = b.constScanLine(y);
            for (int x = 0; x < a.width(); ++x) {
                differing += std::abs(int(p[x]) - int(q[x])) > 128;
                inked += q[x] < 128;
            }
        }
        const int64_t all = int64_t(a.width()) * a.height();
        EXPECT_GT(inked, all / 200) << "page " << i + 1 << " is nearly blank";
        EXPECT_LE(differing * 4, inked)
            << "page " << i + 1 << ": " << differing << " of " << all << " pixels differ";
    }
    QFile::remove(pdf);
}

} // namespace
} // namespace vedivez::test
