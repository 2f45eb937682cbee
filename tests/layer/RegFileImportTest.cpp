// .reg files against a real store: import, export, and imports that must
// write nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/RegFile.h"

namespace morvin::reg {
namespace {

class RegFileImport : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "morvin-regfile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    open();
  }
  void TearDown() override {
    store_.reset();
    std::filesystem::remove_all(folder_);
  }
  void open(bool readOnlyMachine = false) {
    store_.reset();
    store_ =
        std::make_unique<HiveStore>(folder_ + "/SYSTEM.DAT", folder_ + "/USER.DAT", readOnlyMachine, false);
  }
  bool keyExists(Key root, const std::string& path) {
    Key k = 0;
    if (store_->openKey(root, path, access::Read, &k) != err::Success) return false;
    store_->closeKey(k);
    return true;
  }

  std::string folder_;
  std::unique_ptr<HiveStore> store_;
};

const std::string kEveryType = cp1250::fromUtf8(
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Morvin]\r\n"
    "@=\"Morvin - Next Generation\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Morvin\\Ustawienia]\r\n"
    "\"Tapeta\"=\"C:\\\\Moje dokumenty\\\\Żółta łódź.bmp\"\r\n"
    "\"Kolor\"=dword:00c0c0c0\r\n"
    "\"Szybkie\"=hex:01,00,01\r\n"
    "\"Ścieżka\"=hex(2):25,77,69,6e,64,69,72,25,5c,ea,00\r\n"
    "\"Lista\"=hex(7):b3,f3,64,9f,00,00\r\n"
    "\"BezNul\"=hex(1):61,62\r\n"
    "\"Odwrotna\"=hex(5):00,00,00,01\r\n"
    "\"Nic\"=hex(0):\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Morvin\\Ustawienia\\Źródło]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\CLASSES\\Directory\\shell\\Morvin NG\\command]\r\n"
    "@=\"C:\\\\Program Files\\\\Morvin\\\\Morvin.exe \\\"%1\\\"\"\r\n"
    "\r\n");

TEST_F(RegFileImport, ExportGivesBackTheImportedFileByteForByte) {
  importRegText(*store_, kEveryType);
  Key k = 0;
  ASSERT_EQ(store_->openKey(kCurrentUser, "Software\\Morvin\\Ustawienia", access::Read, &k), err::Success);
  std::uint32_t type = 0, size = 64;
  std::uint8_t data[64];
  ASSERT_EQ(store_->queryValue(k, cp1250::fromUtf8("Ścieżka"), &type, data, &size), err::Success);
  EXPECT_EQ(type, type::ExpandSz);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), cp1250::fromUtf8("%windir%\\ę") + '\0');
  store_->closeKey(k);

  std::string user = exportRegText(*store_, kCurrentUser, "Software\\Morvin");
  std::string machine =
      exportRegText(*store_, kLocalMachine, "Software\\CLASSES\\Directory\\shell\\Morvin NG");
  size_t split = kEveryType.find("[HKEY_LOCAL_MACHINE");
  EXPECT_EQ(user, kEveryType.substr(0, split));
  EXPECT_EQ(machine,
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\CLASSES\\Directory\\shell\\Morvin NG]\r\n\r\n" +
                kEveryType.substr(split));

  // Reading the export again changes nothing.
  importRegText(*store_, user);
  EXPECT_EQ(exportRegText(*store_, kCurrentUser, "Software\\Morvin"), user);
}

TEST_F(RegFileImport, DeletionsRemoveKeyTreesAndValues) {
  importRegText(*store_, kEveryType);
  importRegText(*store_, cp1250::fromUtf8("REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\Morvin\\Ustawienia]\r\n"
                                          "[HKEY_CURRENT_USER\\Software\\Morvin]\r\n@=-\r\n\"Brak\"=-\r\n"
                                          "[-HKEY_CURRENT_USER\\Software\\Nigdy\\Nie było]\r\n"));
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Morvin\\Ustawienia"));
  EXPECT_TRUE(keyExists(kCurrentUser, "Software\\Morvin"));
  EXPECT_EQ(exportRegText(*store_, kCurrentUser, "Software\\Morvin"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvin]\r\n\r\n");
  EXPECT_TRUE(keyExists(kLocalMachine, "Software\\CLASSES\\Directory\\shell\\Morvin NG\\command"));
}

TEST_F(RegFileImport, AMalformedFileWritesNothing) {
  std::string bad = kEveryType + "[HKEY_CURRENT_USER\\Software\\Later]\r\n\"x\"=dword:nope\r\n";
  try {
    importRegText(*store_, bad);
    FAIL() << "a malformed file was imported";
  } catch (const RegFileError& e) {
    EXPECT_EQ(e.line(), 22);
  }
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Morvin"));
  EXPECT_FALSE(keyExists(kLocalMachine, "Software\\CLASSES\\Directory"));
}

TEST_F(RegFileImport, ARefusedWriteUndoesTheWholeImport) {
  open(true);  // HKEY_LOCAL_MACHINE read-only: its key fails after the user keys went in
  try {
    importRegText(*store_, kEveryType);
    FAIL() << "an import into a read-only hive succeeded";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find(
                  "HKEY_LOCAL_MACHINE\\Software\\CLASSES\\Directory\\shell\\Morvin NG\\command"),
              std::string::npos)
        << e.what();
    EXPECT_NE(std::string(e.what()).find("access denied"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Morvin"));
  open(false);
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Morvin"));
}

TEST_F(RegFileImport, ExportWalksSubkeysInEnumerationOrder) {
  importRegText(
      *store_,
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\T\\b\\z]\r\n[HKEY_CURRENT_USER\\T\\A]\r\n\"2\"=\"\"\r\n\"1\"=\"\"\r\n"
      "[HKEY_CURRENT_USER\\T\\c]\r\n");
  RegDocument doc;
  ASSERT_EQ(readRegTree(*store_, kCurrentUser, "T", &doc), err::Success);
  std::vector<std::string> paths;
  for (const auto& k : doc.keys) paths.push_back(k.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"T", "T\\A", "T\\b", "T\\b\\z", "T\\c"}));
  EXPECT_EQ(doc.keys[1].values[0].name, "2");  // values in creation order
  RegDocument missing;
  EXPECT_EQ(readRegTree(*store_, kCurrentUser, "Nie ma", &missing), err::FileNotFound);
  EXPECT_THROW(exportRegText(*store_, kCurrentUser, "Nie ma"), Exception);
}

}  // namespace
}  // namespace morvin::reg
