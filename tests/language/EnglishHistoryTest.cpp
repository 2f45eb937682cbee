// "Historia zmian" in the program's language: the journal keeps the windows'
// own captions as sources, the window shows their titles; a change it could
// not take back is said in its words, not the registry layer's.
#include <gtest/gtest.h>

#include <QComboBox>

#include "history/kodHistoria.h"
#include "platform/FileAttributes.h"
#include "registry/Journal.h"
#include "registry/ProfileStore.h"
#include "shell/Language.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";

class EnglishHistoryTest : public test::GuiTest {
 protected:
  void TearDown() override {
    setLanguage(Language::Polish);
    test::GuiTest::TearDown();
  }
};

TEST_F(EnglishHistoryTest, AChangeMadeInAWindowShowsItsEnglishTitleAndIsFilteredByIt) {
  machine->setDword(reg::kCurrentUser, kNetwork, "NoNetSetup", 5);
  {
    reg::journal::Source source(journalSourceOf(WindowId::Web));
    createTfmWeb(nullptr);  // its load rewrites 5 as 1
  }
  ASSERT_TRUE(setLanguage(Language::English));
  TfmHistoria history;
  auto* filter = test::child<QComboBox>(&history, "Filtr");
  const int network = filter->findText(QStringLiteral("Network"));
  ASSERT_GT(network, 0);
  EXPECT_EQ(filter->findText(QString::fromUtf8("Sieć")), -1);
  filter->setCurrentIndex(network);
  JournalModel& model = history.model();
  ASSERT_GT(model.rowCount(), 0);
  for (int i = 0; i < model.rowCount(); ++i) {
    EXPECT_EQ(model.entry(i).source, "Sie\xe6");  // the stored id stays
    EXPECT_EQ(model.data(model.index(i, JournalModel::Source)).toString(), QStringLiteral("Network"));
  }
}

TEST_F(EnglishHistoryTest, AChangeThatCannotBeTakenBackIsSaidInTheProgramsLanguage) {
  ASSERT_TRUE(platform::SetFileAttributes("C:\\MsDos.sys", 0));
  {
    reg::journal::Source source(journalSourceOf(WindowId::Dos));
    ASSERT_TRUE(reg::currentProfileStore().writeString("C:\\MsDos.sys", "Options", "Logo", "0"));
  }
  ASSERT_TRUE(platform::SetFileAttributes("C:\\MsDos.sys", platform::attr::ReadOnly));
  auto undoAll = [this] {
    TfmHistoria history;
    dialogLog->answerQuestion(Answer::Yes);
    test::click(&history, "Button2");
  };
  undoAll();
  ASSERT_TRUE(setLanguage(Language::English));
  undoAll();
  const QStringList notices = dialogLog->texts(ShownDialog::Kind::Notice);
  ASSERT_EQ(notices.size(), 2);
  EXPECT_EQ(notices[0], QString::fromUtf8(
                            "Nie wszystkie zmiany udało się cofnąć:\nNie można zapisać pliku C:\\MsDos.sys"));
  EXPECT_EQ(notices[1],
            QStringLiteral("Some changes could not be undone:\nCannot save the file C:\\MsDos.sys"));
}

}  // namespace
}  // namespace morvin
