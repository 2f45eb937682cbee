// The animated wallpaper page generator: writes the page into the Windows
// folder's Web\Wallpaper subfolder, where the display properties offer it.
#pragma once

#include <cstdint>
#include <string>

namespace morvin::wallpaper {

// The longest path Windows accepts for a file (MAX_PATH less the NUL).
inline constexpr std::size_t kMaxPathLength = 259;

// KatalogWindows + "\Web\Wallpaper\" + title + ".html" (cp1250). The title is
// used as typed; an empty title gives ".html".
std::string wallpaperPagePath(const std::string& tytul);

// Writes the page for the wizard's options (texts in cp1250, `Kolor` as
// 0x00BBGGRR). Any failure raises: EInOutError with the Windows error code
// for the file (a path over 259 characters is refused as an invalid file
// name, never shortened), ERangeError for a colour that is not plain RGB,
// which is refused before anything is written.
void UtworzTapete(const std::string& PlikAnim, const std::string& Kodowanie, const std::string& Wyrownanie,
                  const std::string& Tytul, const std::string& Jakosc, std::int32_t Szer, std::int32_t Wys,
                  std::int32_t Kolor, bool PokazMenu);

}  // namespace morvin::wallpaper
