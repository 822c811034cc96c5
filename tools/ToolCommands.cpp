#include "tools/ToolCommands.h"

#include "export/PanelExport.h"
#include "panel/AtomicFileDevice.h"
#include "panel/FileAccess.h"
#include "panel/FrameRenderer.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
#include "panel/StationLint.h"
#include "panel/TileImages.h"
#include "surface/Cp1250.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"
#include "tools/LintReport.h"
#include "tools/ToolHelp.h"
#include "tools/ToolOptions.h"

#include <QFileInfo>
#include <QImageWriter>

#include <new>
#include <ostream>
#include <stdexcept>
#include <string_view>

namespace vedivez {

namespace {

// Running out of memory as the editor words it; the exception's own text names a C++ type.
const char* const kOutOfMemory = "Out of memory";

// Loads the station at `path` (the file system's bytes) into a fresh panel; returns the
// lines of an unknown kind it skipped.
StationContent::UnknownLines Load(HeadlessPanel& p, const std::string& path) {
    return p.document.Load(path).unknown;
}

int Check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    HeadlessPanel p;
    const StationContent::UnknownLines unknown = Load(p, args.at(0));
    out << "rows=" << p.panel.PanelRows << " cols=" << p.panel.PanelCols
        << " elements=" << p.panel.Elements().size() << "\n";
    // A save would drop these lines; the file still loads, so the exit code stays 0.
    if (unknown.count > 0 && !unknown.listed.empty())
        err << "warning: " << unknown.count << (unknown.count == 1 ? " line" : " lines")
            << " of an unknown kind (first at line " << unknown.listed.front().line
            << ") ignored; a save does not write " << (unknown.count == 1 ? "it" : "them") << "\n";
    return 0;
}

int Convert(const std::vector<std::string>& args) {
    HeadlessPanel p;
    Load(p, args.at(0));
    WriteFileAtomically(args.at(1),
                        EncodeStation(p.panel.Elements(), p.document.Rows(), p.document.Cols()));
    return 0;
}

// Exit codes of lint: no problems, problems, and a file that does not load.
constexpr int kLintClean = 0, kLintProblems = 1, kLintNotLoaded = 2;

// Whether the arguments after FILE are lint's options: --json and --strict, each at most once.
bool LintOptions(const std::vector<std::string>& args, bool& json, bool& strict) {
    json = strict = false;
    for (size_t i = 1; i < args.size(); ++i) {
        bool& option = args[i] == "--json" ? json : strict;
        if ((args[i] != "--json" && args[i] != "--strict") || option)
            return false;
        option = true;
    }
    return !args.empty();
}

int Lint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false, strict = false;
    LintOptions(args, json, strict);
    HeadlessPanel p;
    StationContent::UnknownLines unknown;
    try {
        unknown = Load(p, args.at(0));
    } catch (const std::bad_alloc&) {
        PrintToolError(err, UserError(kOutOfMemory));
        return kLintNotLoaded;
    } catch (const std::exception& e) {
        PrintToolError(err, e, args.at(0));
        return kLintNotLoaded;
    }
    const std::vector<LintFinding> findings = LintStation(p.panel);
    const LintReport report(findings, unknown, strict);
    if (json)
        report.WriteJson(out);
    else
        report.WriteText(out);
    // Notes alone leave the station clean, unless they count as problems.
    return report.Problems() == 0 ? kLintClean : kLintProblems;
}

std::vector<std::string> OptionsAfter(const std::vector<std::string>& args, size_t count) {
    return std::vector<std::string>(args.begin() + std::ptrdiff_t(count), args.end());
}

// `suffix` in small letters.
bool EndsWithIgnoringCase(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           Cp1250LowerCase(std::string_view(text).substr(text.size() - suffix.size())) == suffix;
}

