// The history window's first paint on a machine whose journal holds 50,000
// and 1,000,000 entries: from constructing the window until its list has been
// painted (offscreen), and how much the peak resident memory grew meanwhile.
//
// Each paint is measured in a fresh process (this program started again with
// --first-paint MACHINE), so the memory one paint freed cannot hide the next
// one's. There the machine is opened and a dialog with a list is painted
// first, standing for the running program (Qt's fonts, style and platform
// are loaded once per program, not per window); then the peak RSS is reset to
// the RSS now (writing 5 to /proc/self/clear_refs), the window is made, shown
// and painted, and VmHWM minus that RSS is the growth. Where the reset is
// refused the growth is VmHWM after minus VmRSS before: an upper bound. The
// machines are built once per size here (writeBigJournal) and opened by every
// child. A summary of the medians follows the benchmark output.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "bench/registry/BenchHives.h"
#include "history/kodHistoria.h"
#include "platform/Machine.h"
#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "tests/support/TempMachine.h"

extern char** environ;

namespace morvin::bench {
namespace {

constexpr const char* kChildFlag = "--first-paint";
constexpr int kRepetitions = 7;
constexpr double kTargetMs = 50, kTargetMb = 60;  // at 1,000,000 entries

// --- In the child: one first paint ------------------------------------------

// A field of /proc/self/status in kB (VmRSS, VmHWM); -1 when missing.
long statusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  return -1;
}

// The peak RSS set back to the RSS now; false where the kernel refuses.
bool resetPeakRss() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear.good();
}

// CPU time of the whole process (Qt's threads too), in milliseconds.
double processCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Sees the first paint of a widget; the loop below stops once it has been
// handled to its end.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

bool processUntilPainted(const PaintWatch& watch) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!watch.painted && std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return watch.painted;
}

// What the running program has done before the window opens: a dialog with a
// list and a combo box painted once.
bool paintAWindowFirst() {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QComboBox(&dialog));
  QStandardItemModel model(20, 5);
  for (int row = 0; row < 20; ++row)
    for (int column = 0; column < 5; ++column)
      model.setItem(row, column, new QStandardItem(QStringLiteral("Wiersz %1").arg(row)));
  auto* list = new QTreeView(&dialog);
  list->setModel(&model);
  layout->addWidget(list);
  PaintWatch watch;
  list->viewport()->installEventFilter(&watch);
  dialog.show();
  return processUntilPainted(watch);
}

// Prints "<wall ms> <CPU ms> <growth kB> <peak reset 0/1> <lines listed>".
int measureFirstPaint(int argc, char** argv, const std::string& machine) {
  QApplication app(argc, argv);
  applyClassicLook(app);
  setDialogService(std::make_shared<RecordingDialogService>());
  setShellService(std::make_shared<RecordingShellService>());
  platform::openMachine(machine);
  if (!paintAWindowFirst()) return 2;

  const bool reset = resetPeakRss();
  const long rssBefore = statusKb("VmRSS");
  const double cpuBefore = processCpuMs();
  const auto start = std::chrono::steady_clock::now();
  auto window = std::make_unique<TfmHistoria>();
  PaintWatch watch;
  window->findChild<QTreeView*>(QStringLiteral("Lista"))->viewport()->installEventFilter(&watch);
  window->show();
  const bool painted = processUntilPainted(watch);
  const auto end = std::chrono::steady_clock::now();
  const double cpu = processCpuMs() - cpuBefore;
  const long peak = statusKb("VmHWM");
  if (!painted) return 3;
  std::printf("%.3f %.3f %ld %d %d\n", std::chrono::duration<double, std::milli>(end - start).count(), cpu,
              peak - rssBefore, reset ? 1 : 0, window->model().rowCount());
  return 0;
}

// --- In the benchmark: the machines and the children -------------------------

struct Paint {
  double wallMs = 0;
  double cpuMs = 0;
  double growthMb = 0;
  bool peakReset = false;
  int lines = 0;
};

