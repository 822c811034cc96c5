#include "app/Palette.h"

#include "app/BevelPanel.h"
#include "app/ErrorHandler.h"
#include "panel/PanelState.h"
#include "panel/TileDescriptions.h"
#include "panel/TileImages.h"
#include "surface/Cp1250.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vedivez {

namespace {

// One tile page: its component and caption, its frame, and the pictures with their left
// edges (all at top 7).
struct TilePage {
    const char* component;
    const char* caption;
    const char* frame;
    int frameLeft;
    std::vector<std::pair<int, const char*>> pictures;
};

const std::vector<TilePage>& TilePages() {
    static const std::vector<TilePage> pages = {
        {"SH_PRIME",
         "Přímé koleje",
         "RamecekVolby_KOL",
         3,
         {{7, "KOL_sLSPS"},
          {61, "KOL_sLDPH"},
          {115, "KOL_sSDSH"},
          {169, "KOL_sLHPD"},
          {223, "KOL_sLDPS"},
          {277, "KOL_sSDPH"},
          {331, "KOL_sSHPD"},
          {385, "KOL_sLHPS"},
          {439, "KOL_sLSPH"},
          {493, "KOL_sLDSH"},
          {547, "KOL_sLHSD"},
          {600, "KOL_sLSPD"},
          {654, "KRI_sLSPS_sSDSH"},
          {707, "KRI_sLDPH_sLHPD"}}},
        {"SH_VYHYBKY1",
         "Výhybky 1",
         "RamecekVolby_VYH1",
         4,
         {{8, "VYH_sLSPS_sLDPS"},
          {61, "VYH_sLDPH_sSDPH"},
          {115, "VYH_sSDSH_sPDSH"},
          {169, "VYH_sLHPD_sLHPS"},
          {223, "VYH_sLSPS_sLSPH"},
          {277, "VYH_sLDPH_sLDSH"},
          {331, "VYH_sSDSH_sSDLH"},
          {385, "VYH_sLSPD_sLHPD"},
          {439, "ANG_sLSPS_sLHPD_sLSPD_sLHPS"},
          {493, "ANG_sLDPH_sSDSH_sLDSH_sSDLH"},
          {547, "ANG_sLSPS_sLDPH_sLSPH_sLDPS"},
          {600, "ANG_sLHPD_sSDSH_sLHSD_sSHPD"}}},
        {"SH_VYHYBKY2",
         "Výhybky 2",
         "RamecekVolby_VYH2",
         4,
         {{8, "VYH_sLSPS_sLHPS"},
          {61, "VYH_sLHPD_sSHPD"},
          {115, "VYH_sSDSH_sSDPH"},
          {169, "VYH_sLDPH_sLDPS"},
          {223, "VYH_sLSPS_sLSPD"},
          {277, "VYH_sLHPD_sLHSD"},
          {331, "VYH_sSDSH_sLDSH"},
          {385, "VYH_sLDPH_sLSPH"},
          {439, "OBO_sLHPS_sLDPS"},
          {493, "OBO_sLDSH_sPDSH"},
          {547, "OBO_sLSPH_sLSPD"},
          {600, "OBO_sSDLH_sSDPH"},
          {654, "OBO_sLSPD_sSHPD"},
          {708, "OBO_sLDSH_sLDPS"},
          {762, "OBO_sLHSD_sLHPS"},
          {815, "OBO_sLSPH_sSDPH"}}},
        {"SH_HRANICE",
         "Šturc + hranice KO",
         "RamecekVolby_HKO",
         4,
         {{8, "KOZ_sLS"},
          {61, "KOZ_sSD"},
          {115, "KOZ_sPS"},
          {169, "KOZ_sSH"},
          {223, "KOZ_sPD"},
          {277, "KOZ_sPH"},
          {331, "KOZ_sLH"},
          {385, "KOZ_sLD"},
          {439, "HKO_sLSPS"},
          {493, "HKO_sSDSH"},
          {547, "HKO_sLHPD"},
          {600, "HKO_sLDPH"}}},
    };
    return pages;
}

constexpr int kPictureTop = 7;
constexpr int kFrameTop = 3;
constexpr int kFrameSize = 55;
constexpr int kFramePen = 4;
// The frames' outline, 0x00BBGGRR 0xFF8000: red 0, green 128, blue 255.
const QColor kFrameColor(0, 128, 255);

// The selection frame of a tile page: an unfilled outline that lets clicks through.
class SelectionFrame : public QFrame {
public:
    SelectionFrame(const QString& name, QWidget* parent) : QFrame(parent) {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, kFrameTop, kFrameSize, kFrameSize);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        for (int i = 0; i < kFramePen; ++i) {
            p.setPen(kFrameColor);
            p.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
        }
    }
};

