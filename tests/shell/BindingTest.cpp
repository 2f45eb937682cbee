// The binding engine on a small window built here: load order and guards,
// the click-on-load rule, guarded and unguarded writes, master boxes, radios,
// texts, INI rows and the cursor of each handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <sstream>

#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "shell/Binding.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

using binding::Engine;
using binding::Load;
using binding::Row;
using binding::Write;

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kKey = "Software\\Test\\Policies";
constexpr const char* kOther = "Software\\Test\\Other";

class BindingTest : public test::GuiTest {
 protected:
  test::TempMachine::Content machineContent() const override { return test::TempMachine::Content::Empty; }

  void SetUp() override {
    GuiTest::SetUp();
    window = std::make_unique<QDialog>();
    for (const char* name :
         {"Flag1", "Flag2", "Flag3", "Designed", "Master", "Dep1", "Dep2", "Presence", "IniBox"}) {
      auto* box = new QCheckBox(QString::fromLatin1(name), window.get());
      box->setObjectName(QString::fromLatin1(name));
    }
    box("Designed")->setChecked(true);
    for (const char* name : {"RadioA", "RadioB"}) {
      auto* radio = new QRadioButton(QString::fromLatin1(name), window.get());
      radio->setObjectName(QString::fromLatin1(name));
    }
    auto* edit = new QLineEdit(QStringLiteral("abc"), window.get());
    edit->setObjectName("Edit");
    auto* spin = new QSpinBox(window.get());
    spin->setObjectName("Spin");
    spin->setRange(0, 100);
    spin->setValue(3);
  }

  void TearDown() override {
    engine = nullptr;
    window.reset();
    GuiTest::TearDown();
  }

  QCheckBox* box(const char* name) { return test::child<QCheckBox>(window.get(), name); }
  QRadioButton* radio(const char* name) { return test::child<QRadioButton>(window.get(), name); }

  Engine& bind(std::vector<Row> rows, std::function<std::string()> ini = {}) {
    engine = new Engine(window.get(), std::move(rows), std::move(ini));
    engine->start();
    return *engine;
  }

