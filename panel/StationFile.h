#pragma once

#include "panel/StationReader.h"
#include "panel/TPolePanelu.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace vedivez {

class PanelState;
class StationWindow;

// The file's bytes for a panel: the lines of kLineFormats in their order, the size lines with
// these values, the station information with its placeholder, one line per element in list
// order.
std::string EncodeStation(const std::vector<TPolePanelu>& elements, int32_t height, int32_t width);

// Writes the panel (with the size values the window shows) to `path`, replacing the file
// atomically, then shows the saved state: path, caption, "Uloženo". On failure throws and
// changes nothing. The path is the window's text or the file system's bytes.
void SaveStation(const QString& path, const PanelState& panel, StationWindow& window);
void SaveStation(const std::string& nativePath, const PanelState& panel, StationWindow& window);

// What a load met besides the panel: the lines it skipped because their kind is unknown.
struct LoadReport {
    StationContent::UnknownLines unknown;
};

// Reads the file at `path` completely, then replaces the panel with it and shows the loaded
// state: path, caption, "Načteno". On failure throws and changes nothing. The path is the
// window's text or the file system's bytes.
LoadReport LoadStation(const QString& path, PanelState& panel, StationWindow& window);
LoadReport LoadStation(const std::string& nativePath, PanelState& panel, StationWindow& window);

// The notice after a load that skipped lines of an unknown kind, in Czech with the count's
// plural; empty when there were none.
QString UnknownLinesNotice(const LoadReport& report);

// Reads the station file at the path (the file system's bytes) completely; nothing is
// applied anywhere. Throws FileError or ConversionError. `firstLine` as for StationReader.
StationContent ReadStationFile(const std::string& nativePath, int64_t firstLine = 1);

// Applies a fully read station to the panel and the window's size values.
void ApplyStation(StationContent content, PanelState& panel, StationWindow& window);

} // namespace vedivez
