// Browsing and editing the uninstall list.
#include <QTest>
#include <filesystem>
#include <fstream>

#include "ProgramyFixture.h"

namespace morvin::test {
namespace {

const QString kNotice = QStringLiteral("Musisz zaznaczyć pozycję aby móc ją edytować!");

TEST_F(ProgramyTest, LinesShowDisplayNameElseQuietNameElseSubkeyNameWithKeysInStep) {
  addEntry(
      "Alpha",
      {{"DisplayName", "Foo"}, {"QuietDisplayName", "Foo quiet"}, {"UninstallString", "C:\\Foo\\un.exe"}});
  addEntry("Beta", {{"QuietDisplayName", "Gra Żółw"}});
  addEntry("Gamma", {{"UninstallString", "gamma.exe"}});
  TfmProgramy* w = open();

  EXPECT_EQ(lines(w), (QStringList{"Foo", QStringLiteral("Gra Żółw"), "Gamma"}));
  EXPECT_EQ(w->KluczeProgramow(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(ProgramyTest, SelectingALineFillsBothFieldsWithThePreferredTexts) {
  addEntry("Alpha", {{"DisplayName", "Foo"},
                     {"UninstallString", "C:\\Foo\\un.exe"},
                     {"QuietUninstallString", "C:\\Foo\\quiet.exe"}});
  addEntry("Beta", {{"QuietDisplayName", "Bar"}, {"QuietUninstallString", "C:\\Bar\\q.exe"}});
  addEntry("Gamma", {});
  TfmProgramy* w = open();

  select(w, 0);
  EXPECT_EQ(nameField(w)->text(), "Foo");
  EXPECT_EQ(commandField(w)->text(), "C:\\Foo\\un.exe");
  select(w, 1);
  EXPECT_EQ(nameField(w)->text(), "Bar");
  EXPECT_EQ(commandField(w)->text(), "C:\\Bar\\q.exe");
  // Neither name nor command: the line shows the subkey name, the fields empty.
  select(w, 2);
  EXPECT_EQ(nameField(w)->text(), "");
  EXPECT_EQ(commandField(w)->text(), "");
}

// Every click on a line reads its entry, also a click on the line already selected.
TEST_F(ProgramyTest, ClickingTheSelectedLineAgainReadsItsEntryAgain) {
  addEntry("Alpha", {{"DisplayName", "Foo"}, {"UninstallString", "C:\\Foo\\un.exe"}});
  addEntry("Beta", {{"DisplayName", "Bar"}});
  TfmProgramy* w = open();
  w->show();
  auto clickLine = [&](int line) {
    const QRect rect = list(w)->visualItemRect(list(w)->item(line));
    QTest::mouseClick(list(w)->viewport(), Qt::LeftButton, {}, rect.center());
  };
  clickLine(0);
  ASSERT_EQ(nameField(w)->text(), "Foo");
  nameField(w)->setText("typed but not saved");
  commandField(w)->setText("C:\\other.exe");
  clickLine(0);
  EXPECT_EQ(nameField(w)->text(), "Foo");
  EXPECT_EQ(commandField(w)->text(), "C:\\Foo\\un.exe");
  clickLine(1);
  EXPECT_EQ(nameField(w)->text(), "Bar");
}

TEST_F(ProgramyTest, EqualNamesShowTheLaterEntryWhileSaveAndDeleteActOnTheSelectedOne) {
  addEntry("First", {{"DisplayName", "Same"}, {"UninstallString", "first.exe"}});
  addEntry("Second", {{"DisplayName", "Same"}, {"UninstallString", "second.exe"}});
  TfmProgramy* w = open();
  ASSERT_EQ(lines(w), (QStringList{"Same", "Same"}));

  select(w, 0);
  EXPECT_EQ(commandField(w)->text(), "second.exe");
  nameField(w)->setText("Renamed");
  commandField(w)->setText("renamed.exe");
  click(w, "Button1");
  EXPECT_EQ(text("First", "DisplayName"), "Renamed");
  EXPECT_EQ(text("First", "UninstallString"), "renamed.exe");
  EXPECT_EQ(text("Second", "DisplayName"), "Same");
  EXPECT_EQ(text("Second", "UninstallString"), "second.exe");
  EXPECT_EQ(lines(w), (QStringList{"Renamed", "Same"}));

  addEntry("Third", {{"DisplayName", "Same"}});
  w->FormCreate();
  select(w, 1);  // the first of the two lines "Same"
  click(w, "Button2");
  EXPECT_FALSE(machine->keyExists(reg::kLocalMachine, entry("Second")));
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, entry("Third")));
  EXPECT_EQ(w->KluczeProgramow(), (std::vector<std::string>{"First", "Third"}));
}

TEST_F(ProgramyTest, ClearingTheNameStoresAnEmptyTextAndTheEntryShowsAsAnEmptyLine) {
  addEntry("Alpha", {{"DisplayName", "Foo"}, {"UninstallString", "un.exe"}});
  TfmProgramy* w = open();
  select(w, 0);
  nameField(w)->clear();
  click(w, "Button1");

  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(reg::kLocalMachine, entry("Alpha"), "DisplayName", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string(1, '\0'));
  EXPECT_EQ(lines(w), QStringList{""});
  EXPECT_EQ(selectedLine(w), -1);
  EXPECT_TRUE(notices().isEmpty());
}

TEST_F(ProgramyTest, SavingWritesOnlyNameAndCommandValuesThatExist) {
  addEntry("Bare", {});
  addEntry("Quiet", {{"QuietDisplayName", "Q"}, {"QuietUninstallString", "q.exe"}});
  TfmProgramy* w = open();

  select(w, 0);  // "Bare"
  nameField(w)->setText("Typed name");
  commandField(w)->setText("typed.exe");
  click(w, "Button1");
  for (const char* value : {"DisplayName", "QuietDisplayName", "UninstallString", "QuietUninstallString"})
    EXPECT_FALSE(has("Bare", value)) << value;

  select(w, 1);  // "Q"
  nameField(w)->setText("Q2");
  commandField(w)->setText("q2.exe");
  click(w, "Button1");
  EXPECT_EQ(text("Quiet", "QuietDisplayName"), "Q2");
  EXPECT_EQ(text("Quiet", "QuietUninstallString"), "q2.exe");
  EXPECT_FALSE(has("Quiet", "DisplayName"));
  EXPECT_FALSE(has("Quiet", "UninstallString"));
  EXPECT_EQ(lines(w), (QStringList{"Bare", "Q2"}));
}

TEST_F(ProgramyTest, SaveAndDeleteWithoutASelectedLineShowTheNoticeAndChangeNothing) {
  addEntry("Alpha", {{"DisplayName", "Foo"}});
  TfmProgramy* w = open();
  nameField(w)->setText("Other");

  click(w, "Button1");
  click(w, "Button2");
  ASSERT_EQ(dialogLog->shown().size(), 2u);
  for (const ShownDialog& d : dialogLog->shown()) {
    EXPECT_EQ(d.kind, ShownDialog::Kind::Notice);
    EXPECT_EQ(d.caption, QStringLiteral("Zaznacz pozycję"));
    EXPECT_EQ(d.text, kNotice);
    EXPECT_EQ(d.icon, MsgIcon::Information);
  }
  EXPECT_EQ(text("Alpha", "DisplayName"), "Foo");
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, entry("Alpha")));
}

TEST_F(ProgramyTest, BrowseCancelledStillSavesTheFieldsIntoTheSelectedEntry) {
  addEntry("Alpha", {{"DisplayName", "Foo"}, {"UninstallString", "old.exe"}});
  TfmProgramy* w = open();
  select(w, 0);
  commandField(w)->setText("C:\\Nowy\\un.exe");
  dialogLog->answerFile(std::nullopt);
  click(w, "Button3");

  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::OpenFile), 1);
  const ShownDialog& d = dialogLog->shown().front();
  EXPECT_EQ(d.caption, QStringLiteral("Poszukiwanie programu deinstalacyjnego"));
  EXPECT_EQ(d.text, QStringLiteral("Wszystkie pliki (*.*);;Programy (*.exe)"));
  EXPECT_EQ(text("Alpha", "UninstallString"), "C:\\Nowy\\un.exe");
  EXPECT_TRUE(notices().isEmpty());

  // Without a selection the same action ends with the notice.
  dialogLog->answerFile(std::nullopt);
  click(w, "Button3");
  EXPECT_EQ(notices(), QStringList{kNotice});
}

