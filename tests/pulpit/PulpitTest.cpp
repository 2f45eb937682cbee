// The Desktop window: its four bindings as they load and write, and the
// wallpaper wizard it opens.
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "categories/kodPulpit.h"
#include "registry/Cp1250.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"
#include "wallpaper/kodKreatorAnimTapeta.h"

using namespace morvin;

namespace {

constexpr const char* kIconKey = "Paint.Picture\\DefaultIcon";
constexpr const char* kPaintIcon = "C:\\Progra~1\\Access~1\\MSPAINT.EXE,1";
constexpr const char* kPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

class Pulpit : public test::GuiTest {
 protected:
  QWidget* open() {
    window = createTfmPulpit(nullptr);
    return window;
  }
  template <class T>
  T* control(const char* name) {
    return test::child<T>(window, name);
  }
  bool checked(const char* name) { return control<QAbstractButton>(name)->isChecked(); }
  std::string icon() { return machine->string(reg::kClassesRoot, kIconKey, ""); }

  QWidget* window = nullptr;
};

TEST_F(Pulpit, WindowIsAFixedToolWindowWithNamedControls) {
  open();
  EXPECT_EQ(window->windowTitle(), "Pulpit");
  EXPECT_EQ(window->size(), QSize(484, 281));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(control<QAbstractButton>("CheckBox1")->text(),
            "Wyłącz zapisywanie ustawień przy zamykaniu systemu");
  EXPECT_EQ(control<QAbstractButton>("CheckBox2")->text(), "Wyświetlaj wersję systemu Windows na pulpicie");
  EXPECT_EQ(control<QAbstractButton>("RadioButton1")->text(), "Włącz");
  EXPECT_EQ(control<QAbstractButton>("RadioButton2")->text(), "Wyłącz");
  EXPECT_EQ(control<QToolButton>("SpeedButton1")->text(), "Uruchom kreatora");
  EXPECT_EQ(control<QToolButton>("SpeedButton1")->focusPolicy(), Qt::NoFocus);
  for (auto* button : window->findChildren<QAbstractButton*>())
    EXPECT_EQ(button->accessibleName(), button->text()) << button->objectName().toStdString();
}

TEST_F(Pulpit, PaintIconSelectsOffAndIsWrittenBackUnchanged) {
  machine->setString(reg::kClassesRoot, kIconKey, "", kPaintIcon);
  open();
  EXPECT_FALSE(checked("RadioButton1"));
  EXPECT_TRUE(checked("RadioButton2"));
  EXPECT_EQ(icon(), kPaintIcon);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(Pulpit, OwnPictureSelectsOn) {
  machine->setString(reg::kClassesRoot, kIconKey, "", "%1");
  open();
  EXPECT_TRUE(checked("RadioButton1"));
  EXPECT_FALSE(checked("RadioButton2"));
  EXPECT_EQ(icon(), "%1");
}

TEST_F(Pulpit, AnyOtherIconTextSelectsNeitherAndWritesNothing) {
  for (const char* text : {"c:\\progra~1\\access~1\\mspaint.exe,1", "%2", ""}) {
    machine->setString(reg::kClassesRoot, kIconKey, "", text);
    open();
    EXPECT_FALSE(checked("RadioButton1")) << text;
    EXPECT_FALSE(checked("RadioButton2")) << text;
    EXPECT_EQ(icon(), text);
    delete window;
    clearWindows();
  }
  machine->deleteTree(reg::kClassesRoot, kIconKey);
  open();
  EXPECT_FALSE(checked("RadioButton1"));
  EXPECT_FALSE(checked("RadioButton2"));
  EXPECT_FALSE(machine->keyExists(reg::kClassesRoot, kIconKey));
}

TEST_F(Pulpit, SelectingARadioWritesItsTextAsString) {
  machine->setString(reg::kClassesRoot, kIconKey, "", kPaintIcon);
  open();
  test::click(window, "RadioButton1");
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine->value(reg::kClassesRoot, kIconKey, "", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string("%1", 3));  // with its NUL
  EXPECT_FALSE(checked("RadioButton2"));
  test::click(window, "RadioButton2");
  EXPECT_EQ(icon(), kPaintIcon);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(Pulpit, ClickingTheSelectedRadioWritesNothing) {
  machine->setString(reg::kClassesRoot, kIconKey, "", kPaintIcon);
  open();
  machine->setString(reg::kClassesRoot, kIconKey, "", "changed elsewhere");
  test::click(window, "RadioButton2");
  EXPECT_TRUE(checked("RadioButton2"));
  EXPECT_EQ(icon(), "changed elsewhere");
}

TEST_F(Pulpit, RadioWithMissingKeyReportsTheEmptyValueName) {
  machine->deleteTree(reg::kClassesRoot, kIconKey);
  open();
  test::click(window, "RadioButton1");
  // The message ends in a quote, below the full stop: none is added.
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for ''"});
  EXPECT_TRUE(checked("RadioButton1"));
  EXPECT_FALSE(machine->keyExists(reg::kClassesRoot, kIconKey));  // never created
}

TEST_F(Pulpit, NoSaveSettingsLoadsAndIsRewrittenAsOne) {
  machine->setDword(reg::kCurrentUser, kPolicyKey, "NoSaveSettings", 5);
  open();
  EXPECT_TRUE(checked("CheckBox1"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicyKey, "NoSaveSettings"), 1);
  test::click(window, "CheckBox1");
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicyKey, "NoSaveSettings"), 0);
}

TEST_F(Pulpit, NoSaveSettingsMissingOrZeroWritesNothingAtStart) {
  machine->createKey(reg::kCurrentUser, kPolicyKey);
  open();
  EXPECT_FALSE(checked("CheckBox1"));
  EXPECT_FALSE(machine->valueExists(reg::kCurrentUser, kPolicyKey, "NoSaveSettings"));
  test::click(window, "CheckBox1");
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kPolicyKey, "NoSaveSettings"), 1);
}