int Render(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() < 2)
        throw UsageError("render needs FILE and OUT.png");
    const RenderRequest request = ParseRenderOptions(OptionsAfter(args, 2));
    HeadlessPanel p;
    if (request.preview)
        p.panel.SelectedName = *request.preview;
    p.panel.CursorInside = request.cursorInside;
    // Cells of at most 3999 keep the cursor's pixels far from the 32-bit limits.
    p.panel.CursorX = request.cursorCol * p.panel.CellWidth;
    p.panel.CursorY = request.cursorRow * p.panel.CellHeight;

    Load(p, args.at(0));
    const ImageList images = MakeTileImageList();
    Surface surface;
    surface.SetSize(p.panel.PanelCols * p.panel.CellWidth, p.panel.PanelRows * p.panel.CellHeight);
    const QRect area = RenderArea(request.view, surface.Width(), surface.Height());
    if (qint64{area.width()} * area.height() > Surface::kMaxBufferPixels)
        throw UsageError("the area is " + std::to_string(area.width()) + " x " +
                         std::to_string(area.height()) +
                         " pixels, too large for one picture; choose a part with --view");
    surface.SetViewport(area);
    surface.Initialise();
    FrameRenderer renderer(p.panel, surface, images);
    renderer.onMissingImage = [&err](const std::string& message) {
        err << "warning: " << FromCp1250(DisplayMessage(message)).toStdString() << "\n";
    };
    QImage frame;
    surface.SetPresenter([&frame](const QImage& buffer, QPoint) { frame = buffer.copy(); });
    renderer.RenderFrame(request.inputs);

    // The picture is written as the editor saves a station: the old file stays until the
    // whole new one is on the disk.
    AtomicFileDevice file(args.at(1));
    QImageWriter writer(&file, "png");
    if (!writer.write(frame)) {
        file.ThrowIfFailed();
        err << "cannot write " << PathForDisplay(args.at(1)).toStdString() << ": "
            << writer.errorString().toStdString() << "\n";
        return 1;
    }
    file.Commit();
    return 0;
}

int Export(const std::vector<std::string>& args, std::ostream& err) {
    if (args.size() < 2)
        throw UsageError("export needs FILE and OUT.pdf or OUT.svg");
    const std::string& out = args.at(1);
    const bool svg = EndsWithIgnoringCase(out, ".svg");
    if (!svg && !EndsWithIgnoringCase(out, ".pdf"))
        throw UsageError("export writes OUT.pdf or OUT.svg");
    const ExportOptions options = ParseExportOptions(OptionsAfter(args, 2), svg);

    HeadlessPanel p;
    Load(p, args.at(0));
    PanelExporter exporter(p.panel, options);
    exporter.onMissingImage = [&err](const std::string& message) {
        err << "warning: " << FromCp1250(DisplayMessage(message)).toStdString() << "\n";
    };
    const QString station = QFileInfo(PathForDisplay(args.at(0))).fileName();
    try {
        if (svg)
            exporter.WriteSvg(out, station);
        else
            exporter.WritePdf(out, station);
    } catch (const FileError&) {
        throw; // the editor's message, as for the station file
    } catch (const std::runtime_error& e) {
        // Layout and writing problems are the command's, not the editor's messages.
        err << "vedivez-tool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

void PrintToolError(std::ostream& err, const std::exception& e, const std::string& file) {
    const int64_t line = FailingLine(e);
    if (line > 0 && !file.empty())
        err << PathForDisplay(file).toStdString() << ':' << line << ": ";
    err << FromCp1250(DisplayMessage(e.what())).toStdString() << "\n";
}

bool ToolNeedsGui(const QStringList& args) {
    return !args.isEmpty() &&
           (args.at(0) == QStringLiteral("render") || args.at(0) == QStringLiteral("export"));
}

int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string command = args.empty() ? std::string() : args.front();
    const std::vector<std::string> rest = OptionsAfter(args, args.empty() ? 0 : 1);
    try {
        if (command == "check" && rest.size() == 1)
            return Check(rest, out, err);
        bool json = false, strict = false;
        if (command == "lint" && LintOptions(rest, json, strict))
            return Lint(rest, out, err);
        if (command == "convert" && rest.size() == 2)
            return Convert(rest);
        if (command == "render")
            return Render(rest, err);
        if (command == "export")
            return Export(rest, err);
    } catch (const UsageError& e) {
        err << "vedivez-tool: " << e.what() << "\n";
    } catch (const std::bad_alloc&) {
        PrintToolError(err, UserError(kOutOfMemory));
        return 1;
    } catch (const std::exception& e) {
        // Only loading the station file reports a line, so a line is always that file's.
        PrintToolError(err, e, rest.empty() ? std::string() : rest.front());
        return 1;
    }
    err << ToolUsage();
    return 2;
}

} // namespace vedivez
