#include "tools/ToolCommands.h"

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
#include "tools/PanelExport.h"
#include "tools/ToolHelp.h"

#include <QImageWriter>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace vedivez {

namespace {

// The text the editor's error box shows, in the terminal's encoding; an error at a line of
// the station file starts with "FILE:LINE: ", as compilers print theirs, so that editors can
// jump there.
void PrintError(std::ostream& err, const std::exception& e, const QString& file) {
    int line = 0;
    if (const auto* f = dynamic_cast<const FileError*>(&e))
        line = f->Line();
    else if (const auto* c = dynamic_cast<const ConversionError*>(&e))
        line = c->Line();
    if (line > 0)
        err << file.toStdString() << ':' << line << ": ";
    err << FromCp1250(DisplayMessage(e.what())).toStdString() << "\n";
}

int Check(const QStringList& args, std::ostream& out) {
    HeadlessPanel p;
    LoadStation(args.at(0), p.panel, p.window);
    out << "rows=" << p.panel.PanelRows << " cols=" << p.panel.PanelCols
        << " elements=" << p.panel.Elements().size() << "\n";
    return 0;
}

int Convert(const QStringList& args) {
    HeadlessPanel p;
    LoadStation(args.at(0), p.panel, p.window);
    SaveStation(args.at(1), p.panel, p.window);
    return 0;
}

// Exit codes of lint: clean, findings, and a file that does not load.
constexpr int kLintClean = 0, kLintFindings = 1, kLintNotLoaded = 2;

int Lint(const QStringList& args, std::ostream& out, std::ostream& err) {
    HeadlessPanel p;
    try {
        LoadStation(args.at(0), p.panel, p.window);
    } catch (const std::exception& e) {
        PrintError(err, e, args.at(0));
        return kLintNotLoaded;
    }
    const std::vector<LintFinding> findings = LintStation(p.panel);
    const LintReport report(findings);
    if (args.size() > 1)
        report.WriteJson(out);
    else
        report.WriteText(out);
    return findings.empty() ? kLintClean : kLintFindings;
}

// A malformed command line; reported with the usage text.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "A,B,C" with exactly `count` integers.
std::vector<int> IntegerList(const QString& text, int count, const char* option) {
    const QStringList parts = text.split(QLatin1Char(','));
    std::vector<int> values;
    for (const QString& part : parts) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok)
            break;
        values.push_back(v);
    }
    if (int(values.size()) != count || parts.size() != count)
        throw UsageError(std::string(option) + " expects " + std::to_string(count) +
                         " comma-separated integers");
    return values;
}

// The value that follows the option at args[i]; moves i onto it.
QString OptionValue(const QStringList& args, int& i) {
    if (i + 1 >= args.size())
        throw UsageError(args.at(i).toStdString() + " needs a value");
    return args.at(++i);
}

int Render(const QStringList& args, std::ostream& err) {
    if (args.size() < 2)
        throw UsageError("render needs FILE and OUT.png");
    HeadlessPanel p;
    FrameInputs inputs;
    inputs.options = ViewOptions{false, false, false, true};
    inputs.boxes = PositionFlags{};
    p.panel.CursorInside = false;
    std::optional<QRect> view;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&] { return OptionValue(args, i); };
        if (a == QStringLiteral("--view")) {
            const auto v = IntegerList(value(), 4, "--view");
            if (v[2] <= 0 || v[3] <= 0)
                throw UsageError("--view needs a positive width and height");
            view = QRect(v[0], v[1], v[2], v[3]);
        } else if (a == QStringLiteral("--no-grid")) {
            inputs.options.Grid = false;
        } else if (a == QStringLiteral("--preview")) {
            inputs.options.Preview = true;
            p.panel.SelectedName = ToCp1250(value());
        } else if (a == QStringLiteral("--cursor")) {
            const auto v = IntegerList(value(), 2, "--cursor");
            p.panel.CursorX = v[0] * p.panel.CellWidth;
            p.panel.CursorY = v[1] * p.panel.CellHeight;
        } else if (a == QStringLiteral("--corners")) {
            for (const QString& c : value().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString corner = c.trimmed().toUpper();
                if (corner == QStringLiteral("LH"))
                    inputs.boxes.LH = true;
                else if (corner == QStringLiteral("LD"))
                    inputs.boxes.LD = true;
                else if (corner == QStringLiteral("PH"))
                    inputs.boxes.PH = true;
                else if (corner == QStringLiteral("PD"))
                    inputs.boxes.PD = true;
                else
                    throw UsageError("--corners takes LH, LD, PH and PD");
            }
        } else if (a == QStringLiteral("--cursor-cell")) {
            inputs.options.CursorCell = true;
            p.panel.CursorInside = true;
        } else if (a == QStringLiteral("--overlay")) {
            inputs.options.Info = true;
        } else {
            throw UsageError("unknown option " + a.toStdString());
        }
    }

    LoadStation(args.at(0), p.panel, p.window);
    const ImageList images = MakeTileImageList();
    Surface surface;
    surface.SetSize(p.panel.PanelCols * p.panel.CellWidth, p.panel.PanelRows * p.panel.CellHeight);
    const QRect whole(0, 0, surface.Width(), surface.Height());
    const QRect area = view ? *view & whole : whole;
    if (area.isEmpty())
        throw UsageError("--view lies outside the panel's surface");
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
    renderer.RenderFrame(inputs);

    QImageWriter writer(args.at(1), "png");
    if (!writer.write(frame)) {
        err << "cannot write " << args.at(1).toStdString() << ": "
            << writer.errorString().toStdString() << "\n";
        return 1;
    }
    return 0;
}

