#include "app/PrintController.h"

#include "app/FileCommands.h"
#include "app/FrameDriver.h"
#include "app/Prompts.h"
#include "app/Viewport.h"
#include "panel/CheckMarkers.h"
#include "panel/ConnectionCheck.h"
#include "panel/Document.h"
#include "panel/FileAccess.h"
#include "panel/PanelErrors.h"
#include "panel/PanelState.h"

#include <QFileInfo>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <memory>
#include <stdexcept>

namespace vedivez {

namespace {

// The resolution of the pages' pictures in the preview: sharp on a screen at any of its zoom
// steps up to about twice the paper's size.
constexpr int kPreviewDpi = 200;

// More pages than this are asked about before they are made.
constexpr int kPagesWithoutQuestion = 100;

// The editor's words for a layout that does not work out.
const char* const kNoLayout =
    "Oblast nelze při tomto měřítku rozvrhnout na stránky: stránka musí pojmout aspoň dvě "
    "políčka každým směrem a stran smí být nejvýš 10 000.";

struct ExportType {
    const char* filter;
    const char* suffix;
};
const ExportType kExportTypes[] = {
    {"PDF (*.pdf)", ".pdf"},
    {"SVG (*.svg)", ".svg"},
    {"PNG (*.png)", ".png"},
};

// A progress dialog with Cancel that shows itself once the work has taken half a second;
// its callback tells the page being drawn and whether to go on.
class ProgressShown {
public:
    ProgressShown(QWidget* parent, const QString& what) : what_(what) {
        dialog_ =
            std::make_unique<QProgressDialog>(what, QString::fromUtf8("Zrušit"), 0, 1, parent);
        dialog_->setObjectName(QStringLiteral("Prubeh"));
        dialog_->setWindowTitle(QStringLiteral("VediVEZ"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(500);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setValue(0);
    }
    PanelExporter::Progress Callback() {
        return [this](int page, int count) {
            dialog_->setMaximum(count);
            dialog_->setLabelText(
                QString::fromUtf8("%1 \u2013 %2 z %3")
                    .arg(what_, QString::number(page + 1), QString::number(count)));
            dialog_->setValue(page); // processes events once the dialog shows
            return !dialog_->wasCanceled();
        };
    }

private:
    QString what_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace

PrintController::PrintController(Document& document, Prompts& prompts, FrameDriver& frames,
                                 Viewport& view, QWidget* parent)
    : document_(document), prompts_(prompts), frames_(frames), view_(view), parent_(parent) {}

QString PrintController::ExportFilter() {
    QStringList filters;
    for (const ExportType& t : kExportTypes)
        filters << QString::fromLatin1(t.filter);
    return filters.join(QStringLiteral(";;"));
}

QString PrintController::WithExportSuffix(const QString& path, const QString& filter) {
    for (const ExportType& t : kExportTypes)
        if (path.endsWith(QString::fromLatin1(t.suffix), Qt::CaseInsensitive))
            return path;
    for (const ExportType& t : kExportTypes)
        if (filter == QString::fromLatin1(t.filter))
            return path + QString::fromLatin1(t.suffix);
    return path + QString::fromLatin1(kExportTypes[0].suffix);
}

QString PrintController::StationName() const {
    const std::string& path = document_.FilePath();
    return path.empty() ? QString::fromUtf8("Nová stanice")
                        : QFileInfo(PathForDisplay(path)).fileName();
}

ExportOptions PrintController::Options(const PageSetup& setup) const {
    ExportOptions o;
    o.screenColours = setup.screenColours;
    o.page = setup.paper;
    o.cellMm = setup.cellMm;
    o.orientation = setup.turn == PageSetup::Turn::Portrait ? ExportOptions::Orientation::Portrait
                    : setup.turn == PageSetup::Turn::Landscape
                        ? ExportOptions::Orientation::Landscape
                        : ExportOptions::Orientation::Best;
    const PanelState& panel = document_.Panel();
    switch (setup.area) {
    case PageSetup::Area::Used:
        break;
    case PageSetup::Area::Panel:
        o.wholePanel = true;
        break;
    case PageSetup::Area::View: {
        // Every cell the view shows a part of.
        const QRect px = view_.VisibleRect();
        const int cw = panel.CellWidth, ch = panel.CellHeight;
        o.cells =
            QRect(QPoint(px.left() / cw, px.top() / ch), QPoint(px.right() / cw, px.bottom() / ch));
        break;
    }
    case PageSetup::Area::Selection:
        if (selection)
            o.cells = selection();
        break;
    }
    return o;
}

PanelExporter::Overlay PrintController::CheckMarks() const {
    if (!check || !check->Active())
        return nullptr;
    // The marks as the view draws them at 100 %, over the cells of each page.
    check->Update();
    const ConnectionCheck* findings = check;
    return [findings](QPainter& painter, const PageCells& c) {
        PaintCheckMarkers(painter, findings->In(c.col0, c.col1, c.row0, c.row1), ZoomLevel());
    };
}

QPageLayout PrintController::LayoutFor(const PageSetup& setup) const {
    return PanelExporter(document_.Panel(), Options(setup)).OptionsLayout();
}

int PrintController::PictureCellPx(const PageSetup& setup) const {
    if (setup.pictureCellPx > 0)
        return setup.pictureCellPx;
    return viewCellPixels ? viewCellPixels() : document_.Panel().CellWidth;
}

QString PrintController::Summary(const PageSetup& setup, PageSetup::Output output) const {
    const PanelExporter exporter(document_.Panel(), Options(setup));
    const int cw = document_.Panel().CellWidth, ch = document_.Panel().CellHeight;
    const QRect area = exporter.Area();
    const QString cells = QString::fromUtf8("Oblast %1 \u00d7 %2 políček")
                              .arg(area.width() / cw)
                              .arg(area.height() / ch);
    if (output == PageSetup::Output::Drawing)
        return cells;
    if (output == PageSetup::Output::Picture) {
        const QSize size = PngSize(area, cw, ch, PictureCellPx(setup));
        return cells + QString::fromUtf8(" · obrázek %1 \u00d7 %2 pixelů")
                           .arg(size.width())
                           .arg(size.height());
    }
    try {
        const PagePlan plan = exporter.LayoutFor(exporter.OptionsLayout(), 72).plan;
        const double cellMm = plan.unitsPerPixel * cw / 72 * 25.4;
        return cells + QString::fromUtf8(" · stran: %1 · políčko na papíře %2 mm")
                           .arg(plan.pagesAcross * plan.pagesDown)
                           .arg(QLocale(QLocale::Czech).toString(cellMm, 'f', 1));
    } catch (const std::runtime_error&) {
        return QString::fromUtf8(kNoLayout);
    }
}

bool PrintController::AskSetup(PageSetup::Output output) {
    const bool hasSelection = selection && selection().has_value();
    PageSetup setup = setup_;
    if (setup.area == PageSetup::Area::Selection && !hasSelection)
        setup.area = PageSetup::Area::Used;
    FramesPaused paused(frames_);
    if (!prompts_.EditPageSetup(setup, hasSelection, output,
                                [this, output](const PageSetup& s) { return Summary(s, output); }))
        return false;
    setup_ = setup;
    return true;
}

bool PrintController::ConfirmPages(int pages) {
    return pages <= kPagesWithoutQuestion ||
           prompts_.Confirm(QString::fromUtf8("Tisk zabere %1 stran. Pokračovat?").arg(pages));
}

bool PrintController::PrintPages(QPrinter& printer, const PageSetup& setup, int rasterDpi) {
    PanelExporter exporter(document_.Panel(), Options(setup));
    exporter.rasterDpi = rasterDpi;
    exporter.overlay = CheckMarks();
    // The paper and turn are the printer's as its dialog left them.
    exporter.LayoutFor(printer); // throws before anything is sent when the layout fails
    QPainter painter;
    if (!painter.begin(&printer)) {
        prompts_.ShowError(QString::fromUtf8("Tisk se nepodařilo zahájit."));
        return false;
    }
    ProgressShown shown(parent_, QString::fromUtf8("Tisk"));
    const bool whole = exporter.PaintPages(
        painter, printer, MarginText(StationName(), QDate::currentDate()), shown.Callback());
    if (!whole)
        printer.abort(); // no half-printed job
    painter.end();
    return whole;
}

namespace {

// A printer set to the set-up's paper and turn, its coordinates from the paper's corner.
void SetUp(QPrinter& printer, const QPageLayout& layout, const QString& name) {
    printer.setFullPage(true);
    printer.setPageSize(layout.pageSize());
    printer.setPageOrientation(layout.orientation());
    printer.setDocName(name);
}

} // namespace

void PrintController::Print() {
    if (!AskSetup(PageSetup::Output::Pages))
        return;
    QPrinter printer(QPrinter::HighResolution);
    SetUp(printer, LayoutFor(setup_), StationName());
    {
        FramesPaused paused(frames_);
        QPrintDialog dialog(&printer, parent_);
        dialog.setObjectName(QStringLiteral("Tisk"));
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    // Read back: the paper the driver chose is the paper printed on.
    printer.setFullPage(true);
    try {
        const PanelExporter exporter(document_.Panel(), Options(setup_));
        const PagePlan plan = exporter.LayoutFor(printer).plan;
        if (!ConfirmPages(plan.pagesAcross * plan.pagesDown))
            return;
        FramesPaused paused(frames_);
        PrintPages(printer, setup_);
    } catch (const std::runtime_error&) {
        prompts_.ShowError(QString::fromUtf8(kNoLayout));
    }
}

void PrintController::Preview() {
    if (!AskSetup(PageSetup::Output::Pages))
        return;
    QPrinter printer(QPrinter::HighResolution);
    SetUp(printer, LayoutFor(setup_), StationName());
    try {
        const PanelExporter exporter(document_.Panel(), Options(setup_));
        const PagePlan plan = exporter.LayoutFor(printer).plan;
        if (!ConfirmPages(plan.pagesAcross * plan.pagesDown))
            return;
    } catch (const std::runtime_error&) {
        prompts_.ShowError(QString::fromUtf8(kNoLayout));
        return;
    }
    FramesPaused paused(frames_);
    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setObjectName(QStringLiteral("NahledTisku"));
    dialog.setWindowTitle(QString::fromUtf8("Náhled tisku"));
    if (parent_)
        dialog.resize(parent_->size() * 0.8); // pages large enough to read
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter* p) {
        try {
            // The preview keeps what it is shown as recorded drawing
            // commands: pictures of the pages keep a big station's
            // preview quick and small. Printing from it sends shapes.
            const bool shown =
                p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Picture;
            PrintPages(*p, setup_, shown ? kPreviewDpi : 0);
        } catch (const std::runtime_error&) {
            // The layout was checked before the dialog opened; a paper
            // changed in the preview that cannot take it shows no pages.
        }
    });
    dialog.exec();
}

bool PrintController::WriteExport(const QString& path, const PageSetup& setup) {
    PanelExporter exporter(document_.Panel(), Options(setup));
    exporter.overlay = CheckMarks();
    const std::string native = NativePath(path);
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        exporter.WriteSvg(native, StationName());
        return true;
    }
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        const int cw = document_.Panel().CellWidth, ch = document_.Panel().CellHeight;
        int px = PictureCellPx(setup);
        const QSize size = PngSize(exporter.Area(), cw, ch, px);
        if (!PngFits(size)) {
            const int largest = LargestPngCell(exporter.Area(), cw, ch, px);
            const QString asked =
                QString::fromUtf8("Obrázek by měl %1 \u00d7 %2 pixelů, víc než se do "
                                  "obrázku PNG vejde (nejvýš 32 767 pixelů na stranu a 1 GiB).")
                    .arg(size.width())
                    .arg(size.height());
            if (largest == 0) {
                prompts_.ShowError(asked);
                return false;
            }
            const QSize fits = PngSize(exporter.Area(), cw, ch, largest);
            if (!prompts_.Confirm(asked + QString::fromUtf8("\nUložit ho s políčkem %1 pixelů "
                                                            "(%2 \u00d7 %3 pixelů)?")
                                              .arg(largest)
                                              .arg(fits.width())
                                              .arg(fits.height())))
                return false;
            px = largest;
        }
        ProgressShown shown(parent_, QStringLiteral("Export"));
        return exporter.WritePng(native, px, shown.Callback());
    }
    const PagePlan plan = exporter.LayoutFor(exporter.OptionsLayout(), 72).plan;
    if (!ConfirmPages(plan.pagesAcross * plan.pagesDown))
        return false;
    ProgressShown shown(parent_, QStringLiteral("Export"));
    return exporter.WritePdf(native, StationName(), shown.Callback()) > 0;
}

void PrintController::Export() {
    std::optional<Prompts::TypedName> chosen;
    {
        FramesPaused paused(frames_);
        chosen =
            prompts_.SaveTypedFileName({QStringLiteral("Exportovat"), ExportFilter(), exportName_});
    }
    if (!chosen || chosen->path.isEmpty())
        return;
    const QString path = WithExportSuffix(chosen->path, chosen->filter);
    exportName_ = path;
    if (!FileCommands::ConfirmReplace(prompts_, path))
        return;
    const PageSetup::Output output =
        path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)   ? PageSetup::Output::Drawing
        : path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? PageSetup::Output::Picture
                                                                     : PageSetup::Output::Pages;
    if (!AskSetup(output))
        return;
    FramesPaused paused(frames_);
    try {
        WriteExport(path, setup_);
    } catch (const FileError&) {
        throw; // the editor's message, as for the station file
    } catch (const std::runtime_error&) {
        prompts_.ShowError(QString::fromUtf8(kNoLayout));
    }
}

} // namespace vedivez
