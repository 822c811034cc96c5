#include "panel/TileCatalogue.h"

#include "panel/Point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

namespace vedivez {

namespace {

// Tile names of the image list in list order. The pictures are not stored anywhere: each one is
// drawn from what its name says (see DrawTileByName), so this list is the whole catalogue.
constexpr std::array<std::string_view, 59> kItemNames = {
    "ANG_sLSPS_sLHPD_sLSPD_sLHPS",
    "ANG_sLDPH_sSDSH_sLDSH_sSDLH",
    "ANG_sLSPS_sLDPH_sLSPH_sLDPS",
    "ANG_sLHPD_sSDSH_sLHSD_sSHPD",
    "HKO_sLSPS",
    "HKO_sSDSH",
    "HKO_sLDPH",
    "HKO_sLHPD",
    "KRI_sLSPS_sSDSH",
    "KRI_sLDPH_sLHPD",
    "KOL_sLDPS",
    "KOL_sSDPH",
    "KOL_sSHPD",
    "KOL_sLHPS",
    "KOL_sLSPH",
    "KOL_sLDSH",
    "KOL_sLHSD",
    "KOL_sLSPD",
    "KOL_sLSPS",
    "KOL_sLDPH",
    "KOL_sSDSH",
    "KOL_sLHPD",
    "KOZ_sLS",
    "KOZ_sSD",
    "KOZ_sPS",
    "KOZ_sSH",
    "KOZ_sPD",
    "KOZ_sPH",
    "KOZ_sLH",
    "KOZ_sLD",
    "VYH_sLSPS_sLDPS",
    "VYH_sLDPH_sSDPH",
    "VYH_sSDSH_sPDSH",
    "VYH_sLHPD_sLHPS",
    "VYH_sLSPS_sLHPS",
    "VYH_sLSPS_sLSPH",
    "VYH_sLDPH_sLDSH",
    "VYH_sSDSH_sSDLH",
    "VYH_sLSPD_sLHPD",
    "OBO_sLHPS_sLDPS",
    "OBO_sLDSH_sPDSH",
    "OBO_sLSPH_sLSPD",
    "OBO_sSDLH_sSDPH",
    "VYH_sLHPD_sSHPD",
    "VYH_sSDSH_sSDPH",
    "VYH_sLDPH_sLSPH",
    "VYH_sLSPS_sLSPD",
    "VYH_sLHPD_sSHPD", // listed twice on purpose; lookups find this later item
    "VYH_sSDSH_sLDSH",
    "VYH_sLDPH_sLDPS",
    "VYH_sLHPD_sLHSD",
    "Ruzek_LD",
    "Ruzek_LH",
    "Ruzek_PD",
    "Ruzek_PH",
    "OBO_sLSPD_sSHPD",
    "OBO_sLDSH_sLDPS",
    "OBO_sLHSD_sLHPS",
    "OBO_sLSPH_sSDPH",
};

constexpr int kCentre = 23;
constexpr int kLast = kTileSize - 1;

// A connection point as the drawing needs it: ex/ey is the direction from the centre towards
// the point, each -1, 0 or +1; a point with both non-zero is a corner.
struct Leg {
    int ex;
    int ey;
};

bool IsCorner(const Leg& p) {
    return p.ex != 0 && p.ey != 0;
}

std::optional<Leg> ParsePoint(std::string_view code) {
    const std::optional<Point> p = PointOfCode(code);
    if (!p) {
        return std::nullopt;
    }
    return Leg{FactsOf(*p).dx, FactsOf(*p).dy};
}

// Track band of a leg, unbounded along its axis: 9 pixels wide for horizontal and vertical legs,
// |offset| <= 6 measured as x - y or x + y - 46 for diagonal ones.
bool InLegBand(const Leg& p, int x, int y) {
    const int dx = x - kCentre;
    const int dy = y - kCentre;
    const int across = std::abs(p.ey * dx - p.ex * dy);
    return across <= (IsCorner(p) ? 6 : 4);
}

// A diagonal leg stops with a flat cap 6 units before its corner (x + y >= 6 for LH and the
// mirrored conditions elsewhere), which leaves a 21-pixel notch that a corner mark fills.
// Horizontal and vertical legs run right to the cell edge.
bool WithinCap(const Leg& p, int x, int y) {
    if (!IsCorner(p)) {
        return true;
    }
    const int along = p.ex * (x - kCentre) + p.ey * (y - kCentre);
    return along <= 40;
}

bool AreOpposite(const Leg& a, const Leg& b) {
    return a.ex == -b.ex && a.ey == -b.ey;
}

// An edge-midpoint leg and a diagonal leg meeting at 135 degrees, the only bends a track makes.
bool AreBent(const Leg& a, const Leg& b) {
    return IsCorner(a) != IsCorner(b) && a.ex * b.ex + a.ey * b.ey == -1;
}

// Whether pixel (x, y) lies on a's side of the bisector of the bend a-b, or on the bisector.
// With unit directions da and db the bisector runs along da + db, which is perpendicular to
// da - db, so the test reduces to comparing the pixel's projections onto da and db.
bool OnSideOf(const Leg& a, const Leg& b, int x, int y) {
    const double dx = x - kCentre;
    const double dy = y - kCentre;
    const double la = std::hypot(a.ex, a.ey);
    const double lb = std::hypot(b.ex, b.ey);
    const double toA = (a.ex * dx + a.ey * dy) / la;
    const double toB = (b.ex * dx + b.ey * dy) / lb;
    // Only the centre itself lies exactly on a 135-degree bisector (its slope is irrational);
    // the tolerance just keeps that pixel from depending on rounding.
    return toA - toB >= -1e-9;
}

bool InLeg(const Leg& p, int x, int y) {
    return InLegBand(p, x, y) && WithinCap(p, x, y);
}

bool InSegment(const Leg& a, const Leg& b, int x, int y) {
    if (AreOpposite(a, b)) {
        return InLeg(a, x, y) && WithinCap(b, x, y);
    }
    // Mitred bend: each leg keeps only its own side of the bisector.
    return (InLeg(a, x, y) && OnSideOf(a, b, x, y)) || (InLeg(b, x, y) && OnSideOf(b, a, x, y));
}

// Track end at point e: the track runs from e to 3 pixels past the centre and ends in a cross bar
// centred on the centre. t is the distance from the centre towards e, s the offset across.
bool InTrackEnd(const Leg& e, int x, int y) {
    const int dx = x - kCentre;
    const int dy = y - kCentre;
    const int t = e.ex * dx + e.ey * dy;
    const int s = std::abs(e.ey * dx - e.ex * dy);
    if (IsCorner(e)) {
        return (s <= 6 && t >= 0 && t <= 40) || (std::abs(t) <= 6 && s <= 16);
    }
    return (s <= 4 && t >= -3 && t <= 23) || (s <= 10 && t >= -3 && t <= 2);
}

// Straight track a-b with the centre cut away, leaving two separate stubs.
bool InBoundary(const Leg& a, const Leg& b, int x, int y) {
    const int along = a.ex * (x - kCentre) + a.ey * (y - kCentre);
    const int halfGap = IsCorner(a) ? 8 : 6;
    return InSegment(a, b, x, y) && std::abs(along) > halfGap;
}

enum class Kind { Track, TrackEnd, Boundary, CornerMark };

// What a name asks to be drawn.
struct Shape {
    Kind kind = Kind::Track;
    std::vector<std::pair<Leg, Leg>> segments; // Track and Boundary
    std::optional<Leg> point;                  // TrackEnd and CornerMark
};

struct Family {
    std::string_view prefix;
    Kind kind;
    size_t segmentCount;
    bool straightOnly;
};

constexpr std::array<Family, 6> kSegmentFamilies = {{
    {"KOL", Kind::Track, 1, false},
    {"KRI", Kind::Track, 2, true},
    {"ANG", Kind::Track, 4, false},
    {"VYH", Kind::Track, 2, false},
    {"OBO", Kind::Track, 2, false},
    {"HKO", Kind::Boundary, 1, true},
}};

std::optional<Shape> ParseSegments(const Family& family, std::string_view rest) {
    Shape shape;
    shape.kind = family.kind;
    while (!rest.empty()) {
        // Every segment is "_s" and two two-letter point codes.
        if (rest.size() < 6 || rest.substr(0, 2) != "_s") {
            return std::nullopt;
        }
        const auto a = ParsePoint(rest.substr(2, 2));
        const auto b = ParsePoint(rest.substr(4, 2));
        if (!a || !b) {
            return std::nullopt;
        }
        const bool straight = AreOpposite(*a, *b);
        if (!straight && (family.straightOnly || !AreBent(*a, *b))) {
            return std::nullopt;
        }
        shape.segments.emplace_back(*a, *b);
        rest.remove_prefix(6);
    }
    if (shape.segments.size() != family.segmentCount) {
        return std::nullopt;
    }
    return shape;
}

std::optional<Shape> ParseName(std::string_view name) {
    if (name.substr(0, 6) == "Ruzek_") {
        const auto corner = ParsePoint(name.substr(6));
        if (!corner || !IsCorner(*corner)) {
            return std::nullopt;
        }
        return Shape{Kind::CornerMark, {}, corner};
    }
    if (name.substr(0, 5) == "KOZ_s") {
        const auto end = ParsePoint(name.substr(5));
        if (!end) {
            return std::nullopt;
        }
        return Shape{Kind::TrackEnd, {}, end};
    }
    for (const Family& family : kSegmentFamilies) {
        if (name.substr(0, family.prefix.size()) == family.prefix) {
            return ParseSegments(family, name.substr(family.prefix.size()));
        }
    }
    return std::nullopt;
}

// This double slip's name ends in "_sSDLH", yet its picture has no LH leg: it is LD-PH crossing
// SD-SH with the slips LD-SH and SD-PH. The name is kept as it is because saved panels refer
// to it; only the picture follows the intended layout.
constexpr std::string_view kSlipNamedWithLH = "ANG_sLDPH_sSDSH_sLDSH_sSDLH";

void ApplyPictureExceptions(std::string_view name, Shape& shape) {
    if (name == kSlipNamedWithLH) {
        shape.segments.back() = {*ParsePoint("SD"), *ParsePoint("PH")};
    }
}

bool ShapeCovers(const Shape& shape, int x, int y) {
    switch (shape.kind) {
    case Kind::Track:
        return std::any_of(shape.segments.begin(), shape.segments.end(),
                           [&](const auto& s) { return InSegment(s.first, s.second, x, y); });
    case Kind::Boundary:
        return InBoundary(shape.segments[0].first, shape.segments[0].second, x, y);
    case Kind::TrackEnd:
        return InTrackEnd(*shape.point, x, y);
    case Kind::CornerMark:
        break;
    }
    return false;
}

// A corner mark is the notch a diagonal leg leaves in that corner, cut out as a 7x7 picture, so
// that laying it over the tile's corner closes the band.
void DrawCornerMark(const Leg& corner, TileBitmap& out) {
    const int originX = corner.ex > 0 ? kTileSize - kCornerMarkSize : 0;
    const int originY = corner.ey > 0 ? kTileSize - kCornerMarkSize : 0;
    for (int y = 0; y < kCornerMarkSize; ++y) {
        for (int x = 0; x < kCornerMarkSize; ++x) {
            out.black[y * kCornerMarkSize + x] =
                WithinCap(corner, originX + x, originY + y) ? 0 : 1;
        }
    }
}

} // namespace

bool TileBitmap::IsBlack(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    return black[static_cast<size_t>(y) * width + x] != 0;
}

int TileBitmap::BlackCount() const {
    return static_cast<int>(std::count(black.begin(), black.end(), uint8_t{1}));
}

bool DrawTileByName(std::string_view name, TileBitmap& out) {
    auto shape = ParseName(name);
    if (!shape) {
        return false;
    }
    ApplyPictureExceptions(name, *shape);

    const int size = shape->kind == Kind::CornerMark ? kCornerMarkSize : kTileSize;
    out.name = std::string(name);
    out.width = size;
    out.height = size;
    out.black.assign(static_cast<size_t>(size) * size, 0);
    if (shape->kind == Kind::CornerMark) {
        DrawCornerMark(*shape->point, out);
        return true;
    }
    for (int y = 0; y <= kLast; ++y) {
        for (int x = 0; x <= kLast; ++x) {
            out.black[y * kTileSize + x] = ShapeCovers(*shape, x, y) ? 1 : 0;
        }
    }
    return true;
}

const std::vector<TileBitmap>& TileCatalogue() {
    static const std::vector<TileBitmap> items = [] {
        std::vector<TileBitmap> list(kItemNames.size());
        for (size_t i = 0; i < kItemNames.size(); ++i) {
            // Every listed name is drawable; a failure here is a typo in kItemNames.
            if (!DrawTileByName(kItemNames[i], list[i])) {
                std::abort();
            }
        }
        return list;
    }();
    return items;
}

const std::vector<std::string>& PaletteTileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (const TileBitmap& item : TileCatalogue()) {
            if (item.width != kTileSize) {
                continue;
            }
            if (std::find(result.begin(), result.end(), item.name) == result.end()) {
                result.push_back(item.name);
            }
        }
        return result;
    }();
    return names;
}

} // namespace vedivez
