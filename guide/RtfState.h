// What an RTF group carries: character and paragraph properties and where
// its text goes.
#pragma once

#include <QList>
#include <QTextOption>
#include <Qt>

namespace morvin::guide {

struct RtfCharacter {
  int font = -1;        // index into the font table; -1: the document's font
  int halfPoints = 24;  // \fs
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int foreground = 0;  // index into the colour table; 0: automatic
  int background = 0;
  int vertical = 0;     // -1 subscript, 1 superscript
  bool hidden = false;  // \v: text that is never shown
  bool allCaps = false;
  bool smallCaps = false;
  bool operator==(const RtfCharacter&) const = default;
};

struct RtfParagraph {
  Qt::Alignment alignment = Qt::AlignLeft;
  int leftTwips = 0;
  int rightTwips = 0;
  int firstLineTwips = 0;
  int beforeTwips = 0;
  int afterTwips = 0;
  int lineSpacing = 0;  // \sl: >0 at least, <0 exactly, in twips
  bool lineMultiple = false;
  QList<QTextOption::Tab> tabs;
  QTextOption::TabType nextTabType = QTextOption::LeftTab;
};

enum class RtfDestination { Text, FontTable, ColourTable, Skipped };

struct RtfGroup {
  RtfCharacter character;
  RtfParagraph paragraph;
  RtfDestination destination = RtfDestination::Text;
  int unicodeSkip = 1;  // \uc: fallback characters after each \u
};

}  // namespace morvin::guide
