// The ten policy flags with their pictures, and the submenu delay.
#include <QDir>
#include <QSpinBox>
#include <QTest>

#include "MenuStartFixture.h"
#include "shell/DataPaths.h"

namespace morvin::test {
namespace {

struct Flag {
  int box;
  const char* value;
  int image;  // 0: no picture
};
const Flag kFlags[] = {{2, "NoFavoritesMenu", 3},
                       {3, "NoRecentDocsMenu", 4},
                       {4, "NoSetFolders", 5},
                       {5, "NoFind", 6},
                       {6, "NoRun", 7},
                       {7, "NoLogOff", 8},
                       {8, "NoClose", 9},
                       {9, "NoSetTaskbar", 0},
                       {10, "NoTrayContexMenu", 0}};

TEST_F(MenuStartTest, WithoutThePoliciesKeyTheBoxesLoadClearAndOnlyUnguardedClicksComplain) {
  TfmMenuStart* w = open();
  for (int n = 1; n <= 10; ++n) EXPECT_FALSE(box(w, n)->isChecked()) << n;
  for (int n = 2; n <= 9; ++n) EXPECT_FALSE(image(w, n)->isHidden()) << n;
  EXPECT_TRUE(image(w, 1)->isHidden());
  EXPECT_TRUE(errorBoxes().isEmpty());

  click(box(w, 3));
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'NoRecentDocsMenu'"});
  EXPECT_TRUE(box(w, 3)->isChecked());
  EXPECT_FALSE(image(w, 4)->isHidden());

  click(box(w, 10));
  EXPECT_TRUE(box(w, 10)->isChecked());
  EXPECT_EQ(errorBoxes().size(), 1);
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kPolicies));
}

TEST_F(MenuStartTest, StoredNonzeroFlagsLoadCheckedHideTheirPicturesAndAreRewrittenAsOne) {
  machine->setDword(reg::kCurrentUser, kPolicies, "NoFind", 2);
  machine->setDword(reg::kCurrentUser, kPolicies, "NoFavoritesMenu", 1);
  machine->setDword(reg::kCurrentUser, kPolicies, "NoLogOff", 0);
  machine->setDword(reg::kCurrentUser, kPolicies, "NoSetTaskbar", 3);
  machine->setDword(reg::kCurrentUser, kPolicies, "NoTrayContexMenu", 5);
  TfmMenuStart* w = open();

  EXPECT_TRUE(box(w, 5)->isChecked());
  EXPECT_TRUE(image(w, 6)->isHidden());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoFind"), 1);
  EXPECT_TRUE(box(w, 2)->isChecked());
  EXPECT_TRUE(image(w, 3)->isHidden());
  EXPECT_FALSE(box(w, 7)->isChecked());
  EXPECT_FALSE(image(w, 8)->isHidden());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoLogOff"), 0);
  EXPECT_TRUE(box(w, 9)->isChecked());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoSetTaskbar"), 1);
  EXPECT_TRUE(box(w, 10)->isChecked());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoTrayContexMenu"), 1);
  EXPECT_FALSE(machine->valueExists(reg::kCurrentUser, kPolicies, "NoClose"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MenuStartTest, ABinaryNoRunLoadsClearAndStaysUntouchedUntilClicked) {
  const std::string bytes("\x01\x00\x00\x00", 4);
  machine->setBinary(reg::kCurrentUser, kPolicies, "NoRun", bytes);
  TfmMenuStart* w = open();
  EXPECT_FALSE(box(w, 6)->isChecked());
  std::uint32_t type = 0;
  std::string stored;
  ASSERT_TRUE(machine->value(reg::kCurrentUser, kPolicies, "NoRun", &type, &stored));
  EXPECT_EQ(type, reg::type::Binary);
  EXPECT_EQ(stored, bytes);

  click(box(w, 6));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoRun"), 1);
  EXPECT_TRUE(image(w, 7)->isHidden());
  click(box(w, 6));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoRun"), 0);
  EXPECT_FALSE(image(w, 7)->isHidden());
}

TEST_F(MenuStartTest, EachBoxWritesItsOwnValueAndHidesOnlyItsOwnPicture) {
  createPolicies();
  TfmMenuStart* w = open();
  for (const Flag& f : kFlags) {
    click(box(w, f.box));
    EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, f.value), 1) << f.value;
    for (int n = 2; n <= 9; ++n) {
      bool hiddenByNow = false;
      for (const Flag& g : kFlags)
        if (g.image == n && g.box <= f.box) hiddenByNow = true;
      EXPECT_EQ(image(w, n)->isHidden(), hiddenByNow) << f.value << " Image" << n;
    }
  }
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders"), -1);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MenuStartTest, HidingSubfoldersSwapsTheProgramsPictureBothWays) {
  machine->setDword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders", 7);
  TfmMenuStart* w = open();
  EXPECT_TRUE(box(w, 1)->isChecked());
  EXPECT_EQ(programsColour(w), kSubfoldersHiddenColour);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders"), 1);

  click(box(w, 1));
  EXPECT_EQ(programsColour(w), kProgramsColour);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders"), 0);
  click(box(w, 1));
  EXPECT_EQ(programsColour(w), kSubfoldersHiddenColour);
  EXPECT_FALSE(image(w, 2)->isHidden());
}

