#include "tools/ToolHelp.h"

#include "panel/Version.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace vedivez {

namespace {

// One command's help: its synopsis line, what it does with its options, its exit codes and
// an example.
struct CommandHelp {
    const char* name;
    const char* text;
};

const CommandHelp kCommands[] = {
    {"check", "Usage: vedivez-tool check FILE\n"
              "\n"
              "Loads FILE as the editor does and prints the panel's size and element count after\n"
              "loading, as \"rows=R cols=C elements=N\" (a file without size lines gives the\n"
              "editor's 50 rows and 150 columns). Lines of an unknown kind, which the reader\n"
              "skips and a save does not write, are counted in a warning on standard error.\n"
              "\n"
              "Exit codes: 0 loaded; 1 FILE does not load (the editor's error message on standard\n"
              "error); 2 wrong command line.\n"
              "\n"
              "Example:\n"
              "  $ vedivez-tool check station.reru\n"
              "  rows=12 cols=30 elements=96\n"},
    {"lint",
     "Usage: vedivez-tool lint FILE [--json] [--strict]\n"
     "\n"
     "Loads FILE as the editor does and checks that the drawn relief is connected: every\n"
     "point where a tile's track leaves its cell must meet track in the neighbouring cell.\n"
     "Prints one finding a line, sorted by row, column and point (kinds open-end,\n"
     "outside-panel, duplicate, unknown-name and leaves-panel), problems first, then the\n"
     "notes, marked \"note:\". Track that leaves the panel (leaves-panel) is a note: a main\n"
     "line running to the panel's edge joins the station to the next one; everything else\n"
     "is a problem. A cell of several elements is one duplicate naming how many it holds,\n"
     "and the findings of identical records in it are given once. Before them come the\n"
     "lines of an unknown kind, which the reader skips and a save does not write\n"
     "(unknown-line, \"line L: ...\"; the first 100, then one line for the rest). The last\n"
     "line is \"N problems, M notes\" or \"no findings\".\n"
     "\n"
     "Options:\n"
     "  --json    print {\"findings\": [{\"col\", \"row\", \"name\", \"point\", \"kind\",\n"
     "            \"severity\", \"message\"}, ...]} instead, \"severity\" being \"problem\"\n"
     "            or \"note\"; a line's finding has \"line\" and nulls for the cell's fields\n"
     "  --strict  count the notes as problems\n"
     "\n"
     "Exit codes: 0 no problems (notes alone, or nothing at all); 1 problems; 2 FILE does\n"
     "not load (the editor's error message on standard error) or wrong command line.\n"
     "\n"
     "Example:\n"
     "  $ vedivez-tool lint station.reru --json\n"},
    {"convert", "Usage: vedivez-tool convert IN OUT\n"
                "\n"
                "Loads IN as the editor does and writes it to OUT with the editor's writer\n"
                "(Windows-1250, CR LF line ends, flags as 0 and -1). OUT is replaced at once when\n"
                "the whole file is written and stays untouched when IN does not load.\n"
                "\n"
                "Exit codes: 0 written; 1 IN does not load or OUT cannot be written (the editor's\n"
                "error message on standard error); 2 wrong command line.\n"
                "\n"
                "Example:\n"
                "  $ vedivez-tool convert old.reru new.reru\n"},
    {"render",
     "Usage: vedivez-tool render FILE OUT.png [OPTIONS]\n"
     "\n"
     "Loads FILE as the editor does and draws the panel as the editor shows it, 47 x 47\n"
     "pixels a cell, into a PNG picture. A tile whose name has no picture is drawn as a\n"
     "red crossed frame and named once on standard error.\n"
     "\n"
     "Options:\n"
     "  --view X,Y,W,H          draw only this rectangle of the surface, in pixels (for\n"
     "                          big panels)\n"
     "  --no-grid               leave out the blue grid\n"
     "  --preview NAME          the translucent preview of tile NAME in the cursor cell\n"
     "  --cursor COL,ROW        the cursor cell, 0 to 3999 each (default 0,0)\n"
     "  --corners LH,LD,PH,PD   the checked corner boxes the preview's corner marks\n"
     "                          follow (any of the four)\n"
     "  --cursor-cell           outline the cursor cell\n"
     "  --overlay               the diagnostic text in the top left corner\n"
     "By default the grid is on and the preview, the cursor outline and the overlay are off.\n"
     "\n"
     "Exit codes: 0 written; 1 FILE does not load (the editor's error message on standard\n"
     "error) or OUT.png cannot be written; 2 wrong command line, or an area too large for\n"
     "one picture without --view.\n"
     "\n"
     "Example:\n"
     "  $ vedivez-tool render station.reru station.png --view 0,0,1410,705 --overlay\n"},
    {"export",
     "Usage: vedivez-tool export FILE OUT.pdf|OUT.svg [OPTIONS]\n"
     "\n"
     "Loads FILE as the editor does and writes a vector drawing for printing: every tile\n"
     "and corner mark is the union of its pixels as rectangles, so that drawn at one unit\n"
     "a pixel it equals \"render --no-grid\" of the same area. Black on white without a grid\n"
     "by default. A PDF area too large for one page at the cell size is tiled over pages\n"
     "that share one column or row of cells; each page's top margin names the page and its\n"
     "first and last column and row (from 1), the bottom one the file and the day.\n"
     "\n"
     "Options:\n"
     "  --screen                the editor's grey background and blue grid\n"
     "  --area used|panel       the cells that hold elements plus one cell of margin\n"
     "                          (default; the whole panel when there are none), or the\n"
     "                          whole panel\n"
     "  --page A4|A3|A2|A1|A0   PDF page size (default A4)\n"
     "  --portrait, --landscape PDF pages upright or turned; by default the way the area\n"
     "                          prints larger (with --cell-mm: on fewer pages), upright\n"
     "                          when both ways are alike\n"
     "  --cell-mm X             printed size of a cell in millimetres, 0.01 to 1000 (PDF;\n"
     "                          default the largest that fits the area on one page); more\n"
     "                          than 10,000 pages are refused\n"
     "\n"
     "Exit codes: 0 written; 1 FILE does not load, a page cannot hold two cells each way\n"
     "at --cell-mm, the pages would be more than 10,000, or the output cannot be written\n"
     "(it is then left as it was); 2 wrong command line.\n"
     "\n"
     "Examples:\n"
     "  $ vedivez-tool export station.reru station.pdf --page A3 --landscape --cell-mm 12\n"
     "  $ vedivez-tool export station.reru station.svg --area panel\n"},
};

const char* const kGeneralHelp =
    "Usage: vedivez-tool COMMAND ARGUMENTS...\n"
    "\n"
    "Works on VediVEZ station files (.reru) without a window, with the editor's own\n"
    "reader, writer and renderer.\n"
    "\n"
    "Commands:\n"
    "  check FILE                     print the panel size and element count after loading\n"
    "  lint FILE [--json] [--strict]  check that the drawn relief is connected\n"
    "  convert IN OUT                 load IN and write it with the editor's writer\n"
    "  render FILE OUT.png [...]      draw the panel as the editor shows it\n"
    "  export FILE OUT.pdf|OUT.svg [...]\n"
    "                                 a vector drawing for printing\n"
    "\n"
    "Options:\n"
    "  -h, --help                     show this help and exit\n"
    "  --version                      print the version and exit\n"
    "\n"
    "\"vedivez-tool COMMAND --help\" describes a command with its options, exit codes and\n"
    "an example. A wrong command line prints the usage and exits with 2.\n";

bool IsHelp(const QString& arg) {
    return arg == QStringLiteral("--help") || arg == QStringLiteral("-h");
}

const CommandHelp* FindCommand(const QString& name) {
    const auto it =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const CommandHelp& c) { return name == QLatin1String(c.name); });
    return it == std::end(kCommands) ? nullptr : &*it;
}

} // namespace

