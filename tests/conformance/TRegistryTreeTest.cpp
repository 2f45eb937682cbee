// TRegistry: removing key trees and listing subkeys and values.
#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "registry/TRegistry.h"

namespace morvin::test {
namespace {

using reg::kCurrentUser;
using reg::kLocalMachine;

class TRegistryTree : public StoreTest {};

TEST_F(TRegistryTree, RemoveKeyTreeRemovesEveryLevelAndKeepsTheOpenKey) {
  for (const char* path : {"Tree\\B\\C", "Tree\\B\\D\\E", "Tree\\F", "Tree\\a1", "Tree\\a2", "Keep\\Open"})
    create(kCurrentUser, path);
  setSz(open(kCurrentUser, "Tree\\B\\D\\E"), "v", "x");
  setDword(open(kCurrentUser, "Tree"), "n", 1);

  TRegistry r(store());
  ASSERT_TRUE(r.OpenPath("Keep\\Open", false));
  reg::Key before = r.openKey();
  EXPECT_TRUE(r.RemoveKeyTree("\\Tree"));
  EXPECT_FALSE(keyExists(kCurrentUser, "Tree"));
  EXPECT_EQ(r.openKey(), before);
  EXPECT_EQ(r.openPath(), "Keep\\Open");
  r.WriteText("still", "here");
  EXPECT_TRUE(get(open(kCurrentUser, "Keep\\Open"), "still"));
}

TEST_F(TRegistryTree, RemoveKeyTreeTakesBareNamesFromTheOpenKey) {
  create(kLocalMachine, "Uninstall\\Gra\\Sub");
  create(kLocalMachine, "Gra");
  TRegistry r(store());
  r.SelectRoot(kLocalMachine);
  ASSERT_TRUE(r.OpenPath("Uninstall", false));
  EXPECT_TRUE(r.RemoveKeyTree("Gra"));
  EXPECT_FALSE(keyExists(kLocalMachine, "Uninstall\\Gra"));
  EXPECT_TRUE(keyExists(kLocalMachine, "Gra"));
  EXPECT_TRUE(keyExists(kLocalMachine, "Uninstall"));

  r.ClosePath();
  EXPECT_TRUE(r.RemoveKeyTree("Gra"));  // from the root now
  EXPECT_FALSE(keyExists(kLocalMachine, "Gra"));
}

TEST_F(TRegistryTree, RemoveKeyTreeReportsFailureOnlyThroughItsResult) {
  create(kCurrentUser, "Parent\\Child");
  TRegistry r(store());
  EXPECT_FALSE(r.RemoveKeyTree("Missing"));
  // An empty name would mean the root or the open key itself.
  EXPECT_FALSE(r.RemoveKeyTree(""));
  EXPECT_FALSE(r.RemoveKeyTree("\\"));
  ASSERT_TRUE(r.OpenPath("Parent", false));
  EXPECT_FALSE(r.RemoveKeyTree(""));
  EXPECT_TRUE(keyExists(kCurrentUser, "Parent\\Child"));

  create(kLocalMachine, "Software\\Locked\\Inner");
  if (!reopen({.readOnlyLocalMachine = true})) GTEST_SKIP() << "this store cannot be made read-only";
  TRegistry machine(store());
  machine.SelectRoot(kLocalMachine);
  EXPECT_FALSE(machine.RemoveKeyTree("Software\\Locked"));
  EXPECT_TRUE(keyExists(kLocalMachine, "Software\\Locked\\Inner"));
}

TEST_F(TRegistryTree, ListsFollowTheStoreOrderAndStartEmpty) {
  reg::Key k = create(kCurrentUser, "Lists");
  for (const char* sub : {"b", "A", "C", "ą"}) create(k, sub);
  setSz(k, "zeta", "1");
  setSz(k, "Alfa", "2");
  setSz(k, "", "default");

  TRegistry r(store());
  std::vector<std::string> list{"stale"};
  r.ListSubkeys(list);
  EXPECT_TRUE(list.empty());  // no key open
  list = {"stale"};
  r.ListValueNames(list);
  EXPECT_TRUE(list.empty());

  ASSERT_TRUE(r.OpenPath("Lists", false));
  r.ListSubkeys(list);
  std::vector<std::string> expected;
  std::string name;
  for (std::uint32_t i = 0; store().enumKey(k, i, &name) == reg::err::Success; ++i) expected.push_back(name);
  EXPECT_EQ(list, expected);
  EXPECT_EQ(list.size(), 4u);
  r.ListValueNames(list);
  const std::vector<std::string> inCreationOrder{"zeta", "Alfa", ""}, byName{"", "Alfa", "zeta"};
  EXPECT_EQ(list, storeTraits().valuesInCreationOrder ? inCreationOrder : byName);

  r.OpenPath("A", false);
  r.ListSubkeys(list);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace morvin::test
