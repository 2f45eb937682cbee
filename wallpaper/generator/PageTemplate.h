// The wallpaper page: a 14-line HTML page that shows one Flash movie over a
// solid background colour. Texts are cp1250 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvin::wallpaper {

// Where the Flash player's ActiveX control and its browser plug-in come from.
inline constexpr const char* kDownloadHost = "download.macromedia.com";
inline constexpr const char* kPlayerHost = "www.macromedia.com";

struct PageValues {
  std::string movie;    // PlikAnim
  std::string charset;  // Kodowanie
  std::string title;    // Tytul
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::string align;    // alignment word
  std::string quality;  // quality word
  std::string menu;     // "True" / "False"
  std::string colour;   // six hex digits
};

// The wizard's captions (cp1250) mapped to the words the page uses; any other
// text gives the empty word.
std::string alignmentWord(const std::string& wyrownanie);
std::string qualityWord(const std::string& jakosc);
std::string menuWord(bool pokazMenu);

// Red, green and blue of a 0x00BBGGRR value as "RRGGBB" with upper-case
// digits. Raises ERangeError for anything but a plain RGB value (a system
// colour reference has its high bit set).
std::string colourText(std::int32_t kolor);

// Writes &, <, > and " as HTML entities, so a typed text can neither break
// the page's markup nor add to it; every other byte stays as it is.
std::string escapeHtml(const std::string& text);

// The fourteen lines of the page, without line ends. The movie, character
// set and title are escaped here.
std::vector<std::string> pageLines(const PageValues& values);

}  // namespace morvin::wallpaper
