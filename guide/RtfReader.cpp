#include "RtfReader.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "RtfCodePage.h"
#include "RtfState.h"
#include "RtfSymbolFonts.h"
#include "RtfTokenizer.h"

namespace morvin::guide {

namespace {

// Deeper nesting is not RTF any program writes; it is read but not shown.
constexpr size_t kMaxDepth = 2000;
// Lengths beyond 22 inches and sizes beyond 1638 pt are clamped, as Word does.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;

double pixelsFromTwips(int twips) {
  return std::clamp(twips, -kMaxTwips, kMaxTwips) / 15.0;  // 96 pixels per inch
}

struct FontEntry {
  QString family;
  int charset = 0;
  int codePage = 0;  // \cpg; 0: from the charset
  SymbolFont symbols = SymbolFont::None;
};

// Control words whose group holds nothing to show.
bool isSkippedDestination(const QByteArray& word) {
  // clang-format off
  static const QSet<QByteArray> skipped = {
      "stylesheet", "info", "pict", "objdata", "objclass", "objname", "header", "headerl", "headerr",
      "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "xe", "tc", "tcn",
      "bkmkstart", "bkmkend", "listtable", "listoverridetable", "revtbl", "rsidtbl", "filetbl",
      "generator", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
      "pgdsctbl", "pn", "author", "operator", "title", "subject", "keywords", "comment", "doccomm",
      "creatim", "revtim", "printim", "buptim", "userprops", "template", "atnid", "atnauthor",
      "annotation", "txe", "rxe", "private", "nonshppict", "shpinst", "do", "mmathPr", "ftnsep",
      "ftnsepc", "aftnsep"};
  // clang-format on
  return skipped.contains(word);
}

class RtfBuilder {
 public:
  explicit RtfBuilder(QTextDocument& document) : document_(document), cursor_(&document) {}

  void read(const QByteArray& data) {
    RtfTokenizer tokenizer(data);
    for (RtfToken token = tokenizer.next(); token.kind != RtfToken::Kind::End; token = tokenizer.next()) {
      switch (token.kind) {
        case RtfToken::Kind::GroupStart:
          openGroup();
          break;
        case RtfToken::Kind::GroupEnd:
          if (!closeGroup()) return;  // the document's own group has ended
          break;
        case RtfToken::Kind::Text:
          text(token.byte);
          break;
        case RtfToken::Kind::HexByte:
          hexByte(token.byte);
          break;
        case RtfToken::Kind::ControlSymbol:
          controlSymbol(token.symbol);
          break;
        case RtfToken::Kind::ControlWord:
          if (token.word == "bin") {
            tokenizer.skipBytes(token.parameter);
            consumeFallback();
          } else {
            controlWord(token);
          }
          break;
        case RtfToken::Kind::End:
          break;
      }
    }
    finish();
  }

 private:
  RtfGroup& group() { return groups_.back(); }
  RtfCharacter& character() { return group().character; }
  RtfParagraph& paragraph() { return group().paragraph; }
  bool showing() const { return hiddenDepth_ == 0 && groups_.back().destination == RtfDestination::Text; }
  bool showingText() const { return showing() && !groups_.back().character.hidden; }

  // ---- groups -------------------------------------------------------------

  void openGroup() {
    flush();
    fallbackLeft_ = 0;
    if (groups_.size() >= kMaxDepth || hiddenDepth_ > 0) {
      ++hiddenDepth_;
      return;
    }
    groups_.push_back(groups_.back());
  }

  // False when the outermost group closes.
  bool closeGroup() {
    flush();
    fallbackLeft_ = 0;
    if (hiddenDepth_ > 0) {
      --hiddenDepth_;
      return true;
    }
    if (groups_.size() <= 2) {
      finish();  // with the properties of the document's own group
      return false;
    }
    if (group().destination == RtfDestination::FontTable) fontEntryEnd();
    groups_.pop_back();
    return true;
  }

  // ---- text ---------------------------------------------------------------

