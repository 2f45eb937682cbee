// Start-up of the whole program against the default machine (offscreen): the
// eleven windows created with all their loads, the main window shown and
// painted, then destroyed as at the end. A bare dialog with a dozen check boxes
// is timed beside it as the floor Qt itself sets.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>

#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "shell/app/Startup.h"
#include "tests/support/TempMachine.h"

namespace {

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void BM_BareDialogStart(benchmark::State& state) {
  for (auto _ : state) {
    QDialog dialog;
    for (int i = 0; i < 13; ++i) new QCheckBox(QStringLiteral("Pole %1").arg(i), &dialog);
    dialog.show();
    settle();
  }
}
BENCHMARK(BM_BareDialogStart)->Unit(benchmark::kMillisecond);

void BM_ProgramStart(benchmark::State& state) {
  morvin::test::TempMachine machine;  // the default machine, as a first start finds it
  for (auto _ : state) {
    QWidget* main = morvin::createWindows();
    main->show();
    settle();
    state.PauseTiming();
    main->close();
    state.ResumeTiming();
    morvin::destroyWindows();
  }
}
BENCHMARK(BM_ProgramStart)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  morvin::applyClassicLook(app);
  // No dialog may wait for an answer in a benchmark.
  morvin::setDialogService(std::make_shared<morvin::RecordingDialogService>());
  morvin::setShellService(std::make_shared<morvin::RecordingShellService>());
  morvin::setModalRunner([](morvin::WindowId, QWidget*) {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
