// Keys of a registry store: creation, names, enumeration order, deletion and
// handles, as the Windows NT registry behaves.
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "registry/Cp1250.h"

namespace morvin::test {
namespace {

using namespace reg;

std::string cp(const char* utf8) {
  return cp1250::fromUtf8(utf8);
}

class StoreKeys : public StoreTest {
 protected:
  std::vector<std::string> subkeys(Key key) {
    std::vector<std::string> names;
    std::string name;
    Status status;
    while ((status = store().enumKey(key, static_cast<std::uint32_t>(names.size()), &name)) == err::Success)
      names.push_back(name);
    EXPECT_EQ(status, err::NoMoreItems);
    return names;
  }
};

TEST_F(StoreKeys, CreateMakesEveryMissingKeyAlongThePathAndReportsWhetherItMadeIt) {
  Key key = 0;
  bool created = false;
  ASSERT_EQ(store().createKey(kCurrentUser, "A\\B\\C", access::AllAccess, &key, &created), err::Success);
  EXPECT_TRUE(created);
  EXPECT_TRUE(keyExists(kCurrentUser, "A"));
  EXPECT_TRUE(keyExists(kCurrentUser, "A\\B"));
  EXPECT_FALSE(keyExists(kLocalMachine, "A"));
  store().closeKey(key);
  ASSERT_EQ(store().createKey(kCurrentUser, "a\\b\\c", access::AllAccess, &key, &created), err::Success);
  EXPECT_FALSE(created);
  store().closeKey(key);
  EXPECT_EQ(subkeys(open(kCurrentUser, "A")), std::vector<std::string>{"B"});
}

TEST_F(StoreKeys, NamesCompareWithoutCaseIncludingPolishLettersAndKeepTheirCase) {
  create(kCurrentUser, "Software\\MiXed");
  create(kCurrentUser, cp("Software\\ĄĆĘŁŃÓŚŹŻ"));
  EXPECT_TRUE(keyExists(kCurrentUser, "SOFTWARE\\mixed"));
  EXPECT_TRUE(keyExists(kCurrentUser, cp("software\\ąćęłńóśźż")));
  bool created = true;
  Key key = 0;
  ASSERT_EQ(store().createKey(kCurrentUser, cp("SOFTWARE\\ąćęłńóśźż"), access::AllAccess, &key, &created),
            err::Success);
  EXPECT_FALSE(created);
  store().closeKey(key);
  EXPECT_EQ(subkeys(open(kCurrentUser, "software")), (std::vector<std::string>{"MiXed", cp("ĄĆĘŁŃÓŚŹŻ")}));
}

TEST_F(StoreKeys, SubkeysEnumerateInCaseInsensitiveOrderAtAnyIndex) {
  const Key parent = create(kCurrentUser, "Order");
  for (const char* name : {"gamma", "Źródło", "beta", "ALPHA2", "Łódź", "Zeta", "alpha"})
    create(parent, cp(name));
  // Upper-case code point order: Ł (U+0141) sorts before Ź (U+0179) although
  // its cp1250 byte is the larger one.
  const std::vector<std::string> expected = {"alpha", "ALPHA2",   "beta",      "gamma",
                                             "Zeta",  cp("Łódź"), cp("Źródło")};
  EXPECT_EQ(subkeys(parent), expected);
  std::string name;
  for (std::uint32_t index : {5u, 1u, 6u, 0u, 3u, 4u, 2u}) {
    ASSERT_EQ(store().enumKey(parent, index, &name), err::Success) << index;
    EXPECT_EQ(name, expected[index]) << index;
  }
  EXPECT_EQ(store().enumKey(parent, 7, &name), err::NoMoreItems);
  EXPECT_EQ(store().enumKey(parent, 1000, &name), err::NoMoreItems);
}

TEST_F(StoreKeys, EnumerationFollowsChangesMadeBetweenCalls) {
  const Key parent = create(kCurrentUser, "Live");
  for (const char* name : {"b", "d", "f"}) create(parent, name);
  std::string name;
  ASSERT_EQ(store().enumKey(parent, 0, &name), err::Success);
  EXPECT_EQ(name, "b");
  create(parent, "c");
  ASSERT_EQ(store().enumKey(parent, 1, &name), err::Success);
  EXPECT_EQ(name, "c");
  ASSERT_EQ(store().deleteKey(parent, "d"), err::Success);
  ASSERT_EQ(store().enumKey(parent, 2, &name), err::Success);
  EXPECT_EQ(name, "f");
  EXPECT_EQ(store().enumKey(parent, 3, &name), err::NoMoreItems);
}

TEST_F(StoreKeys, RemovingSubkeysFromTheLastIndexDownEmptiesTheKey) {
  const Key parent = create(kCurrentUser, "Tree");
  for (int i = 0; i < 40; ++i) create(parent, "Sub" + std::to_string(i));
  KeyInfo info;
  ASSERT_EQ(store().queryInfoKey(parent, &info), err::Success);
  ASSERT_EQ(info.subKeys, 40u);
  std::vector<std::string> removed;
  for (std::uint32_t index = info.subKeys; index-- > 0;) {
    std::string name;
    ASSERT_EQ(store().enumKey(parent, index, &name), err::Success) << index;
    ASSERT_EQ(store().deleteKey(parent, name), err::Success) << name;
    removed.push_back(name);
  }
  EXPECT_EQ(removed.front(), "Sub9");
  EXPECT_EQ(removed.back(), "Sub0");
  ASSERT_EQ(store().queryInfoKey(parent, &info), err::Success);
  EXPECT_EQ(info.subKeys, 0u);
  EXPECT_TRUE(subkeys(parent).empty());
}

TEST_F(StoreKeys, DeletingAKeyWithSubkeysIsDeniedAndALeafTakesItsValuesAlong) {
  const Key parent = create(kCurrentUser, "P");
  const Key child = create(parent, "Child");
  setDword(parent, "Kept", 1);
  setDword(child, "Gone", 2);
  EXPECT_EQ(store().deleteKey(kCurrentUser, "P"), err::AccessDenied);
  EXPECT_EQ(store().deleteKey(parent, "Missing"), err::FileNotFound);
  ASSERT_EQ(store().deleteKey(parent, "CHILD"), err::Success);
  EXPECT_FALSE(keyExists(parent, "Child"));
  EXPECT_TRUE(get(parent, "Kept").has_value());
  const Key again = create(parent, "Child");
  EXPECT_FALSE(get(again, "Gone").has_value());
  EXPECT_EQ(store().deleteKey(kCurrentUser, ""), err::AccessDenied);
}

TEST_F(StoreKeys, AHandleOfADeletedKeyFailsWithKeyDeletedEvenAfterTheKeyIsMadeAgain) {
  const Key stale = create(kCurrentUser, "Gone\\Leaf");
  setDword(stale, "V", 7);
  ASSERT_EQ(store().deleteKey(kCurrentUser, "Gone\\Leaf"), err::Success);
  create(kCurrentUser, "Gone\\Leaf");
  std::uint32_t size = 4;
  std::uint8_t buffer[4];
  const std::uint8_t one[4] = {1, 0, 0, 0};
  std::string name;
  KeyInfo info;
  Key sub = 0;
  EXPECT_EQ(store().queryValue(stale, "V", nullptr, buffer, &size), err::KeyDeleted);
  EXPECT_EQ(store().setValue(stale, "V", type::Dword, one, 4), err::KeyDeleted);
  EXPECT_EQ(store().deleteValue(stale, "V"), err::KeyDeleted);
  EXPECT_EQ(store().enumKey(stale, 0, &name), err::KeyDeleted);
  EXPECT_EQ(store().enumValue(stale, 0, &name), err::KeyDeleted);
  EXPECT_EQ(store().queryInfoKey(stale, &info), err::KeyDeleted);
  EXPECT_EQ(store().openKey(stale, "", access::AllAccess, &sub), err::KeyDeleted);
  EXPECT_EQ(store().createKey(stale, "New", access::AllAccess, &sub), err::KeyDeleted);
  EXPECT_FALSE(keyExists(kCurrentUser, "Gone\\Leaf\\New"));
  EXPECT_EQ(store().closeKey(stale), err::Success);
}

TEST_F(StoreKeys, AKeyDeletedThroughAnotherStoreOnTheSameDataFailsHere) {
  const Key held = create(kCurrentUser, "Shared\\Key");
  auto other = makeStore(folder(), {});
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(other->deleteKey(kCurrentUser, "Shared\\Key"), err::Success);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store().setValue(held, "V", type::Dword, one, 4), err::KeyDeleted);
  EXPECT_FALSE(keyExists(kCurrentUser, "Shared\\Key"));
}

TEST_F(StoreKeys, PathsFollowTheSystemRulesForNamesAndBackslashes) {
  const std::string longest(255, 'k');
  Key key = 0;
  EXPECT_EQ(store().createKey(kCurrentUser, "L\\" + longest, access::AllAccess, &key), err::Success);
  store().closeKey(key);
  EXPECT_TRUE(keyExists(kCurrentUser, "L\\" + longest));
  if (storeTraits().strictKeyNames) {
    EXPECT_EQ(store().createKey(kCurrentUser, "L\\" + longest + "k", access::AllAccess, &key),
              err::InvalidParameter);
    EXPECT_EQ(store().openKey(kCurrentUser, "L\\" + longest + "k", access::AllAccess, &key),
              err::InvalidParameter);
  }
  EXPECT_EQ(store().createKey(kCurrentUser, "\\Lead", access::AllAccess, &key), err::BadPathname);
  EXPECT_EQ(store().openKey(kCurrentUser, "\\L", access::AllAccess, &key), err::BadPathname);
  EXPECT_FALSE(keyExists(kCurrentUser, "Lead"));
  if (storeTraits().strictKeyNames) {
    EXPECT_EQ(store().createKey(kCurrentUser, "A\\\\B", access::AllAccess, &key), err::BadPathname);
    EXPECT_FALSE(keyExists(kCurrentUser, "A"));
  }
  EXPECT_TRUE(keyExists(kCurrentUser, "L\\"));
  EXPECT_EQ(store().openKey(kCurrentUser, "Nowhere\\Else", access::AllAccess, &key), err::FileNotFound);
  EXPECT_EQ(key, 0u);
}

TEST_F(StoreKeys, HandlesOpenAndCloseLikeTheSystemHandles) {
  const Key key = create(kCurrentUser, "H");
  const Key same = open(key, "");
  EXPECT_NE(same, key);
  setDword(same, "Through", 5);
  EXPECT_TRUE(get(key, "Through").has_value());
  EXPECT_EQ(store().closeKey(kCurrentUser), err::Success);
  EXPECT_EQ(store().closeKey(kLocalMachine), err::Success);
  Key extra = 0;
  ASSERT_EQ(store().openKey(kCurrentUser, "H", access::AllAccess, &extra), err::Success);
  EXPECT_EQ(store().closeKey(extra), err::Success);
  EXPECT_EQ(store().closeKey(extra), err::InvalidHandle);
  EXPECT_EQ(store().setValue(extra, "X", type::Binary, nullptr, 0), err::InvalidHandle);
  EXPECT_EQ(store().openKey(0x4242, "", access::AllAccess, &extra), err::InvalidHandle);
}

TEST_F(StoreKeys, OpeningARootItselfGivesTheRootBackWhateverTheAccess) {
  Key key = 0;
  ASSERT_EQ(store().openKey(kCurrentUser, "", access::Read, &key), err::Success);
  EXPECT_EQ(key, kCurrentUser);
  setDword(key, "ThroughRoot", 1);
  EXPECT_TRUE(get(kCurrentUser, "ThroughRoot").has_value());
  EXPECT_EQ(store().closeKey(key), err::Success);
}

TEST_F(StoreKeys, AHandleOpenedForReadingCannotWrite) {
  create(kCurrentUser, "R");
  const Key reader = open(kCurrentUser, "R", access::Read);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store().setValue(reader, "V", type::Dword, one, 4), err::AccessDenied);
  EXPECT_EQ(store().deleteValue(reader, "V"), err::AccessDenied);
  const Key writer = open(kCurrentUser, "R");
  setDword(writer, "V", 1);
  EXPECT_TRUE(get(reader, "V").has_value());
}

TEST_F(StoreKeys, ADeletedKeyCanBeDeletedThroughItsOwnHandle) {
  const Key key = create(kCurrentUser, "Self");
  ASSERT_EQ(store().deleteKey(key, ""), err::Success);
  EXPECT_FALSE(keyExists(kCurrentUser, "Self"));
}

}  // namespace
}  // namespace morvin::test
