#include "dialogs/PageSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vedivez {

namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

PageSetupDialog::PageSetupDialog(const PageSetup& initial, bool hasSelection,
                                 PageSetup::Output output, Summary summary, QWidget* parent)
    : QDialog(parent), summary_(std::move(summary)) {
    setObjectName(QStringLiteral("VzhledStranky"));
    setWindowTitle(Utf8("Vzhled stránky"));
    auto* form = new QFormLayout;

    area_ = new QComboBox(this);
    area_->setObjectName(QStringLiteral("CB_Oblast"));
    area_->addItem(Utf8("Použitá políčka"), int(PageSetup::Area::Used));
    area_->addItem(Utf8("Celý panel"), int(PageSetup::Area::Panel));
    area_->addItem(Utf8("Aktuální pohled"), int(PageSetup::Area::View));
    if (hasSelection)
        area_->addItem(Utf8("Výběr"), int(PageSetup::Area::Selection));
    area_->setCurrentIndex(std::max(0, area_->findData(int(initial.area))));
    form->addRow(Utf8("Oblast:"), area_);

    fit_ = new QRadioButton(Utf8("Přizpůsobit jedné stránce"), this);
    fit_->setObjectName(QStringLiteral("RB_Prizpusobit"));
    scaled_ = new QRadioButton(Utf8("Políčko"), this);
    scaled_->setObjectName(QStringLiteral("RB_Meritko"));
    cellMm_ = new QDoubleSpinBox(this);
    cellMm_->setObjectName(QStringLiteral("SE_PolickoMm"));
    cellMm_->setLocale(QLocale(QLocale::Czech));
    cellMm_->setRange(1, 1000);
    cellMm_->setDecimals(1);
    cellMm_->setSuffix(QStringLiteral(" mm"));
    cellMm_->setValue(initial.cellMm > 0 ? initial.cellMm : 10);
    (initial.cellMm > 0 ? scaled_ : fit_)->setChecked(true);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(scaled_);
    scaleRow->addWidget(cellMm_);
    auto* scale = new QVBoxLayout;
    scale->addWidget(fit_);
    scale->addLayout(scaleRow);
    const bool pages = output == PageSetup::Output::Pages;
    if (pages) {
        form->addRow(Utf8("Měřítko:"), scale);
    } else {
        for (QWidget* w : {static_cast<QWidget*>(fit_), static_cast<QWidget*>(scaled_),
                           static_cast<QWidget*>(cellMm_)})
            w->hide();
    }

    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("CB_Papir"));
    for (QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::A3, QPageSize::A2, QPageSize::A1, QPageSize::A0})
        paper_->addItem(QPageSize::name(id), int(id));
    paper_->setCurrentIndex(std::max(0, paper_->findData(int(initial.paper))));
    turn_ = new QComboBox(this);
    turn_->setObjectName(QStringLiteral("CB_Orientace"));
    turn_->addItem(Utf8("Podle oblasti"), int(PageSetup::Turn::Best));
    turn_->addItem(Utf8("Na výšku"), int(PageSetup::Turn::Portrait));
    turn_->addItem(Utf8("Na šířku"), int(PageSetup::Turn::Landscape));
    turn_->setCurrentIndex(std::max(0, turn_->findData(int(initial.turn))));
    if (pages) {
        form->addRow(Utf8("Papír:"), paper_);
        form->addRow(Utf8("Orientace:"), turn_);
    } else {
        paper_->hide();
        turn_->hide();
    }

    look_ = new QComboBox(this);
    look_->setObjectName(QStringLiteral("CB_Vzhled"));
    look_->addItem(Utf8("Černá na bílé"));
    look_->addItem(Utf8("Jako na obrazovce"));
    look_->setCurrentIndex(initial.screenColours ? 1 : 0);
    form->addRow(Utf8("Vzhled:"), look_);

    pictureCell_ = new QComboBox(this);
    pictureCell_->setObjectName(QStringLiteral("CB_PolickoPx"));
    pictureCell_->addItem(Utf8("Jako zobrazení"), 0);
    for (int px : {47, 24, 12})
        pictureCell_->addItem(QStringLiteral("%1 px").arg(px), px);
    pictureCell_->setCurrentIndex(std::max(0, pictureCell_->findData(initial.pictureCellPx)));
    if (output == PageSetup::Output::Picture)
        form->addRow(Utf8("Políčko obrázku:"), pictureCell_);
    else
        pictureCell_->hide();

    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("L_Vysledek"));
    result_->setTextFormat(Qt::PlainText);
    form->addRow(result_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    for (QComboBox* box : {area_, paper_, turn_, look_, pictureCell_})
        connect(box, &QComboBox::currentIndexChanged, this, &PageSetupDialog::Update);
    connect(fit_, &QRadioButton::toggled, this, &PageSetupDialog::Update);
    connect(cellMm_, &QDoubleSpinBox::valueChanged, this, &PageSetupDialog::Update);
    Update();
}

PageSetup PageSetupDialog::Setup() const {
    PageSetup s;
    s.area = PageSetup::Area(area_->currentData().toInt());
    s.cellMm = fit_->isChecked() ? 0 : cellMm_->value();
    s.paper = QPageSize::PageSizeId(paper_->currentData().toInt());
    s.turn = PageSetup::Turn(turn_->currentData().toInt());
    s.screenColours = look_->currentIndex() == 1;
    s.pictureCellPx = pictureCell_->currentData().toInt();
    return s;
}

void PageSetupDialog::Update() {
    cellMm_->setEnabled(scaled_->isChecked());
    if (summary_)
        result_->setText(summary_(Setup()));
}

} // namespace vedivez
