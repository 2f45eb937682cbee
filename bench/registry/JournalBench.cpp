// The journal at size: a 50,000-value import with and without it, taking it
// back, and the reads (the newest 20 entries, the net changes) on journals of
// 50,000 and 1,000,000 entries written straight into the hive file.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "BenchHives.h"
#include "registry/HiveStoreFile.h"
#include "registry/JournalHistory.h"
#include "registry/ProfileStore.h"
#include "registry/RegFile.h"

namespace morvin::bench {
namespace {

using namespace reg;

constexpr int kImportKeys = 2000;
constexpr int kImportValuesPerKey = 25;

// The REGEDIT4 file of the measurements: 2,000 keys of 25 DWORDs.
const std::string& bigRegFile() {
  static const std::string text = [] {
    std::string file = "REGEDIT4\r\n\r\n";
    for (int k = 0; k < kImportKeys; ++k) {
      file += "[HKEY_CURRENT_USER\\Software\\Bench\\Key" + std::to_string(k) + "]\r\n";
      for (int v = 0; v < kImportValuesPerKey; ++v)
        file += "\"Value" + std::to_string(v) + "\"=dword:00000001\r\n";
      file += "\r\n";
    }
    return file;
  }();
  return text;
}

// No profile file: only registry entries are read.
class NoProfiles : public ProfileStore {
 public:
  std::string readString(const std::string&, const std::string&, const std::string&,
                         const std::string& def) override {
    return def;
  }
  bool writeString(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  bool removeKey(const std::string&, const std::string&, const std::string&) override { return false; }
};

// Arg 1 with the journal, 0 with it suspended (in the same run).
void BM_ImportBigReg(benchmark::State& state) {
  std::optional<journal::Suspended> withoutJournal;
  if (state.range(0) == 0) withoutJournal.emplace();
  for (auto _ : state) {
    state.PauseTiming();
    auto store = openBenchHive(scratchFolder("import"));
    state.ResumeTiming();
    importRegText(*store, bigRegFile());
  }
}
BENCHMARK(BM_ImportBigReg)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Taking that import back, planned and written (morvin-reg undo ID).
void BM_UndoBigImport(benchmark::State& state) {
  NoProfiles profiles;
  for (auto _ : state) {
    state.PauseTiming();
    auto store = openBenchHive(scratchFolder("undo"));
    importRegText(*store, bigRegFile());
    const std::int64_t id = journal::history(*store, profiles, 1).front().id;
    state.ResumeTiming();
    const auto result = journal::undo(*store, profiles, {id}, nullptr);
    if (result.takenBack != kImportKeys * (kImportValuesPerKey + 1) + 2)
      state.SkipWithError("not all taken back");
  }
}
BENCHMARK(BM_UndoBigImport)->Unit(benchmark::kMillisecond)->Iterations(3);

// A journal of `entries` entries in USER.DAT, written straight into the hive
// file: imports and their undos in turn, twenty entries per item, so the
// registry is back at its start (each item's two ends alike).
std::string bigJournal(std::int64_t entries) {
  const std::string folder = scratchFolder("journal-" + std::to_string(entries));
  openBenchHive(folder).reset();  // the hive files made
  reg::hive::HiveFile hive(folder + "/USER.DAT", false);
  const std::int64_t items = entries / 20;
  const std::string present("\x01\0\0\0", 4);
  hive.begin();
  for (std::int64_t i = 0; i < entries; ++i) {
    const std::int64_t item = i % items, pass = i / items;
    journal::Entry e;
    e.at = 1700000000000000 + i;
    e.group = 1 + pass;
    e.source = "morvin-reg import";
    e.root = "HKEY_CURRENT_USER";
    e.path = "Software\\Bench\\Key" + std::to_string(item / 25);
    e.name = "Value" + std::to_string(item % 25);
    const bool wasThere = pass % 2 == 1;
    e.before = wasThere ? journal::State{true, 4, present} : journal::State{};
    e.after = wasThere ? journal::State{} : journal::State{true, 4, present};
    hive.addEntry(e);
  }
  hive.commit();
  return folder;
}

// morvin-reg history --limit 20.
void BM_HistoryNewest20(benchmark::State& state) {
  auto store = openBenchHive(bigJournal(state.range(0)));
  NoProfiles profiles;
  for (auto _ : state) {
    const auto entries = journal::history(*store, profiles, 20);
    if (entries.size() != 20) state.SkipWithError("not 20 entries");
  }
}
BENCHMARK(BM_HistoryNewest20)->Arg(50000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// morvin-reg changes with every change taken back: an empty file.
void BM_ChangesNothingChanged(benchmark::State& state) {
  auto store = openBenchHive(bigJournal(state.range(0)));
  for (auto _ : state) {
    if (!journal::changesReg(*store).empty()) state.SkipWithError("changes found");
  }
}
BENCHMARK(BM_ChangesNothingChanged)->Arg(50000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvin::bench