int Export(const QStringList& args, std::ostream& err) {
    if (args.size() < 2)
        throw UsageError("export needs FILE and OUT.pdf or OUT.svg");
    const QString out = args.at(1);
    const bool svg = out.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    if (!svg && !out.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        throw UsageError("export writes OUT.pdf or OUT.svg");
    ExportOptions options;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&] { return OptionValue(args, i); };
        auto pdfOnly = [&] {
            if (svg)
                throw UsageError(a.toStdString() + " applies to PDF output only");
        };
        if (a == QStringLiteral("--screen")) {
            options.screenColours = true;
        } else if (a == QStringLiteral("--area")) {
            const QString v = value();
            if (v != QStringLiteral("used") && v != QStringLiteral("panel"))
                throw UsageError("--area takes used or panel");
            options.wholePanel = v == QStringLiteral("panel");
        } else if (a == QStringLiteral("--page")) {
            pdfOnly();
            const QString v = value().toUpper();
            const struct {
                const char* name;
                QPageSize::PageSizeId id;
            } sizes[] = {{"A4", QPageSize::A4},
                         {"A3", QPageSize::A3},
                         {"A2", QPageSize::A2},
                         {"A1", QPageSize::A1},
                         {"A0", QPageSize::A0}};
            const auto it = std::find_if(std::begin(sizes), std::end(sizes),
                                         [&](const auto& s) { return v == QLatin1String(s.name); });
            if (it == std::end(sizes))
                throw UsageError("--page takes A4, A3, A2, A1 or A0");
            options.page = it->id;
        } else if (a == QStringLiteral("--landscape")) {
            pdfOnly();
            options.landscape = true;
        } else if (a == QStringLiteral("--cell-mm")) {
            pdfOnly();
            bool ok = false;
            options.cellMm = value().toDouble(&ok);
            if (!ok || !(options.cellMm > 0) || options.cellMm > 1000)
                throw UsageError("--cell-mm takes a size in millimetres above 0 and up to 1000");
        } else {
            throw UsageError("unknown option " + a.toStdString());
        }
    }

    HeadlessPanel p;
    LoadStation(args.at(0), p.panel, p.window);
    PanelExporter exporter(p.panel, options);
    exporter.onMissingImage = [&err](const std::string& message) {
        err << "warning: " << FromCp1250(DisplayMessage(message)).toStdString() << "\n";
    };
    const QString station = FileNamePart(args.at(0));
    try {
        if (svg)
            exporter.WriteSvg(out, station);
        else
            exporter.WritePdf(out, station);
    } catch (const std::runtime_error& e) {
        // Layout and writing problems are the command's, not the editor's messages.
        err << "vedivez-tool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

bool ToolNeedsGui(const QStringList& args) {
    return !args.isEmpty() &&
           (args.at(0) == QStringLiteral("render") || args.at(0) == QStringLiteral("export"));
}

int RunTool(const QStringList& args, std::ostream& out, std::ostream& err) {
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    try {
        if (command == QStringLiteral("check") && rest.size() == 1)
            return Check(rest, out);
        if (command == QStringLiteral("lint") &&
            (rest.size() == 1 || (rest.size() == 2 && rest.at(1) == QStringLiteral("--json"))))
            return Lint(rest, out, err);
        if (command == QStringLiteral("convert") && rest.size() == 2)
            return Convert(rest);
        if (command == QStringLiteral("render"))
            return Render(rest, err);
        if (command == QStringLiteral("export"))
            return Export(rest, err);
    } catch (const UsageError& e) {
        err << "vedivez-tool: " << e.what() << "\n";
    } catch (const std::exception& e) {
        // Only loading the station file reports a line, so a line is always that file's.
        PrintError(err, e, rest.value(0));
        return 1;
    }
    err << ToolUsage();
    return 2;
}

} // namespace vedivez
