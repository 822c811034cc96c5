#pragma once

#include <QIcon>

namespace vedivez {

// The program's icon (the switch on the grey panel that the desktop menu shows too), drawn
// from its scalable picture at the sizes window managers and task bars ask for.
QIcon ProgramIcon();

} // namespace vedivez
