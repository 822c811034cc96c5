#include "tools/ToolCommands.h"

#include "panel/Cp1250.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"

#include <ostream>

namespace vedivez {

namespace {

const char* const kUsage =
    "usage: vedivez-tool check FILE\n"
    "       vedivez-tool convert IN OUT\n"
    "       vedivez-tool render FILE OUT.png [--view X,Y,W,H] [--no-grid] [--preview NAME]\n"
    "                   [--cursor COL,ROW] [--corners LH,LD,PH,PD] [--cursor-cell] [--overlay]\n";

// The text the editor's error box shows, in the terminal's encoding.
void PrintError(std::ostream& err, const std::exception& e) {
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

} // namespace

bool ToolNeedsGui(const QStringList& args) {
    return !args.isEmpty() && args.at(0) == QStringLiteral("render");
}

int RunTool(const QStringList& args, std::ostream& out, std::ostream& err) {
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    try {
        if (command == QStringLiteral("check") && rest.size() == 1)
            return Check(rest, out);
        if (command == QStringLiteral("convert") && rest.size() == 2)
            return Convert(rest);
    } catch (const std::exception& e) {
        PrintError(err, e);
        return 1;
    }
    err << kUsage;
    return 2;
}

} // namespace vedivez
