#include "AppTestSupport.h"

#include "app/Palette.h"

#include <QCheckBox>
#include <QCursor>
#include <QScrollBar>
#include <QTabWidget>

namespace vedivez::test {
namespace {

using FrameDriverTest = WindowTest;

TEST_F(FrameDriverTest, NothingIsRedrawnWhileNothingChanges) {
    FrameDriver& frames = window->Frames();
    frames.RenderIfChanged(1);
    const qint64 drawn = frames.FramesDrawn();
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(frames.RenderIfChanged(1));
    EXPECT_EQ(frames.FramesDrawn(), drawn);
}

// Each thing a frame shows brings exactly one new frame when it changes.
TEST_F(FrameDriverTest, EveryChangeTheFrameShowsBringsOneFrame) {
    FrameDriver& frames = window->Frames();
    // The pointer rests where it moved, so the cursor stays under it through the scroll.
    QCursor::setPos(Surface()->mapToGlobal(Cell(5, 4)));
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"cursor to another cell", [&] { MoveTo(Cell(5, 4)); }},
        {"placement", [&] { Click(Cell(5, 4)); }},
        {"grid off", [&] { Trigger("MP_Mrizka"); }},
        {"preview off", [&] { Trigger("MP_Nahled"); }},
        {"cursor cell off", [&] { Trigger("MP_PolickoPodKurzorem"); }},
        {"overlay off", [&] { Trigger("MP_InfoVykreslovani"); }},
        {"corner box", [&] { Find<QCheckBox>("CH_Poloha_PS")->setChecked(false); }},
        {"scroll", [&] { window->View().HorizontalBar()->setValue(94); }},
        {"focus lost", [&] { Panel().CursorInside = false; }},
        {"panel size", [&] { window->Doc().SetSize(120, window->Doc().Rows()); }},
        {"shift", [&] { Trigger("Posunoutve1"); }},
        {"selection", [&] { Panel().SelectedName = "KOL_sSDSH"; }},
    };
    frames.RenderIfChanged(1);
    for (const auto& [what, change] : changes) {
        change();
        EXPECT_TRUE(frames.RenderIfChanged(1)) << what;
        EXPECT_FALSE(frames.RenderIfChanged(1)) << what;
    }
}

TEST_F(FrameDriverTest, MovesWithinOneCellDrawNothing) {
    FrameDriver& frames = window->Frames();
    MoveTo({100, 100});
    frames.RenderIfChanged(1);
    for (QPoint p : {QPoint(94, 94), QPoint(140, 140), QPoint(120, 99)}) {
        MoveTo(p);
        EXPECT_FALSE(frames.RenderIfChanged(1)) << p.x() << "," << p.y();
    }
}

// The timer's figures count only while the overlay shows them.
TEST_F(FrameDriverTest, LagCountRedrawsOnlyWithTheOverlay) {
    FrameDriver& frames = window->Frames();
    frames.RenderIfChanged(1);
    EXPECT_TRUE(frames.RenderIfChanged(2));
    EXPECT_FALSE(frames.RenderIfChanged(2));
    Trigger("MP_InfoVykreslovani");
    EXPECT_TRUE(frames.RenderIfChanged(2));
    EXPECT_FALSE(frames.RenderIfChanged(1));
    EXPECT_FALSE(frames.RenderIfChanged(3));
}

TEST_F(FrameDriverTest, PausedTimerDrawsNothing) {
    FrameDriver& frames = window->Frames();
    frames.RenderIfChanged(1);
    frames.Pause();
    frames.Pause();
    MoveTo(Cell(7, 7));
    const qint64 drawn = frames.FramesDrawn();
    for (uint32_t t = 1000; t < 2000; t += 16)
        EXPECT_FALSE(frames.Poll(t));
    frames.Resume();
    EXPECT_TRUE(frames.Paused());
    frames.Resume();
    EXPECT_FALSE(frames.Paused());
    EXPECT_EQ(frames.FramesDrawn(), drawn);
}

