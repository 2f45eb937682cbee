// TRegistry: roots, path resolution and which key stays open.
#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "registry/Errors.h"
#include "registry/TRegistry.h"

namespace morvin::test {
namespace {

using reg::kCurrentUser;
using reg::kLocalMachine;

class TRegistryPath : public StoreTest {};

TEST_F(TRegistryPath, CreatingANestedPathMakesEveryKeyAlongIt) {
  TRegistry r(store());
  EXPECT_EQ(r.root(), kCurrentUser);
  EXPECT_EQ(r.openKey(), 0u);
  ASSERT_TRUE(r.OpenPath("A\\B", true));
  EXPECT_EQ(r.openPath(), "A\\B");
  EXPECT_TRUE(keyExists(kCurrentUser, "A"));
  EXPECT_TRUE(keyExists(kCurrentUser, "A\\B"));

  TRegistry plain(store());
  EXPECT_FALSE(plain.OpenPath("X\\Y", false));
  EXPECT_FALSE(keyExists(kCurrentUser, "X"));
  EXPECT_EQ(plain.openKey(), 0u);
  EXPECT_EQ(plain.openPath(), "");
}

TEST_F(TRegistryPath, BareNamesAreTakenFromTheOpenKeyAndBackslashNamesFromTheRoot) {
  create(kCurrentUser, "A\\B\\C");
  create(kCurrentUser, "C");
  TRegistry r(store());
  ASSERT_TRUE(r.OpenPath("A\\B", false));
  ASSERT_TRUE(r.OpenPath("C", false));
  EXPECT_EQ(r.openPath(), "A\\B\\C");
  r.WriteText("where", "deep");
  EXPECT_EQ(get(open(kCurrentUser, "A\\B\\C"), "where"),
            (StoredValue{reg::type::Sz, std::string("deep\0", 5)}));
  EXPECT_FALSE(get(open(kCurrentUser, "C"), "where"));

  ASSERT_TRUE(r.OpenPath("\\C", false));
  EXPECT_EQ(r.openPath(), "C");
  r.WriteText("where", "top");
  EXPECT_EQ(get(open(kCurrentUser, "C"), "where")->data, std::string("top\0", 4));

  // Creation follows the same rule: a bare name lands below the open key.
  ASSERT_TRUE(r.OpenPath("New", true));
  EXPECT_EQ(r.openPath(), "C\\New");
  EXPECT_TRUE(keyExists(kCurrentUser, "C\\New"));
  EXPECT_FALSE(keyExists(kCurrentUser, "New"));
}

TEST_F(TRegistryPath, AFailedOpenKeepsThePreviousKeyOpenAndCurrent) {
  create(kCurrentUser, "Software\\Morvin");
  TRegistry r(store());
  ASSERT_TRUE(r.OpenPath("Software\\Morvin", false));
  reg::Key before = r.openKey();
  EXPECT_FALSE(r.OpenPath("Missing", false));
  EXPECT_FALSE(r.OpenPath("\\Also\\Missing", false));
  EXPECT_EQ(r.openKey(), before);
  EXPECT_EQ(r.openPath(), "Software\\Morvin");
  r.WriteText("Kolor", "zielony");
  EXPECT_EQ(get(open(kCurrentUser, "Software\\Morvin"), "Kolor")->data, std::string("zielony\0", 8));
}

TEST_F(TRegistryPath, SelectRootKeepsTheKeyForTheSameRootAndClosesItForAnother) {
  create(kCurrentUser, "K");
  TRegistry r(store());
  ASSERT_TRUE(r.OpenPath("K", false));
  r.SelectRoot(kCurrentUser);
  EXPECT_NE(r.openKey(), 0u);
  EXPECT_EQ(r.openPath(), "K");

  r.SelectRoot(kLocalMachine);
  EXPECT_EQ(r.root(), kLocalMachine);
  EXPECT_EQ(r.openKey(), 0u);
  EXPECT_EQ(r.openPath(), "");
  EXPECT_THROW(r.WriteText("v", "x"), ERegistryException);

  ASSERT_TRUE(r.OpenPath("Software\\Test", true));
  EXPECT_TRUE(keyExists(kLocalMachine, "Software\\Test"));
  EXPECT_FALSE(keyExists(kCurrentUser, "Software\\Test"));
}

TEST_F(TRegistryPath, ClosePathForgetsTheKeySoLaterPathsComeFromTheRoot) {
  create(kCurrentUser, "A\\B");
  create(kCurrentUser, "B");
  TRegistry r(store());
  ASSERT_TRUE(r.OpenPath("A", false));
  r.ClosePath();
  EXPECT_EQ(r.openKey(), 0u);
  EXPECT_EQ(r.openPath(), "");
  ASSERT_TRUE(r.OpenPath("B", false));
  EXPECT_EQ(r.openPath(), "B");
  r.ClosePath();
  r.ClosePath();  // closing twice is harmless
  EXPECT_EQ(r.openKey(), 0u);
}

TEST_F(TRegistryPath, KeysWithoutFullAccessCannotBeOpened) {
  create(kLocalMachine, "Software\\Classes\\Directory");
  if (!reopen({.readOnlyLocalMachine = true})) GTEST_SKIP() << "this store cannot be made read-only";
  TRegistry r(store());
  r.SelectRoot(kLocalMachine);
  EXPECT_FALSE(r.OpenPath("Software\\Classes\\Directory", false));
  if (storeTraits().rightsGuardCreationAndDeletion) {
    EXPECT_FALSE(r.OpenPath("Software\\Morvin NG", true));
    EXPECT_EQ(r.openKey(), 0u);
  }
  r.SelectRoot(kCurrentUser);
  EXPECT_TRUE(r.OpenPath("Software\\Morvin", true));
}

TEST_F(TRegistryPath, TheDefaultConstructedCursorWorksOnTheCurrentStore) {
  {
    TRegistry r;
    ASSERT_TRUE(r.OpenPath("Software\\Morvin\\Ustawienia", true));
    r.WriteNumber("Kolor", 0xC0C0C0);
  }  // the destructor closes the key; the data stays
  EXPECT_EQ(get(open(kCurrentUser, "Software\\Morvin\\Ustawienia"), "Kolor")->data,
            std::string("\xC0\xC0\xC0\0", 4));
}

}  // namespace
}  // namespace morvin::test
