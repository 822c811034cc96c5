#include "panel/StringHelpers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    // A one-character delimiter (the reader's ";") is searched with memchr rather than as
    // a substring.
    const bool single = delimiter.size() == 1;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t found = single ? text.find(delimiter[0], pos) : text.find(delimiter, pos);
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

bool SplitPlainLine(std::string_view line, char delimiter, std::vector<std::string_view>& out) {
    out.clear();
    const char* p = line.data();
    const size_t n = line.size();
    size_t start = 0;
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: one compare finds the delimiters, two more the bytes that
    // send the line to the general path.
    const __m128i delim = _mm_set1_epi8(delimiter);
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, nul))))
            return false;
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, delim)));
        while (mask != 0) {
            const size_t at = i + size_t(__builtin_ctz(mask));
            out.emplace_back(p + start, at - start);
            start = at + 1;
            mask &= mask - 1;
        }
    }
#endif
    for (; i < n; ++i) {
        const char c = p[i];
        if (c == '\r' || c == '\0')
            return false;
        if (c == delimiter) {
            out.emplace_back(p + start, i - start);
            start = i + 1;
        }
    }
    if (start < n)
        out.emplace_back(p + start, n - start);
    return true;
}

} // namespace vedivez
