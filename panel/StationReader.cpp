#include "panel/StationReader.h"

#include "panel/CellIndexBuilder.h"
#include "panel/Conversions.h"
#include "panel/LineScanner.h"
#include "panel/PagePrefaulter.h"
#include "panel/PanelErrors.h"
#include "panel/StationFormat.h"
#include "panel/StringHelpers.h"
#include "surface/Cp1250.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vedivez {

namespace {

constexpr char kEndOfFile = 0x1A;

// The value of field `index` of a line (the kind is field 0) that is read as `field`: the
// field without its key; empty when the line has no such field.
std::string_view FieldValue(const std::vector<std::string_view>& fields, size_t index,
                            const FieldFormat& field) {
    if (index >= fields.size())
        return {};
    const std::string_view f = fields[index];
    // The key is not compared, only cut off by its length.
    return f.size() <= field.key.size() ? std::string_view() : f.substr(field.key.size());
}

// The writer's own forms decided inline; anything else goes through the full conversion.
int32_t ToInteger(std::string_view text) {
    if (!text.empty() && text.size() <= 9) {
        size_t i = text[0] == '-' ? 1 : 0;
        if (i < text.size()) {
            int32_t value = 0;
            for (; i < text.size(); ++i) {
                const unsigned d = unsigned(text[i]) - '0';
                if (d > 9)
                    return ParseInteger(text);
                value = value * 10 + int32_t(d);
            }
            return text[0] == '-' ? -value : value;
        }
    }
    return ParseInteger(text);
}

bool ToBoolean(std::string_view text, char sep) {
    if (text.size() == 1 && text[0] == '0')
        return false;
    if (text.size() == 2 && text[0] == '-' && text[1] == '1')
        return true;
    return ParseBoolean(text, sep);
}

// Records a size line. Applying a value again that the same size was last set to changes
// nothing (the two sizes are independent), so such a repeat is not kept: a file of a
// hundred million identical size lines then needs no list of them.
void SetSize(StationContent& content, bool height, int32_t value) {
    for (auto it = content.sizes.rbegin(); it != content.sizes.rend(); ++it)
        if (it->height == height) {
            if (it->value == value)
                return;
            break;
        }
    content.sizes.push_back({height, value});
}

// Applies the fields of one line to `content`: size lines record their value, element lines
// append a record, every other line does nothing. Missing fields read as empty text. Returns
// the line's format, null for a kind the format does not know. Throws ConversionError
// (without a line number).
const LineFormat* ParseFields(const std::vector<std::string_view>& fields, StationContent& content,
                              char sep) {
    if (fields.empty())
        return nullptr;
    const LineFormat* format = FindLineFormat(fields[0]);
    if (!format)
        return nullptr;
    // The fields of each kind straight from their tables, so that the keys' lengths are
    // known when this is compiled.
    auto value = [&](const auto& formats, size_t field) {
        return FieldValue(fields, field + 1, formats[field]);
    };
    switch (format->kind) {
    case LineKind::Height:
    case LineKind::Width:
        SetSize(content, format->kind == LineKind::Height, ToInteger(value(kSizeFields, 0)));
        break;
    case LineKind::Element: {
        // Filled in place: a failing conversion takes the half-filled record out again.
        TPolePanelu& e = content.elements.emplace_back();
        try {
            e.X = ToInteger(value(kElementFields, kFieldX));
            e.Y = ToInteger(value(kElementFields, kFieldY));
            e.NAME.assign(value(kElementFields, kFieldName));
            for (Point p : kAllPoints)
                e.Flag(p) = ToBoolean(value(kElementFields, FlagField(p)), sep);
        } catch (...) {
            content.elements.pop_back();
            throw;
        }
        break;
    }
    case LineKind::Station:
    case LineKind::Author:
    case LineKind::Version:
    case LineKind::Description:
        break;
    }
    return format;
}

} // namespace

StationReader::StationReader(char decimalSeparator, size_t longLine, int64_t firstLine)
    : separator_(decimalSeparator), longLine_(std::max<size_t>(longLine, 1)), nextJudge_(longLine_),
      line_(firstLine - 1) {}

StationReader::~StationReader() = default;

