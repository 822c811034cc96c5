#pragma once

#include "dialogs/ToolDialog.h"

#include <QByteArray>

class QLabel;

namespace vedivez {

// The About window: the photograph of a relay-interlocking panel with the program's name and
// version written over it. A photograph that cannot be decoded is left out; the window opens
// at the same size without it.
class TAboutVUVOzaz : public TToolDialog {
    Q_OBJECT

public:
    explicit TAboutVUVOzaz(QWidget* parent = nullptr);
    // The same with the photograph's JPEG bytes given (the bundled ones by default).
    TAboutVUVOzaz(const QByteArray& photograph, QWidget* parent = nullptr);

    static constexpr int kPhotoWidth = 377;
    static constexpr int kPhotoHeight = 254;

private:
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
};

} // namespace vedivez
