#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace vedivez {

class TPanelVAD;

// What the editor's command line `vedivez [FILE]` asks for.
struct EditorCommandLine {
    enum class Action { Run, Help, Version, Usage };
    Action action = Action::Run;
    // The station to open at start (Run), empty for none: the argument's bytes as the file
    // system takes them, which need not be UTF-8.
    std::string file;
    QString problem; // what is wrong with the command line (Usage)
};

// Reads the arguments after the program name, as the bytes the program was given: none,
// one FILE (also after "--"), or --help / -h / --version anywhere before "--" (short options
// may run together); anything else is a usage error.
EditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& args);

// Prints the help or the version to `out`, or the problem with the usage to `err`, and
// returns the exit code; returns -1 for a command line that starts the editor.
int AnswerEditorCommandLine(const EditorCommandLine& command, std::ostream& out, std::ostream& err);

// The path as an absolute one, taken from the working folder when it is relative, with "."
// and ".." steps and doubled slashes taken out; bytes in, bytes out.
std::string AbsolutePath(const std::string& nativePath);

// Opens the station named on the command line as Open does, after the window is up: status
// bar, caption and the all-or-nothing load; a failure shows the error box and leaves the
// new, empty panel. A relative name is taken from the working folder, so the status bar
// shows the full path as after the Open dialog.
void OpenStartFile(TPanelVAD& window, const std::string& file);

} // namespace vedivez
