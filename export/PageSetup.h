#pragma once

#include <QPageSize>

namespace vedivez {

// What the user chose in "Vzhled stránky" for printing and exporting from the window.
struct PageSetup {
    // Which cells: those that hold elements plus one cell of margin, the whole panel, the
    // part the view shows, or the selection.
    enum class Area { Used, Panel, View, Selection };
    // Which way the paper is turned: the way the area prints larger, or as asked.
    enum class Turn { Best, Portrait, Landscape };
    // What is made: pages (print, preview, PDF), one drawing (SVG) or a picture (PNG).
    enum class Output { Pages, Drawing, Picture };

    Area area = Area::Used;
    double cellMm = 0; // printed size of a cell; 0 = "Přizpůsobit jedné stránce"
    QPageSize::PageSizeId paper = QPageSize::A4;
    Turn turn = Turn::Best;
    bool screenColours = false; // grey with the blue grid, else black on white
    int pictureCellPx = 0;      // pixels a cell of a PNG picture; 0 = as the view shows it
};

} // namespace vedivez
