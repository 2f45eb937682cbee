// The RTF reader: formatting, groups, character sets, Unicode, paragraphs and
// the destinations it skips.
#include <QFont>

#include "RtfTestSupport.h"

namespace morvin::test {
namespace {

TEST(RtfReader, CharacterFormattingFollowsGroupsAndToggles) {
  auto doc = readRtfText(
      R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1{\*\panose 0202}Times New Roman;}}\f0\fs20 plain )"
      R"({\b bold {\i both} }after \ul under\ulnone  \strike gone\strike0  \f1\fs36 big\plain  reset})");
  EXPECT_EQ(formatOf(*doc, "plain").fontWeight(), QFont::Normal);
  EXPECT_EQ(formatOf(*doc, "plain").fontPointSize(), 10.0);
  EXPECT_EQ(formatOf(*doc, "plain").fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_EQ(formatOf(*doc, "bold").fontWeight(), QFont::Bold);
  EXPECT_FALSE(formatOf(*doc, "bold").fontItalic());
  EXPECT_TRUE(formatOf(*doc, "both").fontItalic());
  EXPECT_EQ(formatOf(*doc, "both").fontWeight(), QFont::Bold);
  // The group's end restores what was in force before it.
  EXPECT_EQ(formatOf(*doc, "after").fontWeight(), QFont::Normal);
  EXPECT_TRUE(formatOf(*doc, "under").fontUnderline());
  EXPECT_FALSE(formatOf(*doc, "gone").fontUnderline());
  EXPECT_TRUE(formatOf(*doc, "gone").fontStrikeOut());
  // A font entry with a nested group keeps its name.
  EXPECT_EQ(formatOf(*doc, "big").fontFamilies().toStringList(), QStringList{"Times New Roman"});
  EXPECT_EQ(formatOf(*doc, "big").fontPointSize(), 18.0);
  EXPECT_FALSE(formatOf(*doc, "big").fontStrikeOut());
  // \plain: the default font and size, no styles.
  EXPECT_EQ(formatOf(*doc, "reset").fontPointSize(), 12.0);
  EXPECT_EQ(doc->toPlainText(), "plain bold both after under gone big reset");
}

TEST(RtfReader, HiddenTextIsLeftOutAndCapitalsAreShownAsSuch) {
  auto doc =
      readRtfText(R"({\rtf1 shown{\v  hidden\'b9\u322?}\v  also hidden\v0  \caps caps\caps0  \scaps small})");
  EXPECT_EQ(doc->toPlainText(), "shown caps small");
  EXPECT_EQ(formatOf(*doc, "caps").fontCapitalization(), QFont::AllUppercase);
  EXPECT_EQ(formatOf(*doc, "small").fontCapitalization(), QFont::SmallCaps);
  EXPECT_EQ(formatOf(*doc, "shown").fontCapitalization(), QFont::MixedCase);
}