// A default machine with `entries` more journal entries; one size at a time.
const test::TempMachine& machineWith(std::int64_t entries) {
  static std::int64_t current = -1;
  static std::unique_ptr<test::TempMachine> machine;
  if (current != entries) {
    machine.reset();
    machine = std::make_unique<test::TempMachine>();
    writeBigJournal(platform::Machine(machine->folder()).userDat(), entries);
    machine->reopen();  // read as the program finds it
    current = entries;
  }
  return *machine;
}

// Runs one child; an empty string when it worked, else what went wrong.
std::string runChild(const std::string& machine, Paint* paint) {
  int out[2];
  if (::pipe(out) != 0) return std::string("pipe: ") + std::strerror(errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string self = "/proc/self/exe", flag = kChildFlag, folder = machine;
  char* argv[] = {self.data(), flag.data(), folder.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0)
      text.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR)
      break;
  }
  ::close(out[0]);
  if (spawned != 0) return std::string("posix_spawn: ") + std::strerror(spawned);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "the measuring process failed (status " + std::to_string(status) + ")";
  std::istringstream fields(text);
  long growthKb = 0;
  int reset = 0;
  if (!(fields >> paint->wallMs >> paint->cpuMs >> growthKb >> reset >> paint->lines))
    return "the measuring process printed \"" + text + "\"";
  paint->growthMb = growthKb / 1024.0;
  paint->peakReset = reset != 0;
  return {};
}

std::map<std::int64_t, std::vector<Paint>> paints;

void BM_HistoryFirstPaint(benchmark::State& state) {
  const std::int64_t entries = state.range(0);
  std::string machine;
  try {
    machine = machineWith(entries).folder();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  for (auto _ : state) {
    Paint paint;
    if (const std::string error = runChild(machine, &paint); !error.empty()) {
      state.SkipWithError(error.c_str());
      return;
    }
    // A page or two of the journal is what the window lists first.
    if (paint.lines < JournalModel::kPage || paint.lines > 2 * JournalModel::kPage) {
      state.SkipWithError(("listed " + std::to_string(paint.lines) + " lines, not a page or two").c_str());
      return;
    }
    state.SetIterationTime(paint.wallMs / 1e3);
    state.counters["paint_cpu_ms"] = paint.cpuMs;
    state.counters["peak_rss_growth_MB"] = paint.growthMb;
    paints[entries].push_back(paint);
  }
}
BENCHMARK(BM_HistoryFirstPaint)
    ->Arg(50'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->Unit(benchmark::kMillisecond);

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printSummary() {
  if (paints.empty()) return;
  std::printf("\nFirst paint of the history window, one fresh process per paint (medians, worst)\n");
  std::printf("%10s %5s %19s %19s %21s\n", "entries", "runs", "wall", "CPU", "peak RSS growth");
  bool everyPeakReset = true;
  for (const auto& [entries, runs] : paints) {
    std::vector<double> walls, cpus, growths;
    for (const Paint& p : runs) {
      walls.push_back(p.wallMs);
      cpus.push_back(p.cpuMs);
      growths.push_back(p.growthMb);
      everyPeakReset = everyPeakReset && p.peakReset;
    }
    auto worst = [](const std::vector<double>& values) {
      return *std::max_element(values.begin(), values.end());
    };
    std::printf("%10lld %5zu %7.1f ms (%6.1f) %7.1f ms (%6.1f) %8.1f MB (%6.1f)\n",
                static_cast<long long>(entries), runs.size(), median(walls), worst(walls), median(cpus),
                worst(cpus), median(growths), worst(growths));
  }
  std::printf("(target at 1,000,000 entries: under %.0f ms and under %.0f MB)\n", kTargetMs, kTargetMb);
  if (!everyPeakReset) std::printf("(the peak RSS could not be reset: growths are upper bounds)\n");
}

}  // namespace
}  // namespace morvin::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::strcmp(argv[1], morvin::bench::kChildFlag) == 0) {
    try {
      return morvin::bench::measureFirstPaint(argc, argv, argv[2]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  morvin::bench::printSummary();
  benchmark::Shutdown();
  return 0;
}
