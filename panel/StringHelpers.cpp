#include "panel/StringHelpers.h"

namespace vedivez {

namespace {

std::string_view UpToNul(std::string_view s) {
    const size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

} // namespace

void SplitStringViews(std::string_view delimiter, std::string_view text, int32_t maxCount,
                      std::vector<std::string_view>& out) {
    out.clear();
    delimiter = UpToNul(delimiter);
    text = UpToNul(text);
    if (text.empty() || maxCount < 0)
        return;
    if (delimiter.empty()) {
        out.push_back(text);
        return;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t found = text.find(delimiter, pos);
        const bool lastAllowed = maxCount > 0 && out.size() == size_t(maxCount) - 1;
        if (found == std::string_view::npos || lastAllowed) {
            out.push_back(text.substr(pos));
            break;
        }
        out.push_back(text.substr(pos, found - pos));
        pos = found + delimiter.size();
    }
}

std::vector<std::string> SplitString(std::string_view delimiter, std::string_view text,
                                     int32_t maxCount) {
    std::vector<std::string_view> views;
    SplitStringViews(delimiter, text, maxCount, views);
    std::vector<std::string> result;
    // Reserve as many entries as a limited cut can give, and grow in steps of five
    // otherwise, trimming at the end.
    result.reserve(maxCount > 0 ? size_t(maxCount) : 0);
    for (std::string_view v : views) {
        if (result.size() == result.capacity())
            result.reserve(result.capacity() + 5);
        result.emplace_back(v);
    }
    result.shrink_to_fit();
    return result;
}

} // namespace vedivez
