// Values of a registry store: exact bytes of every type, names, order, the
// buffer rules of a query and the key information.
#include <cstring>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "registry/Cp1250.h"

namespace morvin::test {
namespace {

using namespace reg;

class StoreValues : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    key_ = create(kCurrentUser, "Values");
  }
  std::vector<std::string> valueNames() {
    std::vector<std::string> names;
    std::string name;
    while (store().enumValue(key_, static_cast<std::uint32_t>(names.size()), &name) == err::Success)
      names.push_back(name);
    return names;
  }
  Key key_ = 0;
};

TEST_F(StoreValues, EveryTypeKeepsItsBytesExactly) {
  const std::string polish = cp1250::fromUtf8("Zażółć gęślą jaźń");
  const std::vector<std::pair<std::uint32_t, std::string>> cases = {
      {type::None, std::string("\x00\x01\xFF", 3)},
      {type::Sz, polish + '\0'},
      {type::Sz, "no terminator"},
      {type::Sz, std::string("in\0side\0", 8)},
      {type::ExpandSz, "%WINDIR%\\x" + std::string(1, '\0')},
      {type::Binary, std::string("\x00\x00\x80\x7F", 4)},
      {type::Dword, std::string("\x78\x56\x34\x12", 4)},
      {type::Dword, "12345678"},  // a DWORD of the wrong size is stored as given
      {type::DwordBigEndian, std::string("\x12\x34\x56\x78", 4)},
      {type::MultiSz, std::string("a\0b\0\0", 5)},
      {0x12345678u, "unknown type"},
      {type::Binary, std::string(70000, '\xAB')},
      {type::Sz, ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string name = "v" + std::to_string(i);
    set(key_, name, cases[i].first, cases[i].second);
    EXPECT_EQ(get(key_, name), (StoredValue{cases[i].first, cases[i].second})) << name;
  }
  for (std::uint32_t i = 0; i < cases.size(); ++i) {
    std::string name, data;
    std::uint32_t type = 0;
    ASSERT_EQ(store().enumValue(key_, i, &name, &type, &data), err::Success);
    const std::size_t c = storeTraits().valuesInCreationOrder ? i : std::stoul(name.substr(1));
    ASSERT_LT(c, cases.size()) << name;
    EXPECT_EQ(name, "v" + std::to_string(c));
    EXPECT_EQ(type, cases[c].first);
    EXPECT_EQ(data, cases[c].second);
  }
  ASSERT_TRUE(reopen());
  const Key again = open(kCurrentUser, "Values");
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(get(again, "v" + std::to_string(i)), (StoredValue{cases[i].first, cases[i].second})) << i;
}

TEST_F(StoreValues, TheDefaultValueHasTheEmptyName) {
  setSz(key_, "", "default");
  setSz(key_, "named", "other");
  EXPECT_EQ(get(key_, "")->data, std::string("default\0", 8));
  std::string name = "x";
  ASSERT_EQ(store().enumValue(key_, 0, &name), err::Success);
  EXPECT_EQ(name, "");
}

TEST_F(StoreValues, NamesIgnoreCaseAndAnOverwriteKeepsTheFirstNameAndPlace) {
  setDword(key_, cp1250::fromUtf8("ŁódźX"), 1);
  setDword(key_, "Other", 2);
  setDword(key_, cp1250::fromUtf8("łÓDŹx"), 3);
  if (storeTraits().valuesInCreationOrder)
    EXPECT_EQ(valueNames(), (std::vector<std::string>{cp1250::fromUtf8("ŁódźX"), "Other"}));
  else
    EXPECT_EQ(valueNames(), (std::vector<std::string>{"Other", cp1250::fromUtf8("ŁódźX")}));
  EXPECT_EQ(get(key_, cp1250::fromUtf8("ŁÓDŹX"))->data, std::string("\x03\0\0\0", 4));
}

TEST_F(StoreValues, ValuesEnumerateInCreationOrder) {
  if (!storeTraits().valuesInCreationOrder) GTEST_SKIP() << "this registry keeps values sorted by name";
  for (const char* name : {"c", "a", "B"}) setDword(key_, name, 0);
  setDword(key_, "a", 9);
  EXPECT_EQ(valueNames(), (std::vector<std::string>{"c", "a", "B"}));
  ASSERT_EQ(store().deleteValue(key_, "A"), err::Success);
  setDword(key_, "a", 1);
  EXPECT_EQ(valueNames(), (std::vector<std::string>{"c", "B", "a"}));
  std::string name;
  EXPECT_EQ(store().enumValue(key_, 2, &name), err::Success);
  EXPECT_EQ(name, "a");
  EXPECT_EQ(store().enumValue(key_, 0, &name), err::Success);
  EXPECT_EQ(name, "c");
  EXPECT_EQ(store().enumValue(key_, 3, &name), err::NoMoreItems);
}

TEST_F(StoreValues, AQueryFollowsTheBufferRules) {
  setSz(key_, "Text", "hello");
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(store().queryValue(key_, "TEXT", &type, nullptr, &size), err::Success);
  EXPECT_EQ(type, type::Sz);
  EXPECT_EQ(size, 6u);
  std::uint8_t buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  size = 3;
  type = 0;
  EXPECT_EQ(store().queryValue(key_, "Text", &type, buffer, &size), err::MoreData);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, type::Sz);
  size = sizeof buffer;
  ASSERT_EQ(store().queryValue(key_, "Text", nullptr, buffer, &size), err::Success);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 7), std::string("hello\0#", 7));
  EXPECT_EQ(store().queryValue(key_, "Text", nullptr, buffer, nullptr), err::InvalidParameter);
  EXPECT_EQ(store().queryValue(key_, "Text", nullptr, nullptr, nullptr), err::Success);
  size = 0;
  EXPECT_EQ(store().queryValue(key_, "Missing", &type, nullptr, &size), err::FileNotFound);
  set(key_, "Empty", type::Binary, "");
  size = 99;
  EXPECT_EQ(store().queryValue(key_, "Empty", &type, buffer, &size), err::Success);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(type, type::Binary);
}