TEST(RtfReader, ColoursComeFromTheColourTableAndAutoLeavesTheTextColour) {
  auto doc = readRtfText(
      R"({\rtf1{\colortbl ;\red0\green0\blue128;\red255\green0\blue0;}auto \cf1 navy \cf2\highlight1 red )"
      R"(\cf0\highlight0 back \cf9 missing})");
  EXPECT_FALSE(formatOf(*doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(formatOf(*doc, "navy").foreground().color(), QColor(0, 0, 128));
  EXPECT_EQ(formatOf(*doc, "red").foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(formatOf(*doc, "red").background().color(), QColor(0, 0, 128));
  EXPECT_FALSE(formatOf(*doc, "back").hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_FALSE(formatOf(*doc, "back").hasProperty(QTextFormat::BackgroundBrush));
  EXPECT_FALSE(formatOf(*doc, "missing").hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReader, BytesAreDecodedInTheCodePageOfTheirFont) {
  // No \ansicpg: the system's code page, 1250.
  EXPECT_EQ(readRtfText(R"({\rtf1\ansi Za\'bf\'f3\'b3\'e6 g\'ea\'9cl\'b9 ja\'9f\'f1})")->toPlainText(),
            QString::fromUtf8("Zażółć gęślą jaźń"));
  auto doc =
      readRtfText(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset238 Arial CE;})"
                  R"({\f2\fcharset204 Arial Cyr;}}\f0\'b9 \f1\'b9 \f2\'c0\'c1})");
  EXPECT_EQ(doc->toPlainText(), QString::fromUtf8("¹ ą АБ"));
  EXPECT_EQ(readRtfText(R"({\rtf1\ansi\ansicpg65001 \'c5\'82\'c3\'b3d\'c5\'ba})")->toPlainText(),
            QString::fromUtf8("łódź"));
}

TEST(RtfReader, SymbolFontsShowTheCharactersTheyDraw) {
  auto doc = readRtfText(
      R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}{\f2\fcharset2 Wingdings;}{\f3\fcharset2 Marlett;}})"
      R"({\f1\'b7 a\'70\'b3\'a5}{\f2\'a7\'d8}{\f3\'62} text})");
  // Letters of the Symbol font are Greek.
  EXPECT_EQ(doc->toPlainText(), QString::fromUtf8("• απ≥∞▪➢b text"));
  // Shown in the text's own font: a symbol font would draw other glyphs.
  EXPECT_FALSE(formatOf(*doc, "•").hasProperty(QTextFormat::FontFamilies));
}

TEST(RtfReader, UnicodeCharactersSkipTheirFallback) {
  auto doc =
      readRtfText(R"({\rtf1\ansi\uc1 \u321?\u322\'b3 {\uc2\u380 ab}c\u-10179?\u-8704? {\uc0\u261}d\u8364?})");
  // \uc1: one fallback character, a \'xx byte counts as one; the group's end
  // restores \uc1; a surrogate pair makes one character.
  EXPECT_EQ(doc->toPlainText(), QString::fromUtf8("Łł żc😀 ąd€"));
}

TEST(RtfReader, ParagraphsTakeTheirPropertiesAtTheirEnd) {
  auto doc = readRtfText(R"({\rtf1\pard\qc Centre\par\pard\qr\li720\ri360\sb240\sa120 Right\par)"
                         R"(\pard\qj Justified\par\pard\li360\fi-240 \bullet\tab Bullet\par Left\par})");
  EXPECT_EQ(doc->blockCount(), 5);  // the closing \par makes no empty paragraph
  EXPECT_EQ(blockOf(*doc, "Centre").blockFormat().alignment(), Qt::AlignHCenter);
  const QTextBlockFormat right = blockOf(*doc, "Right").blockFormat();
  EXPECT_EQ(right.alignment(), Qt::AlignRight);
  EXPECT_DOUBLE_EQ(right.leftMargin(), 48.0);  // 720 twips = half an inch at 96 dpi
  EXPECT_DOUBLE_EQ(right.rightMargin(), 24.0);
  EXPECT_DOUBLE_EQ(right.topMargin(), 16.0);
  EXPECT_DOUBLE_EQ(right.bottomMargin(), 8.0);
  EXPECT_EQ(blockOf(*doc, "Justified").blockFormat().alignment(), Qt::AlignJustify);
  const QTextBlockFormat bullet = blockOf(*doc, "Bullet").blockFormat();
  EXPECT_DOUBLE_EQ(bullet.leftMargin(), 24.0);
  EXPECT_DOUBLE_EQ(bullet.textIndent(), -16.0);
  // The hanging indent brings a tab stop at the indent (Qt counts from the
  // first line's start, 16 pixels left of the indent).
  ASSERT_EQ(bullet.tabPositions().size(), 1);
  EXPECT_DOUBLE_EQ(bullet.tabPositions().front().position, 16.0);
  // Without \pard the properties go on into the next paragraph.
  EXPECT_DOUBLE_EQ(blockOf(*doc, "Left").blockFormat().leftMargin(), 24.0);
  EXPECT_EQ(blockOf(*doc, "Bullet").text(), QString::fromUtf8("•\tBullet"));
}

