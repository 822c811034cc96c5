#include "panel/Point.h"

#include "surface/Cp1250.h"

#include <string>

namespace vedivez {

std::optional<Point> PointOfCode(std::string_view code) {
    for (Point p : kAllPoints)
        if (FactsOf(p).code == code)
            return p;
    return std::nullopt;
}

uint32_t PointsInName(std::string_view name) {
    const std::string upper = Cp1250UpperCase(name);
    uint32_t points = 0;
    for (Point p : kAllPoints)
        if (upper.find(FactsOf(p).code) != std::string::npos)
            points |= PointBit(p);
    return points;
}

} // namespace vedivez
