// Feeds arbitrary bytes to the lint and to the tool's option parsing. The input is a station
// file, then after a 0xFF byte a command line of options separated by NUL bytes. A station
// that loads is linted and both reports are written; the options are parsed as `render` and
// as `export` take them and, where they parse, turned into the area drawn and the pages
// planned for the loaded panel. Only the failures that bad input is answered with may come
// out (a station that does not convert, options that do not parse, pages refused for a cell
// size), and what comes out must hold together.
#include "export/PanelExport.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
#include "panel/StationLint.h"
#include "tools/LintReport.h"
#include "tools/ToolOptions.h"

#include <QJsonDocument>
#include <QPageLayout>
#include <QPageSize>
#include <cstdlib>
#include <sstream>
#include <string_view>

using namespace vedivez;

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckLint(const PanelState& panel) {
    const std::vector<LintFinding> findings = LintStation(panel);
    const auto& elements = panel.Elements();
    for (size_t i = 0; i < findings.size(); ++i) {
        const LintFinding& f = findings[i];
        Require(f.element < elements.size());
        Require(elements[f.element].X == f.col && elements[f.element].Y == f.row);
        Require(f.point >= -1 && f.point < 8);
        if (f.kind == LintKind::Duplicate) {
            // One for the cell, counting every element in it.
            int64_t here = 0;
            panel.ForEachElementAt(f.col, f.row, [&](size_t) { ++here; });
            Require(f.figures[0] >= 2 && f.figures[0] == here);
        }
        const std::string message = LintMessage(f);
        Require(!message.empty());
        for (char c : message)
            Require(static_cast<unsigned char>(c) < 0x80);
        // In strict order: the same finding never comes twice, not even for identical
        // records in one cell.
        if (i > 0)
            Require(LintOrder(findings[i - 1], f));
    }
    for (const bool strict : {false, true}) {
        const LintReport report(findings, strict);
        Require(report.Problems() + report.Notes() == int64_t(findings.size()));
        Require(!strict || report.Notes() == 0);
        std::ostringstream text, json;
        report.WriteText(text);
        report.WriteJson(json);
        QJsonParseError error;
        QJsonDocument::fromJson(QByteArray::fromStdString(json.str()), &error);
        Require(error.error == QJsonParseError::NoError);
    }
}

void CheckRender(const std::vector<std::string>& options, const PanelState& panel) {
    RenderRequest request;
    try {
        request = ParseRenderOptions(options);
    } catch (const UsageError&) {
        return;
    }
    Require(request.cursorCol >= 0 && request.cursorCol <= kMaxCursorCell);
    Require(request.cursorRow >= 0 && request.cursorRow <= kMaxCursorCell);
    const int64_t width = int64_t(panel.PanelCols) * panel.CellWidth;
    const int64_t height = int64_t(panel.PanelRows) * panel.CellHeight;
    try {
        const QRect area = RenderArea(request.view, width, height);
        Require(!area.isEmpty() && area.left() >= 0 && area.top() >= 0);
        Require(area.right() < width && area.bottom() < height);
    } catch (const UsageError&) {
        Require(request.view.has_value());
    }
}

void CheckExport(const std::vector<std::string>& options, const PanelState& panel, bool svg) {
    ExportOptions parsed;
    try {
        parsed = ParseExportOptions(options, svg);
    } catch (const UsageError&) {
        return;
    }
    Require(parsed.cellMm == 0 || (parsed.cellMm >= kMinCellMm && parsed.cellMm <= kMaxCellMm));
    if (svg)
        return;
    // The page as the PDF writer lays it out, at one device unit per point.
    const bool landscape = parsed.orientation == ExportOptions::Orientation::Landscape;
    const QPageLayout layout(QPageSize(parsed.page),
                             landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF());
    const QRect page = layout.fullRectPixels(72);
    const QRect area(0, 0, panel.PanelCols * panel.CellWidth, panel.PanelRows * panel.CellHeight);
    try {
        const PagePlan plan = PlanPages(area, panel.CellWidth, panel.CellHeight, parsed.cellMm,
                                        page.width() - 72.0, page.height() - 72.0, 72);
        Require(plan.cellsAcross >= 1 && plan.cellsDown >= 1);
        Require(plan.cellsAcross <= panel.PanelCols && plan.cellsDown <= panel.PanelRows);
        Require(int64_t(plan.pagesAcross) * plan.pagesDown <= kMaxExportPages);
        Require(plan.unitsPerPixel > 0);
    } catch (const std::runtime_error&) {
        Require(parsed.cellMm > 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t cut = bytes.find('\xFF');
    const std::string_view station = bytes.substr(0, cut);

    HeadlessPanel p;
    try {
        p.document.Apply(ReadStationData(station));
    } catch (const ConversionError&) {
        // The panel stays empty; the options are still worth parsing against it.
    }
    CheckLint(p.panel);

    std::vector<std::string> options;
    if (cut != std::string_view::npos) {
        std::string_view rest = bytes.substr(cut + 1);
        for (;;) {
            const size_t nul = rest.find('\0');
            options.emplace_back(rest.substr(0, nul));
            if (nul == std::string_view::npos)
                break;
            rest.remove_prefix(nul + 1);
        }
    }
    CheckRender(options, p.panel);
    CheckExport(options, p.panel, false);
    CheckExport(options, p.panel, true);
    return 0;
}