  void text(unsigned char byte) {
    if (consumeFallback()) return;
    switch (group().destination) {
      case RtfDestination::Text:
        if (showingText()) pendingBytes_.append(static_cast<char>(byte));
        break;
      case RtfDestination::FontTable:
        if (byte == ';')
          fontEntryEnd();
        else
          fontName_.append(static_cast<char>(byte));
        break;
      case RtfDestination::ColourTable:
        if (byte == ';') colourEntryEnd();
        break;
      case RtfDestination::Skipped:
        break;
    }
  }

  void hexByte(unsigned char byte) {
    if (consumeFallback()) return;
    if (group().destination == RtfDestination::FontTable)
      fontName_.append(static_cast<char>(byte));
    else if (showingText())
      pendingBytes_.append(static_cast<char>(byte));
  }

  void appendCharacter(QChar c) {
    if (!showingText()) return;
    decodePending();
    pendingText_.append(c);
  }

  // After \uN the next \uc characters are the fallback for older readers.
  bool consumeFallback() {
    if (fallbackLeft_ <= 0) return false;
    --fallbackLeft_;
    return true;
  }

  // \uN is a signed 16-bit number; anything else is no character.
  void unicode(int value) {
    if (value >= -32768 && value <= 65535)
      appendCharacter(QChar(static_cast<char16_t>(value < 0 ? value + 65536 : value)));
    fallbackLeft_ = group().unicodeSkip;
  }

  void decodePending() {
    if (pendingBytes_.isEmpty()) return;
    const FontEntry* font = currentFont();
    if (font && font->symbols != SymbolFont::None)
      pendingText_ += decodeSymbolFont(pendingBytes_, font->symbols);
    else
      pendingText_ += decodeCodePage(pendingBytes_, currentCodePage());
    pendingBytes_.clear();
  }

  // Inserts what has been read with the formatting in force.
  void flush() {
    decodePending();
    if (pendingText_.isEmpty()) return;
    cursor_.insertText(pendingText_, charFormat());
    pendingText_.clear();
    blockHasText_ = true;
  }

  const FontEntry* currentFont() const {
    auto found = fonts_.constFind(groups_.back().character.font);
    return found == fonts_.constEnd() ? nullptr : &*found;
  }

  int currentCodePage() const {
    const FontEntry* font = currentFont();
    if (!font) return codePage_;
    if (font->codePage > 0) return font->codePage;
    return codePageForCharset(font->charset, codePage_);
  }

  // ---- control words ------------------------------------------------------

  void controlSymbol(char symbol) {
    if (consumeFallback()) return;
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        text(static_cast<unsigned char>(symbol));
        break;
      case '~':
        appendCharacter(QChar(0x00A0));
        break;
      case '-':
        appendCharacter(QChar(0x00AD));
        break;
      case '_':
        appendCharacter(QChar(0x2011));
        break;
      case '\n':
        paragraphEnd();
        break;
      case '*':
        group().destination = RtfDestination::Skipped;
        break;
      default:
        break;
    }
  }

  void controlWord(const RtfToken& t) {
    const QByteArray& w = t.word;
    const int n = t.parameter;
    const bool on = !t.hasParameter || n != 0;
    if (w == "u") {
      if (consumeFallback()) return;
      return unicode(n);
    }
    if (consumeFallback()) return;
    if (w == "uc") {
      group().unicodeSkip = std::clamp(n, 0, 16);
      return;
    }
    if (destinationWord(t)) return;
    if (specialCharacter(w)) return;
    if (group().destination == RtfDestination::ColourTable) return colourComponent(w, n);
    if (group().destination == RtfDestination::FontTable) return fontProperty(w, n);
    if (w == "par" || w == "sect" || w == "row") return paragraphEnd();
    if (w == "page") return pageBreak();
    if (characterProperty(w, n, on, t.hasParameter)) return;
    paragraphProperty(w, n);
  }

