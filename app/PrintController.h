#pragma once

#include "export/PageSetup.h"
#include "export/PanelExport.h"

#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace vedivez {

class ConnectionCheck;
class Document;
class FrameDriver;
class Prompts;
class Viewport;

// "Tisk...", "Náhled tisku..." and "Exportovat..." of the "Soubor" menu: the page set-up,
// the system's print and preview dialogs and the export's save dialog, all drawing through
// the exporter's one page loop. Long work shows its progress and can be stopped; a stopped
// export leaves no file and a stopped print sends no job.
class PrintController {
public:
    PrintController(Document& document, Prompts& prompts, FrameDriver& frames, Viewport& view,
                    QWidget* parent);

    // The selected cells (columns and rows) when there is a selection; the window sets it.
    std::function<std::optional<QRect>()> selection;
    // The cell size of the picture a PNG export draws: the view's, or 12 pixels when a pixel
    // of the view stands for several cells.
    std::function<int()> viewCellPixels;
    // The connection check whose marks are drawn over the panel while it is on; the window
    // sets it.
    ConnectionCheck* check = nullptr;

    void Print();   // Tisk...
    void Preview(); // Náhled tisku...
    void Export();  // Exportovat...

    // The types of the export's save dialog, PDF first.
    static QString ExportFilter();
    // The file an export to the chosen name writes: a name ending in ".pdf", ".svg" or
    // ".png" (in any letter case) as it is, any other gets the suffix of the chosen type.
    static QString WithExportSuffix(const QString& path, const QString& filter);

    // The exporter's options for a set-up, the area taken from the view or the selection.
    ExportOptions Options(const PageSetup& setup) const;
    // The connection check's marks over each page while the check is on; nothing when off.
    PanelExporter::Overlay CheckMarks() const;
    // Writes the export as the path's suffix says; false when it was stopped (no file is
    // then written). Throws as the exporter does.
    bool WriteExport(const QString& path, const PageSetup& setup);
    // Makes the pages on `printer`, whose page layout is the one printed on; false when
    // stopped (the job is then dropped). With `rasterDpi` the panel is drawn as pictures of
    // that resolution (for the preview).
    bool PrintPages(QPrinter& printer, const PageSetup& setup, int rasterDpi = 0);

private:
    bool AskSetup(PageSetup::Output output);
    // The page layout `setup` asks for, its turn decided by the area.
    QPageLayout LayoutFor(const PageSetup& setup) const;
    // What a set-up gives: the area in cells and, for pages, their number and the printed
    // size of a cell, for a picture its size in pixels.
    QString Summary(const PageSetup& setup, PageSetup::Output output) const;
    // The cell size in pixels of the picture a set-up asks for.
    int PictureCellPx(const PageSetup& setup) const;
    // Asks before more than 100 pages; true to go on.
    bool ConfirmPages(int pages);
    QString StationName() const;

    Document& document_;
    Prompts& prompts_;
    FrameDriver& frames_;
    Viewport& view_;
    QWidget* parent_;
    PageSetup setup_;
    QString exportName_;
};

} // namespace vedivez
