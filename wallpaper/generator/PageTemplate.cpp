#include "PageTemplate.h"

#include <cstdio>

#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin::wallpaper {

namespace {

struct Mapping {
  const char* caption;  // UTF-8, as the wizard shows it
  const char* word;
};

constexpr Mapping kAlignments[] = {
    {"Do prawej", "right"}, {"Do lewej", "left"}, {"Do góry", "top"},
    {"Do dołu", "bottom"},  {"Do środka", ""},
};

constexpr Mapping kQualities[] = {
    {"Słaba", "Low"},
    {"Dobra", "Medium"},
    {"Bardzo dobra", "High"},
};

template <std::size_t N>
std::string lookUp(const Mapping (&table)[N], const std::string& caption) {
  for (const Mapping& m : table)
    if (caption == cp1250::fromUtf8(m.caption)) return m.word;  // exact, case-sensitive
  return {};
}

}  // namespace

std::string alignmentWord(const std::string& wyrownanie) {
  return lookUp(kAlignments, wyrownanie);
}

std::string qualityWord(const std::string& jakosc) {
  return lookUp(kQualities, jakosc);
}

std::string menuWord(bool pokazMenu) {
  return pokazMenu ? "True" : "False";
}

std::string colourText(std::int32_t kolor) {
  if (kolor < 0 || kolor > 0xFFFFFF) throw ERangeError(msg::RangeCheck);
  const unsigned red = kolor & 0xFF, green = (kolor >> 8) & 0xFF, blue = (kolor >> 16) & 0xFF;
  char text[7];
  std::snprintf(text, sizeof text, "%02X%02X%02X", red, green, blue);
  return text;
}

std::string escapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::vector<std::string> pageLines(const PageValues& v) {
  const std::string movie = escapeHtml(v.movie);
  const std::string charset = escapeHtml(v.charset);
  const std::string title = escapeHtml(v.title);
  const std::string width = std::to_string(v.width);
  const std::string height = std::to_string(v.height);
  const std::string size = "WIDTH=\"" + width + "\" HEIGHT=\"" + height + "\"";

  return {
      "<HTML>",
      "<HEAD>",
      "<meta http-equiv=Content-Type content=\"text/html;  charset=" + charset + "\">",
      "<TITLE>" + title + "</TITLE>",
      "</HEAD>",
      "<BODY bgcolor=\"" + v.colour + "\">",
      "<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\"",
      " codebase=\"http://" + std::string(kDownloadHost) +
          "/pub/shockwave/cabs/flash/swflash.cab#version=6,0,0,0\"",
      " " + size + " id=\"" + title + "\" ALIGN=\"" + v.align + "\">",
      " <PARAM NAME=movie VALUE=\"" + movie + "\"> <PARAM NAME=menu VALUE=" + v.menu +
          "> <PARAM NAME=quality VALUE=" + v.quality + "> <PARAM NAME=bgcolor VALUE=" + v.colour +
          "> <EMBED src=\"" + movie + "\" menu=" + v.menu + " quality=" + v.quality + " bgcolor=" + v.colour +
          "  " + size + " NAME=\"" + title + "\" ALIGN=\"" + v.align + "\"",
      " TYPE=\"application/x-shockwave-flash\" PLUGINSPAGE=\"http://" + std::string(kPlayerHost) +
          "/go/getflashplayer\"></EMBED>",
      "</OBJECT>",
      "</BODY>",
      "</HTML>",
  };
}

}  // namespace morvin::wallpaper
