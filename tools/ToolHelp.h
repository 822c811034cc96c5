#pragma once

#include <QStringList>
#include <iosfwd>
#include <optional>

namespace vedivez {

// The short synopsis of every command, printed after a wrong command line.
const char* ToolUsage();

// Answers `--help`, `-h` and `--version` on their own, and `COMMAND --help` for each
// command: prints the text to `out` and returns the exit code. Any other command line
// gives nothing and is the commands' to run. `args` excludes the program name.
std::optional<int> AnswerHelpOrVersion(const QStringList& args, std::ostream& out);

} // namespace vedivez
