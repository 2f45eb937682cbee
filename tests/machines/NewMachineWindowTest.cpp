// "Nowa z folderu...": a machine made from a folder holding a drive with two
// user profiles and a computer name is offered that name, asks which profile,
// and holds the chosen profile's registry.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "machines/kodMaszyny.h"
#include "platform/Machine.h"
#include "platform/Win9xChoices.h"
#include "registry/HiveStore.h"
#include "registry/RegFile.h"
#include "tests/machines/MachinesTest.h"
#include "tests/win98/Win98Fixture.h"

namespace morvin {
namespace {

namespace fs = std::filesystem;

using NewMachineWindowTest = test::MachinesTest;

TEST_F(NewMachineWindowTest, AFolderDrivesComputerNameIsOfferedAndTheChosenProfileIsRead) {
  test::Win98Drive drive;  // its own profile: Jan
  drive.system.path(platform::win9x::kComputerNameKey).values = {{"ComputerName", 1, "DOMOWY"}};
  const std::string folder = data_ + "/Dysk C";
  drive.writeFolder(folder);
  test::CregKey anna;
  anna.path("Software\\Anna").values = {{"Kto", 1, "Anna Nowak"}};
  fs::create_directories(folder + "/WINDOWS/Profiles/Anna");
  std::ofstream(folder + "/WINDOWS/Profiles/Anna/USER.DAT", std::ios::binary) << test::writeCreg(anna);

  QString offered, partitionShown;
  QStringList profiles;
  setModalRunner([&](WindowId, QWidget* form) {
    offered = test::child<QLineEdit>(form, "MachineNameEdit")->text();
    auto* partitions = test::child<QComboBox>(form, "PartitionCombo");
    partitionShown = partitions->isVisibleTo(form) ? partitions->currentText() : QString();
    auto* profile = test::child<QComboBox>(form, "ProfileCombo");
    if (profile->isVisibleTo(form))
      for (int i = 0; i < profile->count(); ++i) profiles.append(profile->itemText(i));
    profile->setCurrentIndex(profile->findText(QStringLiteral("Anna")));
    for (QWidget* control : test::readableControls(form))
      EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    test::click(form, "CreateButton");
  });
  TfmMaszyny window;
  dialogLog->answerFolder(QString::fromStdString(folder));
  window.findChild<QAction*>("NewFromFolderAction")->trigger();
  for (int i = 0; i < 6000 && window.reading(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  ASSERT_FALSE(window.reading());
  EXPECT_TRUE(errorBoxes().isEmpty()) << errorBoxes().join('\n').toStdString();
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Notice).isEmpty())
      << dialogLog->texts(ShownDialog::Kind::Notice).join('\n').toStdString();

  EXPECT_EQ(offered.toStdString(), "DOMOWY");
  EXPECT_EQ(partitionShown.toStdString(), "");  // a folder has no partitions to choose
  EXPECT_EQ(profiles.join(',').toStdString(), "(domyślny),Anna,Jan");
  const platform::Machine made(data_ + "/morvin-ng/machines/DOMOWY");
  ASSERT_TRUE(made.exists());
  reg::HiveStore store(made.systemDat(), made.userDat());
  reg::RegDocument user;
  ASSERT_EQ(reg::readRegTree(store, reg::kCurrentUser, "Software", &user), reg::err::Success);
  const std::string text = reg::writeRegText(user);
  EXPECT_NE(text.find("\"Kto\"=\"Anna Nowak\""), std::string::npos) << text;
  EXPECT_EQ(text.find("Jan Kowalski"), std::string::npos) << text;

  // The same drive again: its computer name is taken now, so the folder's name is offered.
  setModalRunner(
      [&](WindowId, QWidget* form) { offered = test::child<QLineEdit>(form, "MachineNameEdit")->text(); });
  dialogLog->answerFolder(QString::fromStdString(folder));
  window.findChild<QAction*>("NewFromFolderAction")->trigger();
  for (int i = 0; i < 6000 && window.reading(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  EXPECT_EQ(offered.toStdString(), "Dysk C");
}

}  // namespace
}  // namespace morvin