TEST(RtfReader, SpecialCharactersBreaksAndTabs) {
  auto doc =
      readRtfText(R"({\rtf1 a\tab b\line c\emdash d\endash e\~f\lquote g\rquote\ldblquote h\rdblquote\{\}\\)"
                  R"(\tx1440\tqr\tx2880 x\par\page P2\par})");
  const QString expected = QString::fromUtf8("a\tb\u2028c—d–e\u00A0f‘g’“h”{}\\x\nP2");
  EXPECT_EQ(doc->toRawText().replace(QChar::ParagraphSeparator, '\n'), expected);
  const QTextBlockFormat tabs = doc->begin().blockFormat();
  ASSERT_EQ(tabs.tabPositions().size(), 2);
  EXPECT_DOUBLE_EQ(tabs.tabPositions()[0].position, 96.0);
  EXPECT_EQ(tabs.tabPositions()[1].type, QTextOption::RightTab);
  EXPECT_DOUBLE_EQ(doc->defaultTextOption().tabStopDistance(), 48.0);
  // Stops are measured from the margin, whatever the paragraph's indent.
  auto indented = readRtfText(R"({\rtf1\deftab360\li720\fi-360\tx1440 a\tab b})");
  ASSERT_EQ(indented->begin().blockFormat().tabPositions().size(), 1);
  EXPECT_DOUBLE_EQ(indented->begin().blockFormat().tabPositions()[0].position, 72.0);
  EXPECT_DOUBLE_EQ(indented->defaultTextOption().tabStopDistance(), 24.0);
  EXPECT_EQ(blockOf(*doc, "P2").blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfReader, DestinationsWithoutVisibleTextAreSkipped) {
  auto doc = readRtfText(
      R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\stylesheet{\s0 Normal;}}{\info{\title Hidden}{\author A}})"
      R"({\*\generator Writer;}{\*\unknowndestination secret {nested}}{\pict\wmetafile8 0a0b0c})"
      R"({\header head}Shown {\field{\*\fldinst HYPERLINK "http://example.org"}{\fldrslt link}})"
      R"( \bin3 {}}after})");
  EXPECT_EQ(doc->toPlainText(), "Shown link after");
}

TEST(RtfReader, DataThatIsNotRtfLeavesTheDocumentAlone) {
  QTextDocument doc;
  doc.setPlainText("kept");
  EXPECT_FALSE(guide::readRtf("plain {\\rtf1 not at the start}", doc));
  EXPECT_FALSE(guide::readRtf("", doc));
  EXPECT_FALSE(guide::readRtf(" {\\rtf1 x}", doc));
  EXPECT_EQ(doc.toPlainText(), "kept");
  EXPECT_TRUE(guide::isRtf("{\\rtf1}"));
}

TEST(RtfReader, BrokenRtfShowsWhatCouldBeRead) {
  // Truncated inside a group, a broken \'x, stray closing braces after the end.
  EXPECT_EQ(readRtfText(R"({\rtf1 one\par{\b two\'g1)")->toPlainText(), "one\ntwog1");
  EXPECT_EQ(readRtfText(R"({\rtf1 done}} trailing {)")->toPlainText(), "done");
  // Deep nesting and huge numbers do not hurt.
  QByteArray deep = "{\\rtf1 ";
  deep += QByteArray(50000, '{') + "deep" + QByteArray(50000, '}') + " end}";
  EXPECT_EQ(readRtfText(deep)->toPlainText(), " end");
  auto huge = readRtfText(R"({\rtf1\fs999999999999\li-99999999999{\uc999999 \u999999999 abc}y})");
  EXPECT_EQ(huge->toPlainText(), "y");
  EXPECT_EQ(formatOf(*huge, "y").fontPointSize(), 1638.0);
}

}  // namespace
}  // namespace morvin::test
