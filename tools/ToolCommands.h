#pragma once

#include <QStringList>
#include <iosfwd>
#include <string>
#include <vector>

namespace vedivez {

// The headless companion's commands over the editor's own reader, writer and renderer.
// `args` are the command line's bytes without the program name: file names go to the file
// system exactly as given, whatever their encoding. Returns the process exit code.
int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Whether a command line needs the GUI application (fonts for rendering).
bool ToolNeedsGui(const QStringList& args);

} // namespace vedivez
