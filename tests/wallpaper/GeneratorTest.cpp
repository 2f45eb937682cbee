// The page generator against a temporary machine: the page's bytes, its file
// name and every way writing it can fail.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FileAttributes.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "tests/support/TempMachine.h"
#include "tests/wallpaper/KotExample.h"
#include "wallpaper/generator/InOutError.h"
#include "wallpaper/generator/PageTemplate.h"
#include "wallpaper/generator/TextFileWriter.h"
#include "wallpaper/generator/UtworzTapete.h"

namespace fs = std::filesystem;
using namespace morvin;
using namespace morvin::wallpaper;
using morvin::test::kKotPage;
using morvin::test::Options;
using morvin::test::rgb;

namespace {

std::string ansi(const char* utf8) {
  return cp1250::fromUtf8(utf8);
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Splits at CR LF; fails the test when a line end is anything else.
std::vector<std::string> crlfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text after the last CR LF: " << bytes.substr(start);
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  return lines;
}

class Generator : public ::testing::Test {
 protected:
  fs::path folder() const { return fs::path(machine.driveC()) / "WINDOWS" / "Web" / "Wallpaper"; }

  void generate(const Options& o) {
    UtworzTapete(o.movie, o.charset, o.align, o.title, o.quality, o.width, o.height, o.colour, o.menu);
  }
  std::vector<std::string> page(const Options& o) {
    generate(o);
    return crlfLines(readBytes(folder() / cp1250::toUtf8(o.title + ".html")));
  }
  // The error code of a generation that must fail.
  int failureCode(const Options& o) {
    try {
      generate(o);
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.message(), inOutMessage(e.code()));
      return e.code();
    }
    ADD_FAILURE() << "the page was written";
    return 0;
  }
  std::vector<std::string> folderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempMachine machine;
};

TEST(PageWords, AlignmentQualityAndMenuCaptionsMapExactly) {
  EXPECT_EQ(alignmentWord(ansi("Do prawej")), "right");
  EXPECT_EQ(alignmentWord(ansi("Do lewej")), "left");
  EXPECT_EQ(alignmentWord(ansi("Do góry")), "top");
  EXPECT_EQ(alignmentWord(ansi("Do dołu")), "bottom");
  EXPECT_EQ(alignmentWord(ansi("Do środka")), "");
  EXPECT_EQ(alignmentWord(ansi("Wybierz wyrównanie")), "");
  EXPECT_EQ(alignmentWord(ansi("do lewej")), "");  // case counts
  EXPECT_EQ(alignmentWord("Do gory"), "");         // so do the Polish letters
  EXPECT_EQ(qualityWord(ansi("Słaba")), "Low");
  EXPECT_EQ(qualityWord(ansi("Dobra")), "Medium");
  EXPECT_EQ(qualityWord(ansi("Bardzo dobra")), "High");
  EXPECT_EQ(qualityWord(ansi("Wybierz jakość")), "");
  EXPECT_EQ(qualityWord("Slaba"), "");
  EXPECT_EQ(menuWord(true), "True");
  EXPECT_EQ(menuWord(false), "False");
}

TEST(PageWords, ColourIsSixUpperCaseDigitsRedFirst) {
  EXPECT_EQ(colourText(rgb(255, 0, 0)), "FF0000");
  EXPECT_EQ(colourText(rgb(0, 128, 255)), "0080FF");
  EXPECT_EQ(colourText(rgb(5, 10, 200)), "050AC8");
  EXPECT_EQ(colourText(0), "000000");
  EXPECT_EQ(colourText(0xFFFFFF), "FFFFFF");
  EXPECT_THROW(colourText(static_cast<std::int32_t>(0x8000000F)), ERangeError);  // a system colour reference
  EXPECT_THROW(colourText(0x1000000), ERangeError);
}