  std::string iniText() {
    std::ifstream in(machine->driveC() + "/TEST.INI", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::unique_ptr<QDialog> window;
  Engine* engine = nullptr;  // owned by the window
};

Row flag(const char* control, const char* key, const char* value, bool create, bool guarded) {
  Row r{control, HKCU, key, value};
  r.create = create;
  r.guarded = guarded;
  return r;
}

TEST_F(BindingTest, AStoreWithoutTheValuesShowsTheDesignedStatesAndWritesNothing) {
  int afterRuns = 0;
  Row designed = flag("Designed", kKey, "Designed", true, true);
  designed.after = [&](QWidget*, const QVariant&) { ++afterRuns; };
  Row edit{"Edit", HKCU, kKey, "Text", Load::TextIntoControl, Write::TextOfControl, true, true};
  edit.skipEmpty = true;
  bind({flag("Flag1", kKey, "One", true, true), designed, edit, flag("Master", kKey, "Master", true, false)});

  EXPECT_FALSE(box("Flag1")->isChecked());
  EXPECT_TRUE(box("Designed")->isChecked());
  EXPECT_EQ(test::child<QLineEdit>(window.get(), "Edit")->text(), "abc");
  EXPECT_EQ(afterRuns, 0);
  EXPECT_FALSE(machine->keyExists(HKCU, "Software\\Test"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(BindingTest, LoadedFlagsFollowTheClickOnLoadRule) {
  machine->setDword(HKCU, kKey, "One", 1);
  machine->setDword(HKCU, kKey, "Five", 5);
  machine->setString(HKCU, kKey, "Text", "1");
  machine->setDword(HKCU, kKey, "Designed", 0);
  machine->setDword(HKCU, kKey, "Master", 1);
  std::vector<bool> designedWrites;
  Row designed = flag("Designed", kKey, "Designed", true, true);
  designed.after = [&](QWidget*, const QVariant& state) { designedWrites.push_back(state.toBool()); };
  Row master = flag("Master", kKey, "Master", true, false);
  master.disables = {"Dep1", "Dep2"};
  box("Dep2")->setChecked(true);
  bind({flag("Flag1", kKey, "One", true, true), flag("Flag2", kKey, "Five", true, true),
        flag("Flag3", kKey, "Text", true, true), designed, master});

  EXPECT_TRUE(box("Flag1")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kKey, "One"), 1);
  EXPECT_TRUE(box("Flag2")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kKey, "Five"), 1);  // 5 is rewritten as 1
  // A text where a flag belongs: designed state, value untouched.
  EXPECT_FALSE(box("Flag3")->isChecked());
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(HKCU, kKey, "Text", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string("1\0", 2));
  // Designed checked, stored 0: unchecked, and its write ran once with 0.
  EXPECT_FALSE(box("Designed")->isChecked());
  EXPECT_EQ(designedWrites, std::vector<bool>{false});
  EXPECT_EQ(machine->dword(HKCU, kKey, "Designed"), 0);
  // The master loaded checked: its dependents start disabled, keeping their marks.
  EXPECT_TRUE(box("Master")->isChecked());
  EXPECT_FALSE(box("Dep1")->isEnabled());
  EXPECT_FALSE(box("Dep2")->isEnabled());
  EXPECT_TRUE(box("Dep2")->isChecked());
  EXPECT_TRUE(errorBoxes().isEmpty());
}

// A three-state value: only 1 checks the box; every other number leaves it
// unchecked and is kept as stored until a click writes 1 or 0.
TEST_F(BindingTest, FlagIsOneChecksOnlyForOneAndKeepsOtherNumbers) {
  const struct {
    std::uint32_t stored;
    bool checked;
  } cases[] = {{1, true}, {0, false}, {2, false}, {5, false}, {7, false}};
  for (const auto& c : cases) {
    machine->setDword(HKCU, kKey, "Three", c.stored);
    box("Flag1")->blockSignals(true);
    box("Flag1")->setChecked(false);
    box("Flag1")->blockSignals(false);
    Row row = flag("Flag1", kKey, "Three", false, false);
    row.load = Load::FlagIsOne;
    Engine& e = bind({row});
    EXPECT_EQ(box("Flag1")->isChecked(), c.checked) << c.stored;
    EXPECT_EQ(machine->dword(HKCU, kKey, "Three"), std::int64_t{c.stored});
    test::click(box("Flag1"));
    EXPECT_EQ(machine->dword(HKCU, kKey, "Three"), c.checked ? 0 : 1) << c.stored;
    delete &e;
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(BindingTest, AFailedLoadStepDoesNotStopTheFollowingOnes) {
  machine->setString(HKCU, kOther, "Wrong", "x");
  machine->setDword(HKCU, kOther, "Good", 7);
  machine->setDword(HKCU, kOther, "Later", 1);
  Row throwing{"Presence", HKCU, kOther, "", Load::Custom, Write::None};
  throwing.customLoad = [](TRegistry&, QWidget*) { throw ERegistryException("broken"); };
  bind({flag("Flag1", "Software\\Missing", "One", false, true), flag("Flag2", kOther, "Wrong", false, true),
        throwing, flag("Flag3", kOther, "Good", false, true),
        flag("Designed", kOther, "Later", false, false)});

  EXPECT_FALSE(box("Flag1")->isChecked());
  EXPECT_FALSE(box("Flag2")->isChecked());
  EXPECT_TRUE(box("Flag3")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kOther, "Good"), 1);
  EXPECT_TRUE(box("Designed")->isChecked());
  EXPECT_FALSE(machine->keyExists(HKCU, "Software\\Missing"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(BindingTest, WritesOnAMissingKeyAreSilentOrReportedAsTheRowSays) {
  bind({flag("Flag1", kKey, "Quiet", false, true), flag("Flag2", kKey, "Loud", false, false),
        flag("Flag3", kKey, "Creates", true, false)});

  test::click(box("Flag1"));
  EXPECT_TRUE(box("Flag1")->isChecked());
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_FALSE(machine->keyExists(HKCU, kKey));

  test::click(box("Flag2"));
  EXPECT_TRUE(box("Flag2")->isChecked());  // the box keeps the user's state
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'Loud'"});
  EXPECT_FALSE(machine->keyExists(HKCU, kKey));

  test::click(box("Flag3"));
  EXPECT_EQ(machine->dword(HKCU, kKey, "Creates"), 1);
  test::click(box("Flag3"));
  EXPECT_EQ(machine->dword(HKCU, kKey, "Creates"), 0);  // unchecking writes 0, never removes
  EXPECT_EQ(errorBoxes().size(), 1);
}

TEST_F(BindingTest, AMasterBoxEnablesItsDependentsOnlyAfterASuccessfulWrite) {
  Row master = flag("Master", kKey, "Master", true, false);
  master.disables = {"Dep1", "Dep2"};
  Row failing = flag("Flag1", kOther, "Master2", false, false);
  failing.disables = {"Flag2"};
  bind({master, failing, flag("Dep1", kKey, "Dep1", true, true)});

  test::click(box("Dep1"));
  test::click(box("Master"));
  EXPECT_EQ(machine->dword(HKCU, kKey, "Master"), 1);
  EXPECT_FALSE(box("Dep1")->isEnabled());
  EXPECT_FALSE(box("Dep2")->isEnabled());
  test::click(box("Dep1"));  // a disabled box ignores the click
  EXPECT_TRUE(box("Dep1")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kKey, "Dep1"), 1);

  test::click(box("Master"));
  EXPECT_EQ(machine->dword(HKCU, kKey, "Master"), 0);
  EXPECT_TRUE(box("Dep1")->isEnabled());
  EXPECT_TRUE(box("Dep1")->isChecked());

  test::click(box("Flag1"));
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'Master2'"});
  EXPECT_TRUE(box("Flag2")->isEnabled());
}

TEST_F(BindingTest, RadioButtonsWriteOnlyWhenTheyBecomeSelected) {
  machine->setString(HKCU, kKey, "Choice", "B");
  int writesOfB = 0;
  Row a{"RadioA", HKCU, kKey, "Choice", Load::TextEquals, Write::FixedTexts, true, false};
  a.onText = "A";
  a.uncheckOnOther = false;
  Row b = a;
  b.control = "RadioB";
  b.onText = "B";
  b.after = [&](QWidget*, const QVariant&) { ++writesOfB; };
  bind({a, b});

  EXPECT_FALSE(radio("RadioA")->isChecked());
  EXPECT_TRUE(radio("RadioB")->isChecked());
  EXPECT_EQ(writesOfB, 1);  // selected by the load: its write ran

  machine->setString(HKCU, kKey, "Choice", "changed elsewhere");
  test::click(radio("RadioB"));  // already selected: no write
  EXPECT_EQ(machine->string(HKCU, kKey, "Choice"), "changed elsewhere");

  test::click(radio("RadioA"));
  EXPECT_EQ(machine->string(HKCU, kKey, "Choice"), "A");
  EXPECT_FALSE(radio("RadioB")->isChecked());
  EXPECT_EQ(writesOfB, 1);  // clearing B ran nothing

  // Cleared in code, the group is left with none selected and nothing written.
  Engine::setState(radio("RadioA"), false);
  EXPECT_FALSE(radio("RadioA")->isChecked());
  EXPECT_FALSE(radio("RadioB")->isChecked());
  EXPECT_TRUE(radio("RadioA")->autoExclusive());
  EXPECT_EQ(machine->string(HKCU, kKey, "Choice"), "A");
}

TEST_F(BindingTest, TextsLoadAndWriteAsCp1250) {
  machine->setString(HKCU, kKey, "Text", "Zażółć");
  int writes = 0;
  Row edit{"Edit", HKCU, kKey, "Text", Load::TextIntoControl, Write::TextOfControl, true, false};
  edit.after = [&](QWidget*, const QVariant&) { ++writes; };
  bind({edit});
  auto* line = test::child<QLineEdit>(window.get(), "Edit");
  EXPECT_EQ(line->text(), QString::fromUtf8("Zażółć"));
  EXPECT_EQ(writes, 1);

  // The user types one Polish letter at the end.
  line->setFocus();
  line->end(false);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ę"));
  QApplication::sendEvent(line, &key);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(HKCU, kKey, "Text", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, cp1250::fromUtf8("Zażółćę") + '\0');
  EXPECT_EQ(writes, 2);
}

TEST_F(BindingTest, SettingTheSameTextRunsNoWriteAndEmptyTextsCanBeSkipped) {
  machine->setString(HKCU, kKey, "Same", "abc");
  machine->setString(HKCU, kOther, "Empty", "");
  int writes = 0;
  Row same{"Edit", HKCU, kKey, "Same", Load::TextIntoControl, Write::TextOfControl, true, false};
  same.after = [&](QWidget*, const QVariant&) { ++writes; };
  Row empty = same;
  empty.key = kOther;
  empty.value = "Empty";
  empty.skipEmpty = true;
  bind({same, empty});
  EXPECT_EQ(test::child<QLineEdit>(window.get(), "Edit")->text(), "abc");
  EXPECT_EQ(writes, 0);
}

TEST_F(BindingTest, IniRowsAlwaysSetTheirControlFromTheDefault) {
  {
    std::ofstream out(machine->driveC() + "/TEST.INI", std::ios::binary);
    out << "[Options]\r\nDelay=0x10\r\n";
  }
  Row iniFlag{"IniBox", 0, "Options", "BootGUI", Load::IniFlag, Write::IniFlag};
  iniFlag.iniDefault = 1;
  Row iniNumber{"Spin", 0, "Options", "Delay", Load::IniNumber, Write::IniNumber};
  iniNumber.iniDefault = 2;
  bind({iniFlag, iniNumber}, [] { return std::string("C:\\TEST.INI"); });

  EXPECT_TRUE(box("IniBox")->isChecked());
  EXPECT_EQ(test::child<QSpinBox>(window.get(), "Spin")->value(), 16);
  std::string text = iniText();
  EXPECT_NE(text.find("BootGUI=1"), std::string::npos) << text;
  EXPECT_NE(text.find("Delay=16"), std::string::npos) << text;

  test::click(box("IniBox"));
  EXPECT_NE(iniText().find("BootGUI=0"), std::string::npos);
}

TEST_F(BindingTest, ValuePresenceWritesAnEmptyTextOrRemovesTheValue) {
  machine->setDword(HKCU, kKey, "Marker", 9);
  bind({Row{"Presence", HKCU, kKey, "Marker", Load::ValuePresence, Write::ValuePresence, false, false}});
  auto storedMarker = [&] {
    std::uint32_t type = 0;
    std::string bytes;
    EXPECT_TRUE(machine->value(HKCU, kKey, "Marker", &type, &bytes));
    return std::make_pair(type, bytes);
  };
  // A value of any type checks the box, whose write then rewrites it as an empty text.
  EXPECT_TRUE(box("Presence")->isChecked());
  EXPECT_EQ(storedMarker(), std::make_pair(reg::type::Sz, std::string(1, '\0')));

  test::click(box("Presence"));
  EXPECT_FALSE(machine->valueExists(HKCU, kKey, "Marker"));
  test::click(box("Presence"));
  EXPECT_EQ(storedMarker(), std::make_pair(reg::type::Sz, std::string(1, '\0')));
}

TEST_F(BindingTest, AnUnguardedFailureDuringTheLoadIsSilentButReportedOnAClick) {
  machine->setDword(HKCU, kKey, "One", 1);
  Row row = flag("Flag1", kKey, "One", false, false);
  row.after = [](QWidget*, const QVariant&) { throw Exception("side effect failed"); };
  bind({row, flag("Flag2", kKey, "One", false, true)});

  EXPECT_TRUE(box("Flag1")->isChecked());
  EXPECT_TRUE(box("Flag2")->isChecked());  // the next step still loaded
  EXPECT_TRUE(errorBoxes().isEmpty());

  test::click(box("Flag1"));
  EXPECT_EQ(machine->dword(HKCU, kKey, "One"), 0);
  EXPECT_EQ(errorBoxes(), QStringList{"side effect failed."});
}

TEST_F(BindingTest, AWriteDuringALoadStepUsesACursorOfItsOwn) {
  machine->setDword(HKCU, kKey, "N", 4);
  std::string pathAfterWrite;
  std::int32_t readAfterWrite = -1;
  Row custom{"Presence", HKCU, kKey, "", Load::Custom, Write::None};
  custom.customLoad = [&](TRegistry& reg, QWidget* w) {
    Engine::setState(w->findChild<QWidget*>("Flag1"), true);  // runs Flag1's write under another key
    pathAfterWrite = reg.openPath();
    readAfterWrite = reg.ReadNumber("N");
  };
  bind({flag("Flag1", kOther, "Written", true, true), custom});

  EXPECT_EQ(machine->dword(HKCU, kOther, "Written"), 1);
  EXPECT_EQ(pathAfterWrite, kKey);
  EXPECT_EQ(readAfterWrite, 4);
}

}  // namespace
}  // namespace morvin
