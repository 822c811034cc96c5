#pragma once

#include "panel/Version.h"

#include <QString>

namespace vedivez {

// Fixed user-facing texts shared by the model, the file code and the window.
inline constexpr const char* kAppTitle = "VediVEZ v" VEDIVEZ_VERSION;
inline QString AppTitle() {
    return QString::fromLatin1(kAppTitle);
}

inline QString StateNew() {
    return QString::fromUtf8("Nový");
}
inline QString StateModified() {
    return QString::fromUtf8("Upraveno");
}
inline QString StateSaved() {
    return QString::fromUtf8("Uloženo");
}
inline QString StateLoaded() {
    return QString::fromUtf8("Načteno");
}
inline QString NoFileText() {
    return QString::fromUtf8("(žádný soubor)");
}

inline QString ShiftRefusedMessage() {
    return QString::fromUtf8("Nelze posunout všechny prvky, některé by se dostaly za okraj panelu");
}

} // namespace vedivez
