// The guide window: layout, the tips text, articles, printing, closing.
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "GuideFixture.h"
#include "RtfTestSupport.h"
#include "guide/Articles.h"

namespace morvin::test {
namespace {

const QByteArray kTips = R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset238 Verdana;}}\f0\fs20 )"
                         R"({\b 1. Szybsze menu Start.} Warto\'9c\'e6 MenuShowDelay\par 2. Druga\par})";

TEST_F(GuideTest, LayoutCaptionsAndArticleListInOrder) {
  writeTips(kTips);
  TfmSztuczki* w = createGuide();
  EXPECT_EQ(window(WindowId::Sztuczki), w);
  EXPECT_EQ(w->windowTitle(), "Sztuczki w Windows - Praktyczny poradnik");
  EXPECT_EQ(w->size(), QSize(596, 453));
  EXPECT_EQ(w->minimumSize(), w->maximumSize());
  EXPECT_EQ(
      child<QLabel>(w, "Label1")->text(),
      QString::fromUtf8("Pewnie z przyjemnością dowecie się czegoś nowego. Zapraszam do lektury dołączonej "
                        "do programu."));
  EXPECT_EQ(child<QPushButton>(w, "Button3")->text(), QString::fromUtf8("Czytaj artykuł"));
  EXPECT_EQ(child<QPushButton>(w, "Button2")->text(), "Drukuj");
  EXPECT_EQ(child<QPushButton>(w, "Button1")->text(), "Zamknij");
  auto* arty = child<QComboBox>(w, "Arty");
  ASSERT_TRUE(arty);
  EXPECT_EQ(arty->currentText(), QString::fromUtf8("Wybierz artykuł"));
  EXPECT_EQ(arty->currentIndex(), -1);
  QStringList items;
  for (int i = 0; i < arty->count(); ++i) items << arty->itemText(i);
  EXPECT_EQ(items, QStringList({QString::fromUtf8("Delphi - Obsługa rejestru"), "Rejestr",
                                "Rejestr - W poszukiwaniu danych"}));
  auto* text = child<QTextEdit>(w, "RichEdit1");
  EXPECT_FALSE(text->isReadOnly());
  for (QWidget* control : w->findChildren<QWidget*>()) {
    if (control->objectName().isEmpty() || control->objectName().startsWith("qt_")) continue;
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(GuideTest, RtfTipsAreShownFormattedAndPlainTipsAsText) {
  writeTips(kTips);
  auto* rtf = child<QTextEdit>(createGuide(), "RichEdit1");
  EXPECT_EQ(rtf->toPlainText(), QString::fromUtf8("1. Szybsze menu Start. Wartość MenuShowDelay\n2. Druga"));
  EXPECT_EQ(formatOf(*rtf->document(), "Szybsze").fontWeight(), QFont::Bold);
  EXPECT_EQ(formatOf(*rtf->document(), "Druga").fontWeight(), QFont::Normal);
  EXPECT_EQ(rtf->textCursor().position(), 0);  // shown from the top
  delete window(WindowId::Sztuczki);
  clearWindows();

  writeTips("1. Szybsze menu Start\r\n{\\b2. Druga}\r\n");
  auto* plain = child<QTextEdit>(createGuide(), "RichEdit1");
  EXPECT_EQ(plain->toPlainText(), "1. Szybsze menu Start\n{\\b2. Druga}\n");
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(GuideTest, MissingTipsShowTheErrorBoxAndLeaveTheListEmpty) {
  TfmSztuczki* w = createGuide();  // no sztuczki.txt
  ASSERT_EQ(window(WindowId::Sztuczki), w);
  EXPECT_EQ(errorBoxes(), QStringList{"Cannot open file " + QDir::toNativeSeparators(tipsPath()) + "."});
  EXPECT_TRUE(child<QTextEdit>(w, "RichEdit1")->toPlainText().isEmpty());
  EXPECT_EQ(child<QComboBox>(w, "Arty")->count(), 0);
  // Only the guide folder's own page can then be opened.
  click(w, "Button3");
  ASSERT_EQ(shellLog->calls().size(), 1u);
  EXPECT_EQ(shellLog->calls()[0].file, dataDir.path() + "/Poradnik/index.htm");
}

TEST_F(GuideTest, UnloadableTipsFailToLoadStream) {
  writeTips("{\\rtf1 x}");
  QFile big(tipsPath());
  ASSERT_TRUE(big.resize(guide::kMaxTipsBytes + 10));
  TfmSztuczki* w = createGuide();
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to Load Stream."});
  EXPECT_EQ(child<QComboBox>(w, "Arty")->count(), 0);
}

TEST_F(GuideTest, ArticlePathsAreBuiltFromTheChosenName) {
  EXPECT_EQ(guide::articlePath("Rejestr"), ".\\Poradnik\\Rejestr\\index.htm");
  EXPECT_EQ(guide::articlePath(QString()), ".\\Poradnik\\\\index.htm");

  writeTips(kTips);
  TfmSztuczki* w = createGuide();
  auto* arty = child<QComboBox>(w, "Arty");
  click(w, "Button3");  // nothing chosen: the guide folder's page
  arty->setCurrentIndex(1);
  click(w, "Button3");
  arty->setCurrentIndex(0);
  click(w, "Button3");
  ASSERT_EQ(shellLog->calls().size(), 3u);
  for (const ShellCall& call : shellLog->calls()) {
    EXPECT_EQ(call.kind, ShellCall::Kind::Execute);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.owner, w);
  }
  EXPECT_EQ(shellLog->calls()[0].file, dataDir.path() + "/Poradnik/index.htm");
  EXPECT_EQ(shellLog->calls()[1].file, dataDir.path() + "/Poradnik/Rejestr/index.htm");
  EXPECT_EQ(shellLog->calls()[2].file,
            dataDir.path() + QString::fromUtf8("/Poradnik/Delphi - Obsługa rejestru/index.htm"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(GuideTest, TypedTextOpensAnArticleOnlyWhenItNamesOne) {
  writeTips(kTips);
  TfmSztuczki* w = createGuide();
  QLineEdit* edit = child<QComboBox>(w, "Arty")->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, "rejestr");
  EXPECT_EQ(w->chosenArticle(), "Rejestr");
  click(w, "Button3");
  // Anything else opens no path of its own making.
  edit->selectAll();
  QTest::keyClicks(edit, "..\\..\\WINDOWS\\win");
  EXPECT_EQ(edit->text(), "..\\..\\WINDOWS\\win");
  EXPECT_EQ(w->chosenArticle(), QString());
  click(w, "Button3");
  ASSERT_EQ(shellLog->calls().size(), 2u);
  EXPECT_EQ(shellLog->calls()[0].file, dataDir.path() + "/Poradnik/Rejestr/index.htm");
  EXPECT_EQ(shellLog->calls()[1].file, dataDir.path() + "/Poradnik/index.htm");
}

TEST_F(GuideTest, PrintingPrintsTheWholeTextWithEditsPaginated) {
  QByteArray tips = "{\\rtf1\\ansi\\fs24 ";
  for (int i = 1; i <= 150; ++i) tips += "Porada numer " + QByteArray::number(i) + "\\par ";
  writeTips(tips + "}");
  TfmSztuczki* w = createGuide();
  auto* text = child<QTextEdit>(w, "RichEdit1");
  QTextCursor end(text->document());
  end.movePosition(QTextCursor::End);
  text->setTextCursor(end);
  QTest::keyClicks(text, " dopisane");
  click(w, "Button2");
  ASSERT_EQ(printLog->jobs().size(), 1u);
  const PrintJob& job = printLog->jobs()[0];
  EXPECT_EQ(job.owner, w);
  EXPECT_EQ(job.title, text->toPlainText());
  EXPECT_TRUE(job.title.endsWith("Porada numer 150 dopisane"));
  EXPECT_EQ(job.queueName, printJobTitle(text->toPlainText()));
  // 150 lines of 12-point text fill more than two A4 pages and less than five.
  const int pages = pdfPageCount(job.pdfFile);
  EXPECT_GE(pages, 3);
  EXPECT_LE(pages, 5);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(GuideTest, APageBreakInTheTextStartsANewPrintedPage) {
  writeTips(R"({\rtf1 Pierwsza\page Druga\par})");
  click(createGuide(), "Button2");
  ASSERT_EQ(printLog->jobs().size(), 1u);
  EXPECT_EQ(pdfPageCount(printLog->jobs()[0].pdfFile), 2);
}

TEST_F(GuideTest, WithoutAnyPrinterTheErrorBoxSaysSo) {
  writeTips(kTips);
  printLog->setNoPrinter(true);
  click(createGuide(), "Button2");
  EXPECT_EQ(errorBoxes(), QStringList{"There is no default printer currently selected."});
}

TEST_F(GuideTest, ClosingHidesTheWindowAndKeepsItsContent) {
  writeTips(kTips);
  TfmSztuczki* w = createGuide();
  w->show();
  auto* text = child<QTextEdit>(w, "RichEdit1");
  text->moveCursor(QTextCursor::Start);
  QTest::keyClicks(text, "Nowe ");
  click(w, "Button1");
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(window(WindowId::Sztuczki), w);
  w->show();
  EXPECT_TRUE(text->toPlainText().startsWith("Nowe 1. Szybsze"));
  // Nothing typed is ever written back.
  QFile file(tipsPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), kTips);
}

}  // namespace
}  // namespace morvin::test
