#pragma once

#include <QString>
#include <functional>

namespace vedivez {

class PanelState;
class PanelView;
class Prompts;
class StationWindow;

// New, Open, Save and Save As, with the question before unsaved changes are thrown away and
// the document state that the status bar and caption show.
class FileCommands {
public:
    // `stateWord` reads the document state word back from the status bar.
    FileCommands(PanelState& panel, StationWindow& window, Prompts& prompts, PanelView& view,
                 std::function<QString()> statusPath, std::function<QString()> stateWord);

    void MP_NovyClick() { NewStation(); }
    void MP_OtevreniClick();
    void MP_UlozeniClick();
    void MP_UlozitJakoClick();

    // Empties the panel and starts a new station, after asking when changes would be lost.
    void NewStation();
    // True when nothing unsaved would be lost, or the user agreed to lose it.
    bool ConfirmDiscard();
    // Loads the station file at `path` (the Open dialog's choice, or the file named at start)
    // and remembers it for the next Open dialog.
    void Open(const QString& path);

    // The names last chosen in the two dialogs.
    const QString& LastSaveName() const { return saveName_; }
    const QString& LastOpenName() const { return openName_; }

    // "Stanice VediVEZ (*.reru)"; the dialogs match it in any letter case.
    static QString Filter();
    // The one place that adds the extension: a name that does not end in ".reru" (in any
    // letter case) gets ".reru", so "Brno hl.n" becomes "Brno hl.n.reru"; a name ending in
    // a dot only gets "reru".
    static QString WithDefaultExtension(const QString& path);
    // The file an Open of `path` reads: the path itself when such a file exists, else the
    // name with the extension, else an existing file of that name whose extension differs
    // only in letter case ("VELKE" opens "VELKE.RERU").
    static QString FileToOpen(const QString& path);

private:
    // Shows the save dialog; the chosen path (confirmed when it would replace a file), or an
    // empty text when the user gave up.
    QString AskSavePath();
    void Save(const QString& path);

    PanelState& panel_;
    StationWindow& window_;
    Prompts& prompts_;
    PanelView& view_;
    std::function<QString()> statusPath_;
    std::function<QString()> stateWord_;
    QString saveName_;
    QString openName_;
};

} // namespace vedivez
