#include "surface/Cp1250.h"

#include <array>
#include <utility>

namespace vedivez {

namespace {

// Unicode code points of the bytes 0x80..0xFF; the five bytes the code page leaves
// undefined map to the C1 controls of the same value, so every byte survives a round trip.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// Small letter of each byte. Besides A-Z the code page has capitals at 0x8A-0x8F (without
// 0x8B), five scattered ones between 0xA3 and 0xBC, and 0xC0-0xDE, all with their small
// letter at a fixed distance; 0xD7 is the multiplication sign, not a letter.
constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> lower{};
    for (int b = 0; b < 256; ++b)
        lower[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        lower[b] = static_cast<unsigned char>(b + 0x20);
    for (int b : {0x8A, 0x8C, 0x8D, 0x8E, 0x8F})
        lower[b] = static_cast<unsigned char>(b + 0x10);
    const std::pair<int, int> scattered[] = {
        {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE}};
    for (auto [upper, small] : scattered)
        lower[upper] = static_cast<unsigned char>(small);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7)
            lower[b] = static_cast<unsigned char>(b + 0x20);
    return lower;
}

// Capital letter of each byte: the same pairs the other way round.
constexpr std::array<unsigned char, 256> MakeUpperTable() {
    constexpr std::array<unsigned char, 256> lower = MakeLowerTable();
    std::array<unsigned char, 256> upper{};
    for (int b = 0; b < 256; ++b)
        upper[b] = static_cast<unsigned char>(b);
    for (int b = 0; b < 256; ++b)
        if (lower[b] != b)
            upper[lower[b]] = static_cast<unsigned char>(b);
    return upper;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();
constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

std::string Folded(std::string_view text, const std::array<unsigned char, 256>& table) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

char Cp1250Lower(char c) {
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

char Cp1250Upper(char c) {
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

std::string Cp1250LowerCase(std::string_view text) {
    return Folded(text, kLower);
}

std::string Cp1250UpperCase(std::string_view text) {
    return Folded(text, kUpper);
}

QString FromCp1250(std::string_view bytes) {
    QString out;
    out.resize(qsizetype(bytes.size()));
    QChar* p = out.data();
    for (unsigned char b : bytes)
        *p++ = QChar(b < 0x80 ? char16_t(b) : kHighHalf[b - 0x80]);
    return out;
}

std::string ToCp1250(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.push_back(char(u));
            continue;
        }
        char mapped = '?';
        for (size_t i = 0; i < kHighHalf.size(); ++i) {
            if (kHighHalf[i] == u) {
                mapped = char(0x80 + i);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

std::string MessageExcerpt(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return std::string(text);
    constexpr char kEllipsis = '\x85';
    std::string out(text.substr(0, limit > 0 ? limit - 1 : 0));
    out.push_back(kEllipsis);
    return out;
}

} // namespace vedivez
