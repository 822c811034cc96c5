#pragma once

#include <QObject>
#include <string>
#include <vector>

class QMenu;

namespace vedivez {

// The submenu "Soubor › Naposledy otevřené": the last eight station files opened or saved,
// most recent first, remembered across runs in the user's settings. Paths are the file
// system's bytes, kept as they are even where they are not UTF-8.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxFiles = 8;

    // Fills `menu` now and again whenever it is about to open, so that it also shows what
    // another running editor remembered meanwhile.
    explicit RecentFiles(QMenu* menu = nullptr);
    // The same for a menu made later.
    void Attach(QMenu* menu);

    // The remembered paths, most recent first.
    std::vector<std::string> Files() const;
    // Puts the path first, dropping an earlier entry of it and the entries beyond eight.
    void Add(const std::string& nativePath);
    void Remove(const std::string& nativePath);

signals:
    // The user chose the item of this path.
    void chosen(const std::string& nativePath);

private:
    void Store(const std::vector<std::string>& files);
    void FillMenu();

    QMenu* menu_ = nullptr;
};

} // namespace vedivez
