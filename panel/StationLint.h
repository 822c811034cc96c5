#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vedivez {

class PanelState;

// What a lint finding is about.
enum class LintKind { OpenEnd, LeavesPanel, OutsidePanel, Duplicate, UnknownName };

// One problem of a station panel, tied to an element and, where it concerns a place where
// track leaves a cell, to one of the eight point codes. Its explanation is made from these
// fields on demand (LintMessage), so a million findings hold no million texts.
struct LintFinding {
    int32_t col = 0;
    int32_t row = 0;
    std::string name; // the element's name, Windows-1250 bytes
    int point = -1;   // index into LintPointCodes(), -1 when the finding has no point
    LintKind kind = LintKind::OpenEnd;
    size_t element = 0; // list index of the element
    // The figures the explanation quotes: for a duplicate its place in the cell and the
    // number of elements there, for an element outside the panel the panel's columns and
    // rows; zero otherwise.
    std::array<int64_t, 2> figures{};

    friend bool operator==(const LintFinding&, const LintFinding&) = default;
};

// The finding's explanation, English and plain ASCII, such as "open track end at PS: the
// cell to the right (3,2) has no track at LS".
std::string LintMessage(const LintFinding& finding);
// The same, appended to `out`.
void AppendLintMessage(std::string& out, const LintFinding& finding);

// The eight point codes in the order of the connection flags: LH, LS, LD, SH, SD, PH, PS, PD.
const std::vector<std::string>& LintPointCodes();

// The kind as scripts see it: "open-end", "leaves-panel", "outside-panel", "duplicate",
// "unknown-name".
const char* LintKindName(LintKind kind);

// Points a tile name reaches, one bit per entry of LintPointCodes(), found as the palette
// finds them: every code that occurs in the upper-cased name. Bit 8 is set when the name is
// that of a catalogue tile, bit 9 when it has a picture at all (corner marks and unknown
// names reach no point). Names match as image lookups match them, ignoring ASCII case.
uint32_t LintNameMask(const std::string& name);

// Checks that the drawn relief is connected: every point of every placed tile must meet
// the matching point of a neighbouring cell, and elements must lie inside the panel, alone in
// their cell and carry a known name. Sorted by row, column, point (no point first), kind and
// list position. Costs a few cell lookups per element.
std::vector<LintFinding> LintStation(const PanelState& panel);

// The findings LintStation gives for the elements of these cells only, in the same order:
// what a view that keeps the findings by cell checks again after an edit. Costs a few cell
// lookups per element of those cells.
std::vector<LintFinding> LintCells(const PanelState& panel,
                                   const std::vector<std::pair<int32_t, int32_t>>& cells);

// Whether finding a comes before finding b in the check's order: row, column, point (no
// point first), kind and list position.
bool LintOrder(const LintFinding& a, const LintFinding& b);

} // namespace vedivez
