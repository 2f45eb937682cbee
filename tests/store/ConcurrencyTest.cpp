// Several processes on one pair of hives, from the very first open on.
#include <string>
#include <vector>

#include "HiveTestSupport.h"
#include "ProcessTestSupport.h"

namespace morvin::test {
namespace {

using namespace reg;

constexpr int kRounds = 60;

// Each round increments a shared counter in a batch (read, add one, write)
// and writes a value of its own outside any batch.
int worker(HiveTest& test, int id) {
  auto store = test.openStore();
  Key key = 0;
  if (store->createKey(kLocalMachine, "Software\\Shared", access::AllAccess, &key) != err::Success) return 1;
  for (int round = 0; round < kRounds; ++round) {
    const Status s = store->atomically([&] {
      const std::int64_t now = HiveTest::readDword(*store, key, "Counter");
      return HiveTest::setDword(*store, key, "Counter", static_cast<std::uint32_t>(now < 0 ? 1 : now + 1));
    });
    if (s != err::Success) return 2;
    if (HiveTest::setDword(*store, key, "w" + std::to_string(id) + "_" + std::to_string(round), round) !=
        err::Success)
      return 3;
  }
  return 0;
}

class HiveConcurrency : public HiveTest {};

TEST_F(HiveConcurrency, ProcessesSharingTheHivesLoseNoUpdate) {
  std::vector<pid_t> children;
  for (int id = 0; id < 3; ++id) children.push_back(startChild([&, id] { return worker(*this, id); }));
  for (pid_t child : children) EXPECT_EQ(waitChild(child), 0);

  auto store = openStore();
  Key key = 0;
  ASSERT_EQ(store->openKey(kLocalMachine, "Software\\Shared", access::Read, &key), err::Success);
  EXPECT_EQ(readDword(*store, key, "Counter"), 3 * kRounds);
  KeyInfo info;
  ASSERT_EQ(store->queryInfoKey(key, &info), err::Success);
  EXPECT_EQ(info.values, 3u * kRounds + 1);
  for (int id = 0; id < 3; ++id)
    for (int round = 0; round < kRounds; ++round)
      EXPECT_EQ(readDword(*store, key, "w" + std::to_string(id) + "_" + std::to_string(round)), round);
}

TEST_F(HiveConcurrency, AnEnumerationSeesKeysAnotherConnectionAddedMeanwhile) {
  auto store = openStore();
  Key parent = 0;
  ASSERT_EQ(store->createKey(kCurrentUser, "List", access::AllAccess, &parent), err::Success);
  for (const char* name : {"a", "c", "e"}) {
    Key k = 0;
    store->createKey(parent, name, access::AllAccess, &k);
    store->closeKey(k);
  }
  std::string name;
  ASSERT_EQ(store->enumKey(parent, 0, &name), err::Success);
  ASSERT_EQ(store->enumKey(parent, 1, &name), err::Success);
  EXPECT_EQ(name, "c");
  {
    // A second store is a connection of its own, as another process has.
    auto other = openStore();
    Key k = 0;
    ASSERT_EQ(other->createKey(kCurrentUser, "List\\b", access::AllAccess, &k), err::Success);
  }
  ASSERT_EQ(store->enumKey(parent, 2, &name), err::Success);
  EXPECT_EQ(name, "c");
  ASSERT_EQ(store->enumKey(parent, 3, &name), err::Success);
  EXPECT_EQ(name, "e");
}

}  // namespace
}  // namespace morvin::test
