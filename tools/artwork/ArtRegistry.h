// The program's pictures are drawn from code, never copied from elsewhere.
// morvin-artwork draws every registered picture into a folder (at build time
// into the executable's folder, so Data/Gfx/Bmp/... lies beside morvin-ng).
//
// Adding pictures of your own: write tools/artwork/<Area>Art.cpp (every
// *Art.cpp here is built into the generator) with a draw function per picture
// and one registration each, by its path below the output folder — use '/' and
// the exact file name and letter case the program opens:
//
//   #include "tools/artwork/ArtRegistry.h"
//   namespace {
//   QImage drawPreview() {
//     QImage image(120, 90, QImage::Format_RGB32);
//     QPainter p(&image);
//     ...
//     return image;
//   }
//   const morvin::art::Registration preview("Data/Gfx/Bmp/menu/bpp.bmp", drawPreview);
//   }  // namespace
//
// The file format follows the extension (.bmp, .png, .ico; any letter case).
// Helpers for the classic look (bevels, the palette) are in ArtKit.h.
#pragma once

#include <QImage>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace morvin::art {

using DrawFunction = std::function<QImage()>;

struct Registration {
  Registration(const char* path, DrawFunction draw);
};

// Every registered picture by its path (a path registered twice is an error
// the generator reports).
const std::map<std::string, DrawFunction>& pictures();
const std::vector<std::string>& duplicatePaths();

}  // namespace morvin::art
