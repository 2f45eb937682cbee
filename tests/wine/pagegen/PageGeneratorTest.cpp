// The wallpaper page generator of a Windows build on the system: the page
// lands in the Windows folder's Web\Wallpaper byte for byte, and failures are
// reported with the system's codes and leave the folder as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/WindowsFolder.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "tests/wallpaper/KotExample.h"
#include "wallpaper/generator/InOutError.h"
#include "wallpaper/generator/TextFileWriter.h"
#include "wallpaper/generator/UtworzTapete.h"

namespace {

using namespace morvin;
using namespace morvin::wallpaper;
using morvin::test::kKotPage;
using morvin::test::Options;
using morvin::test::rgb;

class Win32Generator : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((platform::KatalogWindows() + "\\Web").c_str(), nullptr);
    CreateDirectoryA(folder().c_str(), nullptr);
    empty();
  }
  void TearDown() override { empty(); }

  static std::string folder() { return platform::KatalogWindows() + "\\Web\\Wallpaper"; }
  static std::string path(const std::string& name) { return folder() + "\\" + name; }

  // Names in the folder (cp1250), sorted; "." and ".." left out.
  static std::vector<std::string> entries() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path("*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
  static void empty() {
    for (const std::string& name : entries()) {
      SetFileAttributesA(path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path(name).c_str())) RemoveDirectoryA(path(name).c_str());
    }
  }
  static std::string contents(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  static void generate(const Options& o) {
    UtworzTapete(o.movie, o.charset, o.align, o.title, o.quality, o.width, o.height, o.colour, o.menu);
  }
  // The error code of a generation that must fail.
  static int failureCode(const Options& o) {
    try {
      generate(o);
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.message(), inOutMessage(e.code()));
      return e.code();
    }
    ADD_FAILURE() << "the page was written";
    return 0;
  }
};

TEST_F(Win32Generator, KotPageIsWrittenIntoTheWindowsFolderByteForByte) {
  generate(Options{});
  EXPECT_EQ(contents("Kot.html"), kKotPage);
  EXPECT_EQ(entries(), std::vector<std::string>{"Kot.html"});  // no temporary file left behind
}

TEST_F(Win32Generator, SecondRunReplacesThePageWhole) {
  Options o;
  o.title = "Kot";
  o.movie = "C:\\Anim\\a much longer name of the movie, so the first page is the longer one.swf";
  generate(o);
  generate(Options{});
  EXPECT_EQ(contents("Kot.html"), kKotPage);
  EXPECT_EQ(entries(), std::vector<std::string>{"Kot.html"});
}

TEST_F(Win32Generator, PolishTitleNamesTheFileInTheAnsiCodePage) {
  if (GetACP() != 1250) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1250";
  // Under Wine a name the host's charset cannot hold cannot be made at all
  // (tests/wine/run gives Wine a Polish locale).
  const HANDLE probe = CreateFileA(path("\xB1\xEA.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) GTEST_SKIP() << "this system makes no files with Polish names";
  CloseHandle(probe);
  Options o;
  o.title = cp1250::fromUtf8("Żółw");
  generate(o);
  ASSERT_EQ(entries(), std::vector<std::string>{"\xAF\xF3\xB3w.html"});
  EXPECT_NE(contents("\xAF\xF3\xB3w.html").find("<TITLE>\xAF\xF3\xB3w</TITLE>\r\n"), std::string::npos);
}

TEST_F(Win32Generator, MissingFolderIsAnInvalidFilename) {
  Options o;
  o.title = "Brak\\Kot";
  EXPECT_EQ(failureCode(o), io::PathNotFound);
  EXPECT_TRUE(entries().empty());

  ASSERT_TRUE(RemoveDirectoryA(folder().c_str()));
  EXPECT_EQ(failureCode(Options{}), io::PathNotFound);
}

TEST_F(Win32Generator, ProtectedPageOrFolderInItsPlaceIsAccessDenied) {
  for (DWORD attribute : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    generate(Options{});
    ASSERT_TRUE(SetFileAttributesA(path("Kot.html").c_str(), attribute));
    Options o;
    o.colour = rgb(255, 255, 255);
    EXPECT_EQ(failureCode(o), io::AccessDenied) << attribute;
    EXPECT_EQ(contents("Kot.html"), kKotPage) << attribute;
    EXPECT_EQ(entries(), std::vector<std::string>{"Kot.html"}) << attribute;
    empty();
  }
  ASSERT_TRUE(CreateDirectoryA(path("Kot.html").c_str(), nullptr));
  EXPECT_EQ(failureCode(Options{}), io::AccessDenied);
  EXPECT_EQ(GetFileAttributesA(path("Kot.html").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            DWORD{FILE_ATTRIBUTE_DIRECTORY});
}

TEST_F(Win32Generator, PageHeldOpenByAnotherProgramStaysAsItWas) {
  generate(Options{});
  const HANDLE held = CreateFileA(path("Kot.html").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Options o;
  o.colour = rgb(255, 255, 255);
  const int code = failureCode(o);
  CloseHandle(held);
  EXPECT_TRUE(code == io::AccessDenied || code == ERROR_SHARING_VIOLATION) << code;
  EXPECT_EQ(contents("Kot.html"), kKotPage);
  EXPECT_EQ(entries(), std::vector<std::string>{"Kot.html"});
}

TEST_F(Win32Generator, WriterEndsEveryLineWithCrLf) {
  writeTextFileReplacing(path("a.txt"), {"one", "", "dwa"});
  EXPECT_EQ(contents("a.txt"), "one\r\n\r\ndwa\r\n");
  writeTextFileReplacing(path("a.txt"), {});
  EXPECT_EQ(contents("a.txt"), "");
  EXPECT_EQ(entries(), std::vector<std::string>{"a.txt"});
}

TEST(Win32InOutCodes, SystemCodesAreReportedWithTheirMessages) {
  EXPECT_EQ(inOutCodeForLastError(ERROR_FILE_NOT_FOUND), 2);
  EXPECT_EQ(inOutCodeForLastError(ERROR_PATH_NOT_FOUND), 3);
  EXPECT_EQ(inOutCodeForLastError(ERROR_TOO_MANY_OPEN_FILES), 4);
  EXPECT_EQ(inOutCodeForLastError(ERROR_ACCESS_DENIED), 5);
  EXPECT_EQ(inOutCodeForLastError(ERROR_DISK_FULL), 101);
  EXPECT_EQ(inOutCodeForLastError(ERROR_HANDLE_DISK_FULL), 101);
  EXPECT_EQ(inOutCodeForLastError(ERROR_INVALID_NAME), 123);
  EXPECT_EQ(inOutCodeForLastError(ERROR_SUCCESS), io::GeneralFailure);
  try {
    raiseInOutErrorFromLastError(ERROR_SHARING_VIOLATION);
    ADD_FAILURE() << "nothing was raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.code(), 32);
    EXPECT_EQ(e.message(), "I/O error 32");
  }
  try {
    raiseInOutErrorFromLastError(ERROR_HANDLE_DISK_FULL);
    ADD_FAILURE() << "nothing was raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.message(), "Disk full");
  }
}

}  // namespace
