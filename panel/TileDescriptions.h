#pragma once

#include <QString>
#include <string_view>

namespace vedivez {

// What a tile shows, in Czech, read from its name by the name grammar (family, the points
// its track reaches, the common end of a switch), followed by the name itself:
// "Výhybka: společný konec PS, přímý směr LS, odbočka LD — VYH_sLSPS_sLDPS". A name the
// grammar cannot read gives the name alone.
QString TileDescription(std::string_view name);

} // namespace vedivez
