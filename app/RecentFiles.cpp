#include "app/RecentFiles.h"

#include "panel/FileAccess.h"

#include <QAction>
#include <QByteArray>
#include <QMenu>
#include <QSettings>
#include <algorithm>

namespace vedivez {

namespace {

const QString kList = QStringLiteral("NaposledyOtevrene");
const QString kPath = QStringLiteral("Soubor");

QSettings UserSettings() {
    return QSettings(QStringLiteral("VediVEZ"), QStringLiteral("VediVEZ"));
}

// A path as a menu item shows it: every "&" doubled, so none is read as the item's key.
QString ItemText(int number, const std::string& nativePath) {
    QString shown = PathForDisplay(nativePath);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

} // namespace

RecentFiles::RecentFiles(QMenu* menu) {
    if (menu)
        Attach(menu);
}

void RecentFiles::Attach(QMenu* menu) {
    menu_ = menu;
    connect(menu_, &QMenu::aboutToShow, this, [this] { FillMenu(); });
    FillMenu();
}

std::vector<std::string> RecentFiles::Files() const {
    QSettings settings = UserSettings();
    std::vector<std::string> files;
    const int count = settings.beginReadArray(kList);
    for (int i = 0; i < count && int(files.size()) < kMaxFiles; ++i) {
        settings.setArrayIndex(i);
        // Bytes, not text: a name that is not UTF-8 comes back exactly as it was stored.
        const QByteArray path = settings.value(kPath).toByteArray();
        std::string file(path.constData(), size_t(path.size()));
        if (!file.empty() && std::find(files.begin(), files.end(), file) == files.end())
            files.push_back(std::move(file));
    }
    settings.endArray();
    return files;
}

void RecentFiles::Store(const std::vector<std::string>& files) {
    QSettings settings = UserSettings();
    settings.remove(kList);
    settings.beginWriteArray(kList, int(files.size()));
    for (int i = 0; i < int(files.size()); ++i) {
        settings.setArrayIndex(i);
        const std::string& file = files[size_t(i)];
        settings.setValue(kPath, QByteArray(file.data(), qsizetype(file.size())));
    }
    settings.endArray();
    settings.sync();
    FillMenu();
}

void RecentFiles::Add(const std::string& nativePath) {
    std::vector<std::string> files = Files();
    std::erase(files, nativePath);
    files.insert(files.begin(), nativePath);
    if (files.size() > size_t(kMaxFiles))
        files.resize(size_t(kMaxFiles));
    Store(files);
}

void RecentFiles::Remove(const std::string& nativePath) {
    std::vector<std::string> files = Files();
    std::erase(files, nativePath);
    Store(files);
}

void RecentFiles::FillMenu() {
    if (!menu_)
        return;
    // The item being chosen may be what asked for this (an Open remembers its file): the old
    // items go once its signal has returned.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    const std::vector<std::string> files = Files();
    if (files.empty()) {
        menu_->addAction(QString::fromUtf8("(žádné soubory)"))->setEnabled(false);
        return;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        QAction* item = menu_->addAction(ItemText(int(i) + 1, files[i]));
        const std::string path = files[i];
        connect(item, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
}

} // namespace vedivez
