#pragma once

#include "panel/TPolePanelu.h"

#include <string>

namespace vedivez::test {

// A record with all flags clear, as a loaded file line would give it.
inline TPolePanelu Rec(int32_t x, int32_t y, const std::string& name) {
    TPolePanelu e;
    e.X = x;
    e.Y = y;
    e.NAME = name;
    return e;
}

} // namespace vedivez::test
