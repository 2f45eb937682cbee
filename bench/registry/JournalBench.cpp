// The journal at size: a 50,000-value import with and without it, taking it
// back, and the reads (the newest 20 entries, the net changes) on journals of
// 50,000 and 1,000,000 entries built directly in the hive (bigJournal).
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "BenchHives.h"
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
