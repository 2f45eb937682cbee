// A window test whose program data (the machines folder, the remembered
// machine) lives beside the test's machine, which stands where the default
// machine lies.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Machine.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

class MachinesTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    data_ = machine->folder() + "-data";
    ::setenv("XDG_DATA_HOME", data_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", data_.c_str(), 1);
    std::filesystem::create_directories(data_ + "/morvin-ng");
    std::filesystem::create_directory_symlink(machine->folder(), data_ + "/morvin-ng/machine");
  }
  void TearDown() override {
    platform::openMachine(machine->folder());  // a test may have switched machines
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(data_);
    GuiTest::TearDown();
  }

  std::string data_;
};

}  // namespace morvin::test
