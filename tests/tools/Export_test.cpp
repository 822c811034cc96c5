#include "ToolRunner.h"
#include "export/PanelExport.h"
#include "panel/HeadlessPanel.h"
#include "support/TestSupport.h"

#include "panel/TileCatalogue.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vedivez::ExportOptions;
using vedivez::HeadlessPanel;
using vedivez::MarginText;
using vedivez::PageCells;
using vedivez::PageLabel;
using vedivez::PanelExporter;
using vedivez::TileCatalogue;
using vedivez::test::RunProgram;
using vedivez::test::Tool;
using vedivez::test::ToolRun;
using vedivez::test::WriteBytes;

namespace {

// With cells of 47 * 25.4 / 72 mm one surface pixel is printed as one point, so poppler at
// 72 dpi gives one image pixel per surface pixel; the drawing starts 36 points (pixels) from
// the page's top-left corner.
const QString kOnePointCells = QStringLiteral("16.580555555555556");
constexpr int kPageMargin = 36;

std::string Line(int x, int y, const std::string& name, unsigned corners) {
    auto flag = [](bool on) { return on ? "-1" : "0"; };
    return "PRUSVITKA;X=" + std::to_string(x) + ";Y=" + std::to_string(y) + ";NAME=" + name +
           ";Cont_LH=" + flag(corners & 1) + ";Cont_LS=-1;Cont_LD=" + flag(corners & 2) +
           ";Cont_SH=0;Cont_SD=0;Cont_PH=" + flag(corners & 4) +
           ";Cont_PS=0;Cont_PD=" + flag(corners & 8) + "\r\n";
}

// Every catalogue item as an element, each with another set of corner flags, packed so
// that tiles and marks of neighbours overlap; a name without a picture; an element outside
// the panel whose mirrored mark still shows; and a second element in one cell.
std::string EveryTileStation() {
    std::string s = "SET_Vyska;10\r\nSET_Sirka;10\r\n";
    const auto& items = TileCatalogue();
    for (size_t i = 0; i < items.size(); ++i)
        s += Line(1 + int(i % 8), 1 + int(i / 8), items[i].name, unsigned(i % 16));
    s += Line(8, 8, "NO_SUCH_TILE", 15);
    s += Line(10, 4, "KOL_sLSPS", 1);
    s += Line(2, 2, "KOL_sLHPD", 0);
    return s;
}

// What a pixel shows, colours aside: 0 background, 1 black, 2 red, 3 anything else.
int Ink(QRgb c, QRgb background) {
    c &= 0xFFFFFF;
    if (c == (background & 0xFFFFFF))
        return 0;
    if (c == 0)
        return 1;
    if (c == 0xFF0000)
        return 2;
    return 3;
}

// Compares pixel by pixel: every pixel of both pictures must be background, black or red,
// and the same one in both. Reports the first few differences.
void ExpectSameInk(const QImage& expected, QRgb expectedBackground, const QImage& actual,
                   QRgb actualBackground, const std::string& what) {
    ASSERT_EQ(expected.size(), actual.size()) << what;
    int differences = 0, inked = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const int e = Ink(expected.pixel(x, y), expectedBackground);
            const int a = Ink(actual.pixel(x, y), actualBackground);
            inked += e != 0;
            if ((e != a || a == 3) && ++differences <= 5)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " expected " << e << " got "
                              << a << " (" << std::hex << actual.pixel(x, y) << ")";
        }
    EXPECT_EQ(differences, 0) << what;
    EXPECT_GT(inked, 1000) << what; // the comparison is not between two blank pictures
}

QImage RenderPng(const QTemporaryDir& dir, const QString& station, const QRect& view, bool grid) {
    QStringList args{
        "render", station, dir.filePath("r.png"), "--view",
        QString("%1,%2,%3,%4").arg(view.x()).arg(view.y()).arg(view.width()).arg(view.height())};
    if (!grid)
        args << "--no-grid";
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return QImage(dir.filePath("r.png")).convertToFormat(QImage::Format_RGB32);
}