// The frame shows the visible part of the surface: the buffer is the viewport's size and
// holds the pixels of the scrolled-to cells.
TEST_F(FrameDriverTest, OnlyTheVisibleRectangleIsRendered) {
    Viewport& view = window->View();
    FrameDriver& frames = window->Frames();
    view.HorizontalBar()->setValue(47 * 60);
    view.VerticalBar()->setValue(47 * 20);
    Click(Cell(62, 22));
    frames.RenderIfChanged(1);
    const QRect visible = view.VisibleRect();
    EXPECT_EQ(visible.topLeft(), QPoint(47 * 60, 47 * 20));
    EXPECT_EQ(view.FrameSurface().Viewport(), visible);
    EXPECT_EQ(view.FrameSurface().BackBuffer().size(), visible.size());
    // The placed horizontal track's pixel in the middle of its cell, and the grid line.
    const QImage& buffer = view.FrameSurface().BackBuffer();
    EXPECT_EQ(buffer.pixel(QPoint(62 * 47 + 24, 22 * 47 + 24) - visible.topLeft()) & 0xFFFFFF, 0u);
    EXPECT_EQ(buffer.pixel(QPoint(61 * 47, 21 * 47 + 10) - visible.topLeft()) & 0xFFFFFF,
              0x0000FFu);
}

// A name without a picture is drawn as a placeholder and named in one box, however many
// frames show it, and the box opens outside the drawing code.
TEST_F(FrameDriverTest, MissingPictureIsReportedOncePerName) {
    FrameDriver& frames = window->Frames();
    TPolePanelu e;
    e.NAME = "NEZNAMY_PRVEK";
    e.X = 2;
    e.Y = 2;
    Panel().AppendElement(e);
    frames.RenderIfChanged(1);
    EXPECT_TRUE(log->errors.isEmpty()) << "no box from within a frame";
    QCoreApplication::processEvents();
    ASSERT_EQ(log->errors.size(), 1);
    EXPECT_EQ(log->errors[0], QStringLiteral("Image 'NEZNAMY_PRVEK' not found."));
    for (int i = 0; i < 5; ++i) {
        MoveTo(Cell(i, 9));
        frames.RenderIfChanged(1);
    }
    e.NAME = "JINY";
    Panel().AppendElement(e);
    frames.RenderIfChanged(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(log->errors,
              (QStringList{"Image 'NEZNAMY_PRVEK' not found.", "Image 'JINY' not found."}));
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// A back buffer made anew starts black. Whatever makes one (a viewport that shrinks and
// grows back before the next frame, a page that hides the drawing area, hidden tool panels),
// the next frame shows the whole visible panel again.
TEST_F(FrameDriverTest, ARemadeBufferIsDrawnWhole) {
    Viewport& view = window->View();
    FrameDriver& frames = window->Frames();
    QTabWidget* pages = window->PaletteControls().Pages();
    QWidget* viewport = view.ViewportWidget();
    const std::pair<const char*, std::function<void()>> remakes[] = {
        {"viewport smaller and back",
         [&] {
             const QSize size = viewport->size();
             viewport->resize(size - QSize(90, 40));
             viewport->resize(size);
         }},
        {"page Ostatní and back",
         [&] {
             pages->setCurrentIndex(pages->count() - 1);
             QCoreApplication::processEvents();
             pages->setCurrentIndex(0);
         }},
        {"F2 then F3",
         [&] {
             Trigger("MP_SkrytVsechnyPanely");
             QCoreApplication::processEvents();
             Trigger("MP_ZobrazitVsechnyPanely");
         }},
        {"left panel off and on",
         [&] {
             Trigger("MP_LevyPanel");
             QCoreApplication::processEvents();
             Trigger("MP_LevyPanel");
         }},
    };
    Trigger("MP_InfoVykreslovani"); // the overlay's text would cover the first cells
    Click(Cell(3, 3));
    for (const auto& [what, remake] : remakes) {
        frames.RenderIfChanged(1);
        remake();
        QCoreApplication::processEvents();
        frames.RenderIfChanged(1);
        const QRect visible = view.VisibleRect();
        const QImage& buffer = view.FrameSurface().BackBuffer();
        ASSERT_EQ(buffer.size(), visible.size()) << what;
        // The middle of every visible empty cell shows the panel's grey, the placed track's
        // cell its black line.
        int wrong = 0;
        for (int row = 0; row * 47 + 23 < visible.height(); ++row)
            for (int col = 0; col * 47 + 23 < visible.width(); ++col) {
                const QRgb expected = (col == 3 && row == 3) ? 0x000000 : 0x808080;
                if ((buffer.pixel(col * 47 + 23, row * 47 + 23) & 0xFFFFFF) != expected)
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << what;
    }
}

} // namespace
} // namespace vedivez::test
