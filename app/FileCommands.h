#pragma once

#include <QString>
#include <string>

namespace vedivez {

class Document;
class FrameDriver;
class Prompts;
class RecentFiles;

// New, Open, Save and Save As of the document, with the question before unsaved changes are
// thrown away. The station's file is kept as the file system's bytes, so a name that is not
// UTF-8 is read and written back as it is.
class FileCommands {
public:
    // Every file opened or saved goes to the front of `recent`.
    FileCommands(Document& document, Prompts& prompts, FrameDriver& frames, RecentFiles& recent);

    void MP_NovyClick() { NewStation(); }
    void MP_OtevreniClick();
    void MP_UlozeniClick();
    void MP_UlozitJakoClick();

    // Empties the panel and starts a new station, after asking when changes would be lost.
    void NewStation();
    // True when nothing unsaved would be lost, or the user agreed to lose it.
    bool ConfirmDiscard();
    // Loads the station file at the path (the file system's bytes: the Open dialog's choice,
    // the file named at start, an item of the recent files) and remembers it for the next
    // Open dialog, for Save and among the recent files.
    void Open(const std::string& nativePath);
    // An item of "Naposledy otevřené": asks as Open does, then opens the file; a file that
    // no longer exists is dropped from the list with a message instead.
    void OpenRecent(const std::string& nativePath);

    // The name last chosen in the Open dialog.
    const QString& LastOpenName() const { return openName_; }

    // "Stanice VediVEZ (*.reru)"; the dialogs match it in any letter case.
    static QString Filter();
    // The one place that adds the extension: a name that does not end in ".reru" (in any
    // letter case) gets ".reru", so "Brno hl.n" becomes "Brno hl.n.reru"; a name ending in
    // a dot only gets "reru".
    static std::string WithDefaultExtension(const std::string& nativePath);
    static QString WithDefaultExtension(const QString& path);
    // The file an Open of the path reads: the path itself when such a file exists, else the
    // name with the extension, else an existing file of that name whose extension differs
    // only in letter case ("VELKE" opens "VELKE.RERU").
    static std::string FileToOpen(const std::string& nativePath);

    // True when no file is at `path`, or the user agreed to replace it: the question every
    // save dialog of the editor asks.
    static bool ConfirmReplace(Prompts& prompts, const QString& path);

private:
    // Shows the save dialog; the chosen path (confirmed when it would replace a file), or an
    // empty text when the user gave up.
    QString AskSavePath();
    void Save(const std::string& nativePath);

    Document& document_;
    Prompts& prompts_;
    FrameDriver& frames_;
    RecentFiles& recent_;
    QString saveName_;
    QString openName_;
};

} // namespace vedivez
