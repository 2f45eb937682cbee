// Start-up of the whole program against the default machine (offscreen): the
// eleven windows created with all their loads, the main window shown and
// painted, then destroyed as at the end. A bare dialog with a dozen check boxes
// is timed beside it as the floor Qt itself sets.
//
// The same comparison as whole processes: morvin-ng against an already
// provisioned default machine and bench_bare_dialog, each started with
// QT_QPA_PLATFORM=offscreen and MORVIN_SCREENSHOT, run to its end and timed
// wall clock from posix_spawn to waitpid. A summary with the medians and their
// ratio follows the benchmark output.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
#include <string>
#include <vector>

#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "shell/app/Startup.h"
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

// --- Whole processes -------------------------------------------------------

// Both programs wait this long after showing their window before they save
// its picture and close (MORVIN_SCREENSHOT); every run includes it.
constexpr double kScreenshotWaitMs = 1500.0;
constexpr int kProcessRepetitions = 9;

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
// picture and stderr go, and the environment the children get.
class ProcessSetup {
 public:
  ProcessSetup() {
    if (!dir_.isValid()) {
      error_ = "no temp folder";
      return;
    }
    const std::string folder = dir_.path().toStdString();
    machine_ = folder + "/machine";
    shot_ = folder + "/shot.png";
    log_ = folder + "/stderr.txt";
    try {
      morvin::platform::provisionMachine(machine_, morvin::platform::defaultMachineRegFile());
    } catch (const std::exception& e) {
      error_ = std::string("provisioning the default machine: ") + e.what();
      return;
    }
    for (char** e = environ; *e; ++e) {
      const char* entry = *e;
      if (std::strncmp(entry, "QT_QPA_PLATFORM=", 16) == 0 ||
          std::strncmp(entry, "MORVIN_SCREENSHOT=", 18) == 0 ||
          std::strncmp(entry, "MORVIN_MACHINE=", 15) == 0)
        continue;
      envStrings_.emplace_back(entry);
    }
    envStrings_.push_back("QT_QPA_PLATFORM=offscreen");
    envStrings_.push_back("MORVIN_SCREENSHOT=" + shot_);
    envStrings_.push_back("MORVIN_MACHINE=" + machine_);
    for (std::string& entry : envStrings_) env_.push_back(entry.data());
    env_.push_back(nullptr);
  }

  const std::string& error() const { return error_; }

  // Runs the program to its end; false with error() set when it fails or
  // saves no picture.
  bool run(const char* program, ProcessRun* result) {
    ::unlink(shot_.c_str());
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
    struct stat st {};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || ::stat(shot_.c_str(), &st) != 0 ||
        st.st_size == 0) {
      error_ = std::string(program) + " failed (status " + std::to_string(status) + "): " + fileText(log_);
      return false;
    }
    return true;
  }

 private:
  QTemporaryDir dir_;
  std::string machine_, shot_, log_, error_;
  std::vector<std::string> envStrings_;
  std::vector<char*> env_;
};

// Made on first use: the machine provisioned and both programs run once
// untimed (first start, cold file cache).
ProcessSetup* processSetup() {
  static std::unique_ptr<ProcessSetup> setup = [] {
    auto s = std::make_unique<ProcessSetup>();
    ProcessRun ignored;
    if (s->error().empty() && s->run(MORVIN_NG_PATH, &ignored)) s->run(MORVIN_BARE_DIALOG_PATH, &ignored);
    return s;
  }();
  return setup.get();
}

std::vector<ProcessRun> bareRuns, programRuns;

void runProcess(benchmark::State& state, const char* program, std::vector<ProcessRun>* runs) {
  ProcessSetup* setup = processSetup();
  if (!setup->error().empty()) {
    state.SkipWithError(setup->error().c_str());
    return;
  }
  for (auto _ : state) {
    ProcessRun run;
    if (!setup->run(program, &run)) {
      state.SkipWithError(setup->error().c_str());
      return;
    }
    state.SetIterationTime(run.wallMs / 1e3);
    state.counters["child_cpu_ms"] = run.cpuMs;
    state.counters["past_wait_ms"] = run.wallMs - kScreenshotWaitMs;
    runs->push_back(run);
  }
}

void BM_ProcessBareDialog(benchmark::State& state) {
  runProcess(state, MORVIN_BARE_DIALOG_PATH, &bareRuns);
}
BENCHMARK(BM_ProcessBareDialog)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kProcessRepetitions)
    ->Unit(benchmark::kMillisecond);

void BM_ProcessProgram(benchmark::State& state) {
  runProcess(state, MORVIN_NG_PATH, &programRuns);
}
BENCHMARK(BM_ProcessProgram)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kProcessRepetitions)
    ->Unit(benchmark::kMillisecond);

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printProcessSummary() {
  if (bareRuns.empty() || programRuns.empty()) return;
  auto column = [](const std::vector<ProcessRun>& runs, double ProcessRun::*field) {
    std::vector<double> values;
    for (const ProcessRun& run : runs) values.push_back(run.*field);
    return median(values);
  };
  const double bareWall = column(bareRuns, &ProcessRun::wallMs),
               bareCpu = column(bareRuns, &ProcessRun::cpuMs);
  const double progWall = column(programRuns, &ProcessRun::wallMs),
               progCpu = column(programRuns, &ProcessRun::cpuMs);
  const double barePast = bareWall - kScreenshotWaitMs, progPast = progWall - kScreenshotWaitMs;
  std::printf(
      "\nWhole process start, offscreen, MORVIN_SCREENSHOT (medians of %zu and %zu runs; both wait %.0f ms "
      "before the picture)\n",
      bareRuns.size(), programRuns.size(), kScreenshotWaitMs);
  std::printf("%-28s %12s %16s %14s\n", "", "wall", "wall past wait", "child CPU");
  std::printf("%-28s %9.1f ms %13.1f ms %11.1f ms\n", "bare dialog", bareWall, barePast, bareCpu);
  std::printf("%-28s %9.1f ms %13.1f ms %11.1f ms\n", "morvin-ng, default machine", progWall, progPast,
              progCpu);
  std::printf("%-28s %11.2fx %15.2fx %13.2fx   (target: within 1.50x)\n", "ratio morvin-ng / bare",
              progWall / bareWall, progPast / barePast, progCpu / bareCpu);
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
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  printProcessSummary();
  benchmark::Shutdown();
  return 0;
}
