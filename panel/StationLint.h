#pragma once

#include "panel/CrowdedCells.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vedivez {

class PanelState;

// What a lint finding is about.
enum class LintKind { OpenEnd, LeavesPanel, OutsidePanel, Duplicate, UnknownName };

// How much a finding weighs. A problem is a fault of the drawing; a note is worth knowing
// but often meant: a main track that runs to the panel's edge is how a station joins the
// line to the next one.
enum class LintSeverity { Problem, Note };

// Track leaving the panel is a note; everything else is a problem.
LintSeverity LintSeverityOf(LintKind kind);
// "problem" or "note".
const char* LintSeverityName(LintSeverity severity);

// One finding of a station panel, tied to an element and, where it concerns a place where
// track leaves a cell, to one of the eight point codes. Its explanation is made from these
// fields on demand (LintMessage), so a million findings hold no million texts.
//
// A cell of several elements is reported as a whole: one duplicate finding naming how many
// it holds, and the findings of its elements once for each distinct name, so that a
// thousand identical records in a cell give the findings of one.
struct LintFinding {
    int32_t col = 0;
    int32_t row = 0;
    std::string name; // the element's name, Windows-1250 bytes
    int point = -1;   // the point as int(Point), -1 when the finding has no point
    LintKind kind = LintKind::OpenEnd;
    // List index of the element; in a cell of several elements, of the cell's first.
    size_t element = 0;
    // The figures the explanation quotes: for a duplicate the number of elements in the
    // cell, for an element outside the panel the panel's columns and rows; zero otherwise.
    std::array<int64_t, 2> figures{};

    friend bool operator==(const LintFinding&, const LintFinding&) = default;
};

// The finding's explanation, English and plain ASCII, such as "open track end at PS: the
// cell to the right (3,2) has no track at LS".
std::string LintMessage(const LintFinding& finding);
// The same, appended to `out`.
void AppendLintMessage(std::string& out, const LintFinding& finding);

// The kind as scripts see it: "open-end", "leaves-panel", "outside-panel", "duplicate",
// "unknown-name".
const char* LintKindName(LintKind kind);

// Points a tile name reaches (PointsInName, one PointBit each), for the names of catalogue
// tiles. Bit 8 is set when the name is that of a catalogue tile, bit 9 when it has a picture
// at all (corner marks and unknown names reach no point). Names match as image lookups match
// them, ignoring the case of their letters.
uint32_t LintNameMask(const std::string& name);

// Checks that the drawn relief is connected: every point of every placed tile must meet
// the matching point of a neighbouring cell, and elements must lie inside the panel, alone in
// their cell and carry a known name. Sorted by row, column, point (no point first), kind,
// name and list position. Costs a few cell lookups per element. `crowds`, when given, are
// the panel's crowded cells, already built.
std::vector<LintFinding> LintStation(const PanelState& panel, const CrowdedCells* crowds = nullptr);

// The findings LintStation gives for these cells only, in the same order: what a view that
// keeps the findings by cell checks again after an edit. Costs a few cell lookups per cell,
// however many elements a cell holds; `crowds` are the panel's crowded cells, up to date.
std::vector<LintFinding> LintCells(const PanelState& panel, const CrowdedCells& crowds,
                                   const std::vector<std::pair<int32_t, int32_t>>& cells);

// Whether finding a comes before finding b in the check's order: row, column, point (no
// point first), kind, name and list position.
bool LintOrder(const LintFinding& a, const LintFinding& b);

} // namespace vedivez
