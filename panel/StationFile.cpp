#include "panel/StationFile.h"

#include "panel/Conversions.h"
#include "panel/DocumentTexts.h"
#include "panel/FileAccess.h"
#include "panel/PanelErrors.h"
#include "panel/PanelState.h"
#include "panel/PanelWindow.h"
#include "panel/StringHelpers.h"

#include <cstring>

namespace vedivez {

namespace {

constexpr char kEndOfFile = 0x1A;

template <typename Fields>
std::string_view FieldAfterKey(const Fields& fields, size_t index, size_t keyLength) {
    if (index >= fields.size())
        return {};
    std::string_view f = fields[index];
    // The key is not compared, only cut off by its length.
    return f.size() <= keyLength ? std::string_view() : f.substr(keyLength);
}

template <typename Fields>
void ParseFields(const Fields& fields, StationContent& content, char sep) {
    if (fields.empty())
        return;
    const std::string_view kind = fields[0];
    if (kind == "SET_Vyska")
        content.sizes.push_back({true, ParseInteger(FieldAfterKey(fields, 1, 0))});
    if (kind == "SET_Sirka")
        content.sizes.push_back({false, ParseInteger(FieldAfterKey(fields, 1, 0))});
    if (kind == "PRUSVITKA") {
        TPolePanelu e;
        e.X = ParseInteger(FieldAfterKey(fields, 1, 2));
        e.Y = ParseInteger(FieldAfterKey(fields, 2, 2));
        e.NAME = std::string(FieldAfterKey(fields, 3, 5));
        bool* flags[] = {&e.Cont_LH, &e.Cont_LS, &e.Cont_LD, &e.Cont_SH,
                         &e.Cont_SD, &e.Cont_PH, &e.Cont_PS, &e.Cont_PD};
        for (size_t k = 0; k < 8; ++k)
            *flags[k] = ParseBoolean(FieldAfterKey(fields, 4 + k, 8), sep);
        content.elements.push_back(std::move(e));
    }
}

} // namespace

void ParseStationLine(const std::vector<std::string>& fields, StationContent& content,
                      char decimalSeparator) {
    ParseFields(fields, content, decimalSeparator);
}

void ParseStationFields(const std::vector<std::string_view>& fields, StationContent& content,
                        char decimalSeparator) {
    ParseFields(fields, content, decimalSeparator);
}

StationReader::StationReader(char decimalSeparator) : separator_(decimalSeparator) {}

void StationReader::ParseLine(std::string_view line) {
    // A CR before the LF belongs to the line end; any other CR is dropped from the line.
    if (line.find('\r') != std::string_view::npos) {
        cleaned_.clear();
        for (char c : line)
            if (c != '\r')
                cleaned_.push_back(c);
        line = cleaned_;
    }
    SplitStringViews(";", line, 0, fields_);
    try {
        ParseStationFields(fields_, content_, separator_);
    } catch (const ConversionError& e) {
        throw e.AtLine(CurrentLine());
    }
}

bool StationReader::Feed(std::string_view data) {
    if (ended_)
        return false;
    const void* eof = std::memchr(data.data(), kEndOfFile, data.size());
    if (eof != nullptr) {
        data = data.substr(0, size_t(static_cast<const char*>(eof) - data.data()));
        ended_ = true;
    }
    size_t pos = 0;
    while (pos < data.size()) {
        const void* lf = std::memchr(data.data() + pos, '\n', data.size() - pos);
        if (lf == nullptr)
            break;
        const size_t end = size_t(static_cast<const char*>(lf) - data.data());
        if (pending_.empty()) {
            ParseLine(data.substr(pos, end - pos));
        } else {
            pending_.append(data.data() + pos, end - pos);
            ParseLine(pending_);
            pending_.clear();
        }
        ++line_;
        pos = end + 1;
    }
    pending_.append(data.data() + pos, data.size() - pos);
    return !ended_;
}

StationContent StationReader::Finish() {
    if (!pending_.empty()) {
        ParseLine(pending_);
        pending_.clear();
        ++line_;
    }
    return std::move(content_);
}

StationContent ReadStationData(std::string_view data, char decimalSeparator) {
    StationReader reader(decimalSeparator);
    reader.Feed(data);
    return reader.Finish();
}

std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height,
                          int32_t width) {
    std::string out;
    size_t estimate = 160;
    for (const TPolePanelu& e : elements)
        estimate += 120 + e.NAME.size();
    out.reserve(estimate);
    out += "SET_Vyska;";
    AppendInteger(out, height);
    out += "\r\nSET_Sirka;";
    AppendInteger(out, width);
    out += "\r\nSET_Stanice;<Nazev stanice>\r\n"
           "SET_Autor;<Nazev stanice>\r\n"
           "SET_Verze;<Nazev stanice>\r\n"
           "SET_Popis;<Nazev stanice>\r\n";
    auto flag = [&out](const char* key, bool value) {
        out += key;
        out += value ? "-1" : "0";
    };
    for (const TPolePanelu& e : elements) {
        out += "PRUSVITKA;X=";
        AppendInteger(out, e.X);
        out += ";Y=";
        AppendInteger(out, e.Y);
        out += ";NAME=";
        out += e.NAME;
        flag(";Cont_LH=", e.Cont_LH);
        flag(";Cont_LS=", e.Cont_LS);
        flag(";Cont_LD=", e.Cont_LD);
        flag(";Cont_SH=", e.Cont_SH);
        flag(";Cont_SD=", e.Cont_SD);
        flag(";Cont_PH=", e.Cont_PH);
        flag(";Cont_PS=", e.Cont_PS);
        flag(";Cont_PD=", e.Cont_PD);
        out += "\r\n";
    }
    return out;
}

QString FileNamePart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

void SaveStation(const QString& path, const PanelState& panel, StationWindow& window) {
    const std::string data =
        EncodeStation(panel.Elements(), window.HeightValue(), window.WidthValue());
    WriteFileAtomically(path, data);
    window.SetStatusPath(path);
    window.SetCaption(AppTitle() + QStringLiteral(" - ") + FileNamePart(path));
    window.SetDocumentState(StateSaved());
}

void ApplyStation(StationContent content, PanelState& panel, StationWindow& window) {
    for (const StationContent::SizeSetting& s : content.sizes) {
        if (s.height)
            window.SetHeightValue(s.value);
        else
            window.SetWidthValue(s.value);
    }
    panel.ReplaceElements(std::move(content.elements));
}

void LoadStation(const QString& path, PanelState& panel, StationWindow& window) {
    StationReader reader(SystemDecimalSeparator());
    ReadFileChunks(
        path, [&reader](std::string_view chunk) { return reader.Feed(chunk); },
        [&reader] { return reader.CurrentLine(); });
    ApplyStation(reader.Finish(), panel, window);
    window.SetStatusPath(path);
    window.SetCaption(AppTitle() + QStringLiteral(" - ") + FileNamePart(path));
    window.SetDocumentState(StateLoaded());
}

} // namespace vedivez
