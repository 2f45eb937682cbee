// The journal and what it describes agree after a kill at any moment: every
// item is in the state its newest entry leaves it in.
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include "HiveTestSupport.h"
#include "ProcessTestSupport.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"

namespace morvin::test {
namespace {

using namespace reg;

class JournalCrash : public HiveTest {
 public:
  // Values, a key made and removed, and a profile key, round after round.
  int writeSeries() {
    std::shared_ptr<HiveStore> store(openStore());
    auto ini = journaledProfiles(store);
    Key key = 0;
    if (store->createKey(kCurrentUser, "Series", access::AllAccess, &key) != err::Success) return 1;
    for (std::uint32_t i = 1;; ++i) {
      if (setDword(*store, key, "v" + std::to_string(i % 7), i) != err::Success) return 2;
      Key sub = 0;
      if (i % 5 == 0 && store->createKey(key, "Sub", access::AllAccess, &sub) == err::Success) {
        setDword(*store, sub, "x", i);
        store->closeKey(sub);
        store->deleteKey(key, "Sub");
      }
      if (i % 3 == 0 && !ini->writeString("C:\\MsDos.sys", "Options", "BootDelay", std::to_string(i)))
        return 3;
    }
  }
};

TEST_F(JournalCrash, AfterEachKillEveryItemIsWhereItsNewestEntryLeftIt) {
  std::size_t checked = 0;
  for (int round = 0; round < 12; ++round) {
    const pid_t child = startChild([&] { return writeSeries(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(60 + 23 * round));
    ASSERT_EQ(kill(child, SIGKILL), 0);
    ASSERT_EQ(waitChild(child), -SIGKILL) << "the writer stopped by itself in round " << round;

    std::shared_ptr<HiveStore> store(openStore());
    auto ini = journaledProfiles(store);
    const auto entries = journal::history(*store, *ini);  // newest first
    std::map<std::string, const journal::Entry*> newest;
    for (const auto& e : entries) newest.try_emplace(journal::describeItem(e), &e);
    for (const auto& [item, e] : newest) {
      const journal::State now = journal::currentState(*e, *store, *ini);
      if (e->kind == journal::Kind::Key)
        EXPECT_EQ(now.present, e->after.present) << item << " in round " << round;
      else
        EXPECT_EQ(now, e->after) << item << " in round " << round;
      ++checked;
    }
  }
  EXPECT_GT(checked, 12u);  // the writer got far enough to be cut short in the middle
}

// Taking back one import of 3,000 values, killed at moments spread over its
// run: the values are all there or all gone, never some of them.
TEST_F(JournalCrash, AnUndoOfABigImportKilledAnywhereLeavesAllOrNothing) {
  constexpr int kValues = 3000;
  std::string file = "REGEDIT4\r\n\r\n";
  for (int k = 0; k < kValues / 25; ++k) {
    file += "[HKEY_CURRENT_USER\\Big\\K" + std::to_string(k) + "]\r\n";
    for (int v = 0; v < 25; ++v) file += "\"V" + std::to_string(v) + "\"=dword:00000001\r\n";
  }
  auto valuesLeft = [&](HiveStore& store) {
    int left = 0;
    for (int k = 0; k < kValues / 25; ++k) {
      Key key = 0;
      if (store.openKey(kCurrentUser, "Big\\K" + std::to_string(k), access::Read, &key) != err::Success)
        continue;
      KeyInfo info;
      if (store.queryInfoKey(key, &info) == err::Success) left += static_cast<int>(info.values);
      store.closeKey(key);
    }
    return left;
  };
  std::set<int> seen;
  for (int round = 0; round < 8; ++round) {
    std::filesystem::remove(userDat());
    std::filesystem::remove(userDat() + "-wal");
    std::filesystem::remove(userDat() + "-shm");
    std::int64_t importId = 0;
    {
      std::shared_ptr<HiveStore> store(openStore());
      importRegText(*store, file);
      importId = journal::history(*store, *journaledProfiles(store), 1).front().id;
    }
    const pid_t child = startChild([&] {
      std::shared_ptr<HiveStore> store(openStore());
      journal::undo(*store, *journaledProfiles(store), {importId}, nullptr);
      return 0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + 15 * round));
    kill(child, SIGKILL);
    waitChild(child);
    std::shared_ptr<HiveStore> store(openStore());
    const int left = valuesLeft(*store);
    EXPECT_TRUE(left == 0 || left == kValues) << left << " values left in round " << round;
    seen.insert(left);
  }
  EXPECT_EQ(seen.count(kValues), 1u) << "no kill came before the undo's commit";
}

}  // namespace
}  // namespace morvin::test
