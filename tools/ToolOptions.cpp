#include "tools/ToolOptions.h"

#include "panel/Point.h"
#include "surface/Cp1250.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>

namespace vedivez {

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// "A,B,C" with exactly `count` integers, each within [low, high]; `range` says which values
// the option takes when one lies outside.
std::vector<int64_t> IntegerList(std::string_view text, size_t count, const char* option,
                                 int64_t low, int64_t high, const std::string& range) {
    std::vector<int64_t> values;
    bool outside = false;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::string_view part = Trimmed(
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        // from_chars takes a minus sign but no plus sign.
        const bool plus = !part.empty() && part.front() == '+';
        if (plus)
            part.remove_prefix(1);
        if (part.empty() || (plus && part.front() == '-'))
            break;
        int64_t v = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), v);
        if (end != part.data() + part.size() ||
            (error != std::errc() && error != std::errc::result_out_of_range))
            break;
        // A number too long for 64 bits is as much out of range as one just outside.
        outside |= error == std::errc::result_out_of_range || v < low || v > high;
        values.push_back(v);
        if (comma == std::string_view::npos) {
            if (values.size() != count)
                break;
            if (outside)
                throw UsageError(std::string(option) + " takes " + range);
            return values;
        }
        start = comma + 1;
    }
    throw UsageError(std::string(option) + " expects " + std::to_string(count) +
                     " comma-separated integers");
}

// The value that follows the option at options[i]; moves i onto it.
const std::string& OptionValue(const std::vector<std::string>& options, size_t& i) {
    if (i + 1 >= options.size())
        throw UsageError(options[i] + " needs a value");
    return options[++i];
}

} // namespace

RenderRequest ParseRenderOptions(const std::vector<std::string>& options) {
    RenderRequest request;
    request.inputs.options = ViewOptions{false, false, false, true};
    request.inputs.boxes = PositionFlags{};
    for (size_t i = 0; i < options.size(); ++i) {
        const std::string& a = options[i];
        auto value = [&]() -> const std::string& { return OptionValue(options, i); };
        if (a == "--view") {
            const auto v = IntegerList(value(), 4, "--view", INT32_MIN, INT32_MAX,
                                       "integers from -2147483648 to 2147483647");
            if (v[2] <= 0 || v[3] <= 0)
                throw UsageError("--view needs a positive width and height");
            request.view = ViewRect{v[0], v[1], v[2], v[3]};
        } else if (a == "--no-grid") {
            request.inputs.options.Grid = false;
        } else if (a == "--preview") {
            request.inputs.options.Preview = true;
            request.preview = ToCp1250(QString::fromLocal8Bit(value()));
        } else if (a == "--cursor") {
            const auto v =
                IntegerList(value(), 2, "--cursor", 0, kMaxCursorCell,
                            "a column and a row from 0 to " + std::to_string(kMaxCursorCell));
            request.cursorCol = int32_t(v[0]);
            request.cursorRow = int32_t(v[1]);
        } else if (a == "--corners") {
            const std::string& list = value();
            size_t start = 0;
            while (start <= list.size()) {
                const size_t comma = std::min(list.find(',', start), list.size());
                const std::string corner =
                    Cp1250UpperCase(Trimmed(std::string_view(list).substr(start, comma - start)));
                start = comma + 1;
                if (corner.empty())
                    continue;
                const std::optional<Point> point = PointOfCode(corner);
                if (!point || !IsCorner(*point))
                    throw UsageError("--corners takes LH, LD, PH and PD");
                request.inputs.boxes.Flag(*point) = true;
            }
        } else if (a == "--cursor-cell") {
            request.inputs.options.CursorCell = true;
            request.cursorInside = true;
        } else if (a == "--overlay") {
            request.inputs.options.Info = true;
        } else {
            throw UsageError("unknown option " + a);
        }
    }
    return request;
}

QRect RenderArea(const std::optional<ViewRect>& view, int64_t surfaceWidth, int64_t surfaceHeight) {
    if (!view)
        return QRect(0, 0, int(surfaceWidth), int(surfaceHeight));
    const int64_t x0 = std::max<int64_t>(view->x, 0);
    const int64_t y0 = std::max<int64_t>(view->y, 0);
    const int64_t x1 = std::min<int64_t>(view->x + view->width, surfaceWidth);
    const int64_t y1 = std::min<int64_t>(view->y + view->height, surfaceHeight);
    if (x1 <= x0 || y1 <= y0)
        throw UsageError("--view lies outside the panel's surface");
    return QRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0));
}

ExportOptions ParseExportOptions(const std::vector<std::string>& options, bool svg) {
    ExportOptions result;
    for (size_t i = 0; i < options.size(); ++i) {
        const std::string& a = options[i];
        auto value = [&]() -> const std::string& { return OptionValue(options, i); };
        auto pdfOnly = [&] {
            if (svg)
                throw UsageError(a + " applies to PDF output only");
        };
        if (a == "--screen") {
            result.screenColours = true;
        } else if (a == "--area") {
            const std::string& v = value();
            if (v != "used" && v != "panel")
                throw UsageError("--area takes used or panel");
            result.wholePanel = v == "panel";
        } else if (a == "--page") {
            pdfOnly();
            const std::string v = Cp1250UpperCase(value());
            const struct {
                const char* name;
                QPageSize::PageSizeId id;
            } sizes[] = {{"A4", QPageSize::A4},
                         {"A3", QPageSize::A3},
                         {"A2", QPageSize::A2},
                         {"A1", QPageSize::A1},
                         {"A0", QPageSize::A0}};
            const auto it = std::find_if(std::begin(sizes), std::end(sizes),
                                         [&](const auto& s) { return v == s.name; });
            if (it == std::end(sizes))
                throw UsageError("--page takes A4, A3, A2, A1 or A0");
            result.page = it->id;
        } else if (a == "--landscape" || a == "--portrait") {
            pdfOnly();
            const auto wanted = a == "--landscape" ? ExportOptions::Orientation::Landscape
                                                   : ExportOptions::Orientation::Portrait;
            if (result.orientation != ExportOptions::Orientation::Best &&
                result.orientation != wanted)
                throw UsageError("--portrait and --landscape exclude each other");
            result.orientation = wanted;
        } else if (a == "--cell-mm") {
            pdfOnly();
            bool ok = false;
            result.cellMm = QString::fromLocal8Bit(value()).toDouble(&ok);
            // Written so that NaN fails too.
            if (!ok || !(result.cellMm >= kMinCellMm && result.cellMm <= kMaxCellMm))
                throw UsageError("--cell-mm takes a size in millimetres from 0.01 to 1000");
        } else {
            throw UsageError("unknown option " + a);
        }
    }
    return result;
}

} // namespace vedivez
