#pragma once

#include "panel/StationFile.h"
#include "panel/StationLint.h"

#include <iosfwd>
#include <vector>

namespace vedivez {

// Writes lint findings for people (one line each, then the count) or for scripts (one JSON
// document); names go out in UTF-8.
// Lines of an unknown kind come first, as findings of the kind "unknown-line": a save would
// drop them.
class LintReport {
public:
    // Both lists are read when writing, so they must outlive the report.
    explicit LintReport(const std::vector<LintFinding>& findings)
        : LintReport(findings, NoLines()) {}
    LintReport(const std::vector<LintFinding>& findings,
               const std::vector<StationContent::UnknownLine>& unknownLines)
        : findings_(findings), unknownLines_(unknownLines) {}

    // "line L: unknown line kind ..." and "COL,ROW NAME: message" lines, then "N findings"
    // or "no findings".
    void WriteText(std::ostream& out) const;
    // {"findings": [{"line", "col", "row", "name", "point", "kind", "message"} for a line,
    // {"col", "row", "name", "point", "kind", "message"} for a cell, ...]}
    void WriteJson(std::ostream& out) const;

    // "unknown line kind "PRUSVITKX" is ignored and not saved", in UTF-8.
    static std::string UnknownLineMessage(const StationContent::UnknownLine& line);

private:
    static const std::vector<StationContent::UnknownLine>& NoLines() {
        static const std::vector<StationContent::UnknownLine> none;
        return none;
    }

    const std::vector<LintFinding>& findings_;
    const std::vector<StationContent::UnknownLine>& unknownLines_;
};

} // namespace vedivez
