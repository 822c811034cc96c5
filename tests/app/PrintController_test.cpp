#include "AppTestSupport.h"

#include "app/CheckController.h"
#include "app/FileCommands.h"
#include "app/PrintController.h"
#include "support/TestSupport.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace vedivez::test {
namespace {

// A station of `cols` columns with a track element in the first and in column `lastX`.
QString TwoElements(const QString& path, int cols, int lastX) {
    std::string s = "SET_Vyska;10\r\nSET_Sirka;" + std::to_string(cols) + "\r\n";
    for (int x : {0, lastX})
        s += "PRUSVITKA;X=" + std::to_string(x) +
             ";Y=0;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;"
             "Cont_PS=-1;Cont_PD=0\r\n";
    WriteBytes(path, s);
    return path;
}

class PrintControllerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QByteArray Read(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Export(const QString& path, std::initializer_list<bool> answers = {}) {
        log->fileAnswers.push_back(path);
        for (bool a : answers)
            log->confirmAnswers.push_back(a);
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    QTemporaryDir dir;
};

// The file's type follows its name, or the first type (PDF) for a name without one; an
// existing file is replaced only when the user agrees, and a refusal leaves it as it was.
TEST_F(PrintControllerTest, ExportWritesTheNamedTypeAndAsksBeforeReplacing) {
    window->Files().Open(TwoElements(dir.filePath("s.reru"), 20, 5).toStdString());
    const struct {
        const char* typed;
        const char* written;
        QByteArray starts;
        bool exists, replace;
    } cases[] = {
        {"plan", "plan.pdf", "%PDF", false, false},
        {"plan.SVG", "plan.SVG", "<?xml", false, false},
        {"obrazek.png", "obrazek.png", "\x89PNG", false, false},
        {"plan", "plan.pdf", "old", true, false},
        {"plan", "plan.pdf", "%PDF", true, true},
    };
    for (const auto& c : cases) {
        const QString written = dir.filePath(QString::fromLatin1(c.written));
        if (c.exists)
            WriteBytes(written, "old");
        else
            QFile::remove(written);
        const qsizetype questions = log->questions.size();
        Export(dir.filePath(QString::fromLatin1(c.typed)), {c.replace});
        EXPECT_EQ(log->questions.size() - questions, c.exists ? 1 : 0) << c.typed;
        EXPECT_TRUE(Read(written).startsWith(c.starts))
            << c.typed << ": " << Read(written).left(8).toStdString();
        EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
        log->confirmAnswers.clear();
    }
}

// A PNG picture larger than the format holds is offered at the largest cell that fits; no
// cut-off picture is ever written, and declining writes nothing.
TEST_F(PrintControllerTest, TooLargePngOffersTheLargestCellThatFits) {
    const QString station = TwoElements(dir.filePath("wide.reru"), 1100, 1000);
    window->Files().Open(station.toStdString());
    // Cells 0 … 1001 and rows 0 … 1: 47,094 pixels wide at the editor's own size.
    const QString png = dir.filePath("wide.png");
    Export(png, {false});
    EXPECT_EQ(log->questions.size(), 1);
    EXPECT_FALSE(QFile::exists(png));
    Export(png, {true});
    EXPECT_EQ(QImage(png).size(), QSize(1002 * 32, 2 * 32));
    // A cell size chosen in "Vzhled stránky" that fits is drawn without a question.
    log->pageSetup = [](PageSetup& setup) { setup.pictureCellPx = 12; };
    Export(png, {true}); // replace the file
    EXPECT_EQ(log->questions.size(), 3);
    EXPECT_EQ(QImage(png).size(), QSize(1002 * 12, 2 * 12));
}

// With the connection check on, the picture carries its marks where the view shows them:
// red at the open track ends and orange where the track leaves the panel; with it off, the
// picture has none of either.
TEST_F(PrintControllerTest, ExportCarriesTheCheckMarksWhileTheCheckIsOn) {
    window->Files().Open(TwoElements(dir.filePath("s.reru"), 20, 5).toStdString());
    log->pageSetup = [](PageSetup& setup) { setup.pictureCellPx = 47; };
    const auto count = [](const QImage& image, QRgb colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    };
    const QRgb red = ToQRgb(kOpenEndColour), orange = ToQRgb(kLeavesPanelColour);
    for (bool on : {false, true}) {
        window->Checks().Check().SetActive(on);
        const QString png = dir.filePath(on ? "on.png" : "off.png");
        Export(png);
        const QImage image(png);
        ASSERT_FALSE(image.isNull()) << on;
        // Three open ends (column 0 towards column 1, both ends of column 5) and one end
        // leaving the panel at column 0.
        EXPECT_EQ(count(image, red) > 0, on);
        EXPECT_EQ(count(image, orange) > 0, on);
        if (on)
            EXPECT_GT(count(image, red), 2 * count(image, orange));
    }
}

} // namespace
} // namespace vedivez::test
