#pragma once

#include "panel/CellIndex.h"
#include "panel/TPolePanelu.h"

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vedivez {

class CellIndexBuilder;

// A station file read into memory but not yet applied to the panel.
struct StationContent {
    // The panel-size lines in file order: each entry sets the height (true) or the width.
    struct SizeSetting {
        bool height;
        int32_t value;
        friend bool operator==(const SizeSetting&, const SizeSetting&) = default;
    };
    std::vector<SizeSetting> sizes;
    std::vector<TPolePanelu> elements;
    // The cell index of `elements`, when the reader built it alongside.
    std::optional<CellIndex> index;
    // Lines of a kind the reader does not know (not blank, a first field other than the
    // seven kinds of the format): skipped in reading, and a save does not write them. A file
    // can hold millions of them, so only their count, the first few and the first one's text
    // are kept.
    struct UnknownLine {
        int64_t line;     // 1-based
        std::string kind; // the first field, cut to what a message quotes
        friend bool operator==(const UnknownLine&, const UnknownLine&) = default;
    };
    struct UnknownLines {
        // How many of them are listed one by one.
        static constexpr size_t kListed = 100;
        int64_t count = 0;
        std::vector<UnknownLine> listed; // the first kListed, in file order
        int64_t lastLine = 0;            // the line number of the last one
        std::string firstText;           // the first one's text, cut to what a message quotes
    };
    UnknownLines unknown;

    friend bool operator==(const StationContent& a, const StationContent& b) {
        return a.sizes == b.sizes && a.elements == b.elements;
    }
};

// Applies the fields of one line to `content`: size lines record their value, element
// lines append a record, every other line does nothing. Missing fields read as empty text.
// Throws ConversionError (without a line number).
void ParseStationLine(const std::vector<std::string>& fields, StationContent& content,
                      char decimalSeparator = '.');
void ParseStationFields(const std::vector<std::string_view>& fields, StationContent& content,
                        char decimalSeparator = '.');

// Cuts a byte stream into lines (LF or CR LF ends a line, a lone CR is dropped, 0x1A ends
// the file, the last line may lack its end) and parses each one into a StationContent.
//
// A line is normally read whole before it is parsed, but a line that grows past
// `longLine` bytes is looked at as it arrives: once what has come decides it (a value that
// can no longer convert, or a line whose remaining bytes are ignored anyway), it is applied
// or refused at once and the rest of it is skipped unread. So a value of millions of
// digits fails as fast as a short one, with the same message.
class StationReader {
public:
    static constexpr size_t kLongLine = size_t(64) << 10;

    // `firstLine` is the number the first line fed gets: 1 for a whole file.
    explicit StationReader(char decimalSeparator = '.', size_t longLine = kLongLine,
                           int64_t firstLine = 1);
    ~StationReader();
    // Returns false once the end-of-file byte was seen; later data is ignored.
    bool Feed(std::string_view data);
    // Prepares room for the elements of a file of this many bytes.
    void ReserveForBytes(int64_t fileSize);
    // Parses a last line that had no line end. The element list keeps no more room than
    // what was read needs, whatever the file's size suggested.
    StationContent Finish();
    // 1-based number of the line being read.
    int64_t CurrentLine() const { return line_ + 1; }

private:
    void ParseLine(std::string_view line);
    void ParseFieldsOfLine();
    // Remembers the line just parsed when its kind is none the format knows.
    void NoteUnknownKind();
    // Decides the unfinished line in pending_ early where what has arrived allows it.
    void JudgeLongLine();
    // The unfinished line was applied early: drop its remaining bytes.
    void SkipRestOfLine();
    // Starts a new line after the one in pending_ was parsed.
    void LineDone();
    // Hands the cells of the elements read since the last call to the index builder.
    void PublishCells();
    // Parses the complete lines of a chunk; returns where its unfinished last line starts.
    size_t ScanLines(std::string_view data);

    char separator_;
    size_t longLine_;
    size_t nextJudge_;
    bool skipping_ = false; // the current line was decided; its bytes up to the LF are ignored
    bool ended_ = false;
    int64_t line_ = 0; // lines completed so far, counted from the first line's number
    std::string pending_;
    std::string cleaned_;
    std::vector<std::string_view> fields_;
    StationContent content_;
    std::unique_ptr<CellIndexBuilder> indexer_;
    // Maps the reserved list's pages on a helper thread, a window ahead of the elements read
    // so far, so that a big file of few elements maps no more than the window.
    class Prefaulter {
    public:
        Prefaulter(uintptr_t from, uintptr_t to);
        ~Prefaulter();
        // The list is filled up to this address.
        void Filled(uintptr_t upTo);

    private:
        static constexpr uintptr_t kAhead = uintptr_t(64) << 20;
        void Run(uintptr_t mapped);
        const uintptr_t to_;
        uintptr_t filled_;
        bool done_ = false;
        std::mutex mutex_;
        std::condition_variable wake_;
        std::thread thread_;
    };
    std::unique_ptr<Prefaulter> prefaulter_;
    size_t published_ = 0;
};

// Reads a whole station from memory (all-or-nothing; nothing is applied anywhere).
StationContent ReadStationData(std::string_view data, char decimalSeparator = '.');

// The file's bytes for a panel: size lines, station-information placeholders, one line per
// element in list order, every line ended with CR LF.
std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height, int32_t width);

// The text after the last path separator.
QString FileNamePart(const QString& path);

// What a load met besides the panel: the lines it skipped because their kind is unknown.
struct LoadReport {
    StationContent::UnknownLines unknown;
};

// The notice after a load that skipped lines of an unknown kind, in Czech with the count's
// plural; empty when there were none.
QString UnknownLinesNotice(const LoadReport& report);

// Reads the station file at the path (the file system's bytes) completely; nothing is
// applied anywhere. Throws FileError or ConversionError. `firstLine` as for StationReader.
StationContent ReadStationFile(const std::string& nativePath, int64_t firstLine = 1);

} // namespace vedivez
