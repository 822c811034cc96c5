#pragma once

#include <QStringList>
#include <iosfwd>

namespace vedivez {

// The headless companion's commands over the editor's own reader, writer and renderer.
// `args` excludes the program name. Returns the process exit code.
int RunTool(const QStringList& args, std::ostream& out, std::ostream& err);

// Whether a command line needs the GUI application (fonts for rendering).
bool ToolNeedsGui(const QStringList& args);

} // namespace vedivez
