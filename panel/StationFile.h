#pragma once

#include "panel/StationReader.h"
#include "panel/TPolePanelu.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace vedivez {

// The file's bytes for a panel: the lines of kLineFormats in their order, the size lines with
// these values, the station information with its placeholder, one line per element in list
// order.
std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height, int32_t width);

// What a load met besides the panel: the lines it skipped because their kind is unknown.
struct LoadReport {
    StationContent::UnknownLines unknown;
};

// The notice after a load that skipped lines of an unknown kind, in Czech with the count's
// plural; empty when there were none.
QString UnknownLinesNotice(const LoadReport& report);

// Reads the station file at the path (the file system's bytes) completely; nothing is
// applied anywhere. Throws FileError or ConversionError. `firstLine` as for StationReader.
StationContent ReadStationFile(const std::string& nativePath, int64_t firstLine = 1);

} // namespace vedivez
