#pragma once

#include "panel/StationLint.h"

#include <iosfwd>
#include <vector>

namespace vedivez {

// Writes lint findings for people (one line each, then the count) or for scripts (one JSON
// document); names go out in UTF-8.
class LintReport {
public:
    explicit LintReport(const std::vector<LintFinding>& findings) : findings_(findings) {}

    // "COL,ROW NAME: message" lines, then "N findings" or "no findings".
    void WriteText(std::ostream& out) const;
    // {"findings": [{"col", "row", "name", "point", "kind", "message"}, ...]}
    void WriteJson(std::ostream& out) const;

private:
    const std::vector<LintFinding>& findings_;
};

} // namespace vedivez