TEST_F(StoreValues, WritesOfNothingAndDeletionsOfMissingValuesAreReported) {
  EXPECT_EQ(store().setValue(key_, "Null", type::Binary, nullptr, 4), err::NoAccess);
  EXPECT_FALSE(get(key_, "Null").has_value());
  EXPECT_EQ(store().setValue(key_, "Null", type::Binary, nullptr, 0), err::Success);
  EXPECT_EQ(get(key_, "Null"), (StoredValue{type::Binary, ""}));
  EXPECT_EQ(store().deleteValue(key_, "Missing"), err::FileNotFound);
  ASSERT_EQ(store().deleteValue(key_, "null"), err::Success);
  EXPECT_FALSE(get(key_, "Null").has_value());
}

TEST_F(StoreValues, KeyInformationCountsAndMeasures) {
  create(key_, "Sub");
  create(key_, "LongerSub");
  set(key_, "abc", type::Binary, std::string(300, 'x'));
  setDword(key_, "abcdefg", 1);
  KeyInfo info;
  ASSERT_EQ(store().queryInfoKey(key_, &info), err::Success);
  EXPECT_EQ(info.subKeys, 2u);
  EXPECT_EQ(info.maxSubKeyLen, 9u);
  EXPECT_EQ(info.values, 2u);
  EXPECT_EQ(info.maxValueNameLen, 7u);
  EXPECT_EQ(info.maxValueLen, 300u);
  ASSERT_EQ(store().queryInfoKey(create(key_, "Sub"), &info), err::Success);
  EXPECT_EQ(info.subKeys + info.values + info.maxSubKeyLen + info.maxValueLen, 0u);

  // Texts count with the size Windows stores them in: UTF-16, two bytes a letter.
  const Key texts = create(key_, "LongerSub");
  setSz(texts, "t", cp1250::fromUtf8("żółw"));
  set(texts, "b", type::Binary, std::string(9, 'x'));
  ASSERT_EQ(store().queryInfoKey(texts, &info), err::Success);
  EXPECT_EQ(info.maxValueLen, 10u);
  set(texts, "m", type::MultiSz, std::string("ab\0\0", 4));
  set(texts, "e", type::ExpandSz, std::string("%A%", 3));
  ASSERT_EQ(store().queryInfoKey(texts, &info), err::Success);
  EXPECT_EQ(info.maxValueLen, 10u);
  set(texts, "b", type::Binary, std::string(11, 'x'));
  ASSERT_EQ(store().queryInfoKey(texts, &info), err::Success);
  EXPECT_EQ(info.maxValueLen, 11u);
}

}  // namespace
}  // namespace morvin::test
