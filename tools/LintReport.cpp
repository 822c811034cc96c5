#include "tools/LintReport.h"

#include "surface/Cp1250.h"

#include <cstdio>
#include <ostream>
#include <string_view>
#include <unordered_map>

namespace vedivez {

namespace {

// UTF-8 of Windows-1250 names: ASCII passes as it is, others are converted once each, so
// a million findings of a handful of names cost a handful of conversions.
class Utf8Names {
public:
    const std::string& Of(const std::string& cp1250) {
        bool ascii = true;
        for (const char c : cp1250)
            ascii &= static_cast<unsigned char>(c) < 0x80;
        if (ascii)
            return cp1250;
        auto it = converted_.find(cp1250);
        if (it == converted_.end())
            it = converted_.emplace(cp1250, FromCp1250(cp1250).toStdString()).first;
        return it->second;
    }

private:
    std::unordered_map<std::string, std::string> converted_;
};

// Appends a JSON string literal of UTF-8 text.
void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
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
    out += '"';
}

// Collects output and hands it on in large pieces.
class Output {
public:
    explicit Output(std::ostream& out) : out_(out) {}
    ~Output() { Flush(); }
    std::string& Text() {
        if (text_.size() > (1u << 20))
            Flush();
        return text_;
    }
    void Flush() {
        out_.write(text_.data(), std::streamsize(text_.size()));
        text_.clear();
    }

private:
    std::ostream& out_;
    std::string text_;
};

} // namespace

std::string LintReport::UnknownLineMessage(const StationContent::UnknownLine& line) {
    return "unknown line kind \"" + FromCp1250(MessageExcerpt(line.kind)).toStdString() +
           "\" is ignored and not saved";
}

void LintReport::WriteText(std::ostream& out) const {
    Output output(out);
    Utf8Names names;
    for (const StationContent::UnknownLine& line : unknownLines_)
        output.Text() +=
            "line " + std::to_string(line.line) + ": " + UnknownLineMessage(line) + "\n";
    for (const LintFinding& f : findings_) {
        std::string& text = output.Text();
        text += std::to_string(f.col);
        text += ',';
        text += std::to_string(f.row);
        text += ' ';
        text += names.Of(f.name);
        text += ": ";
        AppendLintMessage(text, f); // ASCII
        text += '\n';
    }
    const size_t total = findings_.size() + unknownLines_.size();
    if (total == 0)
        output.Text() += "no findings\n";
    else
        output.Text() += std::to_string(total) + " findings\n";
}

void LintReport::WriteJson(std::ostream& out) const {
    Output output(out);
    Utf8Names names;
    std::string message;
    output.Text() += "{\"findings\": [";
    const char* separator = "\n  ";
    for (const StationContent::UnknownLine& line : unknownLines_) {
        std::string& text = output.Text();
        text += separator;
        text += "{\"line\": " + std::to_string(line.line) +
                ", \"col\": null, \"row\": null, \"name\": null, \"point\": null, "
                "\"kind\": \"unknown-line\", \"message\": ";
        AppendJsonString(text, UnknownLineMessage(line));
        text += '}';
        separator = ",\n  ";
    }
    for (const LintFinding& f : findings_) {
        std::string& text = output.Text();
        text += separator;
        text += "{\"col\": " + std::to_string(f.col) + ", \"row\": " + std::to_string(f.row) +
                ", \"name\": ";
        AppendJsonString(text, names.Of(f.name));
        text += ", \"point\": ";
        if (f.point < 0)
            text += "null";
        else
            AppendJsonString(text, LintPointCodes()[size_t(f.point)]);
        text += ", \"kind\": \"";
        text += LintKindName(f.kind);
        text += "\", \"message\": ";
        message.clear();
        AppendLintMessage(message, f);
        AppendJsonString(text, message);
        text += '}';
        separator = ",\n  ";
    }
    output.Text() += findings_.empty() && unknownLines_.empty() ? "]}\n" : "\n]}\n";
}

} // namespace vedivez