TEST(InOutMessages, StandardTextForEachCode) {
  EXPECT_EQ(inOutMessage(2), "File not found");
  EXPECT_EQ(inOutMessage(3), "Invalid filename");
  EXPECT_EQ(inOutMessage(4), "Too many open files");
  EXPECT_EQ(inOutMessage(5), "File access denied");
  EXPECT_EQ(inOutMessage(101), "Disk full");
  EXPECT_EQ(inOutMessage(32), "I/O error 32");
  EXPECT_EQ(inOutMessage(123), "I/O error 123");
}

TEST_F(Generator, KotPageHasTheFourteenLinesOfTheTemplate) {
  generate(Options{});
  const std::string bytes = readBytes(folder() / "Kot.html");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "</HTML>\r\n");
  EXPECT_EQ(crlfLines(bytes).size(), 14u);
  EXPECT_EQ(bytes, kKotPage);
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"Kot.html"});  // no temporary file left behind
}

TEST_F(Generator, CentreAndUnknownAlignmentLeaveAlignEmpty) {
  for (const char* caption : {"Do środka", "Wybierz wyrównanie", "Do Lewej"}) {
    Options o;
    o.align = ansi(caption);
    const auto lines = page(o);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[8], " WIDTH=\"1024\" HEIGHT=\"768\" id=\"Kot\" ALIGN=\"\">") << caption;
    EXPECT_TRUE(lines[9].ends_with(" NAME=\"Kot\" ALIGN=\"\"")) << caption;
  }
}

TEST_F(Generator, QualityWordsAndUnchosenQuality) {
  Options o;
  o.quality = ansi("Bardzo dobra");
  auto lines = page(o);
  EXPECT_NE(lines[9].find("<PARAM NAME=quality VALUE=High>"), std::string::npos);
  EXPECT_NE(lines[9].find(" quality=High bgcolor="), std::string::npos);

  o.quality = ansi("Wybierz jakość");
  lines = page(o);
  EXPECT_NE(lines[9].find("<PARAM NAME=quality VALUE=>"), std::string::npos);
  EXPECT_NE(lines[9].find(" quality= bgcolor="), std::string::npos);
}

TEST_F(Generator, ColourAppearsAsSixDigitsInAllThreePlaces) {
  Options o;
  o.colour = rgb(5, 10, 200);
  const auto lines = page(o);
  EXPECT_EQ(lines[5], "<BODY bgcolor=\"050AC8\">");
  EXPECT_NE(lines[9].find("<PARAM NAME=bgcolor VALUE=050AC8> <EMBED"), std::string::npos);
  EXPECT_NE(lines[9].find(" bgcolor=050AC8  WIDTH=\"1024\""), std::string::npos);
}

TEST_F(Generator, SystemColourReferenceIsRefusedBeforeAnythingIsWritten) {
  Options o;
  o.colour = static_cast<std::int32_t>(0x8000000F);
  EXPECT_THROW(generate(o), ERangeError);
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(Generator, MenuWordInBothPlaces) {
  Options o;
  auto lines = page(o);
  EXPECT_NE(lines[9].find("<PARAM NAME=menu VALUE=False>"), std::string::npos);
  EXPECT_NE(lines[9].find(" menu=False quality="), std::string::npos);
  o.menu = true;
  lines = page(o);
  EXPECT_NE(lines[9].find("<PARAM NAME=menu VALUE=True>"), std::string::npos);
  EXPECT_NE(lines[9].find(" menu=True quality="), std::string::npos);
}

TEST_F(Generator, SizesAreWrittenInDecimalUnchecked) {
  Options o;
  o.width = 0;
  o.height = -20;
  const auto lines = page(o);
  EXPECT_EQ(lines[8], " WIDTH=\"0\" HEIGHT=\"-20\" id=\"Kot\" ALIGN=\"left\">");
}

TEST_F(Generator, EmptyTitleGivesDotHtmlAndEmptyNames) {
  Options o;
  o.title = "";
  const auto lines = page(o);
  EXPECT_TRUE(fs::exists(folder() / ".html"));
  EXPECT_EQ(lines[3], "<TITLE></TITLE>");
  EXPECT_NE(lines[8].find(" id=\"\" "), std::string::npos);
  EXPECT_NE(lines[9].find(" NAME=\"\" "), std::string::npos);
}

TEST_F(Generator, SecondRunReplacesThePage) {
  Options o;
  generate(o);
  o.colour = rgb(255, 0, 0);
  o.width = 800;
  const auto lines = page(o);
  EXPECT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[5], "<BODY bgcolor=\"FF0000\">");
  EXPECT_EQ(lines[8], " WIDTH=\"800\" HEIGHT=\"768\" id=\"Kot\" ALIGN=\"left\">");
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"Kot.html"});
}

