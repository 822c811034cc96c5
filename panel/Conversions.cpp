#include "panel/Conversions.h"

#include "panel/PanelErrors.h"
#include "surface/Cp1250.h"

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

bool IntegerStillPossible(std::string_view s) {
    // The grammar of TryParseInteger, walked as far as the prefix goes.
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i == s.size())
        return true;
    const bool negative = s[i] == '-';
    if (s[i] == '+' || s[i] == '-')
        ++i;
    if (i == s.size())
        return true;
    bool hex = false;
    if (s[i] == '$' || s[i] == 'x' || s[i] == 'X') {
        hex = true;
        ++i;
    } else if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        const int d = hex ? HexDigit(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0)
            return false;
        value = value * (hex ? 16 : 10) + uint64_t(d);
        // Digits only ever make the value larger.
        if (value > (hex ? 0xFFFFFFFFull : negative ? 2147483648ull : 2147483647ull))
            return false;
    }
    return true;
}

bool BooleanStillPossible(std::string_view s, char sep) {
    // "True" and "False" in any case, else the number grammar of TryParseBoolean: spaces,
    // sign, digits, separator and digits, exponent mark, sign and digits, spaces.
    for (std::string_view word : {std::string_view("true"), std::string_view("false")})
        if (s.size() <= word.size() && EqualsIgnoringCase(s, word.substr(0, s.size())))
            return true;
    enum State { kLead, kSign, kWhole, kFraction, kMark, kExpSign, kExponent, kTrail };
    State state = kLead;
    bool digit = false; // a digit before the exponent, which the mark needs
    for (char c : s) {
        const bool isDigit = IsDigit(c);
        switch (state) {
        case kLead:
            if (c == ' ')
                continue;
            [[fallthrough]];
        case kSign:
            if (state == kLead && (c == '+' || c == '-')) {
                state = kSign;
                continue;
            }
            [[fallthrough]];
        case kWhole:
            if (isDigit) {
                digit = true;
                state = kWhole;
            } else if (c == sep) {
                state = kFraction;
            } else if (digit && (c == 'e' || c == 'E')) {
                state = kMark;
            } else if (digit && c == ' ') {
                state = kTrail;
            } else {
                return false;
            }
            continue;
        case kFraction:
            if (isDigit)
                digit = true;
            else if (digit && (c == 'e' || c == 'E'))
                state = kMark;
            else if (digit && c == ' ')
                state = kTrail;
            else
                return false;
            continue;
        case kMark:
            if (c == '+' || c == '-')
                state = kExpSign;
            else if (isDigit)
                state = kExponent;
            else
                return false;
            continue;
        case kExpSign:
            if (!isDigit)
                return false;
            state = kExponent;
            continue;
        case kExponent:
            if (c == ' ')
                state = kTrail;
            else if (!isDigit)
                return false;
            continue;
        case kTrail:
            if (c != ' ')
                return false;
            continue;
        }
    }
    return true;
}

namespace {

// "'<text>' <what>", the text cut short when it is long.
std::string QuotedMessage(std::string_view text, std::string_view what) {
    std::string message = "'";
    message += MessageExcerpt(text);
    message += "' ";
    message += what;
    return message;
}

} // namespace

std::string IntegerErrorMessage(std::string_view text) {
    return QuotedMessage(text, "is not a valid integer value");
}

std::string BooleanErrorMessage(std::string_view text) {
    return QuotedMessage(text, "is not a valid boolean value");
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