  bool destinationWord(const RtfToken& t) {
    const QByteArray& w = t.word;
    if (w == "fonttbl") {
      group().destination = RtfDestination::FontTable;
      fontEntryStart();
    } else if (w == "colortbl") {
      group().destination = RtfDestination::ColourTable;
      colourEntryStart();
    } else if (isSkippedDestination(w)) {
      flush();
      group().destination = RtfDestination::Skipped;
    } else if (w == "ansicpg") {
      flush();  // bytes read so far keep the code page they were written in
      if (t.parameter > 0) codePage_ = t.parameter;
    } else if (w == "pc") {
      codePage_ = 437;
    } else if (w == "pca") {
      codePage_ = 850;
    } else if (w == "mac") {
      codePage_ = 10000;
    } else if (w == "deftab") {
      if (t.parameter > 0) {
        QTextOption option = document_.defaultTextOption();
        option.setTabStopDistance(pixelsFromTwips(t.parameter));
        document_.setDefaultTextOption(option);
      }
    } else if (w == "deff") {
      defaultFont_ = t.parameter;
      character().font = t.parameter;
    } else {
      return false;
    }
    return true;
  }

  bool specialCharacter(const QByteArray& w) {
    static const QHash<QByteArray, char16_t> characters = {
        {"tab", u'\t'},        {"cell", u'\t'},       {"line", 0x2028},    {"emdash", 0x2014},
        {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},
        {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},    {"ltrmark", 0x200E},
        {"rtlmark", 0x200F}};
    auto found = characters.constFind(w);
    if (found == characters.constEnd()) return false;
    appendCharacter(QChar(*found));
    return true;
  }

  bool characterProperty(const QByteArray& w, int n, bool on, bool hasParameter) {
    RtfCharacter before = character();
    RtfCharacter& c = character();
    if (w == "plain") {
      c = RtfCharacter{};
      c.font = defaultFont_;
    } else if (w == "b") {
      c.bold = on;
    } else if (w == "i") {
      c.italic = on;
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "uldash" || w == "ulw" || w == "ulth" ||
               w == "ulwave") {
      c.underline = on;
    } else if (w == "ulnone") {
      c.underline = false;
    } else if (w == "strike" || w == "striked") {
      c.strike = on;
    } else if (w == "fs") {
      c.halfPoints = hasParameter && n > 0 ? std::min(n, kMaxHalfPoints) : 24;
    } else if (w == "f") {
      c.font = n;
    } else if (w == "cf") {
      c.foreground = n;
    } else if (w == "cb" || w == "highlight" || w == "chcbpat") {
      c.background = n;
    } else if (w == "v") {
      c.hidden = on;
    } else if (w == "caps") {
      c.allCaps = on;
    } else if (w == "scaps") {
      c.smallCaps = on;
    } else if (w == "super") {
      c.vertical = 1;
    } else if (w == "sub") {
      c.vertical = -1;
    } else if (w == "nosupersub") {
      c.vertical = 0;
    } else {
      return false;
    }
    if (!(before == c)) {
      // Text read so far keeps the formatting it was written with.
      RtfCharacter now = c;
      c = before;
      flush();
      character() = now;
    }
    return true;
  }

  void paragraphProperty(const QByteArray& w, int n) {
    RtfParagraph& p = paragraph();
    if (w == "pard") {
      p = RtfParagraph{};
    } else if (w == "ql") {
      p.alignment = Qt::AlignLeft;
    } else if (w == "qc") {
      p.alignment = Qt::AlignHCenter;
    } else if (w == "qr") {
      p.alignment = Qt::AlignRight;
    } else if (w == "qj") {
      p.alignment = Qt::AlignJustify;
    } else if (w == "li") {
      p.leftTwips = n;
    } else if (w == "ri") {
      p.rightTwips = n;
    } else if (w == "fi") {
      p.firstLineTwips = n;
    } else if (w == "sb") {
      p.beforeTwips = n;
    } else if (w == "sa") {
      p.afterTwips = n;
    } else if (w == "sl") {
      p.lineSpacing = n;
    } else if (w == "slmult") {
      p.lineMultiple = n != 0;
    } else if (w == "tqr") {
      p.nextTabType = QTextOption::RightTab;
    } else if (w == "tqc") {
      p.nextTabType = QTextOption::CenterTab;
    } else if (w == "tqdec") {
      p.nextTabType = QTextOption::DelimiterTab;
    } else if (w == "tx" || w == "tb") {
      if (p.tabs.size() < 64) {
        QTextOption::Tab tab(pixelsFromTwips(n), p.nextTabType);
        if (p.nextTabType == QTextOption::DelimiterTab) tab.delimiter = QLatin1Char('.');
        p.tabs.append(tab);
      }
      p.nextTabType = QTextOption::LeftTab;
    }
  }

