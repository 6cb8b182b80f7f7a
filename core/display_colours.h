// The colours of the curve editor and the level bar: fixed ones, or the system's while high contrast is on, so
// that a high-contrast theme's own colours show there as everywhere else.
#pragma once

#include <cstdint>

// 0x00BBGGRR, as Windows keeps a COLORREF.
using Colour = std::uint32_t;

// The system colours that high contrast uses (GetSysColor of each).
struct SystemColours {
  Colour window = 0;      // COLOR_WINDOW
  Colour windowText = 0;  // COLOR_WINDOWTEXT
  Colour grayText = 0;    // COLOR_GRAYTEXT
  Colour highlight = 0;   // COLOR_HIGHLIGHT
  Colour buttonFace = 0;  // COLOR_BTNFACE
};

struct DisplayColours {
  Colour field = 0;          // the editor with curves enabled, and the level bar's background
  Colour disabledField = 0;  // the editor with curves disabled
  Colour grid = 0;           // the editor's frame and grid
  Colour curve = 0;          // the curve and the input line
  Colour marker = 0;         // the control points
  Colour levelFrame = 0;
  Colour level = 0;  // the level bar's fill
};

DisplayColours displayColours(bool highContrast, const SystemColours& system);
