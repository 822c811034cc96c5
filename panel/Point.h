#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vedivez {

// The eight connection points of a cell, where a tile's track can leave it: the corners and
// the edge midpoints, named by column (L left, S centre, P right) and row (H top, S middle,
// D bottom). The order is that of the connection flags in the station file, of the position
// boxes and of the check's findings in a cell.
enum class Point : uint8_t { LH, LS, LD, SH, SD, PH, PS, PD };

inline constexpr size_t kPointCount = 8;

// What there is to know about one point.
struct PointFacts {
    std::string_view code; // in tile names, flag keys and messages: "LH"
    // The direction from the cell's centre towards the point, each -1, 0 or +1: also the
    // offset of the neighbouring cell across it.
    int dx;
    int dy;
    std::string_view mark; // the picture of its corner mark; empty for an edge midpoint
};

inline constexpr std::array<PointFacts, kPointCount> kPointFacts = {{
    {"LH", -1, -1, "Ruzek_LH"},
    {"LS", -1, 0, ""},
    {"LD", -1, 1, "Ruzek_LD"},
    {"SH", 0, -1, ""},
    {"SD", 0, 1, ""},
    {"PH", 1, -1, "Ruzek_PH"},
    {"PS", 1, 0, ""},
    {"PD", 1, 1, "Ruzek_PD"},
}};

// Every point, in order, for loops over them.
inline constexpr std::array<Point, kPointCount> kAllPoints = {
    Point::LH, Point::LS, Point::LD, Point::SH, Point::SD, Point::PH, Point::PS, Point::PD};

constexpr const PointFacts& FactsOf(Point p) {
    return kPointFacts[size_t(p)];
}

// The point's bit in a set of points.
constexpr uint32_t PointBit(Point p) {
    return uint32_t{1} << unsigned(p);
}

constexpr bool IsCorner(Point p) {
    return FactsOf(p).dx != 0 && FactsOf(p).dy != 0;
}

// The four corners as a set of points; only they carry corner marks.
inline constexpr uint32_t kCornerPoints =
    PointBit(Point::LH) | PointBit(Point::LD) | PointBit(Point::PH) | PointBit(Point::PD);

// The point in direction (dx, dy) from the centre; (dx, dy) must be one of the eight.
constexpr Point PointAt(int dx, int dy) {
    for (Point p : kAllPoints)
        if (FactsOf(p).dx == dx && FactsOf(p).dy == dy)
            return p;
    return Point::LH;
}

// The point across the cell's centre.
constexpr Point Opposite(Point p) {
    return PointAt(-FactsOf(p).dx, -FactsOf(p).dy);
}

// The point with this code ("LH"), if there is one; the case of the letters counts.
std::optional<Point> PointOfCode(std::string_view code);

// The points whose code occurs in a tile name, ignoring the case of the letters: where a
// tile's track leaves its cell, as the palette presets the position boxes and the check
// looks for track.
uint32_t PointsInName(std::string_view name);

} // namespace vedivez