void StationReader::PublishCells() {
    const std::vector<TPolePanelu>& elements = content_.elements;
    if (elements.size() == published_)
        return;
    if (!indexer_)
        // The list's room is sized for the shortest element lines; typical lines are about
        // a quarter longer, and a table sized for too many cells costs memory and time.
        indexer_ = std::make_unique<CellIndexBuilder>(
            std::min<size_t>(elements.capacity() / 5 * 4, size_t(1) << 22));
    CellIndexBuilder::Cells cells;
    cells.reserve(elements.size() - published_);
    for (size_t i = published_; i < elements.size(); ++i)
        cells.emplace_back(elements[i].X, elements[i].Y);
    published_ = elements.size();
    indexer_->Add(std::move(cells));
    if (prefaulter_)
        prefaulter_->Filled(elements.data() + elements.size());
}

void StationReader::ParseLine(std::string_view line) {
    // A CR before the LF belongs to the line end; any other CR is dropped from the line.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!SplitPlainLine(line, kFieldSeparator, fields_)) {
        cleaned_.clear();
        for (char c : line)
            if (c != '\r')
                cleaned_.push_back(c);
        SplitStringViews(std::string_view(&kFieldSeparator, 1), cleaned_, 0, fields_);
    }
    ParseFieldsOfLine();
}

void StationReader::ParseFieldsOfLine() {
    const LineFormat* format;
    try {
        format = ParseFields(fields_, content_, separator_);
    } catch (const ConversionError& e) {
        throw e.AtLine(CurrentLine());
    }
    NoteUnknownKind(format);
}

void StationReader::NoteUnknownKind(const LineFormat* format) {
    if (format || fields_.empty())
        return;
    const std::string_view kind = fields_.front();
    // A line of spaces and tabs is blank, not a line of some other kind.
    if (fields_.size() == 1 && kind.find_first_not_of(" \t") == std::string_view::npos)
        return;
    const size_t quoted = kMessageExcerptLimit + 1;
    StationContent::UnknownLines& unknown = content_.unknown;
    ++unknown.count;
    unknown.lastLine = CurrentLine();
    if (unknown.listed.size() < StationContent::UnknownLines::kListed)
        unknown.listed.push_back({CurrentLine(), std::string(kind.substr(0, quoted))});
    if (unknown.count > 1)
        return;
    std::string& text = unknown.firstText;
    for (size_t i = 0; i < fields_.size() && text.size() < quoted; ++i) {
        if (i > 0)
            text += ';';
        text.append(fields_[i].substr(0, quoted - std::min(quoted, text.size())));
    }
}

bool StationReader::Feed(std::string_view data) {
    if (ended_)
        return false;
    if (data.empty())
        return true;
    const void* eof = std::memchr(data.data(), kEndOfFile, data.size());
    if (eof != nullptr) {
        data = data.substr(0, size_t(static_cast<const char*>(eof) - data.data()));
        ended_ = true;
    }
    if (skipping_) {
        const void* lf = std::memchr(data.data(), '\n', data.size());
        if (lf == nullptr)
            return !ended_;
        skipping_ = false;
        ++line_;
        data.remove_prefix(size_t(static_cast<const char*>(lf) - data.data()) + 1);
    } else if (!pending_.empty()) {
        // Finish a line that the previous chunk left open.
        const void* lf = std::memchr(data.data(), '\n', data.size());
        if (lf == nullptr) {
            pending_.append(data);
            if (pending_.size() >= nextJudge_)
                JudgeLongLine();
            return !ended_;
        }
        const size_t end = size_t(static_cast<const char*>(lf) - data.data());
        pending_.append(data.data(), end);
        ParseLine(pending_);
        LineDone();
        data.remove_prefix(end + 1);
    }
    // One pass over the chunk cuts its complete lines into fields.
    const size_t tail = ScanLines(
        data, fields_,
        [this] {
            ParseFieldsOfLine();
            ++line_;
        },
        [this](std::string_view line) {
            ParseLine(line);
            ++line_;
        });
    pending_.assign(data.substr(tail));
    if (pending_.size() >= nextJudge_)
        JudgeLongLine();
    PublishCells();
    return !ended_;
}

void StationReader::LineDone() {
    pending_.clear();
    nextJudge_ = longLine_;
    ++line_;
}

void StationReader::SkipRestOfLine() {
    pending_.clear();
    // Give the memory of a huge line back now rather than with the reader.
    if (pending_.capacity() > longLine_)
        std::string().swap(pending_);
    nextJudge_ = longLine_;
    skipping_ = true;
}

