// The recording services every GUI test relies on, and where data files are found.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "shell/DataPaths.h"
#include "shell/RecordingServices.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

TEST(RecordingDialogs, ScriptedAnswersComeInOrderAndAnEmptyScriptAnswersSafely) {
  RecordingDialogService dialogs;
  dialogs.answerQuestion(Answer::Yes);
  dialogs.answerInput(QStringLiteral("Kosz"));
  dialogs.answerInput(std::nullopt);
  dialogs.answerColour(QColor(Qt::red));

  EXPECT_EQ(dialogs.question(nullptr, "Information", "Q1", MsgIcon::Information), Answer::Yes);
  EXPECT_EQ(dialogs.question(nullptr, "Information", "Q2", MsgIcon::Question), Answer::No);
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::optional<QString>("Kosz"));
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::nullopt);
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::nullopt);
  EXPECT_EQ(dialogs.openFile(nullptr, "Otwórz", {"Obrazy (*.bmp)", "Wszystkie (*.*)"}, ""), std::nullopt);
  EXPECT_EQ(dialogs.chooseColor(nullptr, Qt::white), std::optional<QColor>(QColor(Qt::red)));
  EXPECT_EQ(dialogs.chooseColor(nullptr, Qt::white), std::nullopt);
  EXPECT_TRUE(dialogs.scriptsUsedUp());

  const auto& shown = dialogs.shown();
  ASSERT_EQ(shown.size(), 8u);
  EXPECT_EQ(shown[1].answer, "No");
  EXPECT_EQ(shown[1].icon, MsgIcon::Question);
  EXPECT_EQ(shown[2].answer, "Kosz");
  EXPECT_EQ(shown[3].answer, "Cancel");
  EXPECT_EQ(shown[5].text, "Obrazy (*.bmp);;Wszystkie (*.*)");
  EXPECT_EQ(shown[5].answer, "Cancel");
  EXPECT_EQ(dialogs.count(ShownDialog::Kind::Question), 2);
  EXPECT_EQ(dialogs.texts(ShownDialog::Kind::Question), (QStringList{"Q1", "Q2"}));
}

// The real question box: Yes and No are answers, Esc and the close button are "closed".
TEST(QtDialogs, AQuestionClosedWithoutAnAnswerSaysSo) {
  test::ensureApplication();
  setDialogService(nullptr);
  struct Case {
    std::function<void(QMessageBox*)> act;
    Answer answer;
  };
  const Case cases[] = {
      {[](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }, Answer::Yes},
      {[](QMessageBox* b) { b->button(QMessageBox::No)->click(); }, Answer::No},
      {[](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, Answer::Closed},
      {[](QMessageBox* b) { b->close(); }, Answer::Closed},
  };
  for (const Case& c : cases) {
    int tries = 0;
    QTimer act;
    QObject::connect(&act, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        act.stop();
        c.act(box);
      } else if (++tries > 200) {  // no box found: end every dialog rather than block
        act.stop();
        for (QWidget* w : QApplication::topLevelWidgets())
          if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->done(-1);
      }
    });
    act.start(10);
    EXPECT_EQ(dialogs().question(nullptr, "Warning", "Usunąć?", MsgIcon::Warning), c.answer);
  }
  setDialogService(std::make_shared<RecordingDialogService>());
}

// The real file dialog lists names as Windows does: any letter case, and *.* is every file.
TEST(QtDialogs, TheFileDialogMatchesExtensionsInAnyCaseAndAllFilesMeansEveryFile) {
  test::ensureApplication();
  QTemporaryDir dir;
  for (const char* name : {"kot.swf", "PIES.SWF", "README", "notatka.txt"}) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  setDialogService(nullptr);
  struct Case {
    QStringList filters;
    QStringList listed;
  };
  const Case cases[] = {
      {{QString::fromUtf8("Pliki z animacją Flash (*.SWF)")}, {"PIES.SWF", "kot.swf"}},
      {{"Wszystkie pliki (*.*)", "Programy (*.exe)"}, {"PIES.SWF", "README", "kot.swf", "notatka.txt"}},
  };
  for (const Case& c : cases) {
    QStringList listed;
    QTimer look;
    int tries = 0;
    QObject::connect(&look, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* model = dialog ? dialog->findChild<QFileSystemModel*>() : nullptr;
      const QModelIndex folder = model ? model->index(dir.path()) : QModelIndex();
      if (++tries < 100 && (!model || model->rowCount(folder) < c.listed.size())) return;
      look.stop();
      for (int row = 0; model && row < model->rowCount(folder); ++row)
        listed << model->index(row, 0, folder).data().toString();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* open = qobject_cast<QDialog*>(w)) open->done(QDialog::Rejected);
    });
    look.start(20);
    EXPECT_EQ(dialogs().openFile(nullptr, "Otwórz", c.filters, dir.filePath("kot.swf")), std::nullopt);
    listed.sort();
    EXPECT_EQ(listed, c.listed) << c.filters.join(";;").toStdString();
  }
  setDialogService(std::make_shared<RecordingDialogService>());
}

class DataPathsTest : public test::GuiTest {};

TEST_F(DataPathsTest, DataFilesAreFoundBesideTheProgramOrInTheChosenFolder) {
  // The pictures are drawn beside the test programs, so that is the data folder.
  EXPECT_EQ(dataFolder(), executableFolder());
  EXPECT_TRUE(QFileInfo::exists(dataFile("Data\\Gfx\\Bmp\\Ustawienie2.Bmp")));

  setDataFolder("/opt/morvin/");
  EXPECT_EQ(dataFolder(), "/opt/morvin");
  EXPECT_EQ(dataFile("\\Data\\Gfx\\Bmp\\Ustawienie.bmp"), "/opt/morvin/Data/Gfx/Bmp/Ustawienie.bmp");
  openHelpDocument(nullptr);
  setDataFolder({});
  EXPECT_EQ(dataFolder(), executableFolder());
  ASSERT_EQ(shellLog->calls().size(), 1u);
  EXPECT_EQ(shellLog->calls()[0].file, "/opt/morvin/pomoc/Help.doc");
  EXPECT_EQ(shellLog->calls()[0].verb, "open");
}

}  // namespace
}  // namespace morvin
