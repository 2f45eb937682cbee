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
}

// Without user profiles HKEY_USERS\.DEFAULT is the same key as HKEY_CURRENT_USER.
TEST_F(HiveFiles, TheDefaultUserIsTheCurrentUser) {
  auto store = openStore();
  Key key = 0;
  ASSERT_EQ(store->createKey(kUsers, ".default\\Software\\X", access::AllAccess, &key), err::Success);
  EXPECT_EQ(setDword(*store, key, "Through", 1), err::Success);
  store->closeKey(key);
  ASSERT_EQ(store->createKey(kCurrentUser, "Software\\Y", access::AllAccess, &key), err::Success);
  store->closeKey(key);
  ASSERT_EQ(store->openKey(kCurrentUser, "Software\\X", access::Read, &key), err::Success);
  EXPECT_EQ(readDword(*store, key, "Through"), 1);
  store->closeKey(key);
  EXPECT_EQ(store->openKey(kUsers, ".DEFAULT\\Software\\Y", access::Read, &key), err::Success);
  std::string name;
  EXPECT_EQ(store->enumKey(kUsers, 0, &name), err::Success);
  EXPECT_EQ(name, ".DEFAULT");
  EXPECT_EQ(store->enumKey(kUsers, 1, &name), err::NoMoreItems);
  EXPECT_EQ(store->openKey(kUsers, "Someone", access::Read, &key), err::FileNotFound);
  EXPECT_EQ(store->deleteKey(kUsers, ".DEFAULT"), err::AccessDenied);
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
    const std::string big(1000, 'x');
    store->atomically([&] {
      for (int i = 0; i < 80; ++i)
        store->setValue(key, "v" + std::to_string(i), type::Binary,
                        reinterpret_cast<const std::uint8_t*>(big.data()),
                        static_cast<std::uint32_t>(big.size()));
      return err::Success;
    });
    store->closeKey(key);
  }  // the last connection folds the log into the file
  ASSERT_FALSE(std::filesystem::exists(systemDat() + "-wal"));
  const std::string intact = readFile(systemDat());
  ASSERT_GT(intact.size(), 4096u * 16);
  // A page in the middle, holding values: only a full check of the file finds it.
  std::string bytes = intact;
  for (std::size_t i = 4096 * 10 + 100; i < 4096 * 11; ++i) bytes[i] = static_cast<char>(i * 7);
  writeFile(systemDat(), bytes);
  expectRefused(systemDat(), "uszkodzony");
  // The first pages after the header: the roots of the tables.
  bytes = intact;
  for (std::size_t i = 4096; i < 4096 * 3; ++i) bytes[i] = static_cast<char>(i * 13);
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
  std::string name;
  EXPECT_EQ(store->enumKey(kCurrentConfig, 0, &name), err::FileNotFound);
}

// Only a write through HKEY_CLASSES_ROOT or HKEY_CURRENT_CONFIG makes the key of HKLM it shows.
TEST_F(HiveFiles, PlainOpensAndReadsThroughTheViewsLeaveTheHiveAsItIs) {
  struct View {
    Key root;
    const char* shownKey;
  };
  for (const View& view : {View{kClassesRoot, "Software\\Classes"},
                           View{kCurrentConfig, "System\\CurrentControlSet\\Hardware Profiles\\Current"}}) {
    SCOPED_TRACE(view.shownKey);
    std::filesystem::remove(systemDat());
    auto store = openStore();
    Key key = 0;
    std::string name;
    std::uint32_t size = 0;
    EXPECT_EQ(store->openKey(view.root, "", access::Read, &key), err::Success);
    EXPECT_EQ(store->openKey(view.root, ".txt", access::Read, &key), err::FileNotFound);
    EXPECT_NE(store->enumKey(view.root, 0, &name), err::Success);
    EXPECT_NE(store->queryValue(view.root, "", nullptr, nullptr, &size), err::Success);
    EXPECT_EQ(store->openKey(kLocalMachine, view.shownKey, access::Read, &key), err::FileNotFound);
    ASSERT_EQ(store->createKey(view.root, ".txt", access::AllAccess, &key), err::Success);
    store->closeKey(key);
    EXPECT_EQ(store->openKey(kLocalMachine, view.shownKey, access::Read, &key), err::Success);
  }
}

TEST_F(HiveFiles, AFileWithoutWritePermissionIsOpenedReadOnlyAndKeptAsItIs) {
  {
    auto store = openStore();
    Key key = 0;
    ASSERT_EQ(store->createKey(kLocalMachine, "Software\\Locked", access::AllAccess, &key), err::Success);
    ASSERT_EQ(setDword(*store, key, "V", 3), err::Success);
    store->closeKey(key);
  }
  std::filesystem::permissions(systemDat(), std::filesystem::perms::owner_read |
                                                std::filesystem::perms::group_read |
                                                std::filesystem::perms::others_read);
  const std::string before = readFile(systemDat());
  {
    auto store = openStore();
    EXPECT_TRUE(store->readOnlyLocalMachine());
    EXPECT_FALSE(store->readOnlyCurrentUser());
    Key key = 0;
    EXPECT_EQ(store->openKey(kLocalMachine, "Software\\Locked", access::AllAccess, &key), err::AccessDenied);
    ASSERT_EQ(store->openKey(kLocalMachine, "Software\\Locked", access::Read, &key), err::Success);
    EXPECT_EQ(readDword(*store, key, "V"), 3);
    EXPECT_EQ(setDword(*store, kLocalMachine, "Root", 1), err::AccessDenied);
  }
  EXPECT_EQ(readFile(systemDat()), before);
}

}  // namespace
}  // namespace morvin::test