void StationReader::JudgeLongLine() {
    // The line as it will be split: lone CRs dropped, cut at a NUL. Every field but the last
    // is complete; the last is still arriving.
    cleaned_.clear();
    bool cut = false;
    for (char c : pending_) {
        if (c == '\0') {
            cut = true;
            break;
        }
        if (c != '\r')
            cleaned_.push_back(c);
    }
    nextJudge_ = pending_.size() * 2;

    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t semicolon = cleaned_.find(kFieldSeparator, start);
        if (semicolon == std::string::npos) {
            fields.emplace_back(std::string_view(cleaned_).substr(start));
            break;
        }
        fields.emplace_back(std::string_view(cleaned_).substr(start, semicolon - start));
        start = semicolon + 1;
    }
    const size_t open = fields.size() - 1;
    const std::string_view kind = fields[0];

    // The rest of the line cannot change what it does: everything after a NUL is cut off,
    // and the fields after those a kind uses are ignored.
    const LineFormat* format = open == 0 ? nullptr : FindLineFormat(kind);
    if (cut || (open == 0 ? !CouldNameReadKind(kind) : !format || open >= FieldsRead(*format))) {
        ParseLine(pending_);
        SkipRestOfLine();
        return;
    }
    if (open == 0)
        return;

    // A complete field that does not convert fails the line as it will when it ends, and so
    // does a value that has grown past what a message quotes and can no longer convert.
    // Then the message is known already, the quoted part being all there.
    auto converts = [&](size_t index, bool complete) {
        const FieldFormat field = FieldOf(*format, index);
        const std::string_view value = FieldValue(fields, index, field);
        if (!complete && value.size() <= kMessageExcerptLimit)
            return true;
        switch (field.use) {
        case FieldUse::Integer:
            return complete ? TryParseInteger(value).has_value() : IntegerStillPossible(value);
        case FieldUse::Boolean:
            return complete ? TryParseBoolean(value, separator_).has_value()
                            : BooleanStillPossible(value, separator_);
        case FieldUse::Ignored:
        case FieldUse::Text:
            break;
        }
        return true;
    };
    bool fails = !converts(open, false);
    for (size_t i = 1; i < open && !fails; ++i)
        fails = !converts(i, true);
    if (!fails)
        return;
    // Parsing what has arrived now throws the line's error.
    fields_ = std::move(fields);
    ParseFieldsOfLine();
    throw std::logic_error("a station line judged to fail did not");
}

StationContent StationReader::Finish() {
    if (skipping_) {
        skipping_ = false;
        ++line_;
    } else if (!pending_.empty()) {
        ParseLine(pending_);
        LineDone();
    }
    PublishCells();
    if (indexer_)
        content_.index = indexer_->Finish();
    prefaulter_.reset();
    // The room reserved from the file's size assumed a file of element lines; a file of
    // mostly other lines would leave most of it unused for as long as the panel is open.
    // Typical element lines fill about four fifths of it, which is kept as it is.
    std::vector<TPolePanelu>& elements = content_.elements;
    if (elements.capacity() - elements.size() > elements.size() / 2 + 1024) {
        elements.shrink_to_fit();
        if (content_.index)
            content_.index->ShrinkToFit();
    }
    return std::move(content_);
}

void StationReader::ReserveForBytes(int64_t fileSize) {
    // An element line takes at least about a hundred bytes, so this never over-reserves
    // much and spares the list its repeated growth on big files.
    // Capped so that a huge file of other content does not claim memory up front; the list
    // still grows as needed beyond it. Only the pages the elements read so far need, and a
    // window ahead of them, are ever mapped; Finish gives back what was not used.
    constexpr int64_t kMaxReserved = int64_t(1) << 24;
    if (fileSize <= 0)
        return;
    content_.elements.reserve(size_t(std::min(fileSize / 100, kMaxReserved)));
    // Mapping the list's fresh pages costs the parser about a quarter of its time on a big
    // file, so a helper maps them ahead. If the list ever outgrows this room, the old range
    // is freed and the requests just fail or map pages nobody reads.
    prefaulter_ = PagePrefaulter::For(content_.elements.data(),
                                      content_.elements.capacity() * sizeof(TPolePanelu));
}

StationContent ReadStationData(std::string_view data, char decimalSeparator) {
    StationReader reader(decimalSeparator);
    reader.Feed(data);
    return reader.Finish();
}

} // namespace vedivez
