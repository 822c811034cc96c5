#include "tools/LintReport.h"

#include "panel/Point.h"
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

LintReport::LintReport(const std::vector<LintFinding>& findings,
                       const StationContent::UnknownLines& unknownLines, bool strict)
    : findings_(findings), unknownLines_(unknownLines), strict_(strict) {
    problems_ = unknownLines_.count;
    for (const LintFinding& f : findings_)
        (SeverityOf(f) == LintSeverity::Problem ? problems_ : notes_) += 1;
}

LintSeverity LintReport::SeverityOf(const LintFinding& f) const {
    return strict_ ? LintSeverity::Problem : LintSeverityOf(f.kind);
}

template <typename F> void LintReport::ForEachOf(LintSeverity severity, F&& fn) const {
    for (const LintFinding& f : findings_)
        if (SeverityOf(f) == severity)
            fn(f);
}

int64_t LintReport::Unlisted() const {
    return unknownLines_.count - int64_t(unknownLines_.listed.size());
}

std::string LintReport::UnknownLineMessage(const StationContent::UnknownLine& line) {
    return "unknown line kind \"" + FromCp1250(MessageExcerpt(line.kind)).toStdString() +
           "\" is ignored and not saved";
}

std::string LintReport::UnlistedLinesMessage() const {
    const int64_t n = Unlisted();
    return std::to_string(n) + (n == 1 ? " more line" : " more lines") +
           " of an unknown kind, up to line " + std::to_string(unknownLines_.lastLine) +
           (n == 1 ? ", is" : ", are") + " ignored and not saved";
}

namespace {

// "1 problem", "2 problems".
std::string Counted(int64_t n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// The line after which the unlisted lines of an unknown kind start.
int64_t FirstUnlistedLine(const StationContent::UnknownLines& lines) {
    return lines.listed.empty() ? 1 : lines.listed.back().line + 1;
}

} // namespace

void LintReport::WriteText(std::ostream& out) const {
    Output output(out);
    Utf8Names names;
    for (const StationContent::UnknownLine& line : unknownLines_.listed)
        output.Text() +=
            "line " + std::to_string(line.line) + ": " + UnknownLineMessage(line) + "\n";
    if (Unlisted() > 0)
        output.Text() += "line " + std::to_string(FirstUnlistedLine(unknownLines_)) + ": " +
                         UnlistedLinesMessage() + "\n";
    auto write = [&](const LintFinding& f, const char* mark) {
        std::string& text = output.Text();
        text += std::to_string(f.col);
        text += ',';
        text += std::to_string(f.row);
        text += ' ';
        text += names.Of(f.name);
        text += ": ";
        text += mark;
        AppendLintMessage(text, f); // ASCII
        text += '\n';
    };
    ForEachOf(LintSeverity::Problem, [&](const LintFinding& f) { write(f, ""); });
    ForEachOf(LintSeverity::Note, [&](const LintFinding& f) { write(f, "note: "); });
    if (problems_ == 0 && notes_ == 0)
        output.Text() += "no findings\n";
    else
        output.Text() += Counted(problems_, "problem") + ", " + Counted(notes_, "note") + "\n";
}

void LintReport::WriteJson(std::ostream& out) const {
    Output output(out);
    Utf8Names names;
    std::string message;
    output.Text() += "{\"findings\": [";
    const char* separator = "\n  ";
    auto writeLine = [&](int64_t line, const std::string& text) {
        std::string& json = output.Text();
        json += separator;
        json += "{\"line\": " + std::to_string(line) +
                ", \"col\": null, \"row\": null, \"name\": null, \"point\": null, "
                "\"kind\": \"unknown-line\", \"severity\": \"problem\", \"message\": ";
        AppendJsonString(json, text);
        json += '}';
        separator = ",\n  ";
    };
    for (const StationContent::UnknownLine& line : unknownLines_.listed)
        writeLine(line.line, UnknownLineMessage(line));
    if (Unlisted() > 0)
        writeLine(FirstUnlistedLine(unknownLines_), UnlistedLinesMessage());
    auto write = [&](const LintFinding& f) {
        std::string& text = output.Text();
        text += separator;
        text += "{\"col\": " + std::to_string(f.col) + ", \"row\": " + std::to_string(f.row) +
                ", \"name\": ";
        AppendJsonString(text, names.Of(f.name));
        text += ", \"point\": ";
        if (f.point < 0)
            text += "null";
        else
            AppendJsonString(text, FactsOf(Point(f.point)).code);
        text += ", \"kind\": \"";
        text += LintKindName(f.kind);
        text += "\", \"severity\": \"";
        text += LintSeverityName(SeverityOf(f));
        text += "\", \"message\": ";
        message.clear();
        AppendLintMessage(message, f);
        AppendJsonString(text, message);
        text += '}';
        separator = ",\n  ";
    };
    ForEachOf(LintSeverity::Problem, write);
    ForEachOf(LintSeverity::Note, write);
    output.Text() += problems_ == 0 && notes_ == 0 ? "]}\n" : "\n]}\n";
}

} // namespace vedivez