// One PDF page at 72 dpi, cut to the drawing's rectangle and thresholded at half coverage.
// Poppler's rasteriser fills a span up to and including the device pixel (or, antialiased,
// the sub-pixel) at a shape's right edge, so even exactly pixel-aligned rectangles grow by a
// fraction of a pixel to the right. Antialiased, that growth covers at most a quarter of a
// pixel; thresholding removes it, while a shape half a pixel off would still show. Pixels
// near half coverage are counted as failures.
QImage PdfPage(const QTemporaryDir& dir, const QString& pdf, int page, const QSize& size) {
    const ToolRun r = RunProgram(
        "pdftoppm", {"-r", "72", "-png", "-singlefile", "-f", QString::number(page), "-l",
                     QString::number(page), "-x", QString::number(kPageMargin), "-y",
                     QString::number(kPageMargin), "-W", QString::number(size.width()), "-H",
                     QString::number(size.height()), pdf, dir.filePath("page")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    QImage image = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_RGB32);
    int halfCovered = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int channels[] = {qRed(c), qGreen(c), qBlue(c)};
            for (int v : channels)
                halfCovered += v > 96 && v < 160;
            auto bit = [](int v) { return v >= 128 ? 255 : 0; };
            image.setPixel(x, y, qRgb(bit(qRed(c)), bit(qGreen(c)), bit(qBlue(c))));
        }
    EXPECT_EQ(halfCovered, 0) << "page " << page;
    return image;
}

// The SVG drawn by Qt SVG's renderer at one pixel per unit of its view box.
QImage SvgPicture(const QString& svg, const QSize& size) {
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(0x12, 0x34, 0x56)); // shows where the drawing leaves a gap
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

QString PdfInfo(const QString& pdf) {
    return QString::fromStdString(RunProgram("pdfinfo", {pdf}).out);
}

QString PageText(const QString& pdf, int page) {
    return QString::fromStdString(RunProgram("pdftotext", {"-f", QString::number(page), "-l",
                                                           QString::number(page), pdf, "-"})
                                      .out)
        .simplified();
}

} // namespace

TEST(ExportTest, RasterisedDrawingsEqualTheRenderedPanel) {
    QTemporaryDir dir;
    const QString station = dir.filePath("every.reru");
    WriteBytes(station, EveryTileStation());
    // The used cells are 1..8 each way, plus a cell of margin: the whole 10 x 10 panel.
    const QRect area(0, 0, 470, 470);
    const QImage png = RenderPng(dir, station, area, false);
    const QRgb grey = qRgb(0x80, 0x80, 0x80), white = qRgb(255, 255, 255);

    const ToolRun svg = Tool({"export", station, dir.filePath("e.svg")});
    ASSERT_EQ(svg.exitCode, 0) << svg.err;
    EXPECT_NE(svg.err.find("Image 'NO_SUCH_TILE' not found."), std::string::npos);
    ExpectSameInk(png, grey, SvgPicture(dir.filePath("e.svg"), area.size()), white, "SVG");

    const ToolRun pdf =
        Tool({"export", station, dir.filePath("e.pdf"), "--cell-mm", kOnePointCells});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err;
    EXPECT_TRUE(PdfInfo(dir.filePath("e.pdf")).contains("Pages:           1"));
    ExpectSameInk(png, grey, PdfPage(dir, dir.filePath("e.pdf"), 1, area.size()), white, "PDF");

    // Screen colours: grey, blue grid and all, the same picture as the render with its grid.
    const QImage withGrid = RenderPng(dir, station, area, true);
    const ToolRun screen = Tool({"export", station, dir.filePath("s.svg"), "--screen"});
    ASSERT_EQ(screen.exitCode, 0) << screen.err;
    EXPECT_EQ(SvgPicture(dir.filePath("s.svg"), area.size()), withGrid);
}

