// A process killed at any moment loses no write that it saw returned, and a
// batch it was writing lands whole or not at all.
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "HiveTestSupport.h"
#include "ProcessTestSupport.h"

namespace morvin::test {
namespace {

using namespace reg;

constexpr int kBatchSize = 40;

// Tells the parent about every write the store acknowledged, after it returned.
void acknowledge(int fd, std::int32_t what) {
  while (write(fd, &what, sizeof what) < 0 && errno == EINTR) {
  }
}

// Single writes with even numbers; every tenth step a batch of kBatchSize
// values announced by its negated number.
int writeStorm(HiveTest& test, int fd) {
  auto store = test.openStore();
  Key key = 0;
  if (store->createKey(kCurrentUser, "Storm", access::AllAccess, &key) != err::Success) return 1;
  for (std::int32_t i = 1;; ++i) {
    if (i % 10 == 0) {
      const Status s = store->atomically([&] {
        for (int j = 0; j < kBatchSize; ++j)
          if (const Status w =
                  HiveTest::setDword(*store, key, "b" + std::to_string(i) + "_" + std::to_string(j), i);
              w != err::Success)
            return w;
        return err::Success;
      });
      if (s != err::Success) return 2;
      acknowledge(fd, -i);
    } else {
      if (HiveTest::setDword(*store, key, "v" + std::to_string(i), i) != err::Success) return 3;
      acknowledge(fd, i);
    }
  }
}

class HiveCrash : public HiveTest, public ::testing::WithParamInterface<int> {};

TEST_P(HiveCrash, EveryAcknowledgedWriteSurvivesAKill) {
  const int killAfter = GetParam();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = startChild([&] {
    close(fds[0]);
    return writeStorm(*this, fds[1]);
  });
  ASSERT_GT(child, 0);
  close(fds[1]);
  std::vector<std::int32_t> acknowledged;
  std::int32_t what = 0;
  while (static_cast<int>(acknowledged.size()) < killAfter && read(fds[0], &what, sizeof what) == sizeof what)
    acknowledged.push_back(what);
  // Kill somewhere inside the next write, not just between two.
  std::this_thread::sleep_for(std::chrono::microseconds(300 * (killAfter % 7)));
  kill(child, SIGKILL);
  EXPECT_EQ(waitChild(child), -SIGKILL);
  while (read(fds[0], &what, sizeof what) == sizeof what) acknowledged.push_back(what);
  close(fds[0]);
  ASSERT_GE(static_cast<int>(acknowledged.size()), killAfter);

  auto store = openStore();
  Key key = 0;
  ASSERT_EQ(store->openKey(kCurrentUser, "Storm", access::Read, &key), err::Success);
  for (std::int32_t a : acknowledged) {
    if (a > 0) {
      EXPECT_EQ(readDword(*store, key, "v" + std::to_string(a)), a);
    } else {
      for (int j = 0; j < kBatchSize; ++j)
        EXPECT_EQ(readDword(*store, key, "b" + std::to_string(-a) + "_" + std::to_string(j)), -a);
    }
  }
  // A batch the child had not finished is absent entirely or present entirely.
  const std::int32_t last = acknowledged.empty() ? 0 : std::abs(acknowledged.back());
  for (std::int32_t i = last + 1; i <= last + 10; ++i) {
    if (i % 10 != 0) continue;
    int present = 0;
    for (int j = 0; j < kBatchSize; ++j)
      present += readDword(*store, key, "b" + std::to_string(i) + "_" + std::to_string(j)) == i;
    EXPECT_TRUE(present == 0 || present == kBatchSize) << present;
  }
  // And the hive still takes writes.
  EXPECT_EQ(setDword(*store, key, "after", 1), err::AccessDenied);  // opened for reading only
  Key writer = 0;
  ASSERT_EQ(store->openKey(kCurrentUser, "Storm", access::AllAccess, &writer), err::Success);
  EXPECT_EQ(setDword(*store, writer, "after", 1), err::Success);
}

INSTANTIATE_TEST_SUITE_P(KillPoints, HiveCrash, ::testing::Values(1, 9, 33, 120));

}  // namespace
}  // namespace morvin::test
