// The folder action for Linux file managers beside the Explorer verb.
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "SettingsFixture.h"
#include "shell/app/LinuxIntegration.h"

namespace morvin::test {
namespace {

class FolderActionTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    ASSERT_TRUE(home.isValid());
    savedDataHome = qgetenv("XDG_DATA_HOME");
    savedMachine = qgetenv("MORVIN_MACHINE");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
  }
  void TearDown() override {
    restore("XDG_DATA_HOME", savedDataHome);
    restore("MORVIN_MACHINE", savedMachine);
    SettingsTest::TearDown();
  }
  static void restore(const char* name, const QByteArray& value) {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
  static QString read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }

  QTemporaryDir home;
  QByteArray savedDataHome, savedMachine;
};

TEST_F(FolderActionTest, TheSwitchInstallsAndRemovesTheActionOnTheUsersOwnMachine) {
  qputenv("MORVIN_MACHINE", QByteArray::fromStdString(machine->folder()));  // this machine is the user's own
  start();
  click(set, "CheckBox2");
  const QStringList files = desktop::FolderActionFiles();
  ASSERT_EQ(files.size(), 3);
  const QString exec = "Exec=" + desktop::DesktopExecArgument(QCoreApplication::applicationFilePath());
  for (const QString& file : files) {
    EXPECT_TRUE(file.startsWith(home.path())) << file.toStdString();
    const QString text = read(file);
    EXPECT_TRUE(text.contains(QString::fromUtf8("Name=Uruchom Morvin NG"))) << file.toStdString();
    EXPECT_TRUE(text.contains("MimeType=inode/directory;")) << file.toStdString();
    EXPECT_TRUE(text.contains(exec)) << file.toStdString();
  }
  EXPECT_TRUE(QFileInfo(files[1]).isExecutable());  // service menus run only when executable
  EXPECT_TRUE(machine->keyExists(HKLM, kVerb));

  click(set, "CheckBox2");
  for (const QString& file : files) EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
}

TEST_F(FolderActionTest, AProgramOnAnotherMachineLeavesTheFileManagersAlone) {
  qputenv("MORVIN_MACHINE", home.filePath(QStringLiteral("inna-maszyna")).toUtf8());
  start();
  click(set, "CheckBox2");
  EXPECT_TRUE(machine->keyExists(HKLM, kVerb));
  for (const QString& file : desktop::FolderActionFiles()) EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(DesktopExecArgument, QuotesBlanksAndEscapesWhatTheShellWouldExpand) {
  EXPECT_EQ(desktop::DesktopExecArgument("/opt/morvin/morvin-ng"), "\"/opt/morvin/morvin-ng\"");
  EXPECT_EQ(desktop::DesktopExecArgument("/home/ja/Moje programy/morvin-ng"),
            "\"/home/ja/Moje programy/morvin-ng\"");
  // $ and " are escaped once inside the quotes, then every backslash is doubled by the file's own escaping.
  EXPECT_EQ(desktop::DesktopExecArgument("/a$b/\"c\"/100%"), "\"/a\\\\$b/\\\\\"c\\\\\"/100%%\"");
  EXPECT_EQ(desktop::DesktopExecArgument("/x\\y"), "\"/x\\\\\\\\y\"");
}

}  // namespace
}  // namespace morvin::test
