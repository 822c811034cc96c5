#pragma once

#include <QString>

namespace vedivez {

// The help text of the manual window, its lines joined with line feeds.
QString ManualText();

// How many lines the help text has (the last ones are empty).
int ManualLineCount();

} // namespace vedivez