TEST_F(MenuStartTest, AMissingProgramsPictureIsReportedOnClickButNotDuringTheLoad) {
  removePicture("bpp.bmp");
  machine->setDword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders", 4);
  TfmMenuStart* w = open();
  EXPECT_TRUE(box(w, 1)->isChecked());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders"), 1);
  EXPECT_TRUE(errorBoxes().isEmpty());

  click(box(w, 1));  // off: soft.bmp is there
  EXPECT_EQ(programsColour(w), kProgramsColour);
  click(box(w, 1));  // on: bpp.bmp is missing
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicies, "NoStartMenuSubFolders"), 1);
  EXPECT_EQ(errorBoxes(), QStringList{"Cannot open file " + dataFile("Data\\Gfx\\Bmp\\menu\\bpp.bmp") + "."});
  EXPECT_EQ(programsColour(w), kProgramsColour);
}

TEST_F(MenuStartTest, ProgramsPicturesComeFromTheDataFolderWhateverTheCurrentFolder) {
  createPolicies();
  QTemporaryDir elsewhere;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  TfmMenuStart* w = open();
  click(box(w, 1));
  QDir::setCurrent(before);
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_EQ(programsColour(w), kSubfoldersHiddenColour);
}

struct DelayCase {
  const char* name;
  int dword;         // >= 0: stored as REG_DWORD instead of text
  const char* text;  // nullptr: no value
  int shown;
};

class MenuDelayTest : public MenuStartTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(MenuDelayTest, TheStoredDelayIsShownClampedOrLeavesOne) {
  const DelayCase& c = GetParam();
  machine->createKey(reg::kCurrentUser, kDesktop);
  if (c.dword >= 0)
    machine->setDword(reg::kCurrentUser, kDesktop, "MenuShowDelay", static_cast<std::uint32_t>(c.dword));
  else if (c.text)
    machine->setString(reg::kCurrentUser, kDesktop, "MenuShowDelay", c.text);
  TfmMenuStart* w = open();
  EXPECT_EQ(child<QSpinBox>(w, "CzasMenu")->value(), c.shown);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, MenuDelayTest,
    ::testing::Values(DelayCase{"Text400", -1, "400", 400}, DelayCase{"Zero", -1, "0", 1},
                      DelayCase{"Above", -1, "25000", 10000}, DelayCase{"Negative", -1, "-20", 1},
                      DelayCase{"NotANumber", -1, "abc", 1}, DelayCase{"Empty", -1, "", 1},
                      DelayCase{"Missing", -1, nullptr, 1}, DelayCase{"Dword", 400, nullptr, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuStartTest, ApplyWritesTheShownDelayAsDecimalText) {
  machine->setString(reg::kCurrentUser, kDesktop, "MenuShowDelay", "abc");
  TfmMenuStart* w = open();
  click(w, "Button2");
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(reg::kCurrentUser, kDesktop, "MenuShowDelay", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string("1\0", 2));

  auto* spin = child<QSpinBox>(w, "CzasMenu");
  spin->setValue(400);
  click(w, "Button2");
  EXPECT_EQ(machine->string(reg::kCurrentUser, kDesktop, "MenuShowDelay"), "400");
  spin->setValue(99999);  // the field keeps to its range
  click(w, "Button2");
  EXPECT_EQ(machine->string(reg::kCurrentUser, kDesktop, "MenuShowDelay"), "10000");

  // A field emptied by the user holds no number: the minimum is written.
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Delete);
  ASSERT_EQ(spin->cleanText(), "");
  click(w, "Button2");
  EXPECT_EQ(machine->string(reg::kCurrentUser, kDesktop, "MenuShowDelay"), "1");
  EXPECT_EQ(spin->value(), 1);
}

TEST_F(MenuStartTest, ApplyWithoutTheDesktopKeyCreatesNothingAndSaysNothing) {
  TfmMenuStart* w = open();
  click(w, "Button2");
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kDesktop));
  EXPECT_TRUE(dialogLog->shown().empty());
}

}  // namespace
}  // namespace morvin::test
