// The predefined roots, read-only hives and batches of writes.
#include <stdexcept>
#include <string>

#include "StoreFixture.h"

namespace morvin::test {
namespace {

using namespace reg;

class StoreRoots : public StoreTest {};

TEST_F(StoreRoots, ClassesRootAndCurrentConfigShowKeysOfTheLocalMachine) {
  setSz(create(kClassesRoot, ".txt"), "", "txtfile");
  EXPECT_EQ(get(open(kLocalMachine, "SOFTWARE\\Classes\\.txt"), "")->data, std::string("txtfile\0", 8));
  setDword(create(kLocalMachine, "Software\\Classes\\lnkfile"), "IsShortcut", 1);
  EXPECT_TRUE(get(open(kClassesRoot, "LNKFILE"), "isshortcut").has_value());

  setSz(create(kCurrentConfig, "Display\\Settings"), "Resolution", "800,600");
  EXPECT_TRUE(
      get(open(kLocalMachine, "System\\CurrentControlSet\\Hardware Profiles\\Current\\Display\\Settings"),
          "Resolution")
          .has_value());
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Classes\\.txt"));
}

TEST_F(StoreRoots, EachHiveKeepsItsOwnKeys) {
  setDword(create(kCurrentUser, "Software\\Morvin"), "Who", 1);
  setDword(create(kLocalMachine, "Software\\Morvin"), "Who", 2);
  ASSERT_TRUE(reopen());
  EXPECT_EQ(get(open(kCurrentUser, "Software\\Morvin"), "Who")->data, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(get(open(kLocalMachine, "Software\\Morvin"), "Who")->data, std::string("\x02\0\0\0", 4));
}

TEST_F(StoreRoots, AReadOnlyHiveRefusesFullAccessAndEveryWrite) {
  setDword(create(kLocalMachine, "Software\\Policy"), "Flag", 1);
  create(kLocalMachine, "Software\\Classes\\Leaf");
  if (!reopen({.readOnlyLocalMachine = true})) GTEST_SKIP() << "this store cannot make a hive read-only";
  Key key = 0;
  EXPECT_EQ(store().openKey(kLocalMachine, "Software\\Policy", access::AllAccess, &key), err::AccessDenied);
  EXPECT_EQ(store().openKey(kClassesRoot, "Leaf", access::AllAccess, &key), err::AccessDenied);
  EXPECT_EQ(store().createKey(kLocalMachine, "Software\\Policy", access::AllAccess, &key), err::AccessDenied);
  const bool guarded = storeTraits().rightsGuardCreationAndDeletion;
  if (guarded) {
    EXPECT_EQ(store().createKey(kLocalMachine, "Software\\New", access::AllAccess, &key), err::AccessDenied);
    EXPECT_EQ(store().deleteKey(kLocalMachine, "Software\\Classes\\Leaf"), err::AccessDenied);
  }
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store().setValue(kLocalMachine, "Root", type::Dword, one, 4), err::AccessDenied);
  EXPECT_EQ(store().deleteValue(kLocalMachine, "Root"), err::AccessDenied);

  const Key reader = open(kLocalMachine, "software\\policy", access::Read);
  EXPECT_EQ(get(reader, "Flag"), (StoredValue{type::Dword, std::string("\x01\0\0\0", 4)}));
  EXPECT_EQ(store().setValue(reader, "Flag", type::Dword, one, 4), err::AccessDenied);
  std::string name;
  EXPECT_EQ(store().enumValue(reader, 0, &name), err::Success);
  EXPECT_EQ(name, "Flag");
  if (guarded) {
    EXPECT_TRUE(keyExists(kLocalMachine, "Software\\Classes\\Leaf"));
    EXPECT_FALSE(keyExists(kLocalMachine, "Software\\New"));
  }

  setDword(create(kCurrentUser, "Software\\Still"), "Writable", 1);
  EXPECT_TRUE(get(open(kCurrentUser, "Software\\Still"), "Writable").has_value());
}

TEST_F(StoreRoots, ABatchLandsWholeOrNotAtAll) {
  auto writeBoth = [&](std::uint32_t value) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), 0, 0, 0};
    Key machine = 0, user = 0;
    Status s = store().createKey(kLocalMachine, "Software\\Batch", access::AllAccess, &machine);
    if (s == err::Success) s = store().setValue(machine, "V", type::Dword, bytes, 4);
    if (s == err::Success) s = store().createKey(kCurrentUser, "Software\\Batch", access::AllAccess, &user);
    if (s == err::Success) s = store().setValue(user, "V", type::Dword, bytes, 4);
    store().closeKey(machine);
    store().closeKey(user);
    return s;
  };
  EXPECT_EQ(store().atomically([&] {
    writeBoth(1);
    return err::AccessDenied;
  }),
            err::AccessDenied);
  EXPECT_FALSE(keyExists(kLocalMachine, "Software\\Batch"));
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Batch"));

  EXPECT_THROW(store().atomically([&]() -> Status {
    writeBoth(2);
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_FALSE(keyExists(kLocalMachine, "Software\\Batch"));

  EXPECT_EQ(store().atomically([&] { return writeBoth(3); }), err::Success);
  ASSERT_TRUE(reopen());
  EXPECT_EQ(get(open(kLocalMachine, "Software\\Batch"), "V")->data, std::string("\x03\0\0\0", 4));
  EXPECT_EQ(get(open(kCurrentUser, "Software\\Batch"), "V")->data, std::string("\x03\0\0\0", 4));
}

TEST_F(StoreRoots, AHandleOfAKeyMadeInAFailedBatchNeverReachesAnotherKey) {
  Key made = 0;
  EXPECT_EQ(store().atomically([&] {
    EXPECT_EQ(store().createKey(kCurrentUser, "Batch\\Made", access::AllAccess, &made), err::Success);
    return err::CantWrite;
  }),
            err::CantWrite);
  // Two new keys, as many as the batch made: they may get the numbers the undone ones had.
  const Key other = create(kCurrentUser, "Other\\Inner");
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store().setValue(made, "V", type::Dword, one, 4), err::KeyDeleted);
  EXPECT_EQ(store().deleteKey(made, ""), err::KeyDeleted);
  EXPECT_TRUE(keyExists(kCurrentUser, "Other\\Inner"));
  EXPECT_FALSE(get(other, "V").has_value());
  EXPECT_FALSE(keyExists(kCurrentUser, "Batch"));
  EXPECT_EQ(store().closeKey(made), err::Success);
}

TEST_F(StoreRoots, AFailedInnerBatchUndoesOnlyItsOwnWrites) {
  const Key key = create(kCurrentUser, "Nested");
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store().atomically([&] {
    store().setValue(key, "Outer", type::Dword, one, 4);
    const Status inner = store().atomically([&] {
      store().setValue(key, "Inner", type::Dword, one, 4);
      return err::CantWrite;
    });
    EXPECT_EQ(inner, err::CantWrite);
    return err::Success;
  }),
            err::Success);
  EXPECT_TRUE(get(key, "Outer").has_value());
  EXPECT_FALSE(get(key, "Inner").has_value());
}

}  // namespace
}  // namespace morvin::test
