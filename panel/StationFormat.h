#pragma once

#include "panel/Point.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vedivez {

// The station file's format in one place: the kinds of line, the fields of each with their
// keys, and their order. The reader, the writer and the detection of lines of an unknown
// kind all go by these tables.
//
// A line is fields separated by ';', its first field naming its kind; a save ends every line
// with CR LF.
inline constexpr char kFieldSeparator = ';';
inline constexpr std::string_view kLineEnd = "\r\n";

enum class LineKind : uint8_t { Height, Width, Station, Author, Version, Description, Element };

// How the reader uses a field: converts it to an integer or a boolean, keeps it as text, or
// does not read it at all.
enum class FieldUse : uint8_t { Ignored, Integer, Boolean, Text };

// A field after a line's kind: the key in front of its value and how the value is read. The
// reader does not compare the key, it only cuts off as many characters.
struct FieldFormat {
    std::string_view key;
    FieldUse use;
};

// A size line holds its value in the field after the kind, without a key.
inline constexpr std::array<FieldFormat, 1> kSizeFields = {{{"", FieldUse::Integer}}};

// The fields of an element line, in file order: the cell, the tile name and the connection
// flag of every Point in point order.
inline constexpr std::array<FieldFormat, 3 + kPointCount> kElementFields = {{
    {"X=", FieldUse::Integer},
    {"Y=", FieldUse::Integer},
    {"NAME=", FieldUse::Text},
    {"Cont_LH=", FieldUse::Boolean},
    {"Cont_LS=", FieldUse::Boolean},
    {"Cont_LD=", FieldUse::Boolean},
    {"Cont_SH=", FieldUse::Boolean},
    {"Cont_SD=", FieldUse::Boolean},
    {"Cont_PH=", FieldUse::Boolean},
    {"Cont_PS=", FieldUse::Boolean},
    {"Cont_PD=", FieldUse::Boolean},
}};
// Positions in kElementFields.
inline constexpr size_t kFieldX = 0, kFieldY = 1, kFieldName = 2, kFieldFirstFlag = 3;

// The position of a point's flag in kElementFields.
constexpr size_t FlagField(Point p) {
    return kFieldFirstFlag + size_t(p);
}

// How a save writes the booleans.
inline constexpr std::string_view kTrueText = "-1";
inline constexpr std::string_view kFalseText = "0";
// What a save writes after the kind of a station-information line, whose content the editor
// neither reads nor keeps.
inline constexpr std::string_view kStationInfoText = "<Nazev stanice>";

// A kind of line: the first field naming it and the fields the reader takes from it (none
// for the station information).
struct LineFormat {
    LineKind kind;
    std::string_view name;
    std::span<const FieldFormat> fields;
};

// Every kind of line, in the order a save writes them.
inline constexpr std::array<LineFormat, 7> kLineFormats = {{
    {LineKind::Height, "SET_Vyska", kSizeFields},
    {LineKind::Width, "SET_Sirka", kSizeFields},
    {LineKind::Station, "SET_Stanice", {}},
    {LineKind::Author, "SET_Autor", {}},
    {LineKind::Version, "SET_Verze", {}},
    {LineKind::Description, "SET_Popis", {}},
    {LineKind::Element, "PRUSVITKA", kElementFields},
}};

// The kind a line's first field names; null for a kind the format does not know. Inline:
// the reader asks for every line.
constexpr const LineFormat* FindLineFormat(std::string_view name) {
    // From the end: element lines, by far the most common, come last.
    for (auto it = kLineFormats.rbegin(); it != kLineFormats.rend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

// The format of a kind of line.
constexpr const LineFormat& FormatOf(LineKind kind) {
    for (const LineFormat& format : kLineFormats)
        if (format.kind == kind)
            return format;
    return kLineFormats.back();
}

// Whether a first field that has only begun to arrive can still name a kind whose fields are
// read.
bool CouldNameReadKind(std::string_view start);

// How many fields a line of this kind has up to the last one read (the kind included); 0
// for a kind of which no field is read.
size_t FieldsRead(const LineFormat& format);

// How field `index` (the kind is field 0) of a line of this kind is read.
FieldFormat FieldOf(const LineFormat& format, size_t index);

} // namespace vedivez
