// The folder action for Linux file managers beside the Explorer verb.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "SettingsFixture.h"
#include "app/LinuxIntegration.h"
#include "shell/DataPaths.h"
#include "shell/Language.h"

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
    EXPECT_TRUE(text.contains("MimeType=inode/directory;") || text.contains("Extensions=dir;"))
        << file.toStdString();
    EXPECT_TRUE(text.contains(exec)) << file.toStdString();
  }
  EXPECT_TRUE(QFileInfo(files[0]).isExecutable());  // service menus run only when executable
  EXPECT_TRUE(QFileInfo(files[1]).isExecutable());
  EXPECT_TRUE(machine->keyExists(HKLM, kVerb));

  click(set, "CheckBox2");
  for (const QString& file : files) EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
}

// The file managers' action speaks the program's language when it is
// installed; the Explorer verb is the system's, and this system is Polish.
TEST_F(FolderActionTest, TheActionIsNamedInTheProgramsLanguageAndTheVerbInTheSystems) {
  qputenv("MORVIN_MACHINE", QByteArray::fromStdString(machine->folder()));
  // The translation lies beside the test program, not in this test's data folder.
  struct BackToPolish {
    QString data = dataFolder();
    ~BackToPolish() {
      setLanguage(Language::Polish);
      setDataFolder(data);
    }
  } backToPolish;
  setDataFolder(QCoreApplication::applicationDirPath());
  ASSERT_TRUE(setLanguage(Language::English));
  start();
  click(set, "CheckBox2");
  for (const QString& file : desktop::FolderActionFiles())
    EXPECT_TRUE(read(file).contains(QStringLiteral("Name=Start Morvin NG"))) << file.toStdString();
  EXPECT_TRUE(read(desktop::FolderActionFiles()[2]).contains(QStringLiteral("Comment=Windows 9x settings")));
  EXPECT_EQ(machine->string(HKLM, kVerb, ""), "Uruchom Morvin NG");
}

TEST_F(FolderActionTest, AProgramOnAnotherMachineLeavesTheFileManagersAlone) {
  qputenv("MORVIN_MACHINE", home.filePath(QStringLiteral("inna-maszyna")).toUtf8());
  start();
  click(set, "CheckBox2");
  EXPECT_TRUE(machine->keyExists(HKLM, kVerb));
  for (const QString& file : desktop::FolderActionFiles()) EXPECT_FALSE(QFileInfo::exists(file));
}

// The program opening folders is the user's choice: the action never becomes it, with or
// without a default set, as xdg-mime sees it in a home of its own.
TEST_F(FolderActionTest, EnablingTheActionNeverChangesWhichProgramOpensFolders) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  ASSERT_FALSE(xdgMime.isEmpty()) << "xdg-utils is not installed";
  qputenv("MORVIN_MACHINE", QByteArray::fromStdString(machine->folder()));
  QTemporaryDir config, system;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", home.path());
  env.insert("XDG_DATA_HOME", home.path());
  env.insert("XDG_CONFIG_HOME", config.path());
  env.insert("XDG_DATA_DIRS", system.path());  // no system-wide handlers
  for (const char* name :
       {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
    env.remove(name);
  const auto defaultHandler = [&] {
    QProcess query;
    query.setProcessEnvironment(env);
    query.start(xdgMime, {"query", "default", "inode/directory"});
    EXPECT_TRUE(query.waitForFinished(30000));
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
  };
  start();
  for (bool withDefault : {false, true}) {
    SCOPED_TRACE(withDefault ? "with a default" : "without a default");
    if (withDefault) {
      QDir(home.path()).mkpath("applications");
      QFile files(home.filePath("applications/pliki.desktop"));
      ASSERT_TRUE(files.open(QIODevice::WriteOnly));
      files.write("[Desktop Entry]\nType=Application\nName=Pliki\nExec=true\nMimeType=inode/directory;\n");
      files.close();
      QFile list(config.filePath("mimeapps.list"));
      ASSERT_TRUE(list.open(QIODevice::WriteOnly));
      list.write("[Default Applications]\ninode/directory=pliki.desktop\n");
    }
    const QString before = defaultHandler();
    click(set, "CheckBox2");
    ASSERT_TRUE(QFileInfo::exists(desktop::FolderActionFiles().first()));
    EXPECT_EQ(defaultHandler(), before);
    click(set, "CheckBox2");
    EXPECT_EQ(defaultHandler(), before);
  }
}

// A switch that could not be stored leaves the file managers' action as it was.
TEST_F(FolderActionTest, AnUnstoredSwitchLeavesTheActionAsItWas) {
  qputenv("MORVIN_MACHINE", QByteArray::fromStdString(machine->folder()));
  start();
  machine->reopen({.readOnlyCurrentUser = true});
  click(set, "CheckBox2");
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
