#include "app/FileCommands.h"

#include "app/FrameDriver.h"
#include "app/Prompts.h"
#include "app/RecentFiles.h"
#include "panel/Document.h"
#include "panel/FileAccess.h"
#include "panel/StationFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace vedivez {

namespace {

const std::string kExtension = "reru";

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Whether the path ends in `ending`, ASCII letters compared in any letter case.
bool EndsWithAnyCase(const std::string& path, const std::string& ending) {
    return path.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(), path.end() - std::ptrdiff_t(ending.size()),
                      [](char a, char b) {
                          auto lower = [](char c) {
                              return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
                          };
                          return lower(a) == lower(b);
                      });
}

} // namespace

FileCommands::FileCommands(Document& document, Prompts& prompts, FrameDriver& frames,
                           RecentFiles& recent)
    : document_(document), prompts_(prompts), frames_(frames), recent_(recent) {}

QString FileCommands::Filter() {
    return QStringLiteral("Stanice VediVEZ (*.reru)");
}

std::string FileCommands::WithDefaultExtension(const std::string& path) {
    if (EndsWithAnyCase(path, "." + kExtension))
        return path;
    if (!path.empty() && path.back() == '.')
        return path + kExtension;
    return path + "." + kExtension;
}

QString FileCommands::WithDefaultExtension(const QString& path) {
    return PathForDisplay(WithDefaultExtension(NativePath(path)));
}

std::string FileCommands::FileToOpen(const std::string& path) {
    if (IsFile(path))
        return path;
    const std::string named = WithDefaultExtension(path);
    if (named == path || Exists(named))
        return named;
    // The folder may hold the file with its extension in other letters ("VELKE.RERU").
    const size_t slash = named.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : named.substr(0, slash + 1);
    const std::string name = named.substr(folder.size());
    const std::string stem = name.substr(0, name.size() - kExtension.size());
    // Every name is compared, not a pattern: a station name may hold "[" or "*".
    std::vector<std::string> found;
    if (DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = ::readdir(entries)) {
            const std::string candidate = entry->d_name;
            if (candidate.size() == name.size() && candidate.starts_with(stem) &&
                EndsWithAnyCase(candidate, kExtension) && IsFile(folder + candidate))
                found.push_back(candidate);
        }
        ::closedir(entries);
    }
    if (found.empty())
        return named;
    return folder + *std::min_element(found.begin(), found.end());
}

bool FileCommands::ConfirmDiscard() {
    if (!document_.Modified())
        return true;
    return prompts_.Confirm(QString::fromUtf8("Zahodit neuložené změny?"));
}

void FileCommands::NewStation() {
    if (!ConfirmDiscard())
        return;
    document_.New();
}

void FileCommands::MP_OtevreniClick() {
    // Opening replaces the panel, so unsaved changes are asked about first, as for New.
    if (!ConfirmDiscard())
        return;
    std::optional<QString> chosen;
    {
        FramesPaused paused(frames_);
        chosen = prompts_.OpenFileName({QStringLiteral("Otevrit"), Filter(), openName_});
    }
    if (!chosen || chosen->isEmpty())
        return;
    Open(FileToOpen(NativePath(*chosen)));
}

void FileCommands::Open(const std::string& nativePath) {
    openName_ = PathForDisplay(nativePath);
    LoadReport report;
    {
        FramesPaused paused(frames_);
        report = document_.Load(nativePath);
    }
    recent_.Add(nativePath);
    // Lines a save would drop are said at once, while the file they are in is known.
    const QString notice = UnknownLinesNotice(report);
    if (!notice.isEmpty())
        prompts_.ShowMessage(notice);
}

void FileCommands::OpenRecent(const std::string& nativePath) {
    // A file moved or deleted since is said at once, before any question about the panel.
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        recent_.Remove(nativePath);
        prompts_.ShowMessage(QString::fromUtf8("Soubor „%1“ už neexistuje. Byl odebrán ze "
                                               "seznamu naposledy otevřených.")
                                 .arg(PathForDisplay(nativePath)));
        return;
    }
    if (!ConfirmDiscard())
        return;
    Open(nativePath);
}

QString FileCommands::AskSavePath() {
    std::optional<QString> chosen;
    {
        FramesPaused paused(frames_);
        chosen = prompts_.SaveFileName({QStringLiteral("Ulozit"), Filter(), saveName_});
    }
    if (!chosen || chosen->isEmpty())
        return {};
    const QString path = WithDefaultExtension(*chosen);
    saveName_ = path;
    if (!ConfirmReplace(prompts_, path))
        return {};
    return path;
}

bool FileCommands::ConfirmReplace(Prompts& prompts, const QString& path) {
    return !QFileInfo::exists(path) ||
           prompts.Confirm(QString::fromUtf8("Soubor „%1“ již existuje.\nChcete ho nahradit?")
                               .arg(QFileInfo(path).fileName()));
}

void FileCommands::Save(const std::string& nativePath) {
    {
        FramesPaused paused(frames_);
        document_.Save(nativePath);
    }
    recent_.Add(nativePath);
}

void FileCommands::MP_UlozeniClick() {
    // The file is kept as bytes, not read back from the status bar's text: a name that is
    // not UTF-8 shows there with replacement characters.
    if (!document_.FilePath().empty()) {
        Save(document_.FilePath());
        return;
    }
    const QString path = AskSavePath();
    if (!path.isEmpty())
        Save(NativePath(path));
}

void FileCommands::MP_UlozitJakoClick() {
    const QString path = AskSavePath();
    if (!path.isEmpty())
        Save(NativePath(path));
}

} // namespace vedivez
