// The real program on a default machine, ended by SIGTERM: MsDos.sys ends
// read-only and hidden, its other lines as they were.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/FileAttributes.h"
#include "registry/TIniFile.h"
#include "tests/support/TempMachine.h"

namespace morvin {
namespace {

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    QThread::msleep(50);
  }
  return done();
}

std::string pathsSection(const std::string& hostFile) {
  std::ifstream in(hostFile, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  const std::size_t start = text.find("[Paths]");
  if (start == std::string::npos) return {};
  return text.substr(start, text.find("\r\n[", start) + 2 - start);
}

TEST(DosEndToEnd, AStartEndedBySigtermLeavesTheBootFileReadOnlyHiddenAndItsPathsAsTheyWere) {
  test::TempMachine machine;
  const std::string hostFile = machine.driveC() + "/MsDos.sys";
  const std::string paths = pathsSection(hostFile);
  ASSERT_FALSE(paths.empty());

  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("MORVIN_MACHINE", QString::fromStdString(machine.folder()));
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(QStringLiteral(MORVIN_NG_PATH), {});
  ASSERT_TRUE(program.waitForStarted(10000));
  // The settings key is the last of the program store; the MS-DOS window's load follows.
  ASSERT_TRUE(waitFor([&] { return machine.keyExists(reg::kCurrentUser, "Software\\Morvin\\Ustawienia"); },
                      std::chrono::seconds(30)));
  ASSERT_TRUE(waitFor([] { return TIniFile("C:\\MsDos.sys").IniReadText("Options", "Logo", "") == "1"; },
                      std::chrono::seconds(30)));
  EXPECT_EQ(platform::GetFileAttributes("C:\\MsDos.sys"), platform::attr::Normal);  // cleared while running
  QThread::msleep(1500);  // the remaining windows load
  program.terminate();
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);

  EXPECT_EQ(platform::GetFileAttributes("C:\\MsDos.sys"), platform::attr::ReadOnly | platform::attr::Hidden);
  EXPECT_EQ(pathsSection(hostFile), paths);
  TIniFile boot("C:\\MsDos.sys");
  EXPECT_EQ(boot.IniReadText("Options", "BootKeys", "<none>"), "<none>");
  EXPECT_EQ(boot.IniReadText("Options", "BootMenuDelay", "<none>"), "5");
}

}  // namespace
}  // namespace morvin

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
