// Batches on the system registry: the Win32 store's undo journal puts back
// every kind of write when a batch fails, also writes of a finished inner batch.
#include <windows.h>
// After <windows.h>, which it needs.
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "registry/Cp1250.h"

namespace morvin::test {
namespace {

using namespace reg;

class Win32Batch : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    const Key app = create(kCurrentUser, "Software\\App");
    setSz(app, "Kept", cp1250::fromUtf8("zażółć"));
    setDword(app, "Gone", 7);
    set(app, "Raw", type::Binary, std::string("\x00\xFF", 2));
    const Key leaf = create(app, "Leaf");
    setSz(leaf, "", "default");
    set(leaf, "Multi", type::MultiSz, std::string("a\0b\0\0", 5));
  }

  // Every write kind at once, through handles opened and closed inside.
  Status writeEverything() {
    Key app = 0, fresh = 0;
    Status s = store().openKey(kCurrentUser, "Software\\App", access::AllAccess, &app);
    const std::uint8_t two[4] = {2, 0, 0, 0};
    if (s == err::Success) s = store().setValue(app, "Kept", type::Dword, two, 4);
    if (s == err::Success) s = store().deleteValue(app, "GONE");
    if (s == err::Success) s = store().setValue(app, "New", type::Dword, two, 4);
    if (s == err::Success) s = store().deleteKey(app, "LEAF");
    if (s == err::Success) s = store().createKey(app, "Made\\Below\\Deep", access::AllAccess, &fresh);
    if (s == err::Success) s = store().setValue(fresh, "V", type::Dword, two, 4);
    store().closeKey(fresh);
    store().closeKey(app);
    return s;
  }

  void expectUntouched() {
    const Key app = open(kCurrentUser, "Software\\App");
    EXPECT_EQ(get(app, "Kept"), (StoredValue{type::Sz, cp1250::fromUtf8("zażółć") + '\0'}));
    EXPECT_EQ(get(app, "Gone"), (StoredValue{type::Dword, std::string("\x07\0\0\0", 4)}));
    EXPECT_EQ(get(app, "Raw"), (StoredValue{type::Binary, std::string("\x00\xFF", 2)}));
    EXPECT_FALSE(get(app, "New").has_value());
    EXPECT_FALSE(keyExists(app, "Made"));
    // Made again under their own names, not the spelling the batch used.
    std::string name;
    ASSERT_EQ(store().enumKey(app, 0, &name), err::Success);
    EXPECT_EQ(name, "Leaf");
    std::vector<std::string> names;
    for (std::uint32_t i = 0; store().enumValue(app, i, &name) == err::Success; ++i) names.push_back(name);
    EXPECT_NE(std::find(names.begin(), names.end(), "Gone"), names.end());
    ASSERT_TRUE(keyExists(app, "Leaf"));
    const Key leaf = open(app, "Leaf");
    EXPECT_EQ(get(leaf, ""), (StoredValue{type::Sz, std::string("default\0", 8)}));
    EXPECT_EQ(get(leaf, "Multi"), (StoredValue{type::MultiSz, std::string("a\0b\0\0", 5)}));
  }
};

TEST_F(Win32Batch, AFailedBatchPutsBackValuesKeysAndTheirData) {
  EXPECT_EQ(store().atomically([&] {
    EXPECT_EQ(writeEverything(), err::Success);
    return err::CantWrite;
  }),
            err::CantWrite);
  expectUntouched();
}

TEST_F(Win32Batch, AFinishedInnerBatchIsUndoneWithTheBatchAroundIt) {
  EXPECT_THROW(store().atomically([&]() -> Status {
    EXPECT_EQ(store().atomically([&] { return writeEverything(); }), err::Success);
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  expectUntouched();
}

TEST_F(Win32Batch, ASuccessfulBatchKeepsEveryWrite) {
  ASSERT_EQ(store().atomically([&] { return writeEverything(); }), err::Success);
  const Key app = open(kCurrentUser, "Software\\App");
  EXPECT_EQ(get(app, "Kept"), (StoredValue{type::Dword, std::string("\x02\0\0\0", 4)}));
  EXPECT_FALSE(get(app, "Gone").has_value());
  EXPECT_FALSE(keyExists(app, "Leaf"));
  EXPECT_TRUE(get(open(app, "Made\\Below\\Deep"), "V").has_value());
}

TEST_F(Win32Batch, TextsWithoutTerminatorKeepExactlyTheirBytes) {
  // The caller's buffer is followed by a NUL, which Windows would add to the value.
  const std::string text("abc\0", 4);
  const Key key = create(kCurrentUser, "Texts");
  for (std::uint32_t kind : {type::Sz, type::ExpandSz, type::MultiSz}) {
    ASSERT_EQ(store().setValue(key, "T", kind, reinterpret_cast<const std::uint8_t*>(text.data()), 3),
              err::Success);
    EXPECT_EQ(get(key, "T"), (StoredValue{kind, "abc"})) << kind;
  }
}

// A key this user may not read still exists: undoing a creation below it
// removes only what the batch made.
TEST_F(Win32Batch, UndoingACreationNeverRemovesAKeyThatCannotBeRead) {
  const Key locked = create(kCurrentUser, "Locked");
  setDword(locked, "Kept", 1);
  PSECURITY_DESCRIPTOR noAccess = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P", SDDL_REVISION_1, &noAccess, nullptr));
  ASSERT_EQ(RegSetKeySecurity(reinterpret_cast<HKEY>(locked), DACL_SECURITY_INFORMATION, noAccess),
            ERROR_SUCCESS);
  LocalFree(noAccess);
  Key probe = 0;
  ASSERT_EQ(store().openKey(kCurrentUser, "Locked", access::Read, &probe), err::AccessDenied);

  bool made = false;
  store().atomically([&] {
    Key fresh = 0;
    made = store().createKey(kCurrentUser, "Locked\\New", access::AllAccess, &fresh) == err::Success;
    store().closeKey(fresh);
    return err::CantWrite;
  });
  EXPECT_EQ(get(locked, "Kept"), (StoredValue{type::Dword, std::string("\x01\0\0\0", 4)}));
  std::string name;
  if (made) EXPECT_EQ(store().enumKey(locked, 0, &name), err::NoMoreItems) << name;
}

}  // namespace
}  // namespace morvin::test
