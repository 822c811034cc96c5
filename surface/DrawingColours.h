#pragma once

#include <cstdint>

namespace vedivez {

// The colours the panel is drawn in, on the screen and in exports, as 0x00BBGGRR values
// (surface/Color.h converts them for Qt).
inline constexpr uint32_t kBackgroundColour = 0x808080;  // grey behind the tiles on the screen
inline constexpr uint32_t kPaperColour = 0xFFFFFF;       // white behind the tiles on paper
inline constexpr uint32_t kTrackColour = 0x000000;       // the tiles' track and marks
inline constexpr uint32_t kMissingTileColour = 0x0000FF; // red cross of a name without a picture
inline constexpr uint32_t kGridColour = 0xFF0000;        // blue
inline constexpr uint32_t kLightGridColour = 0xFF8C8C;   // lighter blue of the small cells
inline constexpr uint32_t kCursorColour = 0x0000FF;      // red outline of the cursor's cell
inline constexpr uint32_t kOverlayTextColour = 0x000080; // dark red diagnostic text
inline constexpr uint32_t kOpenEndColour = 0x0000FF;     // red triangle of an open track end
inline constexpr uint32_t kLeavesPanelColour = 0x0080FF; // orange one where track leaves
inline constexpr uint32_t kCellFrameColour = 0x0000FF;   // red frame of a crowded or unknown cell

} // namespace vedivez
