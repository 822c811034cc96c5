#pragma once

#include "panel/StationFile.h"
#include "panel/StationLint.h"

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace vedivez {

// Writes lint findings for people (one line each, then the count) or for scripts (one JSON
// document); names go out in UTF-8. Problems come first, then the notes: lines of an unknown
// kind (kind "unknown-line", problems, since a save would drop them) before the cells'
// problems, then the cells' notes. In strict mode notes count as problems.
class LintReport {
public:
    // Both are read when writing, so they must outlive the report.
    explicit LintReport(const std::vector<LintFinding>& findings, bool strict = false)
        : LintReport(findings, NoLines(), strict) {}
    LintReport(const std::vector<LintFinding>& findings,
               const StationContent::UnknownLines& unknownLines, bool strict = false);

    // "line L: unknown line kind ..." and "COL,ROW NAME: message" lines, the notes as
    // "COL,ROW NAME: note: message", then "N problems, M notes" or "no findings".
    void WriteText(std::ostream& out) const;
    // {"findings": [{"line", "col", "row", "name", "point", "kind", "severity", "message"}
    // for a line, {"col", "row", "name", "point", "kind", "severity", "message"} for a cell,
    // ...]}
    void WriteJson(std::ostream& out) const;

    // How many problems and notes there are; the lines of an unknown kind count one each,
    // listed or not.
    int64_t Problems() const { return problems_; }
    int64_t Notes() const { return notes_; }

    // "unknown line kind "PRUSVITKX" is ignored and not saved", in UTF-8.
    static std::string UnknownLineMessage(const StationContent::UnknownLine& line);

private:
    static const StationContent::UnknownLines& NoLines() {
        static const StationContent::UnknownLines none;
        return none;
    }
    LintSeverity SeverityOf(const LintFinding& f) const;
    // Calls fn(finding) for every cell finding of one severity, in the check's order.
    template <typename F> void ForEachOf(LintSeverity severity, F&& fn) const;
    // "N more lines of an unknown kind ...", for the lines not listed one by one.
    std::string UnlistedLinesMessage() const;
    int64_t Unlisted() const;

    const std::vector<LintFinding>& findings_;
    const StationContent::UnknownLines& unknownLines_;
    bool strict_;
    int64_t problems_ = 0;
    int64_t notes_ = 0;
};

} // namespace vedivez
