#pragma once

#include <QFont>
#include <QString>

namespace vedivez {

// Makes the free Tahoma that Debian ships with Wine (regular and bold) known to Qt, since it
// lies outside fontconfig's folders. Needs a running QGuiApplication; safe to call more than
// once. Returns whether Tahoma now resolves.
bool RegisterApplicationFonts();

// Tahoma when it resolves, else the platform's sans serif.
QString UiFontFamily();

// The user-interface font at a pixel height (Tahoma 8 pt is 11 px).
QFont UiFont(int pixelSize = 11);

} // namespace vedivez
