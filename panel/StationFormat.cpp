#include "panel/StationFormat.h"

namespace vedivez {

namespace {

// Each flag's key names its point.
constexpr bool FlagKeysFollowThePoints() {
    for (Point p : kAllPoints) {
        const std::string_view key = kElementFields[FlagField(p)].key;
        if (key.substr(0, 5) != "Cont_" || key.substr(5, 2) != FactsOf(p).code ||
            key.substr(7) != "=")
            return false;
    }
    return true;
}
static_assert(FlagKeysFollowThePoints());

} // namespace

bool CouldNameReadKind(std::string_view start) {
    for (const LineFormat& format : kLineFormats)
        if (!format.fields.empty() && format.name.substr(0, start.size()) == start)
            return true;
    return false;
}

size_t FieldsRead(const LineFormat& format) {
    return format.fields.empty() ? 0 : format.fields.size() + 1;
}

FieldFormat FieldOf(const LineFormat& format, size_t index) {
    if (index == 0 || index > format.fields.size())
        return {"", FieldUse::Ignored};
    return format.fields[index - 1];
}

} // namespace vedivez
