// The tips text and the help document that ship with the program read as
// formatted text, with no RTF showing through.
#include <QFile>
#include <QFont>
#include <QRegularExpression>
#include <algorithm>

#include "RtfTestSupport.h"

namespace morvin::test {
namespace {

std::unique_ptr<QTextDocument> readShipped(const char* relative) {
  QFile file(QStringLiteral(MORVIN_SOURCE_DIR "/data/") + QString::fromUtf8(relative));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
  return readRtfText(file.readAll());
}

// Words of RTF that a reader which missed them would show as text.
void expectNoRtfShowing(const QString& text) {
  static const QRegularExpression controlWord(
      QStringLiteral(R"(\\(par|pard|b0|fs\d|cf\d|qj|sa\d|tab|f\d)\b)"));
  EXPECT_FALSE(text.contains(controlWord)) << text.left(400).toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("fcharset")));
  EXPECT_FALSE(text.contains(QStringLiteral("Verdana;")));
  EXPECT_FALSE(text.contains(QStringLiteral("Morvin NG;")));  // the generator's name
  EXPECT_FALSE(text.contains(QChar(0xFFFD)));
}

TEST(ShippedContent, TipsTextReadsAsFormattedPolishText) {
  auto doc = readShipped("Poradnik/sztuczki.txt");
  const QString text = doc->toPlainText();
  expectNoRtfShowing(text);
  EXPECT_TRUE(text.startsWith(QStringLiteral("Sztuczki w Windows - Praktyczny poradnik")));
  EXPECT_TRUE(text.contains(QString::fromUtf8("zrób kopię plików SYSTEM.DAT")));
  EXPECT_TRUE(text.contains(QStringLiteral("C:\\WINDOWS\\SYSBCKUP")));
  // At least thirty numbered tips, each starting its own paragraph in bold.
  int tips = 0;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    if (!block.text().contains(QRegularExpression(QStringLiteral("^\\d+\\. ")))) continue;
    ++tips;
    // The bold heading is the whole first sentence, a space apart from the text after it.
    const QTextFragment heading = block.begin().fragment();
    EXPECT_EQ(heading.charFormat().fontWeight(), QFont::Bold) << block.text().toStdString();
    EXPECT_TRUE(heading.text().endsWith(QStringLiteral(". "))) << heading.text().toStdString();
  }
  EXPECT_GE(tips, 30);
  EXPECT_EQ(blockOf(*doc, "Praktyczny poradnik").blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(formatOf(*doc, "Praktyczny poradnik").foreground().color(), QColor(0, 0, 128));
}

// The help names the wallpaper's place in the words of the wizard's closing page.
TEST(ShippedContent, HelpNamesTheWallpaperTabAsTheWizardDoes) {
  QFile page(QStringLiteral(MORVIN_SOURCE_DIR "/wallpaper/kodFrKoniec.ui"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const QRegularExpression tabName(QString::fromUtf8("zakładce &quot;([^&]+)&quot;"));
  const QRegularExpressionMatch wizard = tabName.match(QString::fromUtf8(page.readAll()));
  ASSERT_TRUE(wizard.hasMatch());
  const QString help = readShipped("pomoc/Help.doc")->toPlainText();
  EXPECT_TRUE(help.contains(QString::fromUtf8("na zakładce ") + wizard.captured(1)));
  EXPECT_FALSE(help.contains(QString::fromUtf8("karcie Tło")));
}

TEST(ShippedContent, HelpDocumentReadsAsAManualOfEveryWindow) {
  auto doc = readShipped("pomoc/Help.doc");
  const QString text = doc->toPlainText();
  expectNoRtfShowing(text);
  EXPECT_TRUE(text.contains(QString::fromUtf8("podręcznik użytkownika")));
  // Each window has a heading of its own: a paragraph in 13-point type.
  QStringList headings;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
    if (block.begin().fragment().charFormat().fontPointSize() == 13.0) headings << block.text();
  for (const char* window : {"Okno główne", "Pulpit", "Kreator animowanej tapety", "Foldery i pliki", "Ikony",
                             "Pasek zadań", "Windows", "Sieć", "MS Dos", "Zainstalowane programy", "Sztuczki",
                             "Historia zmian", "Maszyny", "Ustawienia programu"}) {
    const QString name = QString::fromUtf8(window);
    EXPECT_TRUE(std::any_of(headings.begin(), headings.end(), [&](const QString& h) {
      return h.startsWith(name);
    })) << window;
  }
  // Bulleted paragraphs keep their hanging indent.
  const QTextBlock bullet = blockOf(*doc, QString::fromUtf8("Przycisk Start otwiera"));
  EXPECT_LT(bullet.blockFormat().textIndent(), 0.0);
  EXPECT_TRUE(bullet.text().startsWith(QString::fromUtf8("•\t")));
}

// The English manual has a heading for every window too, in Windows 98's words.
TEST(ShippedContent, EnglishHelpDocumentHasAHeadingOfEveryWindow) {
  auto doc = readShipped("en/pomoc/Help.doc");
  expectNoRtfShowing(doc->toPlainText());
  QStringList headings;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
    if (block.begin().fragment().charFormat().fontPointSize() == 13.0) headings << block.text();
  for (const char* window : {"The main window", "Folders and files", "Taskbar and Start Menu", "MS-DOS",
                             "Tricks", "Change History", "Machines", "Program settings"})
    EXPECT_TRUE(headings.contains(QString::fromLatin1(window))) << window;
}

}  // namespace
}  // namespace morvin::test
