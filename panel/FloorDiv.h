#pragma once

#include <cstdint>

namespace vedivez {

// a / b rounded towards minus infinity (C++ division truncates towards zero): the cell or
// scaled pixel of a coordinate, also left of or above the panel's origin.
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace vedivez