TEST_F(ProgramyTest, BrowseConfirmedStoresAFileOnTheMachineDriveAsAWindowsPath) {
  addEntry("Alpha", {{"DisplayName", "Foo"}, {"UninstallString", "old.exe"}});
  const std::string folder = machine->driveC() + "/Program Files/Foo";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/Usuń.exe") << "MZ";
  TfmProgramy* w = open();
  select(w, 0);
  dialogLog->answerFile(QString::fromStdString(folder) + QStringLiteral("/Usuń.exe"));
  click(w, "Button3");

  EXPECT_EQ(commandField(w)->text(), QStringLiteral("C:\\Program Files\\Foo\\Usuń.exe"));
  EXPECT_EQ(text("Alpha", "UninstallString"), "C:\\Program Files\\Foo\\Usuń.exe");
}

TEST_F(ProgramyTest, DeleteRemovesTheWholeEntryTreeAtOnceWithoutAsking) {
  addEntry("Alpha", {{"DisplayName", "Foo"}});
  addEntry("Beta", {{"DisplayName", "Bar"}});
  machine->setString(reg::kLocalMachine, entry("Beta") + "\\Parts\\Deep", "X", "1");
  machine->createKey(reg::kLocalMachine, entry("Beta") + "\\Other");
  addEntry("Gamma", {{"DisplayName", "Baz"}});
  TfmProgramy* w = open();
  select(w, 1);
  click(w, "Button2");

  EXPECT_FALSE(machine->keyExists(reg::kLocalMachine, entry("Beta")));
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, entry("Alpha")));
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, entry("Gamma")));
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, kUninstall));
  EXPECT_EQ(lines(w), (QStringList{"Foo", "Baz"}));
  EXPECT_EQ(selectedLine(w), -1);
  EXPECT_TRUE(dialogLog->shown().empty());
}

TEST_F(ProgramyTest, WithoutTheUninstallKeyTheListIsEmptyAndNothingIsCreated) {
  TfmProgramy* w = open();
  EXPECT_EQ(list(w)->count(), 0);
  EXPECT_TRUE(w->KluczeProgramow().empty());
  click(w, "Button2");
  EXPECT_EQ(notices(), QStringList{kNotice});
  EXPECT_FALSE(machine->keyExists(reg::kLocalMachine, kUninstall));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

// Every control can be found by a screen reader under its caption or a short description.
TEST_F(ProgramyTest, EveryControlHasAnAccessibleName) {
  QWidget* w = open();
  const QList<QWidget*> controls = readableControls(w);
  for (QWidget* c : controls) EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
  EXPECT_GE(controls.size(), 10);
}

}  // namespace
}  // namespace morvin::test
