#pragma once

#include <QStringList>
#include <exception>
#include <iosfwd>
#include <string>
#include <vector>

namespace vedivez {

// The headless companion's commands over the editor's own reader, writer and renderer.
// `args` are the command line's bytes without the program name: file names go to the file
// system exactly as given, whatever their encoding. Returns the process exit code.
int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Prints the text the editor's error box shows, in the terminal's encoding; an error at a
// line of the station file `file` starts with "FILE:LINE: ", as compilers print theirs, so
// that editors can jump there.
void PrintToolError(std::ostream& err, const std::exception& e, const std::string& file = {});

// Whether a command line needs the GUI application (fonts for rendering).
bool ToolNeedsGui(const QStringList& args);

} // namespace vedivez
