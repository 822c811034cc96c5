#pragma once

#include "panel/StationFormat.h"

#include <cstddef>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vedivez {

// Cuts a chunk of a station file into lines and their fields in one pass that finds every
// byte that matters, sixteen at a time where the processor allows: the field separators and
// line ends, and the CR and NUL bytes that need the general path. For every complete line
// of the chunk, in order, it calls either `plain()` with the line's fields in `fields` (views
// into the chunk; a CR before the LF is not part of the last field), or, for a line holding
// a CR that does not end it or a NUL, `other(line)` with the line up to its LF. Returns where
// the chunk's unfinished last line starts. A template, so that the calls are inlined into
// the reader's loop.
template <typename Plain, typename Other>
size_t ScanLines(std::string_view data, std::vector<std::string_view>& fields, Plain&& plain,
                 Other&& other) {
    constexpr char separator = kFieldSeparator;
    const char* p = data.data();
    const size_t n = data.size();
    size_t lineStart = 0;
    size_t fieldStart = 0;
    bool isPlain = true;
    fields.clear();
    auto handle = [&](size_t j) {
        const char c = p[j];
        if (c == separator) {
            if (isPlain)
                fields.emplace_back(p + fieldStart, j - fieldStart);
            fieldStart = j + 1;
        } else if (c == '\n') {
            if (isPlain) {
                const size_t end = (j > lineStart && p[j - 1] == '\r') ? j - 1 : j;
                if (fieldStart < end)
                    fields.emplace_back(p + fieldStart, end - fieldStart);
                plain();
            } else {
                other(std::string_view(p + lineStart, j - lineStart));
            }
            lineStart = fieldStart = j + 1;
            isPlain = true;
            fields.clear();
        } else if (c == '\r') {
            // Only the CR of a CR LF pair keeps the line plain.
            if (j + 1 >= n || p[j + 1] != '\n')
                isPlain = false;
        } else { // NUL
            isPlain = false;
        }
    };
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i sep = _mm_set1_epi8(separator);
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, sep), _mm_cmpeq_epi8(v, lf)),
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
        if (c == separator || c == '\n' || c == '\r' || c == '\0')
            handle(i);
    }
    return lineStart;
}

} // namespace vedivez
