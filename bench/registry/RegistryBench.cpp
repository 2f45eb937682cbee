// Reads, durable writes, enumeration, tree removal and opening of hives.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <optional>
#include <random>
#include <vector>

#include "BenchHives.h"
#include "registry/Journal.h"
#include "registry/TRegistry.h"

namespace morvin::bench {
namespace {

using namespace reg;

// The program's commonest step: open a key by path, read a flag, close it.
void BM_StoreReadFlag(benchmark::State& state) {
  const std::int64_t values = state.range(0);
  auto store = openBenchHive(benchHive(values));
  std::mt19937_64 random(42);
  std::uniform_int_distribution<std::int64_t> pick(0, values - 1);
  for (auto _ : state) {
    const std::int64_t i = pick(random);
    Key key = 0;
    if (store->openKey(kCurrentUser, keyPath(i), access::AllAccess, &key) != err::Success) {
      state.SkipWithError("open failed");
      break;
    }
    std::uint8_t data[4];
    std::uint32_t size = 4, type = 0;
    benchmark::DoNotOptimize(store->queryValue(key, valueName(i), &type, data, &size));
    store->closeKey(key);
  }
}
BENCHMARK(BM_StoreReadFlag)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_TRegistryReadFlag(benchmark::State& state) {
  const std::int64_t values = state.range(0);
  auto store = openBenchHive(benchHive(values));
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> pick(0, values - 1);
  TRegistry registry(*store);
  for (auto _ : state) {
    const std::int64_t i = pick(random);
    if (!registry.OpenPath(keyPath(i), false)) {
      state.SkipWithError("OpenPath failed");
      break;
    }
    benchmark::DoNotOptimize(registry.ReadFlag(valueName(i)));
    registry.ClosePath();
  }
}
BENCHMARK(BM_TRegistryReadFlag)->Arg(1000)->Arg(1000000);

// One REG_DWORD written and on disk before the call returns; Arg 1 with its
// journal entry (in the same transaction), 0 with the journal suspended.
void BM_DurableWrite(benchmark::State& state) {
  std::optional<journal::Suspended> withoutJournal;
  if (state.range(0) == 0) withoutJournal.emplace();
  auto store = openBenchHive(scratchFolder("write"));
  Key key = 0;
  store->createKey(kCurrentUser, "Software\\Morvin\\Ustawienia", access::AllAccess, &key);
  std::uint32_t n = 0;
  for (auto _ : state) {
    ++n;
    if (store->setValue(key, "Kolor", type::Dword, reinterpret_cast<const std::uint8_t*>(&n), 4) !=
        err::Success) {
      state.SkipWithError("write failed");
      break;
    }
  }
  store->closeKey(key);
}
BENCHMARK(BM_DurableWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void makeSubkeys(HiveStore& store, const std::string& path, int count) {
  store.atomically([&] {
    Key parent = 0;
    store.createKey(kCurrentUser, path, access::AllAccess, &parent);
    for (int i = 0; i < count; ++i) {
      Key child = 0;
      store.createKey(parent, "Entry" + std::to_string(i), access::AllAccess, &child);
      store.closeKey(child);
    }
    store.closeKey(parent);
    return err::Success;
  });
}

// What ListSubkeys does: every name, index 0 upward.
void BM_EnumerateSubkeys(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto store = openBenchHive(scratchFolder("enumerate"));
  makeSubkeys(*store, "Software\\Uninstall", count);
  for (auto _ : state) {
    TRegistry registry(*store);
    registry.OpenPath("Software\\Uninstall", false);
    std::vector<std::string> names;
    registry.ListSubkeys(names);
    if (static_cast<int>(names.size()) != count) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_EnumerateSubkeys)->Arg(10000)->Unit(benchmark::kMillisecond);

// RemoveKeyTree call by call: every deletion is its own durable write.
void BM_RemoveKeyTree(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto store = openBenchHive(scratchFolder("remove"));
  for (auto _ : state) {
    state.PauseTiming();
    makeSubkeys(*store, "Software\\Tree", count);
    state.ResumeTiming();
    TRegistry registry(*store);
    if (!registry.RemoveKeyTree("Software\\Tree")) state.SkipWithError("not removed");
  }
}
BENCHMARK(BM_RemoveKeyTree)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same removal as one batch: one transaction, one sync.
void BM_RemoveKeyTreeBatched(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto store = openBenchHive(scratchFolder("remove-batched"));
  for (auto _ : state) {
    state.PauseTiming();
    makeSubkeys(*store, "Software\\Tree", count);
    state.ResumeTiming();
    TRegistry registry(*store);
    bool removed = false;
    store->atomically([&] {
      removed = registry.RemoveKeyTree("Software\\Tree");
      return err::Success;
    });
    if (!removed) state.SkipWithError("not removed");
  }
}
BENCHMARK(BM_RemoveKeyTreeBatched)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor of a durable write on this disk: four bytes written and synced.
void BM_RawFsync(benchmark::State& state) {
  const std::string path = scratchFolder("fsync") + "/file";
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  std::uint32_t n = 0;
  for (auto _ : state) {
    ++n;
    if (::pwrite(fd, &n, sizeof n, 0) != sizeof n || ::fdatasync(fd) != 0)
      state.SkipWithError("write failed");
  }
  ::close(fd);
}
BENCHMARK(BM_RawFsync)->Unit(benchmark::kMicrosecond);

// Opening both hives of a machine (closing is not timed).
void BM_OpenHive(benchmark::State& state) {
  const std::string folder = benchHive(state.range(0));
  for (auto _ : state) {
    auto store = openBenchHive(folder);
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenHive)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvin::bench
