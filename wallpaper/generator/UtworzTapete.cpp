#include "UtworzTapete.h"

#include "InOutError.h"
#include "PageTemplate.h"
#include "TextFileWriter.h"
#include "platform/WindowsFolder.h"
#ifndef _WIN32
#include "platform/DriveMapping.h"
#endif

namespace morvin::wallpaper {

namespace {

// Characters no Windows file name holds (the separators aside, which the
// drive mapping follows as Windows does).
bool hasCharacterBannedInNames(const std::string& tytul) {
  for (unsigned char c : tytul)
    if (c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*')
      return true;
  return false;
}

}  // namespace

std::string wallpaperPagePath(const std::string& tytul) {
  return platform::KatalogWindows() + "\\Web\\Wallpaper\\" + tytul + ".html";
}

void UtworzTapete(const std::string& PlikAnim, const std::string& Kodowanie, const std::string& Wyrownanie,
                  const std::string& Tytul, const std::string& Jakosc, std::int32_t Szer, std::int32_t Wys,
                  std::int32_t Kolor, bool PokazMenu) {
  PageValues values;
  values.align = alignmentWord(Wyrownanie);
  values.quality = qualityWord(Jakosc);
  values.menu = menuWord(PokazMenu);
  const std::string path = wallpaperPagePath(Tytul);
  values.colour = colourText(Kolor);
  values.movie = PlikAnim;
  values.charset = Kodowanie;
  values.title = Tytul;
  values.width = Szer;
  values.height = Wys;

  if (path.size() > kMaxPathLength) raiseInOutError(io::PathNotFound);
  if (hasCharacterBannedInNames(Tytul)) raiseInOutError(io::InvalidName);
#ifdef _WIN32
  writeTextFileReplacing(path, pageLines(values));  // the system's own path
#else
  const auto hostPath = platform::toHostPath(path);  // drive C: of the machine folder
  if (!hostPath) raiseInOutError(io::PathNotFound);
  writeTextFileReplacing(*hostPath, pageLines(values));
#endif
}

}  // namespace morvin::wallpaper
