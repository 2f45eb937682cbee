// TRegistry: how each kind of value is read and written, and what is raised.
#include <gtest/gtest.h>

#include <optional>

#include "StoreFixture.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/TRegistry.h"

namespace morvin::test {
namespace {

using reg::kCurrentUser;
namespace type = reg::type;

class TRegistryValue : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    key_ = create(kCurrentUser, "Software\\Test");
    r_.emplace(store());
    ASSERT_TRUE(r_->OpenPath("Software\\Test", false));
  }
  void TearDown() override {
    r_.reset();
    StoreTest::TearDown();
  }

  // The message raised by `action`, or "" when nothing was raised.
  template <typename F>
  std::string raised(F action) {
    try {
      action();
    } catch (const ERegistryException& e) {
      return e.message();
    }
    return "";
  }

  std::optional<TRegistry> r_;
  reg::Key key_ = 0;
};

TEST_F(TRegistryValue, NumbersAndFlagsReadOnlyFourByteDwords) {
  setDword(key_, "Plus", 7);
  setDword(key_, "Minus", 0xFFFFFFFE);
  setDword(key_, "Zero", 0);
  EXPECT_EQ(r_->ReadNumber("Plus"), 7);
  EXPECT_EQ(r_->ReadNumber("PLUS"), 7);  // names are case-insensitive
  EXPECT_EQ(r_->ReadNumber("Minus"), -2);
  EXPECT_TRUE(r_->ReadFlag("Plus"));
  EXPECT_TRUE(r_->ReadFlag("Minus"));
  EXPECT_FALSE(r_->ReadFlag("Zero"));

  set(key_, "Bin4", type::Binary, std::string("\1\0\0\0", 4));
  setSz(key_, "Short", "1");     // 2 bytes: fits, but is text
  setSz(key_, "Long", "12345");  // 6 bytes: does not fit the buffer
  set(key_, "Big", type::DwordBigEndian, std::string("\0\0\0\1", 4));
  EXPECT_EQ(raised([&] { r_->ReadFlag("Missing"); }), "Failed to get data for 'Missing'");
  EXPECT_EQ(raised([&] { r_->ReadNumber("Long"); }), "Failed to get data for 'Long'");
  EXPECT_EQ(raised([&] { r_->ReadFlag("Short"); }), "Invalid data type for 'Short'");
  EXPECT_EQ(raised([&] { r_->ReadFlag("Bin4"); }), "Invalid data type for 'Bin4'");
  EXPECT_EQ(raised([&] { r_->ReadNumber("Big"); }), "Invalid data type for 'Big'");
  EXPECT_EQ(raised([&] { r_->ReadFlag(""); }), "Failed to get data for ''");

  r_->ClosePath();
  EXPECT_EQ(raised([&] { r_->ReadNumber("Plus"); }), "Failed to get data for 'Plus'");
}

TEST_F(TRegistryValue, TextReadsStopAtTheFirstNulAndMissingTextIsEmpty) {
  setSz(key_, "Plain", cp1250::fromUtf8("Zażółć gęślą jaźń"));
  set(key_, "Expand", type::ExpandSz, std::string("%windir%\\x\0", 11));
  set(key_, "Inner", type::Sz, std::string("ab\0cd\0", 6));
  set(key_, "NoNul", type::Sz, "abc");
  set(key_, "Empty", type::Binary, "");
  setDword(key_, "Number", 5);
  set(key_, "Multi", type::MultiSz, std::string("a\0b\0\0", 5));

  EXPECT_EQ(r_->ReadText("Plain"), cp1250::fromUtf8("Zażółć gęślą jaźń"));
  EXPECT_EQ(r_->ReadText("Expand"), "%windir%\\x");  // never expanded
  EXPECT_EQ(r_->ReadText("Inner"), "ab");
  EXPECT_EQ(r_->ReadText("NoNul"), "abc");
  EXPECT_EQ(r_->ReadText("Missing"), "");
  EXPECT_EQ(r_->ReadText("Empty"), "");  // size 0: empty whatever the type
  EXPECT_EQ(raised([&] { r_->ReadText("Number"); }), "Invalid data type for 'Number'");
  EXPECT_EQ(raised([&] { r_->ReadText("Multi"); }), "Invalid data type for 'Multi'");

  r_->ClosePath();
  EXPECT_EQ(r_->ReadText("Plain"), "");
}

