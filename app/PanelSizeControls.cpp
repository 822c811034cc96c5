#include "app/PanelSizeControls.h"

#include "app/ErrorHandler.h"
#include "panel/Document.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace vedivez {

namespace {

QSpinBox* CellCountEdit(const QString& name, int value, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setRange(Document::kMinCells, Document::kMaxCells);
    edit->setValue(value);
    return edit;
}

} // namespace

PanelSizeControls::PanelSizeControls(Document& document, ErrorHandler& errors, QWidget* page)
    : document_(document) {
    auto* group = new QGroupBox(QString::fromUtf8(" Počet políček "), page);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* heightLabel = new QLabel(QString::fromUtf8("Výška"), group);
    heightLabel->setObjectName(QStringLiteral("Label2"));
    heightLabel->move(8, 22);
    height_ = CellCountEdit(QStringLiteral("SE_PolickaVyska"), document.Rows(), group);
    height_->setGeometry(40, 18, 57, 22);
    auto* widthLabel = new QLabel(QString::fromUtf8("Šířka"), group);
    widthLabel->setObjectName(QStringLiteral("Label3"));
    widthLabel->move(104, 22);
    width_ = CellCountEdit(QStringLiteral("SE_PolickaSirka"), document.Cols(), group);
    width_->setGeometry(136, 18, 57, 22);
    group->setGeometry(8, 4, 270, 58);
    auto* apply = new QPushButton(QStringLiteral("Nastavit"), group);
    apply->setObjectName(QStringLiteral("B_Nastavit"));
    apply->setGeometry(200, 17, 62, 25);
    for (QSpinBox* edit : {height_, width_})
        QObject::connect(edit, &QSpinBox::valueChanged, edit,
                         [this, &errors] { errors.Guard([this] { Edited(); }); });
    QObject::connect(&document, &Document::sizeChanged, group, [this] { Show(); });
}

void PanelSizeControls::Show() {
    const QSignalBlocker blockHeight(height_), blockWidth(width_);
    height_->setValue(document_.Rows());
    width_->setValue(document_.Cols());
}

void PanelSizeControls::Edited() {
    document_.Resize(width_->value(), height_->value());
}

} // namespace vedivez