  // ---- paragraphs -----------------------------------------------------------

  // A paragraph takes the properties in force at its end.
  void paragraphEnd() {
    if (!showing()) return;
    flush();
    cursor_.setBlockFormat(blockFormat());
    cursor_.setBlockCharFormat(charFormat());
    cursor_.insertBlock();
    blockHasText_ = false;
    blockBreaksPage_ = false;
  }

  // The text after a page break starts a paragraph on a new page.
  void pageBreak() {
    if (!showing()) return;
    flush();
    if (blockHasText_) paragraphEnd();
    blockBreaksPage_ = true;
  }

  void finish() {
    flush();
    // An empty paragraph left by a closing \par is removed: word processors show none.
    if (!blockHasText_ && !blockBreaksPage_ && cursor_.block().previous().isValid())
      cursor_.deletePreviousChar();
    else
      cursor_.setBlockFormat(blockFormat());
  }

  QTextBlockFormat blockFormat() const {
    const RtfParagraph& p = groups_.back().paragraph;
    QTextBlockFormat format;
    if (blockBreaksPage_) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    format.setAlignment(p.alignment);
    format.setLeftMargin(std::max(0.0, pixelsFromTwips(p.leftTwips)));
    format.setRightMargin(std::max(0.0, pixelsFromTwips(p.rightTwips)));
    format.setTextIndent(pixelsFromTwips(p.firstLineTwips));
    format.setTopMargin(std::max(0.0, pixelsFromTwips(p.beforeTwips)));
    format.setBottomMargin(std::max(0.0, pixelsFromTwips(p.afterTwips)));
    // RTF measures tab stops from the margin, Qt from where the first line
    // starts (left indent plus first-line indent).
    const double firstLineStart = pixelsFromTwips(p.leftTwips) + pixelsFromTwips(p.firstLineTwips);
    QList<QTextOption::Tab> tabs;
    for (QTextOption::Tab tab : p.tabs) {
      tab.position -= firstLineStart;
      if (tab.position > 0) tabs.append(tab);
    }
    // A hanging indent brings its own tab stop at the indent, so the text
    // after a bullet and its tab lines up with the lines below.
    if (p.tabs.isEmpty() && p.firstLineTwips < 0 && p.leftTwips > 0)
      tabs.append(QTextOption::Tab(pixelsFromTwips(p.leftTwips) - firstLineStart, QTextOption::LeftTab));
    if (!tabs.isEmpty()) format.setTabPositions(tabs);
    if (p.lineSpacing != 0) {
      if (p.lineMultiple && p.lineSpacing > 0)
        format.setLineHeight(std::min(p.lineSpacing, 2400) * 100.0 / 240.0,
                             QTextBlockFormat::ProportionalHeight);
      else if (p.lineSpacing < 0)
        format.setLineHeight(pixelsFromTwips(-p.lineSpacing), QTextBlockFormat::FixedHeight);
      else
        format.setLineHeight(pixelsFromTwips(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    }
    return format;
  }

  QTextCharFormat charFormat() const {
    const RtfCharacter& c = groups_.back().character;
    QTextCharFormat format;
    auto font = fonts_.constFind(c.font);
    // Symbol fonts are read as the characters they draw, which any font shows.
    if (font != fonts_.constEnd() && !font->family.isEmpty() && font->symbols == SymbolFont::None)
      format.setFontFamilies({font->family});
    format.setFontPointSize(c.halfPoints / 2.0);
    format.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(c.italic);
    format.setFontUnderline(c.underline);
    format.setFontStrikeOut(c.strike);
    if (c.foreground > 0 && c.foreground < colours_.size() && colours_[c.foreground].isValid())
      format.setForeground(colours_[c.foreground]);
    if (c.background > 0 && c.background < colours_.size() && colours_[c.background].isValid())
      format.setBackground(colours_[c.background]);
    if (c.allCaps)
      format.setFontCapitalization(QFont::AllUppercase);
    else if (c.smallCaps)
      format.setFontCapitalization(QFont::SmallCaps);
    if (c.vertical != 0)
      format.setVerticalAlignment(c.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                 : QTextCharFormat::AlignSubScript);
    return format;
  }

  // ---- font table -----------------------------------------------------------

  void fontEntryStart() {
    fontIndex_ = -1;
    fontEntry_ = FontEntry{};
    fontName_.clear();
  }

  void fontProperty(const QByteArray& w, int n) {
    if (w == "f") {
      fontEntryEnd();
      fontIndex_ = n;
    } else if (w == "fcharset") {
      fontEntry_.charset = n;
    } else if (w == "cpg") {
      fontEntry_.codePage = n;
    }
  }

  void fontEntryEnd() {
    if (fontIndex_ >= 0 && !fonts_.contains(fontIndex_) && fonts_.size() < 4096) {
      const int codePage =
          fontEntry_.codePage > 0 ? fontEntry_.codePage : codePageForCharset(fontEntry_.charset, codePage_);
      fontEntry_.family = decodeCodePage(fontName_, codePage).trimmed();
      if (fontEntry_.charset == 2) fontEntry_.symbols = symbolFontNamed(fontEntry_.family);
      fonts_.insert(fontIndex_, fontEntry_);
    }
    fontEntryStart();
  }

  // ---- colour table ---------------------------------------------------------

  void colourEntryStart() { red_ = green_ = blue_ = -1; }

  void colourComponent(const QByteArray& w, int n) {
    const int value = std::clamp(n, 0, 255);
    if (w == "red")
      red_ = value;
    else if (w == "green")
      green_ = value;
    else if (w == "blue")
      blue_ = value;
  }

  // An entry without components is the automatic colour.
  void colourEntryEnd() {
    if (colours_.size() < 4096) {
      const bool automatic = red_ < 0 && green_ < 0 && blue_ < 0;
      colours_.append(automatic ? QColor()
                                : QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    }
    colourEntryStart();
  }

  QTextDocument& document_;
  QTextCursor cursor_;
  std::vector<RtfGroup> groups_{RtfGroup{}};
  int hiddenDepth_ = 0;
  int codePage_ = kDefaultCodePage;
  int defaultFont_ = -1;
  int fallbackLeft_ = 0;
  bool blockHasText_ = false;
  bool blockBreaksPage_ = false;
  QByteArray pendingBytes_;
  QString pendingText_;

  QHash<int, FontEntry> fonts_;
  int fontIndex_ = -1;
  FontEntry fontEntry_;
  QByteArray fontName_;

  QList<QColor> colours_;
  int red_ = -1, green_ = -1, blue_ = -1;
};

}  // namespace

bool isRtf(const QByteArray& data) {
  return data.startsWith("{\\rtf");
}

bool readRtf(const QByteArray& data, QTextDocument& document) {
  if (!isRtf(data)) return false;
  const bool undo = document.isUndoRedoEnabled();
  document.setUndoRedoEnabled(false);
  document.clear();
  // Word's default tab stops lie half an inch apart.
  QTextOption option = document.defaultTextOption();
  option.setTabStopDistance(pixelsFromTwips(720));
  document.setDefaultTextOption(option);
  // One edit block: the layout is brought up to date once, at the end.
  QTextCursor edit(&document);
  edit.beginEditBlock();
  RtfBuilder(document).read(data);
  edit.endEditBlock();
  document.setUndoRedoEnabled(undo);
  return true;
}

}  // namespace morvin::guide
