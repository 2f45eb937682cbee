#include "Win98Fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Win9xTools.h"
#include "registry/Cp1250.h"

namespace morvin::test {

namespace fs = std::filesystem;
using platform::win9x::runTool;

void Win98CommandTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "morvin-win98-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  machine_ = dir_ + "/machine";
}

void Win98CommandTest::TearDown() {
  fs::remove_all(dir_);
}

platform::win9x::ToolRun Win98CommandTest::reg(std::vector<std::string> args) {
  args.insert(args.begin(), {MORVIN_REG_PROGRAM, "--machine", machine_});
  return runTool(args);
}

namespace {

std::string dword(std::uint32_t v) {
  return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
                     static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24)};
}
std::string sz(const std::string& cp1250Text) {
  return cp1250Text + '\0';
}

void write(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string lower(std::string path, Spelling spelling) {
  if (spelling == Spelling::Lower)
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return path;
}

// The hive must read back through libcreg's own tools before a test uses it.
void checkWithLibcreg(const std::string& hive, const CregKey& root) {
  const auto info = runTool({"creginfo", hive});
  EXPECT_EQ(info.status, 0) << hive << ": " << info.err;
  const auto exported = runTool({"cregexport", "-c", "windows-1250", hive});
  EXPECT_EQ(exported.status, 0) << hive << ": " << exported.err;
  for (const auto& [path, values] : contentOf(root)) {
    (void)values;
    const std::string last = path.substr(path.rfind('\\') + 1);
    EXPECT_NE(cp1250::toUpper(cp1250::fromUtf8(exported.out)).find("KEY: " + last), std::string::npos)
        << "cregexport does not show the key " << cp1250::toUtf8(path) << " of " << hive;
  }
}

void collect(const CregKey& key, const std::string& path, RegistryContent& out) {
  auto& values = out[cp1250::toUpper(path)];
  for (const CregValue& v : key.values) values[v.name] = {v.type, v.data};
  for (const CregKey& sub : key.keys) collect(sub, path.empty() ? sub.name : path + "\\" + sub.name, out);
}

}  // namespace

RegistryContent contentOf(const CregKey& root, const std::string& below) {
  RegistryContent out;
  const CregKey* start = &root;
  if (!below.empty()) start = &const_cast<CregKey&>(root).path(below);
  collect(*start, "", out);
  if (out[""].empty()) out.erase("");
  return out;
}

