#include "tools/LintReport.h"

#include "panel/Cp1250.h"

#include <cstdio>
#include <ostream>

namespace vedivez {

namespace {

std::string Utf8(const std::string& cp1250) {
    return FromCp1250(cp1250).toStdString();
}

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

} // namespace

void LintReport::WriteText(std::ostream& out) const {
    for (const LintFinding& f : findings_)
        out << f.col << "," << f.row << " " << Utf8(f.name) << ": " << Utf8(f.message) << "\n";
    if (findings_.empty())
        out << "no findings\n";
    else
        out << findings_.size() << " findings\n";
}

void LintReport::WriteJson(std::ostream& out) const {
    out << "{\"findings\": [";
    const char* separator = "\n  ";
    for (const LintFinding& f : findings_) {
        out << separator << "{\"col\": " << f.col << ", \"row\": " << f.row
            << ", \"name\": " << JsonString(Utf8(f.name)) << ", \"point\": "
            << (f.point < 0 ? std::string("null") : JsonString(LintPointCodes()[size_t(f.point)]))
            << ", \"kind\": \"" << LintKindName(f.kind)
            << "\", \"message\": " << JsonString(Utf8(f.message)) << "}";
        separator = ",\n  ";
    }
    out << (findings_.empty() ? "]}\n" : "\n]}\n");
}

} // namespace vedivez