TEST_F(Pulpit, NoSaveSettingsWithoutPolicyKeyShowsTheErrorBox) {
  machine->deleteTree(reg::kCurrentUser, kPolicyKey);
  open();
  test::click(window, "CheckBox1");
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'NoSaveSettings'"});
  EXPECT_TRUE(checked("CheckBox1"));
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kPolicyKey));
}

TEST_F(Pulpit, DesktopVersionCreatesItsKey) {
  machine->deleteTree(reg::kCurrentUser, kDesktopKey);
  open();
  EXPECT_FALSE(checked("CheckBox2"));
  test::click(window, "CheckBox2");
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kDesktopKey, "PaintDesktopVersion"), 1);
  test::click(window, "CheckBox2");
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kDesktopKey, "PaintDesktopVersion"), 0);
}

TEST_F(Pulpit, DesktopVersionLoadsItsFlag) {
  machine->setDword(reg::kCurrentUser, kDesktopKey, "PaintDesktopVersion", 1);
  open();
  EXPECT_TRUE(checked("CheckBox2"));
}

class PulpitWithoutRights : public Pulpit {
 protected:
  platform::MachineOptions machineOptions() const override {
    platform::MachineOptions o;
    o.readOnlyCurrentUser = true;
    return o;
  }
};

TEST_F(PulpitWithoutRights, DesktopVersionFailureIsSwallowed) {
  open();
  test::click(window, "CheckBox2");
  EXPECT_TRUE(checked("CheckBox2"));
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_NE(machine->dword(reg::kCurrentUser, kDesktopKey, "PaintDesktopVersion"), 1);
}

TEST_F(Pulpit, EveryPressOpensAFreshWizard) {
  open();
  QStringList captionsSeen;
  int opened = 0;
  // Runs inside the wizard's modal loop: note what it shows, move on, close it.
  std::function<void()> driveWizard = [&] {
    auto* wizard = qobject_cast<TfmKreatorAnimTapeta*>(QApplication::activeModalWidget());
    if (!wizard) {
      QTimer::singleShot(10, driveWizard);
      return;
    }
    ++opened;
    captionsSeen << wizard->windowTitle();
    auto* next = wizard->findChild<QToolButton*>("SpeedButton2", Qt::FindDirectChildrenOnly);
    next->click();
    next->click();
    wizard->close();
  };
  for (int press = 0; press < 2; ++press) {
    QTimer::singleShot(0, driveWizard);
    test::click(window, "SpeedButton1");  // returns when the wizard closes
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window->findChildren<TfmKreatorAnimTapeta*>().isEmpty());  // the closed wizard is gone
  }
  EXPECT_EQ(opened, 2);
  const QString first = QString::fromUtf8("Kreator animowanej tapety   [1 z 5]");
  EXPECT_EQ(captionsSeen, QStringList({first, first}));
}

}  // namespace
