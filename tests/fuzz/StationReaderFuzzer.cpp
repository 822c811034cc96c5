// Feeds arbitrary bytes to the station reader. Either the whole file is accepted, and then
// writing the panel and reading it back gives the same panel, or it is refused, and then the
// panel and the window are exactly as before. A reader that decides long lines before their
// end (after a few bytes here) must come to the same result as one that reads them whole.
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"

#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

using namespace vedivez;

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

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

// Fills a panel with a little content so that "untouched" means something.
void Prepare(HeadlessPanel& p) {
    p.document.SetSize(44, 33);
    p.panel.SelectedName = "KOL_sLSPH";
    p.panel.PlaceElementAt(100, 100, false);
    p.panel.PlaceElementAt(5, 5, false);
    p.document.Bind("/before.reru", Document::State::Modified);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Require(Read(bytes, 8, 5) == Read(bytes, StationReader::kLongLine, bytes.size() + 1));

    HeadlessPanel p;
    Prepare(p);
    const auto elementsBefore = p.panel.Elements();
    const int heightBefore = p.document.Rows(), widthBefore = p.document.Cols();

    StationContent content;
    try {
        // Splitting the input in two exercises lines that straddle chunks.
        StationReader reader;
        reader.Feed(bytes.substr(0, size / 2));
        reader.Feed(bytes.substr(size / 2));
        content = reader.Finish();
    } catch (const ConversionError& e) {
        Require(e.Line() >= 1);
        Require(p.panel.Elements() == elementsBefore);
        Require(p.document.Rows() == heightBefore && p.document.Cols() == widthBefore);
        Require(p.document.FilePath() == "/before.reru");
        return 0;
    }
    Require(content == ReadStationData(bytes));

    p.document.Apply(std::move(content));
    const std::string saved =
        EncodeStation(p.panel.Elements(), p.document.Rows(), p.document.Cols());

    HeadlessPanel again;
    again.document.Apply(ReadStationData(saved));
    Require(again.panel.Elements() == p.panel.Elements());
    Require(again.document.Rows() == p.document.Rows());
    Require(again.document.Cols() == p.document.Cols());
    Require(EncodeStation(again.panel.Elements(), again.document.Rows(), again.document.Cols()) ==
            saved);
    // The cell index must agree with a plain scan of the list.
    for (size_t i = 0; i < p.panel.Elements().size() && i < 64; ++i) {
        const TPolePanelu& e = p.panel.Elements()[i];
        size_t first = 0;
        while (p.panel.Elements()[first].X != e.X || p.panel.Elements()[first].Y != e.Y)
            ++first;
        Require(p.panel.FindElementAt(e.X, e.Y) == first);
    }
    return 0;
}
