// How the hive store treats its files: creation, files that are not hives,
// damaged hives, and what a read-only hive leaves alone.
#include <sqlite3.h>

#include "HiveTestSupport.h"
#include "registry/Errors.h"

namespace morvin::test {
namespace {

using namespace reg;

class HiveFiles : public HiveTest {
 protected:
  // Opening must fail with a message naming the file, leaving it byte for byte.
  void expectRefused(const std::string& path, const char* messagePart) {
    const std::string before = readFile(path);
    try {
      openStore();
      ADD_FAILURE() << "opened " << path;
    } catch (const Exception& e) {
      EXPECT_NE(e.message().find(path), std::string::npos) << e.message();
      EXPECT_NE(e.message().find(messagePart), std::string::npos) << e.message();
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  }
};

TEST_F(HiveFiles, MissingAndEmptyFilesBecomeEmptyHives) {
  writeFile(userDat(), "");
  {
    auto store = openStore();
    EXPECT_FALSE(store->readOnlyLocalMachine());
    Key key = 0;
    ASSERT_EQ(store->createKey(kCurrentUser, "Software", access::AllAccess, &key), err::Success);
    EXPECT_EQ(setDword(*store, key, "V", 5), err::Success);
    store->closeKey(key);
  }
  EXPECT_GT(std::filesystem::file_size(systemDat()), 0u);
  auto again = openStore();
  Key key = 0;
  ASSERT_EQ(again->openKey(kCurrentUser, "Software", access::Read, &key), err::Success);
  EXPECT_EQ(readDword(*again, key, "V"), 5);
  EXPECT_EQ(again->openKey(kUsers, ".DEFAULT", access::Read, &key), err::FileNotFound);
}

TEST_F(HiveFiles, AFileThatIsNotAHiveIsRefusedAndLeftAlone) {
  writeFile(systemDat(), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n");
  expectRefused(systemDat(), "nie jest plikiem rejestru");
  writeFile(systemDat(), "SQLite format 3");  // too short to be a database
  expectRefused(systemDat(), "nie jest plikiem rejestru");
}

TEST_F(HiveFiles, AnotherProgramsDatabaseIsRefusedAndLeftAlone) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(userDat().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('keep me');", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  expectRefused(userDat(), "nie jest plikiem rejestru");
}

TEST_F(HiveFiles, ADamagedHiveIsRefusedAndLeftAlone) {
  {
    auto store = openStore();
    Key key = 0;
    ASSERT_EQ(store->createKey(kLocalMachine, "Software\\Data", access::AllAccess, &key), err::Success);
    const std::string big(3000, 'x');
    for (int i = 0; i < 200; ++i)
      store->setValue(key, "v" + std::to_string(i), type::Binary,
                      reinterpret_cast<const std::uint8_t*>(big.data()),
                      static_cast<std::uint32_t>(big.size()));
    store->closeKey(key);
  }  // the last connection folds the log into the file
  ASSERT_FALSE(std::filesystem::exists(systemDat() + "-wal"));
  std::string bytes = readFile(systemDat());
  ASSERT_GT(bytes.size(), 40000u);
  for (std::size_t i = 4096; i < 4096 * 3; ++i) bytes[i] = static_cast<char>(i * 7);
  writeFile(systemDat(), bytes);
  expectRefused(systemDat(), "uszkodzony");
}

TEST_F(HiveFiles, AReadOnlyHiveNeverMakesTheViewKeys) {
  openStore();
  auto store = openStore(true, false);
  EXPECT_TRUE(store->readOnlyLocalMachine());
  Key key = 0;
  EXPECT_EQ(store->openKey(kClassesRoot, ".txt", access::Read, &key), err::FileNotFound);
  EXPECT_EQ(store->createKey(kClassesRoot, ".txt", access::AllAccess, &key), err::FileNotFound);
  EXPECT_EQ(store->openKey(kCurrentConfig, "", access::Read, &key), err::FileNotFound);
  store.reset();
  auto writable = openStore();
  EXPECT_EQ(writable->openKey(kLocalMachine, "Software\\Classes", access::Read, &key), err::FileNotFound);
  EXPECT_EQ(writable->openKey(kClassesRoot, "", access::Read, &key), err::Success);
  EXPECT_EQ(writable->openKey(kLocalMachine, "Software\\Classes", access::Read, &key), err::Success);
}

}  // namespace
}  // namespace morvin::test
