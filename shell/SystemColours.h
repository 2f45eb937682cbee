// Colours as the program stores them (a Delphi TColor: 0x00BBGGRR, or
// 0x80000000 plus a system colour index) and the classic Windows 98 system
// colours that the references stand for.
#pragma once

#include <QColor>
#include <cstdint>

namespace morvin {

namespace syscolour {
inline constexpr int ButtonFace = 15;  // COLOR_BTNFACE, clBtnFace
inline constexpr int CaptionText = 9;  // COLOR_CAPTIONTEXT, clCaptionText
inline constexpr int WindowText = 8;   // COLOR_WINDOWTEXT, clWindowText
}  // namespace syscolour

// The classic scheme's colour of a system colour index (grey for an unknown one).
QColor systemColour(int index);
// A stored colour value as a colour; a system reference maps through systemColour.
QColor colourFromStored(std::uint32_t value);
// A colour as a stored value (0x00BBGGRR).
std::uint32_t storedFromColour(const QColor& colour);
// The stored value that stands for the default window colour, clBtnFace.
inline constexpr std::uint32_t kDefaultWindowColour = 0x80000000u + syscolour::ButtonFace;

}  // namespace morvin
