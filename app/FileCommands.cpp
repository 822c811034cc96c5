#include "app/FileCommands.h"

#include "app/PanelView.h"
#include "app/Prompts.h"
#include "panel/DocumentTexts.h"
#include "panel/PanelState.h"
#include "panel/PanelWindow.h"
#include "panel/StationFile.h"

#include <QDir>
#include <QFileInfo>

namespace vedivez {

namespace {

const QString kExtension = QStringLiteral("reru");

// Frames stop while a file dialog is open or a file is read or written, and start again
// however the step ends.
class FramesPaused {
public:
    explicit FramesPaused(PanelView& view) : view_(view) { view_.Pause(); }
    ~FramesPaused() { view_.Resume(); }
    FramesPaused(const FramesPaused&) = delete;
    FramesPaused& operator=(const FramesPaused&) = delete;

private:
    PanelView& view_;
};

} // namespace

FileCommands::FileCommands(PanelState& panel, StationWindow& window, Prompts& prompts,
                           PanelView& view, std::function<QString()> statusPath,
                           std::function<QString()> stateWord)
    : panel_(panel), window_(window), prompts_(prompts), view_(view),
      statusPath_(std::move(statusPath)), stateWord_(std::move(stateWord)) {}

QString FileCommands::Filter() {
    return QStringLiteral("Stanice VediVEZ (*.reru)");
}

QString FileCommands::WithDefaultExtension(const QString& path) {
    if (path.endsWith(QLatin1Char('.') + kExtension, Qt::CaseInsensitive))
        return path;
    if (path.endsWith(QLatin1Char('.')))
        return path + kExtension;
    return path + QLatin1Char('.') + kExtension;
}

QString FileCommands::FileToOpen(const QString& path) {
    if (QFileInfo(path).isFile())
        return path;
    const QString named = WithDefaultExtension(path);
    if (named == path || QFileInfo::exists(named))
        return named;
    // The folder may hold the file with its extension in other letters ("VELKE.RERU").
    const QFileInfo wanted(named);
    const QString stem = wanted.fileName().chopped(kExtension.size());
    // Every name is compared, not a pattern: a station name may hold "[" or "*".
    const QStringList candidates = wanted.dir().entryList(QDir::Files | QDir::Hidden);
    for (const QString& candidate : candidates) {
        if (candidate.size() == wanted.fileName().size() && candidate.startsWith(stem) &&
            candidate.endsWith(kExtension, Qt::CaseInsensitive))
            return wanted.dir().filePath(candidate);
    }
    return named;
}

bool FileCommands::ConfirmDiscard() {
    if (panel_.Elements().empty() || stateWord_() != StateModified())
        return true;
    return prompts_.Confirm(QString::fromUtf8("Zahodit neuložené změny?"));
}

void FileCommands::NewStation() {
    if (!ConfirmDiscard())
        return;
    panel_.ClearElements();
    window_.SetStatusPath(NoFileText());
    window_.SetDocumentState(StateNew());
    window_.SetCaption(AppTitle() + QStringLiteral(" - Nová stanice"));
    window_.SetHeightValue(50);
    window_.SetWidthValue(100);
}

void FileCommands::MP_OtevreniClick() {
    // Opening replaces the panel, so unsaved changes are asked about first, as for New.
    if (!ConfirmDiscard())
        return;
    std::optional<QString> chosen;
    {
        FramesPaused paused(view_);
        chosen = prompts_.OpenFileName({QStringLiteral("Otevrit"), Filter(), openName_});
    }
    if (!chosen || chosen->isEmpty())
        return;
    Open(FileToOpen(*chosen));
}

void FileCommands::Open(const QString& path) {
    openName_ = path;
    LoadReport report;
    {
        FramesPaused paused(view_);
        report = LoadStation(path, panel_, window_);
    }
    // Lines a save would drop are said at once, while the file they are in is known.
    const QString notice = UnknownLinesNotice(report);
    if (!notice.isEmpty())
        prompts_.ShowMessage(notice);
}

QString FileCommands::AskSavePath() {
    std::optional<QString> chosen;
    {
        FramesPaused paused(view_);
        chosen = prompts_.SaveFileName({QStringLiteral("Ulozit"), Filter(), saveName_});
    }
    if (!chosen || chosen->isEmpty())
        return {};
    const QString path = WithDefaultExtension(*chosen);
    saveName_ = path;
    if (QFileInfo::exists(path) &&
        !prompts_.Confirm(QString::fromUtf8("Soubor „%1“ již existuje.\nChcete ho nahradit?")
                              .arg(QFileInfo(path).fileName())))
        return {};
    return path;
}

void FileCommands::Save(const QString& path) {
    FramesPaused paused(view_);
    SaveStation(path, panel_, window_);
}

void FileCommands::MP_UlozeniClick() {
    const QString current = statusPath_();
    if (current != NoFileText()) {
        Save(current);
        return;
    }
    const QString path = AskSavePath();
    if (!path.isEmpty())
        Save(path);
}

void FileCommands::MP_UlozitJakoClick() {
    const QString path = AskSavePath();
    if (!path.isEmpty())
        Save(path);
}

} // namespace vedivez
