// The real program, started on a temporary machine and ended by SIGTERM the
// way a session ends: start-up writes and the end-of-program actions happen.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>

#include "platform/Win9xTools.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin {
namespace {

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
const char* const kProgramStore[] = {
    "Software\\Morvin",        "Software\\Morvin\\Pulpit",     "Software\\Morvin\\Foldery",
    "Software\\Morvin\\Ikony", "Software\\Morvin\\Menu Start", "Software\\Morvin\\Windows",
    "Software\\Morvin\\Web",   "Software\\Morvin\\MsDos",      "Software\\Morvin\\Ustawienia"};

class EndToEndTest : public ::testing::Test {
 protected:
  // Starts morvin-ng on the machine, waits until its windows are up (and `ready`
  // holds), ends it with SIGTERM.
  void runProgramUntilTerminated(const std::function<bool()>& ready = [] { return true; }) {
    test::ProgramRun program(MORVIN_NG_BINARY, machine.folder());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(test::waitForWindows(machine));
    EXPECT_TRUE(test::waitUntil(ready, std::chrono::seconds(30)));
    program.terminate();
    EXPECT_EQ(program.waitForEnd(std::chrono::seconds(20)), 0);  // ended by its own loop, not killed
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

// The start-up benchmark ends its runs this way: the program closes its main
// window itself once it is painted, after every window has been created and
// loaded, and ends as after a click on the close button.
TEST_F(EndToEndTest, AskedToCloseWhenShownItEndsByItselfAfterTheWholeStartUp) {
  machine.setDword(HKCU, kNetwork, "NoNetSetup", 5);
  test::ProgramRun program(MORVIN_NG_BINARY, machine.folder(), {"MORVIN_CLOSE_WHEN_SHOWN=1"});
  ASSERT_TRUE(program.started());
  EXPECT_EQ(program.waitForEnd(std::chrono::seconds(60)), 0);
  EXPECT_EQ(machine.dword(HKCU, kNetwork, "NoNetSetup"), 1);
  for (const char* key : kProgramStore) EXPECT_TRUE(machine.keyExists(HKCU, key)) << key;
}

// A wallpaper naming a device or a named pipe shows no picture; the start goes on.
TEST_F(EndToEndTest, AWallpaperThatIsADeviceOrAPipeNeitherHangsNorExhaustsTheStart) {
  const std::string pipe = machine.folder() + "/tapeta.bmp";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& wallpaper : {std::string("/dev/zero"), pipe}) {
    SCOPED_TRACE(wallpaper);
    machine.setString(HKCU, "Software\\Morvin\\Ustawienia", "Tapeta", wallpaper);
    {  // painted: it closes itself after showing its main window
      test::ProgramRun program(MORVIN_NG_BINARY, machine.folder(), {"MORVIN_CLOSE_WHEN_SHOWN=1"});
      EXPECT_EQ(program.waitForEnd(std::chrono::seconds(30)), 0);
    }
    test::ProgramRun program(MORVIN_NG_BINARY, machine.folder());
    ASSERT_TRUE(test::waitForWindows(machine));
    program.terminate();
    EXPECT_EQ(program.waitForEnd(std::chrono::seconds(10)), 0);
  }
}

// --version and --help answer without a display: a console or a script may ask.
TEST(ProgramOptions, VersionAndHelpAnswerWithoutADisplay) {
  for (const char* option : {"--version", "--help"}) {
    const auto run = platform::win9x::runTool(
        {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", MORVIN_NG_BINARY, option});
    EXPECT_EQ(run.status, 0) << option << ": " << run.err;
    EXPECT_NE(
        run.out.find(option == std::string("--version") ? "morvin-ng " MORVIN_VERSION "\n" : "--lang pl|en"),
        std::string::npos)
        << option << ": " << run.out;
  }
}

}  // namespace
}  // namespace morvin
