#include "core/display_colours.h"

namespace {
constexpr Colour rgb(int red, int green, int blue) {
  return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 | static_cast<Colour>(blue) << 16;
}
}  // namespace

// Disabled, the editor takes the button face, as a disabled edit box does in a high-contrast theme.
DisplayColours displayColours(bool highContrast, const SystemColours& system) {
  if (highContrast)
    return {system.window,    system.buttonFace, system.grayText, system.windowText,
            system.highlight, system.windowText, system.highlight};
  return {rgb(255, 255, 255), rgb(192, 192, 192), rgb(128, 128, 255), rgb(0, 0, 0),
          rgb(0, 143, 0),     rgb(128, 128, 128), rgb(0, 255, 0)};
}