// A black-and-white tile picture with its white pixels made transparent.
QPixmap TransparentWhite(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = 0;
    }
    return QPixmap::fromImage(image);
}

// Keeps the wheel from turning the pages of a tab bar: a page change selects that page's
// first tile (and "Ostatní" hides the panel), so it must come from a click or the keyboard,
// never from a wheel meant for the panel below.
class NoWheelPaging : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Wheel)
            return false;
        event->accept();
        return true;
    }
};

QLabel* Label(const QString& name, const QString& text, int left, int top, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TilePicture::TilePicture(const QString& name, const QImage& picture, QWidget* parent)
    : QLabel(parent) {
    setObjectName(name);
    setPixmap(TransparentWhite(picture));
    setFixedSize(picture.size());
    // The double slips look like crossings; the tooltip says what each picture is.
    setToolTip(TileDescription(name.toStdString()));
}

void TilePicture::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // A click is a left press and release over the picture.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Palette::Palette(PanelState& panel, ErrorHandler& errors, QWidget* window) : panel_(panel) {
    sortiment_ = new BevelPanel(QStringLiteral("P_Sortiment"), BevelPanel::Style::Double, window);
    pages_ = new QTabWidget(sortiment_);
    pages_->setObjectName(QStringLiteral("PC_Sortiment"));
    // The panel's own margins keep the pages inside its bevel; the layout adds none.
    auto* layout = new QVBoxLayout(sortiment_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);
    close_ = PanelCloseButton(QStringLiteral("B_ZavritPanelSortiment"), sortiment_);
    close_->raise();

    left_ = new BevelPanel(QStringLiteral("P_Levy"), BevelPanel::Style::Double, window);
    left_->setFixedWidth(145);
    BuildPages(errors);
    BuildLeftPanel();
    leftClose_ = PanelCloseButton(QStringLiteral("Button1"), left_);
    leftClose_->move(125, 2);
    leftClose_->raise();

    for (QTabWidget* tabs : {pages_, left_->findChild<QTabWidget*>()})
        tabs->tabBar()->installEventFilter(new NoWheelPaging(tabs));
    QObject::connect(pages_, &QTabWidget::currentChanged, pages_, [this, &errors](int index) {
        errors.Guard([&] { PC_SortimentChange(index); });
    });
}

void Palette::BuildPages(ErrorHandler& errors) {
    std::map<std::string, QImage> images;
    for (auto& [name, image] : PalettePictures())
        images[name] = image;
    int index = 0;
    for (const TilePage& tiles : TilePages()) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(tiles.component));
        auto* frame = new SelectionFrame(QString::fromLatin1(tiles.frame), page);
        frame->move(tiles.frameLeft, kFrameTop);
        frames_.push_back(frame);
        for (const auto& [left, name] : tiles.pictures) {
            const QString qname = QString::fromLatin1(name);
            auto* picture = new TilePicture(qname, images.at(name), page);
            picture->move(left, kPictureTop);
            pictures_[qname] = picture;
            if (!firstOfPage_.count(index))
                firstOfPage_[index] = picture;
            QObject::connect(picture, &TilePicture::clicked, picture, [this, &errors, picture] {
                errors.Guard([&] { SelectTile(picture); });
            });
        }
        pages_->addTab(page, QString::fromUtf8(tiles.caption));
        ++index;
    }

    auto* processing = new QWidget;
    processing->setObjectName(QStringLiteral("SH_ZPRACOVANI"));
    auto* panel5 = new QWidget(processing);
    panel5->setObjectName(QStringLiteral("Panel5"));
    auto* processingLayout = new QVBoxLayout(processing);
    processingLayout->setContentsMargins(0, 0, 0, 0);
    processingLayout->addWidget(panel5);
    auto* panel5Layout = new QVBoxLayout(panel5);
    panel5Layout->setContentsMargins(8, 8, 8, 8);
    panel5Layout->addStretch(1);
    Label(QStringLiteral("Label1"), QString::fromUtf8("Počkejte prosím"), 8, 8, panel5);
    auto* progress = new QProgressBar(panel5);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setFixedHeight(17);
    progress->setTextVisible(false);
    progress->setValue(0);
    panel5Layout->addWidget(progress);
    pages_->addTab(processing, QString::fromUtf8("Zpracování souboru"));

    auto* options = new QWidget;
    options->setObjectName(QStringLiteral("TabSheet1"));
    pages_->addTab(options, QString::fromUtf8("Volby (průsvity, tlačítka)"));

    other_ = new QWidget;
    other_->setObjectName(QStringLiteral("SH_OSTATNI"));
    pages_->addTab(other_, QString::fromUtf8("Ostatní"));
    pages_->setCurrentIndex(0);
}

