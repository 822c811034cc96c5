#include "panel/StationFile.h"

#include "panel/Conversions.h"
#include "panel/FileAccess.h"
#include "panel/StationFormat.h"
#include "surface/Cp1250.h"

#include <array>

namespace vedivez {

namespace {

// The constant text of an element line, made once from the format: what comes before the
// column, between the fields up to the name, and after the name, where the flags of each of
// the 256 sets of points are one text with the line's end. A million lines then take a
// handful of appends each.
struct ElementLineText {
    std::string beforeX, beforeY, beforeName;
    std::array<std::string, size_t(1) << kPointCount> flagsAndEnd;

    ElementLineText() {
        auto key = [](size_t field) {
            return kFieldSeparator + std::string(kElementFields[field].key);
        };
        beforeX = std::string(FormatOf(LineKind::Element).name) + key(kFieldX);
        beforeY = key(kFieldY);
        beforeName = key(kFieldName);
        for (uint32_t points = 0; points < flagsAndEnd.size(); ++points) {
            std::string& text = flagsAndEnd[points];
            for (Point p : kAllPoints)
                text +=
                    key(FlagField(p)) + std::string(points & PointBit(p) ? kTrueText : kFalseText);
            text += kLineEnd;
        }
    }
};

} // namespace

std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height, int32_t width) {
    static const ElementLineText element;
    std::string out;
    size_t estimate = 160;
    for (const TPolePanelu& e : elements)
        estimate += 120 + e.NAME.size();
    out.reserve(estimate);
    for (const LineFormat& line : kLineFormats) {
        switch (line.kind) {
        case LineKind::Height:
        case LineKind::Width:
            out += line.name;
            out += kFieldSeparator;
            AppendInteger(out, line.kind == LineKind::Height ? height : width);
            out += kLineEnd;
            break;
        case LineKind::Station:
        case LineKind::Author:
        case LineKind::Version:
        case LineKind::Description:
            out += line.name;
            out += kFieldSeparator;
            out += kStationInfoText;
            out += kLineEnd;
            break;
        case LineKind::Element:
            for (const TPolePanelu& e : elements) {
                out += element.beforeX;
                AppendInteger(out, e.X);
                out += element.beforeY;
                AppendInteger(out, e.Y);
                out += element.beforeName;
                out += e.NAME;
                out += element.flagsAndEnd[e.Flags()];
            }
            break;
        }
    }
    return out;
}

StationContent ReadStationFile(const std::string& nativePath, int64_t firstLine) {
    StationReader reader(SystemDecimalSeparator(), StationReader::kLongLine, firstLine);
    ReadFileChunks(
        nativePath, [&reader](std::string_view chunk) { return reader.Feed(chunk); },
        [&reader] { return reader.CurrentLine(); },
        [&reader](int64_t size) { reader.ReserveForBytes(size); });
    return reader.Finish();
}

QString UnknownLinesNotice(const LoadReport& report) {
    const int64_t n = report.unknown.count;
    if (n == 0 || report.unknown.listed.empty())
        return {};
    const QString quoted = FromCp1250(MessageExcerpt(report.unknown.firstText));
    const qint64 first = report.unknown.listed.front().line;
    // Czech counts: 1 řádek, 2 to 4 řádky, 5 and more řádků.
    if (n == 1)
        return QString::fromUtf8("Soubor obsahuje 1 řádek neznámého druhu (řádek %1: „%2“). "
                                 "Editor ho nenačetl a při uložení ho nezapíše.")
            .arg(first)
            .arg(quoted);
    const char* lines = n <= 4 ? "řádky" : "řádků";
    return QString::fromUtf8("Soubor obsahuje %1 %2 neznámého druhu (první je řádek %3: „%4“). "
                             "Editor je nenačetl a při uložení je nezapíše.")
        .arg(qint64(n))
        .arg(QString::fromUtf8(lines))
        .arg(first)
        .arg(quoted);
}

} // namespace vedivez
