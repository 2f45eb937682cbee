// The real program, started on a temporary machine and ended by SIGTERM the
// way a session ends: start-up writes and the end-of-program actions happen.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>
#include <functional>

#include "tests/support/TempMachine.h"

namespace morvin {
namespace {

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const char* const kProgramStore[] = {
    "Software\\Morvin",        "Software\\Morvin\\Pulpit",     "Software\\Morvin\\Foldery",
    "Software\\Morvin\\Ikony", "Software\\Morvin\\Menu Start", "Software\\Morvin\\Windows",
    "Software\\Morvin\\Web",   "Software\\Morvin\\MsDos",      "Software\\Morvin\\Ustawienia"};

bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    QThread::msleep(50);
  }
  return done();
}

class EndToEndTest : public ::testing::Test {
 protected:
  // Starts morvin-ng on the machine, waits until its windows are up (and `ready`
  // holds), ends it with SIGTERM.
  void runProgramUntilTerminated(const std::function<bool()>& ready = [] { return true; }) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("MORVIN_MACHINE", QString::fromStdString(machine.folder()));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(MORVIN_NG_PATH), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The settings key is the last of the program store; the window set follows.
    ASSERT_TRUE(waitFor([&] { return machine.keyExists(HKCU, "Software\\Morvin\\Ustawienia"); },
                        std::chrono::seconds(30)));
    QThread::msleep(1500);  // the remaining windows load
    EXPECT_TRUE(waitFor(ready, std::chrono::seconds(30)));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // ended by its own loop, not killed
    EXPECT_EQ(program.exitCode(), 0);
  }

  test::TempMachine machine;
};

TEST_F(EndToEndTest, AStoredPolicyIsRewrittenAsOneAndTheProgramStoreCreated) {
  machine.setDword(HKCU, kNetwork, "NoNetSetup", 5);
  runProgramUntilTerminated([&] { return machine.dword(HKCU, kNetwork, "NoNetSetup") == 1; });
  EXPECT_EQ(machine.dword(HKCU, kNetwork, "NoNetSetup"), 1);
  for (const char* key : kProgramStore) EXPECT_TRUE(machine.keyExists(HKCU, key)) << key;
}

TEST_F(EndToEndTest, WithoutTheNetworkPolicyNothingIsWrittenUnderIt) {
  runProgramUntilTerminated();
  EXPECT_FALSE(machine.keyExists(HKCU, kNetwork));
  for (const char* key : kProgramStore) EXPECT_TRUE(machine.keyExists(HKCU, key)) << key;
}

}  // namespace
}  // namespace morvin

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
