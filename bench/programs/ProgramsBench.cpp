// How long the installed-programs window takes with a big uninstall list: at
// start-up (alone and with every other window), after each of its actions, and
// when the user selects a line.
#include <benchmark/benchmark.h>

#include <QListWidget>
#include <QPushButton>

#include "BigUninstallList.h"
#include "programs/kodProgramy.h"
#include "shell/RecordingServices.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "app/Startup.h"

namespace morvin::bench {
namespace {

// One machine per entry count, kept for all benchmarks of that count.
test::TempMachine& machineFor(int entries) {
  static int current = -1;
  static std::unique_ptr<test::TempMachine> machine;
  if (current != entries) {
    machine.reset();
    machine = machineWithUninstallEntries(entries);
    current = entries;
  }
  return *machine;
}

void quietServices() {
  setDialogService(std::make_shared<RecordingDialogService>());
  setShellService(std::make_shared<RecordingShellService>());
}

void BM_ProgramyWindowCreation(benchmark::State& state) {
  ensureOffscreenApplication();
  quietServices();
  machineFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto* window = createTfmProgramy(nullptr);
    benchmark::DoNotOptimize(window);
    delete window;
    clearWindows();
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ProgramyWindowCreation)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

// The reload that follows every "Zapisz", "Przeglądaj..." and "Usuń".
void BM_ProgramyReload(benchmark::State& state) {
  ensureOffscreenApplication();
  quietServices();
  machineFor(static_cast<int>(state.range(0)));
  TfmProgramy window;
  for (auto _ : state) window.FormCreate();
}
BENCHMARK(BM_ProgramyReload)->Arg(5000)->Unit(benchmark::kMillisecond);

// "Zapisz" on a selected entry: the write and the reload.
void BM_ProgramySave(benchmark::State& state) {
  ensureOffscreenApplication();
  quietServices();
  machineFor(static_cast<int>(state.range(0)));
  TfmProgramy window;
  auto* list = window.findChild<QListWidget*>(QStringLiteral("Lista"));
  for (auto _ : state) {
    list->setCurrentRow(2500);
    window.Button1Click();
  }
}
BENCHMARK(BM_ProgramySave)->Arg(5000)->Unit(benchmark::kMillisecond);

// Selecting a line compares it with every line and reads the matching entries.
void BM_ProgramySelectLine(benchmark::State& state) {
  ensureOffscreenApplication();
  quietServices();
  machineFor(static_cast<int>(state.range(0)));
  TfmProgramy window;
  auto* list = window.findChild<QListWidget*>(QStringLiteral("Lista"));
  int line = 0;
  for (auto _ : state) {
    list->setCurrentRow(line);
    line = (line + 997) % list->count();
  }
}
BENCHMARK(BM_ProgramySelectLine)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The whole start-up: all eleven windows created and loaded, then destroyed.
void BM_WholeStartup(benchmark::State& state) {
  ensureOffscreenApplication();
  quietServices();
  machineFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QWidget* mainWindow = createWindows();
    benchmark::DoNotOptimize(mainWindow);
    destroyWindows();
  }
}
BENCHMARK(BM_WholeStartup)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvin::bench

BENCHMARK_MAIN();
