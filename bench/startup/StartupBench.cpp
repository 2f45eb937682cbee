// Start-up of the whole program against the default machine (offscreen): the
// eleven windows created with all their loads, the main window shown and
// painted, then destroyed as at the end. A bare dialog with a dozen check boxes
// is timed beside it as the floor Qt itself sets.
//
// The same comparison as whole processes: bench_bare_dialog, bench_forms_only
// (the widgets of the eleven windows and nothing else) and morvin-ng against
// an already provisioned default machine, each started with
// QT_QPA_PLATFORM=offscreen and MORVIN_CLOSE_WHEN_SHOWN=1, so it ends once its
// window is painted, and timed wall clock from posix_spawn to waitpid, with
// the child's CPU time. A summary with the medians and their ratios to the
// bare dialog follows the benchmark output.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "registry/Journal.h"
#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "app/Startup.h"
#include "tests/support/TempMachine.h"

extern char** environ;

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

// Arg 1: with the journal of changes, as the program runs; 0: the journal
// suspended, the cost of the same start without it.
void BM_ProgramStart(benchmark::State& state) {
  morvin::test::TempMachine machine;  // the default machine, as a first start finds it
  std::optional<morvin::reg::journal::Suspended> withoutJournal;
  if (state.range(0) == 0) withoutJournal.emplace();
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
BENCHMARK(BM_ProgramStart)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- Whole processes -------------------------------------------------------

constexpr int kProcessRepetitions = 21;

struct ProcessRun {
  double wallMs = 0;
  double cpuMs = 0;  // user + system time of the child
};

double childCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A temp folder with the provisioned default machine, where each run's
// stderr goes, and the environment the children get: offscreen, and asked to
// close their window once it has been painted.
class ProcessSetup {
 public:
  ProcessSetup() {
    if (!dir_.isValid()) {
      error_ = "no temp folder";
      return;
    }
    const std::string folder = dir_.path().toStdString();
    machine_ = folder + "/machine";
    log_ = folder + "/stderr.txt";
    try {
      morvin::platform::provisionMachine(machine_, morvin::platform::defaultMachineRegFile());
    } catch (const std::exception& e) {
      error_ = std::string("provisioning the default machine: ") + e.what();
      return;
    }
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("MORVIN_", 0) == 0) continue;
      envStrings_.push_back(entry);
    }
    envStrings_.push_back("QT_QPA_PLATFORM=offscreen");
    envStrings_.push_back("MORVIN_CLOSE_WHEN_SHOWN=1");
    envStrings_.push_back("MORVIN_MACHINE=" + machine_);
    for (std::string& entry : envStrings_) env_.push_back(entry.data());
    env_.push_back(nullptr);
  }

  const std::string& error() const { return error_; }

  // Runs the program to its end; false with error() set when it fails.
  bool run(const char* program, ProcessRun* result) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const double cpuBefore = childCpuMs();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, env_.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      error_ = std::string("posix_spawn ") + program + ": " + std::strerror(spawned);
      return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const auto end = std::chrono::steady_clock::now();
    result->wallMs = std::chrono::duration<double, std::milli>(end - start).count();
    result->cpuMs = childCpuMs() - cpuBefore;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      error_ = std::string(program) + " failed (status " + std::to_string(status) + "): " + fileText(log_);
      return false;
    }
    return true;
  }

 private:
  QTemporaryDir dir_;
  std::string machine_, log_, error_;
  std::vector<std::string> envStrings_;
  std::vector<char*> env_;
};

struct Program {
  const char* name;   // of its benchmark
  const char* label;  // in the summary
  const char* path;
  std::vector<ProcessRun> runs;
};

Program programs[] = {
    {"BM_Process/BareDialog", "bare dialog, 12 check boxes", MORVIN_BARE_DIALOG_PATH, {}},
    {"BM_Process/FormsOnly", "the eleven forms only", MORVIN_FORMS_ONLY_PATH, {}},
    {"BM_Process/Program", "morvin-ng, default machine", MORVIN_NG_PATH, {}},
};

// Made on first use: the machine provisioned and each program run once
// untimed (first start, cold file cache).
ProcessSetup* processSetup() {
  static std::unique_ptr<ProcessSetup> setup = [] {
    auto s = std::make_unique<ProcessSetup>();
    ProcessRun ignored;
    for (const Program& p : programs)
      if (s->error().empty()) s->run(p.path, &ignored);
    return s;
  }();
  return setup.get();
}

void BM_Process(benchmark::State& state, Program* program) {
  ProcessSetup* setup = processSetup();
  if (!setup->error().empty()) {
    state.SkipWithError(setup->error().c_str());
    return;
  }
  for (auto _ : state) {
    ProcessRun run;
    if (!setup->run(program->path, &run)) {
      state.SkipWithError(setup->error().c_str());
      return;
    }
    state.SetIterationTime(run.wallMs / 1e3);
    state.counters["child_cpu_ms"] = run.cpuMs;
    program->runs.push_back(run);
  }
}
void registerProcessBenchmarks() {
  for (Program& program : programs)
    benchmark::RegisterBenchmark(program.name, BM_Process, &program)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kProcessRepetitions)
        ->Unit(benchmark::kMillisecond);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double medianOf(const Program& program, double ProcessRun::*field) {
  std::vector<double> values;
  for (const ProcessRun& run : program.runs) values.push_back(run.*field);
  return median(values);
}

void printProcessSummary() {
  const Program& bare = programs[0];
  if (bare.runs.empty()) return;
  const double bareWall = medianOf(bare, &ProcessRun::wallMs), bareCpu = medianOf(bare, &ProcessRun::cpuMs);
  std::printf("\nWhole processes, offscreen, each ending once its window is painted (medians)\n");
  std::printf("%-30s %5s %10s %10s %12s %11s\n", "", "runs", "wall", "child CPU", "wall / bare",
              "CPU / bare");
  for (const Program& p : programs) {
    if (p.runs.empty()) continue;
    const double wall = medianOf(p, &ProcessRun::wallMs), cpu = medianOf(p, &ProcessRun::cpuMs);
    std::printf("%-30s %5zu %7.1f ms %7.1f ms %11.2fx %10.2fx\n", p.label, p.runs.size(), wall, cpu,
                wall / bareWall, cpu / bareCpu);
  }
  std::printf("(target for morvin-ng: within 1.50x of the bare dialog)\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  morvin::applyClassicLook(app);
  // No dialog may wait for an answer in a benchmark.
  morvin::setDialogService(std::make_shared<morvin::RecordingDialogService>());
  morvin::setShellService(std::make_shared<morvin::RecordingShellService>());
  morvin::setModalRunner([](morvin::WindowId, QWidget*) {});
  registerProcessBenchmarks();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  printProcessSummary();
  benchmark::Shutdown();
  return 0;
}
