#pragma once

#include "panel/Point.h"

#include <array>
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

    // The connection flag of a point.
    bool& Flag(Point p);
    bool Flag(Point p) const;
    // The points whose flag is set.
    uint32_t Flags() const;

    friend bool operator==(const TPolePanelu&, const TPolePanelu&) = default;
};

// The eight position check boxes in the order LH, LS, LD, SH, SD, PH, PS, PD.
struct PositionFlags {
    bool LH = false, LS = false, LD = false, SH = false, SD = false, PH = false, PS = false,
         PD = false;

    // The box of a point.
    bool& Flag(Point p);
    bool Flag(Point p) const;
    // The points whose box is checked.
    uint32_t Flags() const;
    // The boxes of a set of points checked, the others not.
    static PositionFlags Of(uint32_t points);

    friend bool operator==(const PositionFlags&, const PositionFlags&) = default;
};

// The members behind each point, in point order.
inline constexpr std::array<bool TPolePanelu::*, kPointCount> kElementFlags = {
    &TPolePanelu::Cont_LH, &TPolePanelu::Cont_LS, &TPolePanelu::Cont_LD, &TPolePanelu::Cont_SH,
    &TPolePanelu::Cont_SD, &TPolePanelu::Cont_PH, &TPolePanelu::Cont_PS, &TPolePanelu::Cont_PD};
inline constexpr std::array<bool PositionFlags::*, kPointCount> kPositionFlags = {
    &PositionFlags::LH, &PositionFlags::LS, &PositionFlags::LD, &PositionFlags::SH,
    &PositionFlags::SD, &PositionFlags::PH, &PositionFlags::PS, &PositionFlags::PD};

// The points whose flag among `members` is set in `flags`.
template <typename T>
uint32_t SetPoints(const T& flags, const std::array<bool T::*, kPointCount>& members) {
    uint32_t points = 0;
    for (Point p : kAllPoints)
        points |= flags.*members[size_t(p)] ? PointBit(p) : 0;
    return points;
}

inline bool& TPolePanelu::Flag(Point p) {
    return this->*kElementFlags[size_t(p)];
}
inline bool TPolePanelu::Flag(Point p) const {
    return this->*kElementFlags[size_t(p)];
}
inline uint32_t TPolePanelu::Flags() const {
    return SetPoints(*this, kElementFlags);
}

inline bool& PositionFlags::Flag(Point p) {
    return this->*kPositionFlags[size_t(p)];
}
inline bool PositionFlags::Flag(Point p) const {
    return this->*kPositionFlags[size_t(p)];
}
inline uint32_t PositionFlags::Flags() const {
    return SetPoints(*this, kPositionFlags);
}
inline PositionFlags PositionFlags::Of(uint32_t points) {
    PositionFlags f;
    for (Point p : kAllPoints)
        f.Flag(p) = (points & PointBit(p)) != 0;
    return f;
}

} // namespace vedivez
