#include "panel/StationFile.h"

#include "panel/CellIndexBuilder.h"
#include "panel/Conversions.h"
#include "panel/FileAccess.h"
#include "panel/PanelErrors.h"
#include "panel/StringHelpers.h"
#include "surface/Cp1250.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

template <typename Fields>
void ParseFields(const Fields& fields, StationContent& content, char sep) {
    if (fields.empty())
        return;
    const std::string_view kind = fields[0];
    if (kind == "SET_Vyska")
        SetSize(content, true, ToInteger(FieldAfterKey(fields, 1, 0)));
    if (kind == "SET_Sirka")
        SetSize(content, false, ToInteger(FieldAfterKey(fields, 1, 0)));
    if (kind == "PRUSVITKA") {
        // Filled in place: a failing conversion takes the half-filled record out again.
        TPolePanelu& e = content.elements.emplace_back();
        try {
            e.X = ToInteger(FieldAfterKey(fields, 1, 2));
            e.Y = ToInteger(FieldAfterKey(fields, 2, 2));
            e.NAME.assign(FieldAfterKey(fields, 3, 5));
            e.Cont_LH = ToBoolean(FieldAfterKey(fields, 4, 8), sep);
            e.Cont_LS = ToBoolean(FieldAfterKey(fields, 5, 8), sep);
            e.Cont_LD = ToBoolean(FieldAfterKey(fields, 6, 8), sep);
            e.Cont_SH = ToBoolean(FieldAfterKey(fields, 7, 8), sep);
            e.Cont_SD = ToBoolean(FieldAfterKey(fields, 8, 8), sep);
            e.Cont_PH = ToBoolean(FieldAfterKey(fields, 9, 8), sep);
            e.Cont_PS = ToBoolean(FieldAfterKey(fields, 10, 8), sep);
            e.Cont_PD = ToBoolean(FieldAfterKey(fields, 11, 8), sep);
        } catch (...) {
            content.elements.pop_back();
            throw;
        }
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
        prefaulter_->Filled(uintptr_t(elements.data() + elements.size()));
}

void StationReader::ParseLine(std::string_view line) {
    // A CR before the LF belongs to the line end; any other CR is dropped from the line.
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (!SplitPlainLine(line, ';', fields_)) {
        cleaned_.clear();
        for (char c : line)
            if (c != '\r')
                cleaned_.push_back(c);
        SplitStringViews(";", cleaned_, 0, fields_);
    }
    ParseFieldsOfLine();
}

void StationReader::ParseFieldsOfLine() {
    try {
        ParseStationFields(fields_, content_, separator_);
    } catch (const ConversionError& e) {
        throw e.AtLine(CurrentLine());
    }
    NoteUnknownKind();
}

void StationReader::NoteUnknownKind() {
    if (fields_.empty())
        return;
    const std::string_view kind = fields_.front();
    for (std::string_view known : {"PRUSVITKA", "SET_Vyska", "SET_Sirka", "SET_Stanice",
                                   "SET_Autor", "SET_Verze", "SET_Popis"})
        if (kind == known)
            return;
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

size_t StationReader::ScanLines(std::string_view data) {
    // One pass over the chunk finds every byte that matters: field and line ends, and the CR
    // and NUL bytes that send a line to the general path. Plain lines are cut on the fly.
    const char* p = data.data();
    const size_t n = data.size();
    size_t lineStart = 0;
    size_t fieldStart = 0;
    bool plain = true;
    fields_.clear();
    auto handle = [&](size_t j) {
        const char c = p[j];
        if (c == ';') {
            if (plain)
                fields_.emplace_back(p + fieldStart, j - fieldStart);
            fieldStart = j + 1;
        } else if (c == '\n') {
            if (plain) {
                const size_t end = (j > lineStart && p[j - 1] == '\r') ? j - 1 : j;
                if (fieldStart < end)
                    fields_.emplace_back(p + fieldStart, end - fieldStart);
                ParseFieldsOfLine();
            } else {
                ParseLine(std::string_view(p + lineStart, j - lineStart));
            }
            ++line_;
            lineStart = fieldStart = j + 1;
            plain = true;
            fields_.clear();
        } else if (c == '\r') {
            // Only the CR of a CR LF pair keeps the line plain.
            if (j + 1 >= n || p[j + 1] != '\n')
                plain = false;
        } else { // NUL
            plain = false;
        }
    };
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i semicolon = _mm_set1_epi8(';');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, semicolon), _mm_cmpeq_epi8(v, lf)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, nul)));
        unsigned mask = unsigned(_mm_movemask_epi8(hits));
        while (mask != 0) {
            handle(i + size_t(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < n; ++i) {
        const char c = p[i];
        if (c == ';' || c == '\n' || c == '\r' || c == '\0')
            handle(i);
    }
    return lineStart;
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
    const size_t tail = ScanLines(data);
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

namespace {

// How a field of a line is used: not at all, converted, or kept as text.
enum class FieldUse { Ignored, Integer, Boolean, Text };

struct FieldRole {
    FieldUse use;
    size_t keyLength; // characters cut off before the value
};

// What ParseFields does with field `index` of a line whose first field is `kind`.
FieldRole RoleOf(std::string_view kind, size_t index) {
    if (kind == "SET_Vyska" || kind == "SET_Sirka")
        return index == 1 ? FieldRole{FieldUse::Integer, 0} : FieldRole{FieldUse::Ignored, 0};
    if (kind == "PRUSVITKA") {
        if (index == 1 || index == 2)
            return {FieldUse::Integer, 2};
        if (index == 3)
            return {FieldUse::Text, 5};
        if (index >= 4 && index <= 11)
            return {FieldUse::Boolean, 8};
    }
    return {FieldUse::Ignored, 0};
}

// Fields after which a line of this kind uses nothing.
size_t FieldsUsed(std::string_view kind) {
    if (kind == "SET_Vyska" || kind == "SET_Sirka")
        return 2;
    return kind == "PRUSVITKA" ? 12 : 0;
}

bool CouldBeKind(std::string_view start) {
    for (std::string_view kind : {"SET_Vyska", "SET_Sirka", "PRUSVITKA"})
        if (kind.substr(0, start.size()) == start)
            return true;
    return false;
}

} // namespace

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
        const size_t semicolon = cleaned_.find(';', start);
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
    if (cut || (open == 0 ? !CouldBeKind(kind) : open >= FieldsUsed(kind))) {
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
        const FieldRole role = RoleOf(kind, index);
        std::string_view value = fields[index];
        value = value.size() <= role.keyLength ? std::string_view() : value.substr(role.keyLength);
        if (!complete && value.size() <= kMessageExcerptLimit)
            return true;
        switch (role.use) {
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

StationContent ReadStationData(std::string_view data, char decimalSeparator) {
    StationReader reader(decimalSeparator);
    reader.Feed(data);
    return reader.Finish();
}

std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height, int32_t width) {
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
#if defined(MADV_POPULATE_WRITE)
    // Mapping the list's fresh pages costs the parser about a quarter of its time on a big
    // file. A helper thread asks the kernel to map them ahead: that only fills in page
    // tables and never touches the memory's contents, so it cannot race the parser's
    // writes. If the list ever outgrows this room, the old range is freed and the request
    // just fails or maps pages nobody reads.
    const size_t bytes = content_.elements.capacity() * sizeof(TPolePanelu);
    if (bytes >= (size_t(8) << 20)) {
        const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
        const uintptr_t from = (uintptr_t(content_.elements.data()) + page - 1) & ~(page - 1);
        const uintptr_t to = (uintptr_t(content_.elements.data()) + bytes) & ~(page - 1);
        if (to > from)
            prefaulter_ = std::make_unique<Prefaulter>(from, to);
    }
#endif
}

StationReader::Prefaulter::Prefaulter(uintptr_t from, uintptr_t to)
    : to_(to), filled_(from), thread_([this, from] { Run(from); }) {}

StationReader::Prefaulter::~Prefaulter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void StationReader::Prefaulter::Filled(uintptr_t upTo) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        filled_ = std::max(filled_, upTo);
    }
    wake_.notify_one();
}

void StationReader::Prefaulter::Run(uintptr_t mapped) {
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    while (mapped < to_) {
        uintptr_t target;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return done_ || std::min(to_, filled_ + kAhead) > mapped; });
            if (done_)
                return;
            target = std::min(to_, filled_ + kAhead) & ~(page - 1);
        }
        if (target <= mapped)
            continue;
#if defined(MADV_POPULATE_WRITE)
        (void)::madvise(reinterpret_cast<void*>(mapped), target - mapped, MADV_POPULATE_WRITE);
#endif
        mapped = target;
    }
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
