#pragma once

#include <cstdint>
#include <string>

namespace vedivez {

// One placed tile: its cell, the eight connection flags of its edge midpoints and corners
// (L/S/P = left/centre/right, H/S/D = top/middle/bottom) and the tile name.
struct TPolePanelu {
    int32_t X = 0;
    int32_t Y = 0;
    bool Cont_LH = false;
    bool Cont_LS = false;
    bool Cont_LD = false;
    bool Cont_SH = false;
    bool Cont_SD = false;
    bool Cont_PH = false;
    bool Cont_PS = false;
    bool Cont_PD = false;
    std::string NAME; // Windows-1250 bytes

    friend bool operator==(const TPolePanelu&, const TPolePanelu&) = default;
};

// The eight position check boxes in the order LH, LS, LD, SH, SD, PH, PS, PD.
struct PositionFlags {
    bool LH = false, LS = false, LD = false, SH = false, SD = false, PH = false, PS = false,
         PD = false;
    friend bool operator==(const PositionFlags&, const PositionFlags&) = default;
};

} // namespace vedivez