TEST_F(TRegistryValue, WritesStoreExactBytesAndTypes) {
  r_->WriteFlag("On", true);
  r_->WriteFlag("Off", false);
  r_->WriteNumber("Minus", -1);
  r_->WriteNumber("Big", 0x12345678);
  r_->WriteText("Empty", "");
  r_->WriteText("Polish", cp1250::fromUtf8("Mój komputer"));
  r_->WriteText("", "domyślna");

  EXPECT_EQ(get(key_, "On"), (StoredValue{type::Dword, std::string("\1\0\0\0", 4)}));
  EXPECT_EQ(get(key_, "Off"), (StoredValue{type::Dword, std::string("\0\0\0\0", 4)}));
  EXPECT_EQ(get(key_, "Minus"), (StoredValue{type::Dword, "\xFF\xFF\xFF\xFF"}));
  EXPECT_EQ(get(key_, "Big"), (StoredValue{type::Dword, "\x78\x56\x34\x12"}));
  EXPECT_EQ(get(key_, "Empty"), (StoredValue{type::Sz, std::string(1, '\0')}));
  EXPECT_EQ(get(key_, "Polish"), (StoredValue{type::Sz, "M\xF3j komputer" + std::string(1, '\0')}));
  EXPECT_EQ(get(key_, "")->data, std::string("domyślna") + '\0');

  // A flag stored as another nonzero number is rewritten as 1.
  setDword(key_, "Policy", 0x80);
  r_->WriteFlag("Policy", r_->ReadFlag("Policy"));
  EXPECT_EQ(get(key_, "Policy")->data, std::string("\1\0\0\0", 4));
  // Writing replaces a value of another type.
  r_->WriteText("On", "tak");
  EXPECT_EQ(get(key_, "On"), (StoredValue{type::Sz, std::string("tak\0", 4)}));
}

TEST_F(TRegistryValue, RefusedWritesRaiseTheSetMessage) {
  TRegistry closed(store());
  EXPECT_EQ(raised([&] { closed.WriteFlag("NoDispBackgroundPage", true); }),
            "Failed to set data for 'NoDispBackgroundPage'");
  EXPECT_EQ(raised([&] { closed.WriteText("T", "x"); }), "Failed to set data for 'T'");

  // The open key is deleted underneath: the store refuses the write.
  TRegistry other(store());
  ASSERT_TRUE(other.OpenPath("Software\\Gone", true));
  ASSERT_EQ(store().deleteKey(kCurrentUser, "Software\\Gone"), reg::err::Success);
  EXPECT_EQ(raised([&] { other.WriteNumber("N", 1); }), "Failed to set data for 'N'");
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Gone"));
}

TEST_F(TRegistryValue, HasValueAndRemoveValueNeverRaise) {
  set(key_, "Any", 0x1234, "x");
  setSz(key_, "Text", "t");
  EXPECT_TRUE(r_->HasValue("Any"));
  EXPECT_TRUE(r_->HasValue("text"));
  EXPECT_FALSE(r_->HasValue("Missing"));
  EXPECT_FALSE(r_->HasValue(""));

  EXPECT_TRUE(r_->RemoveValue("TEXT"));
  EXPECT_FALSE(get(key_, "Text"));
  EXPECT_FALSE(r_->RemoveValue("Text"));
  EXPECT_TRUE(get(key_, "Any"));

  r_->ClosePath();
  EXPECT_FALSE(r_->HasValue("Any"));
  EXPECT_FALSE(r_->RemoveValue("Any"));
  EXPECT_TRUE(get(key_, "Any"));
}

}  // namespace
}  // namespace morvin::test
