// Lines far longer than any the editor writes: a value of millions of digits must fail as
// fast as a short one, and deciding a line before its end must give exactly what reading
// the whole line gives.
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <variant>

using namespace vedivez;
using vedivez::test::WriteBytes;

namespace {

const std::string kFlags =
    ";Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0";

// The content a reader gives, or its error's message and line.
using Outcome = std::variant<StationContent, std::pair<std::string, int>>;

Outcome Read(std::string_view bytes, size_t longLine, size_t chunk) {
    try {
        StationReader reader('.', longLine);
        for (size_t at = 0; at < bytes.size(); at += chunk)
            if (!reader.Feed(bytes.substr(at, chunk)))
                break;
        return reader.Finish();
    } catch (const ConversionError& e) {
        return std::make_pair(std::string(e.what()), e.Line());
    }
}

std::string Describe(const Outcome& o) {
    if (const auto* error = std::get_if<1>(&o))
        return "error at line " + std::to_string(error->second) + ": " + error->first.substr(0, 80);
    const StationContent& c = std::get<0>(o);
    return std::to_string(c.sizes.size()) + " sizes, " + std::to_string(c.elements.size()) +
           " elements";
}

} // namespace

// 200 MB of digits after "SET_Vyska;" are refused after the first megabyte read.
TEST(LongLinesTest, HugeNumberIsRefusedWithoutReadingItAll) {
    StationReader reader;
    reader.Feed("SET_Sirka;20\r\nSET_Vyska;");
    const std::string digits(size_t(1) << 20, '9');
    int fed = 0;
    try {
        for (; fed < 200; ++fed)
            reader.Feed(digits);
        FAIL() << "200 MB of digits were read";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + std::string(39, '9') + "\x85' is not a valid integer value");
        EXPECT_EQ(e.Line(), 2);
    }
    EXPECT_LE(fed, 1);
}

// Through the file, as the editor opens it: the message is short, the panel unchanged.
TEST(LongLinesTest, HugeBadValueInAFileGivesAShortMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.reru"));
    WriteBytes(path,
               "SET_Vyska;12\r\nPRUSVITKA;X=1;Y=" + std::string(30'000'000, '7') + kFlags + "\r\n");
    HeadlessPanel h;
    h.document.Bind("/old.reru", Document::State::Modified);
    try {
        h.document.Load(path);
        FAIL() << "loaded";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'" + std::string(39, '7') + "\x85' is not a valid integer value");
        EXPECT_EQ(e.Line(), 2);
    }
    EXPECT_EQ(h.panel.Elements().size(), 0u);
    EXPECT_EQ(h.document.Rows(), 50);
    EXPECT_EQ(h.document.ShownPath(), QStringLiteral("/old.reru"));
}

// Lines looked at early (every few bytes here) end exactly as lines read whole: the same
// panel, or the same message at the same line, whatever the chunks.
TEST(LongLinesTest, DecidingEarlyGivesWhatTheWholeLineGives) {
    const std::string many9 = std::string(60, '9');
    const std::string crs = "9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9"
                            "\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9\r9";
    const std::string cases[] = {
        "SET_Vyska;" + many9 + "\r\nSET_Sirka;30\r\n",
        "SET_Vyska;" + std::string(100, ' ') + "15\r\nSET_Sirka;30\r\n",
        "SET_Vyska;" + std::string(100, '0') + "17\r\nSET_Sirka;30",
        "SET_Vyska;-" + std::string(100, '0') + "2147483648\r\n",
        "SET_Sirka;" + crs + "\r\n",
        "SET_Sirka;" + std::string(50, ' ') + "x\r\n",
        "SET_Vyska;50;" + std::string(200, 'x') + "\r\nSET_Sirka;30\r\n",
        "SET_Vyska;50\r\n" + std::string(300, 'x') + "\r\nSET_Sirka;30\r\n",
        "SET_Vy\rska;12" + std::string(80, '\r') + "\r\n",
        "SET_Vyska;12" + std::string(1, '\0') + std::string(100, 'x') + "\r\nSET_Sirka;30\r\n",
        "SET_Vyska;" + std::string(30, '9') + std::string(1, '\0') + many9 + "\r\n",
        "SET_Vyska;" + std::string(30, '9') + "\x1a" + many9 + "\r\n",
        "SET_Vyska;" + many9 + "\x1a",
        "SET_Vyska;" + std::string(41, ' '),
        "PRUSVITKA;X=1;Y=2;NAME=" + std::string(300, 'N') + kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=2;NAME=" + std::string(300, 'N') + ";Cont_LH=maybe" + kFlags + "\r\n",
        "PRUSVITKA;X=" + many9 + ";Y=2;NAME=A" + kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=y;NAME=" + std::string(300, 'N') + kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=2;NAME=A;Cont_LH=" + std::string(100, '1') + kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=2;NAME=A;Cont_LH=" + std::string(100, '1') + "x" + kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=2;NAME=A;Cont_LH=0;Cont_LS=" + std::string(60, ' ') + "1" + kFlags,
        "PRUSVITKA;X=1;Y=2;NAME=A" + kFlags + ";" + std::string(300, 'z') + "\r\nSET_Vyska;40\r\n",
        "PRUSVITKA;X=1;Y=2;NAME=A;Cont_LH=" + std::string(45, '0') + "e" + std::string(45, '5') +
            kFlags + "\r\n",
        "PRUSVITKA;X=1;Y=2\r\n" + std::string(100, ';') +
            "\r\nPRUSVITKA;X=" + std::string(50, '1') + "\r\n",
    };
    for (const std::string& bytes : cases) {
        const Outcome whole = Read(bytes, StationReader::kLongLine, bytes.size());
        for (size_t longLine : {size_t(1), size_t(16), size_t(64)}) {
            for (size_t chunk : {size_t(1), size_t(7), size_t(64)}) {
                const Outcome early = Read(bytes, longLine, chunk);
                EXPECT_EQ(early, whole) << Describe(early) << " instead of " << Describe(whole)
                                        << " (line after " << longLine << " bytes, chunks of "
                                        << chunk << ") for: " << bytes.substr(0, 60);
            }
        }
    }
}
