#include "panel/TileDescriptions.h"

#include "panel/Point.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

namespace vedivez {

namespace {

// A segment of a name: two point codes.
struct Segment {
    QString a, b;
    bool Has(const QString& p) const { return a == p || b == p; }
    QString Other(const QString& p) const { return a == p ? b : a; }
    QString Text() const { return a + QString::fromUtf8("–") + b; }
};

std::optional<Point> PointOf(const QString& code) {
    return PointOfCode(code.toLatin1().toStdString());
}

bool IsPoint(const QString& p) {
    return PointOf(p).has_value();
}

// Opposite points: the ends of a straight segment.
bool Straight(const Segment& s) {
    const std::optional<Point> a = PointOf(s.a), b = PointOf(s.b);
    return a && b && *b == Opposite(*a);
}

std::optional<QString> Shared(const Segment& x, const Segment& y) {
    if (y.Has(x.a))
        return x.a;
    if (y.Has(x.b))
        return x.b;
    return std::nullopt;
}

// "KOL_sLSPH" -> prefix "KOL", segments {LS, PH}; "KOZ_sLS" -> prefix "KOZ", one point.
struct Parsed {
    QString prefix;
    std::vector<Segment> segments;
    QString point; // a track end's one point
};

std::optional<Parsed> Parse(const QString& name) {
    const QStringList parts = name.split(QLatin1Char('_'));
    if (parts.size() < 2)
        return std::nullopt;
    Parsed out;
    out.prefix = parts.front();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (!part.startsWith(QLatin1Char('s')))
            return std::nullopt;
        if (part.size() == 3 && IsPoint(part.mid(1, 2))) {
            out.point = part.mid(1, 2);
            continue;
        }
        if (part.size() != 5 || !IsPoint(part.mid(1, 2)) || !IsPoint(part.mid(3, 2)))
            return std::nullopt;
        out.segments.push_back({part.mid(1, 2), part.mid(3, 2)});
    }
    return out;
}

QString Describe(const Parsed& p) {
    const auto& s = p.segments;
    if (p.prefix == QLatin1String("KOZ") && s.empty() && !p.point.isEmpty())
        return QString::fromUtf8("Konec koleje (šturc): kolej vstupuje v bodě %1").arg(p.point);
    if (p.prefix == QLatin1String("KOL") && s.size() == 1)
        return (Straight(s[0]) ? QString::fromUtf8("Přímá kolej: ")
                               : QString::fromUtf8("Lomená kolej: ")) +
               s[0].Text();
    if (p.prefix == QLatin1String("HKO") && s.size() == 1)
        return QString::fromUtf8("Hranice kolejového obvodu: kolej %1 dělená uprostřed")
            .arg(s[0].Text());
    if (p.prefix == QLatin1String("KRI") && s.size() == 2)
        return QString::fromUtf8("Křížení: %1 × %2").arg(s[0].Text(), s[1].Text());
    if (p.prefix == QLatin1String("VYH") && s.size() == 2) {
        const Segment& straight = Straight(s[0]) ? s[0] : s[1];
        const Segment& bent = Straight(s[0]) ? s[1] : s[0];
        if (const auto common = Shared(straight, bent))
            return QString::fromUtf8("Výhybka: společný konec %1, přímý směr %2, odbočka %3")
                .arg(*common, straight.Other(*common), bent.Other(*common));
    }
    if (p.prefix == QLatin1String("OBO") && s.size() == 2) {
        if (const auto common = Shared(s[0], s[1]))
            return QString::fromUtf8("Symetrická výhybka: společný konec %1, větve %2 a %3")
                .arg(*common, s[0].Other(*common), s[1].Other(*common));
    }
    if (p.prefix == QLatin1String("ANG") && s.size() == 4) {
        // Two straight tracks crossing, and the two slips between them; each slip joins a
        // point of one track to a point of the other.
        const Segment& first = s[0];
        const Segment& second = s[1];
        auto onCrossing = [&](const QString& point) {
            return first.Has(point) || second.Has(point);
        };
        auto valid = [&](const Segment& slip) { return onCrossing(slip.a) && onCrossing(slip.b); };
        QString text =
            QString::fromUtf8("Anglická výhybka: %1 × %2").arg(first.Text(), second.Text());
        if (valid(s[2]) && valid(s[3]))
            return text + QString::fromUtf8(", spojky %1 a %2").arg(s[2].Text(), s[3].Text());
        // A slip whose name reaches a point off the crossing: the tile draws the slip
        // between the two points the other slip leaves, and that is what the text names.
        const Segment& good = valid(s[2]) ? s[2] : s[3];
        const Segment& named = valid(s[2]) ? s[3] : s[2];
        QStringList rest;
        for (const Segment& track : {first, second})
            for (const QString& point : {track.a, track.b})
                if (!good.Has(point))
                    rest << point;
        if (rest.size() == 2) {
            // The named slip's point on the crossing comes first, as in the name.
            if (rest[1] == named.a || rest[1] == named.b)
                std::swap(rest[0], rest[1]);
            const QString drawn = rest[0] + QString::fromUtf8("–") + rest[1];
            return text + QString::fromUtf8(", spojky %1 a %2").arg(good.Text(), drawn);
        }
    }
    return {};
}

} // namespace

QString TileDescription(std::string_view name) {
    const QString text = QString::fromLatin1(name.data(), qsizetype(name.size()));
    const std::optional<Parsed> parsed = Parse(text);
    const QString description = parsed ? Describe(*parsed) : QString();
    if (description.isEmpty())
        return text;
    return description + QString::fromUtf8(" — ") + text;
}

} // namespace vedivez
