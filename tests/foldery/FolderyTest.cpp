// "Foldery i pliki": the two shell options and the list of special folders.
#include <QCheckBox>
#include <QHeaderView>
#include <QTableWidget>

#include "categories/kodFoldery.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {
namespace {

const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The list from top to bottom: the name shown and the value giving its path.
const std::pair<const char*, const char*> kRows[] = {
    {"Wzorce dokumentów", "Templates"},
    {"Autostart", "Startup"},
    {"Menu Start", "Start Menu"},
    {"Wyślij do", "SendTo"},
    {"Ostatnio otwierane", "Recent"},
    {"Programy", "Programs"},
    {"Print Hood", "PrintHood"},
    {"Moje dokumenty", "Personal"},
    {"Historia", "History"},
    {"Czcionki", "Fonts"},
    {"Ulubione", "Favorites"},
    {"Pulpit", "Desktop"},
    {"Cookies", "Cookies"},
    {"Temporary Internet Files", "Cache"},
    {"Dane aplikacji", "AppData"},
};

class FolderyTest : public GuiTest {
 protected:
  QWidget* create() {
    window_ = createTfmFoldery(nullptr);
    return window_;
  }
  QTableWidget* list() { return child<QTableWidget>(window_, "lista"); }
  QCheckBox* box(const char* name) { return child<QCheckBox>(window_, name); }
  QString cell(int row, int column) {
    QTableWidgetItem* item = list()->item(row, column);
    return item ? item->text() : QString("<none>");
  }
  // Gives every folder a distinct path.
  void storeAllPaths() {
    for (const auto& [name, value] : kRows)
      machine->setString(reg::kCurrentUser, kShellFolders, value, std::string("C:\\") + value);
  }
  void expectNamesInOrder() {
    ASSERT_EQ(list()->rowCount(), 15);
    for (int row = 0; row < 15; ++row) EXPECT_EQ(cell(row, 0), QString::fromUtf8(kRows[row].first)) << row;
  }

  QWidget* window_ = nullptr;
};

TEST_F(FolderyTest, ListShowsEveryFolderInItsOrderWithItsOwnPath) {
  storeAllPaths();
  create();
  expectNamesInOrder();
  for (int row = 0; row < 15; ++row) EXPECT_EQ(cell(row, 1), QString("C:\\") + kRows[row].second) << row;
  EXPECT_EQ(list()->horizontalHeaderItem(0)->text(), "Nazwa");
  EXPECT_EQ(list()->horizontalHeaderItem(1)->text(), "Lokalizacja");
}

TEST_F(FolderyTest, WithoutTheShellFoldersKeyEveryNameIsListedWithAnEmptyPath) {
  machine->deleteTree(reg::kCurrentUser, kShellFolders);
  create();
  expectNamesInOrder();
  for (int row = 0; row < 15; ++row) EXPECT_EQ(cell(row, 1), "") << row;
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kShellFolders));
}

TEST_F(FolderyTest, ANonTextFontsValueEndsTheReadingThereAndAMissingValueDoesNot) {
  storeAllPaths();
  machine->setDword(reg::kCurrentUser, kShellFolders, "Fonts", 1);
  create();
  expectNamesInOrder();
  // "Czcionki" and every row above it come after Fonts in reading order.
  for (int row = 0; row <= 9; ++row) EXPECT_EQ(cell(row, 1), "") << row;
  for (int row = 10; row < 15; ++row) EXPECT_EQ(cell(row, 1), QString("C:\\") + kRows[row].second) << row;
}

TEST_F(FolderyTest, AMissingValueLeavesOnlyItsOwnPathEmpty) {
  machine->deleteTree(reg::kCurrentUser, kShellFolders);
  for (const auto& [name, value] : kRows)
    if (std::string(value) != "Cookies")
      machine->setString(reg::kCurrentUser, kShellFolders, value, std::string("C:\\") + value);
  create();
  expectNamesInOrder();
  for (int row = 0; row < 15; ++row)
    EXPECT_EQ(cell(row, 1), row == 12 ? QString() : QString("C:\\") + kRows[row].second) << row;
}

TEST_F(FolderyTest, ExpandableTextIsShownAsStored) {
  machine->setString(reg::kCurrentUser, kShellFolders, "Fonts", "%windir%\\Fonts", reg::type::ExpandSz);
  create();
  EXPECT_EQ(cell(9, 1), "%windir%\\Fonts");
}

TEST_F(FolderyTest, ListIsReadOnlyWithGridAndResizableColumns) {
  create();
  EXPECT_EQ(list()->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(list()->showGrid());
  EXPECT_EQ(list()->columnCount(), 2);
  for (int column = 0; column < 2; ++column)
    EXPECT_EQ(list()->horizontalHeader()->sectionResizeMode(column), QHeaderView::Interactive);
}

// Hidden is three-state: 2 (hidden files not shown, as Windows has it) loads
// unchecked and stays; checking writes 1, unchecking 0.
TEST_F(FolderyTest, HiddenStoredAsTwoLoadsUncheckedAndStaysUntilAClick) {
  machine->setDword(reg::kCurrentUser, kAdvanced, "Hidden", 2);
  machine->setDword(reg::kCurrentUser, kAdvanced, "HideFileExt", 0);
  create();
  EXPECT_FALSE(box("CheckBox1")->isChecked());
  EXPECT_FALSE(box("CheckBox2")->isChecked());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "Hidden"), 2);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "HideFileExt"), 0);
  click(box("CheckBox1"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "Hidden"), 1);
  click(box("CheckBox1"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "Hidden"), 0);
  EXPECT_TRUE(dialogLog->shown().empty());
}

TEST_F(FolderyTest, HiddenStoredAsBinaryLoadsUncheckedAndStaysUntouched) {
  machine->setBinary(reg::kCurrentUser, kAdvanced, "Hidden", std::string("\x01\x00\x00\x00", 4));
  create();
  EXPECT_FALSE(box("CheckBox1")->isChecked());
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(reg::kCurrentUser, kAdvanced, "Hidden", &type, &bytes));
  EXPECT_EQ(type, reg::type::Binary);
  EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00", 4));
}

TEST_F(FolderyTest, EachBoxWritesItsOwnValueAndUntickingWritesZero) {
  machine->setDword(reg::kCurrentUser, kAdvanced, "Hidden", 0);
  machine->setDword(reg::kCurrentUser, kAdvanced, "HideFileExt", 1);
  create();
  EXPECT_TRUE(box("CheckBox2")->isChecked());
  click(box("CheckBox2"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "HideFileExt"), 0);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "Hidden"), 0);
  click(box("CheckBox1"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "Hidden"), 1);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kAdvanced, "HideFileExt"), 0);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(FolderyTest, WithoutTheAdvancedKeyAClickIsReportedAndNothingIsCreated) {
  machine->deleteTree(reg::kCurrentUser, kAdvanced);
  create();
  click(box("CheckBox1"));
  EXPECT_TRUE(box("CheckBox1")->isChecked());
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'Hidden'"});
  click(box("CheckBox2"));
  EXPECT_EQ(errorBoxes(),
            (QStringList{"Failed to set data for 'Hidden'", "Failed to set data for 'HideFileExt'"}));
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kAdvanced));
}

}  // namespace
}  // namespace morvin::test