TEST(ExportTest, UsedAreaIsTheOccupiedCellsWithOneCellOfMargin) {
    QTemporaryDir dir;
    const QString station = dir.filePath("u.reru");
    WriteBytes(station, "SET_Vyska;30\r\nSET_Sirka;40\r\n" + Line(5, 7, "KOL_sLDPH", 15) +
                            Line(9, 8, "VYH_sLSPS_sLSPD", 0) + Line(39, 29, "KOZ_sPD", 0) +
                            Line(-3, 2, "KOL_sLSPS", 0));
    const ToolRun r = Tool({"export", station, dir.filePath("u.svg")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QString text = QString::fromStdString(vedivez::test::ReadBytes(dir.filePath("u.svg")));
    // Columns 4..39 and rows 6..29: the last element's margin lies outside the panel.
    EXPECT_TRUE(text.contains("viewBox=\"188 282 1692 1128\"")) << text.left(400).toStdString();
    const QRect area(188, 282, 1692, 1128);
    ExpectSameInk(RenderPng(dir, station, area, false), qRgb(0x80, 0x80, 0x80),
                  SvgPicture(dir.filePath("u.svg"), area.size()), qRgb(255, 255, 255), "used area");

    const ToolRun whole = Tool({"export", station, dir.filePath("w.svg"), "--area", "panel"});
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_TRUE(QString::fromStdString(vedivez::test::ReadBytes(dir.filePath("w.svg")))
                    .contains("viewBox=\"0 0 1880 1410\""));
}

TEST(ExportTest, TiledPdfPagesOverlapByOneCellAndCarryTheirLabels) {
    QTemporaryDir dir;
    const QString station = dir.filePath("tiled%2.reru"); // a "%" stays as it is
    std::string s = "SET_Vyska;12\r\nSET_Sirka;20\r\n";
    for (int i = 0; i < 20 * 12; i += 7)
        s += Line(i % 20, i / 20, TileCatalogue()[size_t(i) % 51].name, unsigned(i % 16));
    WriteBytes(station, s);

    // A4 landscape at one point per pixel holds 16 x 11 cells: pages start at columns 0 and
    // 15 and at rows 0 and 10.
    const ToolRun r = Tool({"export", station, dir.filePath("t.pdf"), "--area", "panel",
                            "--landscape", "--cell-mm", kOnePointCells});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QString info = PdfInfo(dir.filePath("t.pdf"));
    EXPECT_TRUE(info.contains("Pages:           4")) << info.toStdString();
    EXPECT_TRUE(info.contains("Page size:       842 x 595 pts (A4)")) << info.toStdString();
    // Each page carries the label of its cells above and the station's name and the day
    // below, as the window prints them; a "%" in the name stays as it is.
    const QString margin = MarginText(QStringLiteral("tiled%2.reru"), QDate::currentDate());
    const struct {
        int page;
        PageCells cells;
    } labels[] = {{1, {0, 15, 0, 10}}, {2, {15, 19, 0, 10}}, {4, {15, 19, 10, 11}}};
    for (const auto& l : labels)
        EXPECT_EQ(PageText(dir.filePath("t.pdf"), l.page),
                  PageLabel(l.page, 4, l.cells) + " " + margin);
    // Each page shows exactly its cells, including what neighbouring cells reach into them.
    const struct {
        int page;
        QRect cells;
    } pages[] = {{1, QRect(0, 0, 16, 11)}, {4, QRect(15, 10, 5, 2)}};
    for (const auto& p : pages) {
        const QRect px(p.cells.x() * 47, p.cells.y() * 47, p.cells.width() * 47,
                       p.cells.height() * 47);
        ExpectSameInk(RenderPng(dir, station, px, false), qRgb(0x80, 0x80, 0x80),
                      PdfPage(dir, dir.filePath("t.pdf"), p.page, px.size()), qRgb(255, 255, 255),
                      "page " + std::to_string(p.page));
    }

    // Page sizes, and the default scale that fits everything on one page.
    const ToolRun a2 = Tool({"export", station, dir.filePath("a2.pdf"), "--page", "a2"});
    ASSERT_EQ(a2.exitCode, 0) << a2.err;
    const QString a2info = PdfInfo(dir.filePath("a2.pdf"));
    EXPECT_TRUE(a2info.contains("Pages:           1"));
    EXPECT_TRUE(a2info.contains("(A2)")) << a2info.toStdString();
}

// The page is turned the way the area prints larger (without a cell size) or on fewer
// pages (with one); --portrait and --landscape turn it as asked.
TEST(ExportTest, PagesTurnTheWayTheAreaPrintsLarger) {
    QTemporaryDir dir;
    const QString wide = dir.filePath("wide.reru"), tall = dir.filePath("tall.reru");
    WriteBytes(wide, "SET_Vyska;12\r\nSET_Sirka;20\r\n" + Line(3, 3, "KOL_sLSPS", 0));
    WriteBytes(tall, "SET_Vyska;20\r\nSET_Sirka;12\r\n" + Line(3, 3, "KOL_sLSPS", 0));
    // Used cells 0..14 by 2..4 with their margin.
    const QString strip = dir.filePath("strip.reru");
    WriteBytes(strip, "SET_Vyska;12\r\nSET_Sirka;20\r\n" + Line(1, 3, "KOL_sLSPS", 0) +
                          Line(13, 3, "KOL_sLSPS", 0));
    const QString portrait = "595 x 842 pts (A4)", landscape = "842 x 595 pts (A4)";
    const struct {
        QString station;
        QStringList options;
        QString page;
        int pages;
    } cases[] = {
        {wide, {}, landscape, 1},
        {tall, {}, portrait, 1},
        {wide, {"--portrait"}, portrait, 1},
        {tall, {"--landscape"}, landscape, 1},
        // At one point a pixel, 15 x 3 cells take one landscape page, but two upright.
        {strip, {"--area", "used", "--cell-mm", kOnePointCells}, landscape, 1},
        {strip, {"--area", "used", "--cell-mm", kOnePointCells, "--portrait"}, portrait, 2},
        // 20 x 12 cells take four landscape pages, two upright.
        {wide, {"--cell-mm", kOnePointCells}, portrait, 2},
        // Three cells each way fit alike both ways: upright.
        {wide, {"--area", "used", "--cell-mm", kOnePointCells}, portrait, 1},
    };
    for (const auto& c : cases) {
        QStringList args{"export", c.station, dir.filePath("o.pdf"), "--area", "panel"};
        args += c.options;
        const ToolRun r = Tool(args);
        ASSERT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << r.err;
        const QString info = PdfInfo(dir.filePath("o.pdf"));
        EXPECT_TRUE(info.contains("Page size:       " + c.page))
            << args.join(' ').toStdString() << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Pages:           %1").arg(c.pages)))
            << args.join(' ').toStdString() << info.toStdString();
    }
}

TEST(ExportTest, RejectsBadOptionsAndUnreadableFiles) {
    QTemporaryDir dir;
    const QString station = dir.filePath("a.reru");
    WriteBytes(station, Line(3, 3, "KOL_sLSPS", 0));
    const struct {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"x.png"}, 2, "OUT.pdf or OUT.svg"},
        {{"x.pdf", "--page", "B5"}, 2, "--page takes"},
        {{"x.pdf", "--cell-mm", "-3"}, 2, "--cell-mm takes"},
        {{"x.pdf", "--area", "all"}, 2, "--area takes"},
        {{"x.svg", "--landscape"}, 2, "PDF output only"},
        {{"x.svg", "--portrait"}, 2, "PDF output only"},
        {{"x.pdf", "--portrait", "--landscape"}, 2, "exclude each other"},
        {{"x.pdf", "--cell-mm", "200"}, 1, "too large"},
    };
    for (const auto& c : cases) {
        QStringList args{"export", station, dir.filePath(c.args.at(0))};
        args += c.args.mid(1);
        const ToolRun r = Tool(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << args.join(' ').toStdString();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(QFile::exists(dir.filePath(c.args.at(0))));
    }
    const ToolRun missing = Tool({"export", dir.filePath("none.reru"), dir.filePath("n.pdf")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "File not found.\n");
}

// The PNG picture at the editor's own cell size is the rendered panel without its grid; a
// stopped export leaves the file that was there as it was.
TEST(ExportTest, PngEqualsTheRenderedPanelAndCancelKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString station = dir.filePath("every.reru");
    WriteBytes(station, EveryTileStation());
    HeadlessPanel p;
    p.document.Load(station.toStdString());
    PanelExporter exporter(p.panel, ExportOptions{});
    const std::string out = dir.filePath("e.png").toStdString();
    ASSERT_TRUE(exporter.WritePng(out, 47));
    ExpectSameInk(RenderPng(dir, station, QRect(0, 0, 470, 470), false), qRgb(0x80, 0x80, 0x80),
                  QImage(dir.filePath("e.png")).convertToFormat(QImage::Format_RGB32),
                  qRgb(255, 255, 255), "PNG");

    // Stopped at the first page or strip: the old file stays, and nothing else is left.
    for (const QString& name : {QStringLiteral("e.png"), QStringLiteral("e.pdf")}) {
        WriteBytes(dir.filePath(name), "old");
        const qsizetype files = QDir(dir.path()).entryList(QDir::Files).size();
        int told = 0;
        const auto stop = [&](int, int) { return ++told < 1; };
        const std::string path = dir.filePath(name).toStdString();
        if (name.endsWith(QStringLiteral(".png")))
            EXPECT_FALSE(exporter.WritePng(path, 47, stop));
        else
            EXPECT_EQ(exporter.WritePdf(path, QStringLiteral("every.reru"), stop), 0);
        EXPECT_EQ(told, 1) << name.toStdString();
        QFile old(dir.filePath(name));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old")) << name.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files)
            << "no temporary file is left";
    }
}

// The preview's picture of cells a few pixels wide places each element's ink as a small
// picture instead of the merged shapes: in blocks of 3 x 3 pixels (half a cell), it inks the
// same blocks as the shapes do, but for a few along the edges of the ink.
TEST(ExportTest, SmallCellPicturesInkWhereTheShapesDo) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("every.reru"), EveryTileStation());
    HeadlessPanel p;
    p.document.Load(dir.filePath("every.reru").toStdString());
    ExportOptions options;
    options.cellMm = 47 * 25.4 / 72 / 8; // an eighth of a point a surface pixel
    PanelExporter exporter(p.panel, options);
    const QPageLayout page = exporter.OptionsLayout();
    const PanelExporter::DeviceLayout layout = exporter.LayoutFor(page, 72);
    auto draw = [&](int rasterDpi) {
        QImage image(page.fullRectPixels(72).size(), QImage::Format_RGB32);
        image.setDotsPerMeterX(2835); // 72 dpi
        image.setDotsPerMeterY(2835);
        image.fill(Qt::white);
        exporter.rasterDpi = rasterDpi;
        QPainter painter(&image);
        exporter.PaintPage(painter, layout,
                           vedivez::PageRanges(exporter.Area(), 47, 47, layout.plan)[0], QString(),
                           QString());
        return image;
    };
    const QImage shapes = draw(0), small = draw(72);
    int inked = 0, differing = 0;
    for (int y = 0; y + 3 <= shapes.height(); y += 3)
        for (int x = 0; x + 3 <= shapes.width(); x += 3) {
            auto dark = [&](const QImage& image) {
                for (int dy = 0; dy < 3; ++dy)
                    for (int dx = 0; dx < 3; ++dx)
                        if (qGray(image.pixel(x + dx, y + dy)) < 200)
                            return true;
                return false;
            };
            inked += dark(shapes);
            differing += dark(shapes) != dark(small);
        }
    EXPECT_GT(inked, 100);
    EXPECT_LE(differing * 5, inked) << differing << " of " << inked << " inked blocks differ";
}