TEST_F(Generator, TextsAreWrittenAsCp1250Bytes) {
  Options o;
  o.title = ansi("Żółw");
  o.movie = ansi("C:\\Moje dokumenty\\żółw.swf");
  generate(o);
  const std::string bytes = readBytes(folder() / "Żółw.html");  // host names are UTF-8
  EXPECT_NE(bytes.find("<TITLE>\xAF\xF3\xB3w</TITLE>"), std::string::npos);
  EXPECT_NE(bytes.find("VALUE=\"C:\\Moje dokumenty\\\xBF\xF3\xB3w.swf\">"), std::string::npos);
}

TEST_F(Generator, UnderAWesternCharsetLettersBeyondAsciiAreCharacterReferences) {
  for (const char* charset : {"windows-1252", "ISO-8859-1"}) {
    Options o;
    o.charset = charset;
    o.title = ansi("Café Łódź");
    o.movie = ansi("C:\\Kot.swf");
    const auto lines = page(o);
    EXPECT_EQ(lines[3], "<TITLE>Caf&#233; &#321;&#243;d&#378;</TITLE>") << charset;
  }
}

TEST_F(Generator, MarkupCharactersInTypedTextsAreEscaped) {
  Options o;
  o.title = "Tom & Jerry";
  o.movie = "C:\\Anim\\a\"><script>x</script>&.swf";
  o.charset = "x\"><b>";
  const auto lines = page(o);  // the file keeps the title as typed: "Tom & Jerry.html"
  EXPECT_EQ(lines[2], "<meta http-equiv=Content-Type content=\"text/html;  charset=x&quot;&gt;&lt;b&gt;\">");
  EXPECT_EQ(lines[3], "<TITLE>Tom &amp; Jerry</TITLE>");
  EXPECT_NE(lines[8].find(" id=\"Tom &amp; Jerry\" "), std::string::npos);
  const std::string movie = "C:\\Anim\\a&quot;&gt;&lt;script&gt;x&lt;/script&gt;&amp;.swf";
  EXPECT_NE(lines[9].find("<PARAM NAME=movie VALUE=\"" + movie + "\">"), std::string::npos);
  EXPECT_NE(lines[9].find("<EMBED src=\"" + movie + "\" menu="), std::string::npos);
  EXPECT_NE(lines[9].find(" NAME=\"Tom &amp; Jerry\" "), std::string::npos);
  EXPECT_EQ(lines[9].find("<script>"), std::string::npos);
}

TEST_F(Generator, MissingFolderIsAnInvalidFilename) {
  fs::remove_all(folder());
  EXPECT_EQ(failureCode(Options{}), io::PathNotFound);
}