const char* ToolUsage() {
    return "usage: vedivez-tool check FILE\n"
           "       vedivez-tool lint FILE [--json] [--strict]\n"
           "       vedivez-tool convert IN OUT\n"
           "       vedivez-tool render FILE OUT.png [--view X,Y,W,H] [--no-grid] [--preview NAME]\n"
           "                   [--cursor COL,ROW] [--corners LH,LD,PH,PD] [--cursor-cell] "
           "[--overlay]\n"
           "       vedivez-tool export FILE OUT.pdf|OUT.svg [--screen] [--area used|panel]\n"
           "                   [--page A4|A3|A2|A1|A0] [--portrait|--landscape] [--cell-mm X]\n"
           "       vedivez-tool --help | --version | COMMAND --help\n";
}

std::optional<int> AnswerHelpOrVersion(const QStringList& args, std::ostream& out) {
    if (args.size() == 1 && IsHelp(args.at(0))) {
        out << kGeneralHelp;
        return 0;
    }
    if (args.size() == 1 && args.at(0) == QStringLiteral("--version")) {
        out << "vedivez-tool (VediVEZ) " VEDIVEZ_VERSION "\n";
        return 0;
    }
    // A command's own help, wherever "--help" stands among its arguments.
    const CommandHelp* command = args.isEmpty() ? nullptr : FindCommand(args.at(0));
    if (command && std::any_of(args.begin() + 1, args.end(), IsHelp)) {
        out << command->text;
        return 0;
    }
    return std::nullopt;
}

} // namespace vedivez
