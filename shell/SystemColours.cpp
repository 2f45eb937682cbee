#include "SystemColours.h"

#include <array>

namespace morvin {

QColor systemColour(int index) {
  // The "Windows Standard" scheme of Windows 98, COLOR_SCROLLBAR .. COLOR_GRADIENTINACTIVECAPTION.
  static constexpr std::array<QRgb, 29> scheme = {
      0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
      0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0,
      0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xFFFFE1, 0xB5B5B5, 0x0000FF, 0x1084D0, 0xB5B5B5};
  if (index < 0 || index >= static_cast<int>(scheme.size())) return QColor(0xC0C0C0);
  return QColor(scheme[static_cast<std::size_t>(index)]);
}

QColor colourFromStored(std::uint32_t value) {
  if (value & 0x80000000u) return systemColour(static_cast<int>(value & 0xFFu));
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t storedFromColour(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
         (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

}  // namespace morvin
