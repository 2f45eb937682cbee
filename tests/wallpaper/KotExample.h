// The Kot example: the choices for a page titled "Kot" (a movie in
// C:\Anim, ISO-8859-2, 1024x768, left, black, medium quality, no menu) and
// the page the display properties are to receive, byte for byte.
#pragma once

#include <cstdint>
#include <string>

namespace morvin::test {

// A colour in the 0x00BBGGRR form the generator takes.
inline std::int32_t rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

struct Options {
  std::string movie = "C:\\Anim\\kot.swf";
  std::string charset = "ISO-8859-2";
  std::string align = "Do lewej";
  std::string title = "Kot";
  std::string quality = "Dobra";
  std::int32_t width = 1024, height = 768;
  std::int32_t colour = rgb(0, 0, 0);
  bool menu = false;
};

inline constexpr char kKotPage[] =
    "<HTML>\r\n"
    "<HEAD>\r\n"
    "<meta http-equiv=Content-Type content=\"text/html;  charset=ISO-8859-2\">\r\n"
    "<TITLE>Kot</TITLE>\r\n"
    "</HEAD>\r\n"
    "<BODY bgcolor=\"000000\">\r\n"
    "<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\"\r\n"
    " codebase=\"http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=6,0,0,0\"\r\n"
    " WIDTH=\"1024\" HEIGHT=\"768\" id=\"Kot\" ALIGN=\"left\">\r\n"
    " <PARAM NAME=movie VALUE=\"C:\\Anim\\kot.swf\"> <PARAM NAME=menu VALUE=False> <PARAM NAME=quality "
    "VALUE=Medium> <PARAM NAME=bgcolor VALUE=000000> <EMBED src=\"C:\\Anim\\kot.swf\" menu=False "
    "quality=Medium bgcolor=000000  WIDTH=\"1024\" HEIGHT=\"768\" NAME=\"Kot\" ALIGN=\"left\"\r\n"
    " TYPE=\"application/x-shockwave-flash\" "
    "PLUGINSPAGE=\"http://www.macromedia.com/go/getflashplayer\"></EMBED>\r\n"
    "</OBJECT>\r\n"
    "</BODY>\r\n"
    "</HTML>\r\n";

}  // namespace morvin::test
