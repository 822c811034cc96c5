#include "panel/Conversions.h"

#include "panel/PanelErrors.h"

#include <QLocale>

namespace vedivez {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::optional<int32_t> TryParseInteger(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size())
        return std::nullopt;
    if (hex) {
        uint64_t value = 0;
        for (; i < s.size(); ++i) {
            const int d = HexDigit(s[i]);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + uint64_t(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // The hexadecimal value is a 32-bit pattern: FFFFFFFF reads as -1. A sign negates
        // that pattern with 32-bit wrap-around.
        uint32_t bits = uint32_t(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<int32_t>(bits);
    }
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]))
            return std::nullopt;
        value = value * 10 + (s[i] - '0');
        if (value > 2147483648ll)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<bool> TryParseBoolean(std::string_view s, char sep) {
    // The two forms the writer produces, decided without the general scan.
    if (s.size() == 1 && s[0] == '0')
        return false;
    if (s.size() == 2 && s[0] == '-' && s[1] == '1')
        return true;
    // A floating-point number: spaces, sign, digits with an optional fraction, an optional
    // exponent, spaces. Only whether the value is zero matters.
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool anyDigit = false, nonZero = false;
    while (i < s.size() && IsDigit(s[i])) {
        anyDigit = true;
        nonZero |= s[i] != '0';
        ++i;
    }
    if (i < s.size() && s[i] == sep) {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            anyDigit = true;
            nonZero |= s[i] != '0';
            ++i;
        }
    }
    bool numeric = anyDigit;
    if (numeric && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        bool expDigit = false;
        while (i < s.size() && IsDigit(s[i])) {
            expDigit = true;
            ++i;
        }
        numeric = expDigit;
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (numeric && i == s.size())
        return nonZero;
    if (EqualsIgnoringCase(s, "true"))
        return true;
    if (EqualsIgnoringCase(s, "false"))
        return false;
    return std::nullopt;
}

std::string IntegerErrorMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string BooleanErrorMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid boolean value";
}

int32_t ParseInteger(std::string_view text) {
    if (auto v = TryParseInteger(text))
        return *v;
    throw ConversionError(IntegerErrorMessage(text));
}

bool ParseBoolean(std::string_view text, char sep) {
    if (auto v = TryParseBoolean(text, sep))
        return *v;
    throw ConversionError(BooleanErrorMessage(text));
}

void AppendInteger(std::string& out, int32_t value) {
    char buf[12];
    char* end = buf + sizeof buf;
    char* p = end;
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    out.append(p, size_t(end - p));
}

char SystemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80)
        return char(point.at(0).unicode());
    return '.';
}

} // namespace vedivez