void Palette::BuildLeftPanel() {
    auto* settings = new QTabWidget(left_);
    settings->setObjectName(QStringLiteral("PC_Nastaveni"));
    auto* layout = new QVBoxLayout(left_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(settings);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    settings->addTab(page, QString::fromUtf8("Dělení KO v rozích"));

    chosen_ = new QLabel(page);
    chosen_->setObjectName(QStringLiteral("ZvolenaKolej"));
    chosen_->setGeometry(22, 23, 47, 47);
    chosen_->setPixmap(pictures_.at(QStringLiteral("KOL_sLSPS"))->pixmap());
    chosen_->setToolTip(pictures_.at(QStringLiteral("KOL_sLSPS"))->toolTip());

    // The boxes stand around the picture at the point each one controls.
    const struct {
        const char* name;
        int left, top, width;
        bool on;
        const char* caption;
    } boxes[8] = {
        {"CH_Poloha_LH", 10, 8, 15, false, ""},  {"CH_Poloha_LS", 9, 39, 16, true, ""},
        {"CH_Poloha_LD", 8, 69, 15, false, ""},  {"CH_Poloha_SH", 40, 8, 13, false, "CH_Poloha_SH"},
        {"CH_Poloha_SD", 39, 70, 13, false, ""}, {"CH_Poloha_PH", 68, 7, 25, false, ""},
        {"CH_Poloha_PS", 68, 38, 25, true, ""},  {"CH_Poloha_PD", 68, 69, 17, false, ""},
    };
    for (int i = 0; i < 8; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(boxes[i].caption), page);
        box->setObjectName(QString::fromLatin1(boxes[i].name));
        box->setGeometry(boxes[i].left, boxes[i].top, boxes[i].width, 17);
        box->setChecked(boxes[i].on);
        box->setEnabled(boxes[i].on);
        boxes_[i] = box;
    }

    dragBox_ = new QCheckBox(QStringLiteral("CB_Tazeni"), page);
    dragBox_->setObjectName(QStringLiteral("CB_Tazeni"));
    dragBox_->setGeometry(8, 96, 97, 17);
    Label(QStringLiteral("Label4"), QString::fromUtf8("Počátek"), 8, 120, page);
    dragStart_ = Label(QStringLiteral("L_Pocatek"), QStringLiteral("0x0"), 56, 120, page);
    Label(QStringLiteral("Label6"), QStringLiteral("Konec"), 8, 136, page);
    dragEnd_ = Label(QStringLiteral("L_Konec"), QStringLiteral("0x0"), 56, 136, page);
    // The position texts grow to "188000x188000" at most.
    for (QLabel* label : {dragStart_, dragEnd_})
        label->setMinimumWidth(80);
}

TilePicture* Palette::Picture(const QString& name) const {
    const auto it = pictures_.find(name);
    return it == pictures_.end() ? nullptr : it->second;
}

void Palette::SelectTile(TilePicture* picture) {
    const int left = picture->x() - 4;
    for (QFrame* frame : frames_)
        frame->move(left, frame->y());
    panel_.SelectedName = ToCp1250(picture->objectName());
    emit tileSelected(picture->objectName());
    chosen_->setPixmap(picture->pixmap());
    chosen_->setToolTip(picture->toolTip());
    ApplyTileFlags();
}

PositionFlags Palette::TileNameFlags(const std::string& name) {
    return PositionFlags::Of(PointsInName(name));
}

void Palette::ApplyTileFlags() {
    const PositionFlags f = TileNameFlags(panel_.SelectedName);
    for (Point p : kAllPoints)
        boxes_[size_t(p)]->setChecked(f.Flag(p));
    for (QCheckBox* box : boxes_)
        box->setEnabled(box->isChecked());
}

void Palette::PC_SortimentChange(int index) {
    const bool other = pages_->widget(index) == other_;
    left_->setVisible(!other);
    emit drawingAreaShown(!other);
    ResetPaletteSelection();
}

void Palette::ResetPaletteSelection() {
    for (QFrame* frame : frames_)
        frame->move(3, frame->y());
    const auto first = firstOfPage_.find(pages_->currentIndex());
    if (first != firstOfPage_.end())
        SelectTile(first->second);
    emit tileSelected(FromCp1250(panel_.SelectedName));
}

PositionFlags Palette::PositionBoxes() const {
    PositionFlags f;
    for (Point p : kAllPoints)
        f.Flag(p) = boxes_[size_t(p)]->isChecked();
    return f;
}

} // namespace vedivez