Win98Drive::Win98Drive() {
  // HKEY_LOCAL_MACHINE: every value type, cp1250 names, an empty key. Texts
  // are given as Windows hands them out; the writer stores them without their
  // NUL, as Windows 9x does.
  CregKey& types = system.path("Software\\Morvin\\Typy \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
  types.values = {{"", 1, sz("domy\x9Clna")},
                  {"Tekst \xB9\xE6\xEA", 1, sz("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1")},
                  {"BezNul", 1, sz("abc")},
                  {"Rozwijany", 2, sz("%windir%\\Pulpit")},
                  {"Binarny", 3, std::string("\x00\x01\xFE\xFF", 4)},
                  {"Liczba", 4, dword(0x12345678)},
                  {"Lista", 7, std::string("jeden\0dwa\0\0", 11)},
                  {"Brak", 0, std::string("\x01\x02", 2)},
                  {"Dziwny", 0x1234, "x"}};
  system.path("Software\\Morvin\\Pusty");
  system.path("Software\\Microsoft\\Windows\\CurrentVersion").values = {
      {"ProgramFilesDir", 1, sz("C:\\Program Files")}, {"Version", 1, sz("Windows 98")}};
  system.path("System\\CurrentControlSet\\Control\\Keyboard Layouts\\00000415").values = {
      {"layout file", 1, sz("KBDPL1.DLL")}};

  const std::string shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  user.path(".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network").values = {
      {"NoNetSetup", 4, dword(5)}};
  user.path(".DEFAULT\\" + shell).values = {
      {"Start Menu", 1, sz("C:\\WINDOWS\\Menu Start")},
      {"Startup", 1, sz("C:\\WINDOWS\\Menu Start\\Programy\\Autostart")},
      {"Desktop", 1, sz("C:\\WINDOWS\\Pulpit")}};
  user.path(".DEFAULT\\Control Panel\\Desktop").values = {{"Wallpaper", 1, sz("C:\\WINDOWS\\Chmury.bmp")}};

  profileUser.path(shell).values = {
      {"Start Menu", 1, sz("C:\\WINDOWS\\Profiles\\Jan\\Menu Start")},
      {"Startup", 1, sz("C:\\WINDOWS\\Profiles\\Jan\\Menu Start\\Programy\\Autostart")}};
  profileUser.path("Software\\Jan").values = {{"Kto", 1, sz("Jan Kowalski")}};

  msDosSys =
      "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n"
      "[Options]\r\nBootMulti=1\r\nBootGUI=1\r\nLogo=1\r\n;\r\n"
      ";The following lines are required for compatibility with other programs.\r\n"
      ";Do not remove them (MSDOS.SYS needs to be >1024 bytes).\r\n";
  for (int i = 0; i < 18; ++i)
    msDosSys += ";xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxa\r\n";
}

void Win98Drive::writeFolder(const std::string& folder, Spelling spelling) const {
  auto at = [&](const std::string& path) { return folder + "/" + lower(path, spelling); };
  const std::string systemDat = at("WINDOWS/SYSTEM.DAT"), userDat = at("WINDOWS/USER.DAT"),
                    profileDat = at("WINDOWS/Profiles/Jan/USER.DAT");
  write(systemDat, writeCreg(system));
  write(userDat, writeCreg(user));
  write(profileDat, writeCreg(profileUser));
  checkWithLibcreg(systemDat, system);
  checkWithLibcreg(userDat, user);
  checkWithLibcreg(profileDat, profileUser);
  write(at("MSDOS.SYS"), msDosSys);
  write(at("WINDOWS/Chmury.bmp"), "BM chmury");
  write(at("WINDOWS/Web/Wallpaper/Okno.htm"), "<html></html>");
  write(at("WINDOWS/Menu Start/Programy/Akcesoria/Notatnik.lnk"), "skr\xF3t");
  fs::create_directories(at("WINDOWS/Menu Start/Programy/Autostart"));
  fs::create_directories(at("WINDOWS/Profiles/Jan/Menu Start/Programy/Autostart"));
  write(at("WINDOWS/Profiles/Jan/Menu Start/Programy/Jana.lnk"), "skr\xF3t Jana");
  write(at("WINDOWS/Pulpit/Notatka.txt"), "notatka");
  write(at("Moje dokumenty/List.doc"), "list");
  write(at("Program Files/Gra/Gra.exe"), "MZ gra");
  write(at("AUTOEXEC.BAT"), "@ECHO OFF\r\n");
}

long long makeImage(const std::string& folder, const std::string& image, int fatBits, bool partitioned,
                    long long size) {
  const long long offset = partitioned ? 2048ll * 512 : 0;
  fs::remove(image);
  std::ofstream(image, std::ios::binary).close();
  fs::resize_file(image, size);
  if (partitioned) {
    // One primary partition from sector 2048 to the end: FAT16 (06) or FAT32 LBA (0C).
    std::string mbr(512, '\0');
    const std::uint32_t start = 2048, count = static_cast<std::uint32_t>(size / 512 - start);
    mbr[446 + 4] = static_cast<char>(fatBits == 32 ? 0x0C : 0x06);
    mbr.replace(446 + 8, 4, dword(start));
    mbr.replace(446 + 12, 4, dword(count));
    mbr[510] = '\x55';
    mbr[511] = '\xAA';
    std::fstream f(image, std::ios::binary | std::ios::in | std::ios::out);
    f.write(mbr.data(), 512);
  }
  std::vector<std::string> mkfs = {"mkfs.fat", "-F", std::to_string(fatBits), "-n", "WIN98"};
  if (partitioned) mkfs.insert(mkfs.end(), {"--offset", "2048"});
  mkfs.push_back(image);
  if (!partitioned) mkfs.push_back(std::to_string(size / 1024));
  auto made = runTool(mkfs);
  EXPECT_EQ(made.status, 0) << made.err;
  const std::string target = image + "@@" + std::to_string(offset);
  const std::vector<std::string> env = {"MTOOLS_SKIP_CHECK=1", "LC_ALL=C.UTF-8", "MTOOLSRC=/dev/null"};
  std::vector<std::string> copy = {"mcopy", "-s", "-Q", "-i", target};
  for (const auto& entry : fs::directory_iterator(folder)) copy.push_back(entry.path().string());
  copy.push_back("::/");
  auto copied = runTool(copy, env);
  EXPECT_EQ(copied.status, 0) << copied.err;
  auto attributes = runTool({"mattrib", "-i", target, "+r", "+h", "+s", "::/MSDOS.SYS"}, env);
  EXPECT_EQ(attributes.status, 0) << attributes.err;
  return offset;
}

std::map<std::string, std::string> imageFiles(const std::string& image, long long offset) {
  const std::string target = image + "@@" + std::to_string(offset);
  const std::vector<std::string> env = {"MTOOLS_SKIP_CHECK=1", "LC_ALL=C.UTF-8", "MTOOLSRC=/dev/null"};
  std::map<std::string, std::string> files;
  std::istringstream list(runTool({"mdir", "-/", "-b", "-a", "-i", target, "::/"}, env).out);
  std::string line;
  while (std::getline(list, line)) {
    if (!line.starts_with("::/")) continue;
    if (line.ends_with('/'))
      files[line.substr(3)] = "";
    else
      files[line.substr(3)] = runTool({"mtype", "-i", target, line}, env).out;
  }
  return files;
}

std::map<std::string, std::string> folderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string path = fs::relative(entry.path(), folder).generic_string();
    if (entry.is_directory()) {
      files[path + "/"] = "";
    } else if (!entry.is_regular_file()) {
      files[path] = "(not a regular file)";  // never opened: a FIFO would block
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      files[path] = s.str();
    }
  }
  return files;
}

int imageAttributes(const std::string& image, long long offset, const std::string& path) {
  const std::string target = image + "@@" + std::to_string(offset);
  const auto run =
      runTool({"mattrib", "-i", target, "::/" + path}, {"MTOOLS_SKIP_CHECK=1", "MTOOLSRC=/dev/null"});
  const size_t name = run.out.find("::/");
  if (run.status != 0 || name == std::string::npos) return -1;
  int value = 0;
  for (char c : run.out.substr(0, name))
    value |= c == 'A' ? 0x20 : c == 'S' ? 0x04 : c == 'H' ? 0x02 : c == 'R' ? 0x01 : 0;
  return value;
}

}  // namespace morvin::test