TEST_F(Generator, BackslashIntoMissingFolderIsAnInvalidFilename) {
  Options o;
  o.title = "Brak\\Kot";
  EXPECT_EQ(failureCode(o), io::PathNotFound);
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(Generator, BannedCharacterInTitleIsAnInvalidName) {
  for (const char* title : {"Kot?", "Kot*", "a:b", "Kot|Pies", "<b>", "\"Kot\""}) {
    Options o;
    o.title = title;
    EXPECT_EQ(failureCode(o), io::InvalidName) << title;
  }
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(Generator, ReadOnlyPageIsNotOverwritten) {
  generate(Options{});
  const fs::path file = folder() / "Kot.html";
  const std::string before = readBytes(file);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Options o;
  o.colour = rgb(255, 255, 255);
  EXPECT_EQ(failureCode(o), io::AccessDenied);
  EXPECT_EQ(readBytes(file), before);
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"Kot.html"});
}

TEST_F(Generator, HiddenOrSystemPageIsNotOverwritten) {
  generate(Options{});
  const std::string before = readBytes(folder() / "Kot.html");
  for (std::uint32_t attribute : {platform::attr::Hidden, platform::attr::System}) {
    if (!platform::SetFileAttributes(wallpaperPagePath("Kot"), attribute))
      GTEST_SKIP() << "this file system keeps no DOS attributes";
    Options o;
    o.colour = rgb(255, 255, 255);
    EXPECT_EQ(failureCode(o), io::AccessDenied) << attribute;
    EXPECT_EQ(readBytes(folder() / "Kot.html"), before);
  }
  ASSERT_TRUE(platform::SetFileAttributes(wallpaperPagePath("Kot"), platform::attr::Archive));
  generate(Options{});  // an ordinary page is replaced again
}

TEST_F(Generator, FolderInPlaceOfThePageIsAccessDenied) {
  fs::create_directory(folder() / "Kot.html");
  EXPECT_EQ(failureCode(Options{}), io::AccessDenied);
  EXPECT_TRUE(fs::is_directory(folder() / "Kot.html"));
}

TEST_F(Generator, PathOverTheWindowsLimitIsRefusedNotShortened) {
  // "C:\WINDOWS\Web\Wallpaper\" + title + ".html": 30 characters besides the title.
  Options o;
  o.title = std::string(259 - 30, 'x');
  generate(o);
  EXPECT_TRUE(fs::exists(folder() / (o.title + ".html")));
  fs::remove(folder() / (o.title + ".html"));

  o.title += "y";
  EXPECT_EQ(failureCode(o), io::PathNotFound);
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(Generator, FullDiskKeepsThePreviousPageWhole) {
  generate(Options{});
  const std::string before = readBytes(folder() / "Kot.html");

  // The file may grow to 100 bytes only: the third line no longer fits.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Options o;
  o.title = "Kot";
  o.colour = rgb(1, 2, 3);
  const int code = failureCode(o);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(code, io::DiskFull);
  EXPECT_EQ(readBytes(folder() / "Kot.html"), before);
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"Kot.html"});
}

TEST(TextFileWriter, NoFreeFileHandleIsTooManyOpenFiles) {
  const fs::path dir = fs::temp_directory_path() / ("morvin-writer-" + std::to_string(getpid()));
  fs::create_directories(dir);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &small), 0);
  std::vector<int> held;
  for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held.push_back(fd);

  int code = 0;
  try {
    writeTextFileReplacing((dir / "a.html").string(), {"<HTML>"});
  } catch (const EInOutError& e) {
    code = e.code();
  }
  for (int fd : held) close(fd);
  setrlimit(RLIMIT_NOFILE, &saved);

  EXPECT_EQ(code, io::TooManyOpenFiles);
  EXPECT_FALSE(fs::exists(dir / "a.html"));
  fs::remove_all(dir);
}

TEST(TextFileWriter, ReplacedFileKeepsItsPermissions) {
  const fs::path dir = fs::temp_directory_path() / ("morvin-writer-mode-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "a.html";
  writeTextFileReplacing(file.string(), {"one"});
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  writeTextFileReplacing(file.string(), {"two", ""});
  EXPECT_EQ(readBytes(file), "two\r\n\r\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  fs::remove_all(dir);
}

}  // namespace
