#include "PageTemplate.h"

#include <cstdint>
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

// The page's bytes are code page 1250 and stand as they are, except under the
// Western charsets the English wizard offers (windows-1252, ISO-8859-1): there
// a letter beyond ASCII is written as a character reference, which every
// charset reads as the same letter.
bool westernCharset(const std::string& charset) {
  return cp1250::equalsIgnoreCase(charset, "windows-1252") || cp1250::equalsIgnoreCase(charset, "ISO-8859-1");
}

std::string withCharacterReferences(const std::string& text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
      continue;
    }
    out += "&#" + std::to_string(static_cast<std::uint32_t>(cp1250::toUnicode(byte))) + ";";
  }
  return out;
}

std::vector<std::string> pageLines(const PageValues& v) {
  const bool asIs = !westernCharset(v.charset);
  const std::string movie = asIs ? escapeHtml(v.movie) : withCharacterReferences(escapeHtml(v.movie));
  const std::string charset = escapeHtml(v.charset);
  const std::string title = asIs ? escapeHtml(v.title) : withCharacterReferences(escapeHtml(v.title));
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
