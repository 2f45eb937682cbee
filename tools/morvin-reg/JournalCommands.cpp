// morvin-reg history | undo | changes: the journal of changes on the command line.
#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>

#include "Commands.h"
#include "platform/DriveMapping.h"
#include "platform/FileAttributes.h"
#include "platform/Machine.h"
#include "registry/Cp1250.h"
#include "registry/HostProfileStoreFile.h"
#include "registry/JournalHistory.h"

namespace morvin::tool {
namespace {

namespace journal = reg::journal;

constexpr const char* kMsDosSys = "C:\\MsDos.sys";

struct Journal {
  reg::HiveStore& store;
  reg::ProfileStore& profiles;
};

Journal openJournal(const std::string& folder) {
  auto* store = dynamic_cast<reg::HiveStore*>(&openMachineStore(folder));
  if (!store) throw Failure{MachineFailure, "This registry keeps no journal of changes"};
  return {*store, reg::currentProfileStore()};
}

std::string localTime(std::int64_t micros) {
  const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
  std::tm parts{};
#ifdef _WIN32
  localtime_s(&parts, &seconds);
#else
  localtime_r(&seconds, &parts);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

// id, time, source, key, value, before -> after; tab-separated, UTF-8.
void printEntry(const journal::Entry& e) {
  std::string key =
      e.kind == journal::Kind::Profile ? e.path + " [" + e.section + "]" : e.root + "\\" + e.path;
  std::string value = e.kind == journal::Kind::Key                       ? ""
                      : e.kind == journal::Kind::Value && e.name.empty() ? "@"
                                                                         : e.name;
  std::string states = journal::describeState(e, e.before) + " -> " + journal::describeState(e, e.after);
  if (e.pending) states += cp1250::fromUtf8(" (zapis przerwany)");
  std::printf("%lld\t%s\t%s\t%s\t%s\t%s\n", static_cast<long long>(e.id), localTime(e.at).c_str(),
              cp1250::toUtf8(e.source).c_str(), cp1250::toUtf8(key).c_str(), cp1250::toUtf8(value).c_str(),
              cp1250::toUtf8(states).c_str());
}

// A boot options file is kept read-only; while changes are taken back it is
// writable, as the MS-DOS window makes it, and then gets its attributes back.
class WritableProfileFiles {
 public:
  explicit WritableProfileFiles(const std::vector<journal::Entry>& entries) {
    for (const journal::Entry& e : entries) {
      if (e.kind != journal::Kind::Profile || saved_.count(e.path)) continue;
      const std::int64_t attributes = platform::GetFileAttributes(e.path);
      if (attributes < 0 || !(attributes & platform::attr::ReadOnly)) continue;
      saved_[e.path] = static_cast<std::uint32_t>(attributes);
      platform::SetFileAttributes(e.path, static_cast<std::uint32_t>(attributes) & ~platform::attr::ReadOnly);
    }
  }
  ~WritableProfileFiles() {
    for (const auto& [path, attributes] : saved_) platform::SetFileAttributes(path, attributes);
  }
  WritableProfileFiles(const WritableProfileFiles&) = delete;
  WritableProfileFiles& operator=(const WritableProfileFiles&) = delete;

 private:
  std::map<std::string, std::uint32_t> saved_;
};

void printFailures(const journal::UndoResult& result) {
  for (const std::string& failure : result.failures)
    std::fprintf(stderr, "morvin-reg: %s\n", cp1250::toUtf8(failure).c_str());
}

}  // namespace

ExitCode showHistory(const std::string& folder, std::optional<long long> limit) {
  Journal j = openJournal(folder);
  const auto entries = journal::history(j.store, j.profiles);
  const auto shown = static_cast<std::size_t>(limit.value_or(LLONG_MAX));
  for (std::size_t i = 0; i < entries.size() && i < shown; ++i) printEntry(entries[i]);
  return Ok;
}

ExitCode undoChanges(const std::string& folder, const UndoRequest& request) {
  assert(request.all + request.last.has_value() + !request.ids.empty() == 1);
  std::vector<std::int64_t> ids = request.ids;
  journal::Source source("morvin-reg undo");
  Journal j = openJournal(folder);
  const auto entries = journal::history(j.store, j.profiles);
  WritableProfileFiles writable(entries);
  if (request.all) {
    const auto result = journal::undoAll(j.store, j.profiles);
    printFailures(result);
    std::printf("Took back %d changes\n", result.takenBack);
    return result.failures.empty() ? Ok : MachineFailure;
  }
  if (request.last) {
    for (std::size_t i = 0; i < entries.size() && i < static_cast<std::size_t>(*request.last); ++i)
      ids.push_back(entries[i].id);
  }
  for (std::int64_t id : ids)
    if (std::none_of(entries.begin(), entries.end(), [&](const journal::Entry& e) { return e.id == id; }))
      throw Failure{NotFound, "There is no entry " + std::to_string(id) + " in the journal"};
  const auto steps = journal::planUndo(j.store, j.profiles, entries, ids);
  if (!request.force) {
    bool conflicts = false;
    for (const auto& step : steps) {
      if (!step.conflict) continue;
      conflicts = true;
      std::fprintf(stderr, "morvin-reg: %s was changed since entry %lld: it is %s, not %s\n",
                   cp1250::toUtf8(journal::describeItem(step.entry)).c_str(),
                   static_cast<long long>(step.entry.id),
                   cp1250::toUtf8(journal::describeState(step.entry, step.now)).c_str(),
                   cp1250::toUtf8(journal::describeState(step.entry, step.entry.after)).c_str());
    }
    if (conflicts) {
      std::fprintf(stderr, "morvin-reg: nothing was taken back (--force takes them back all the same)\n");
      return Conflict;
    }
  }
  const auto result = journal::applyUndo(j.store, j.profiles, steps, [](auto&, auto&) { return true; });
  printFailures(result);
  std::printf("Took back %d changes\n", result.takenBack);
  return result.failures.empty() ? Ok : MachineFailure;
}

ExitCode writeChanges(const std::string& folder, const std::optional<std::string>& file,
                      const std::optional<std::string>& msdos) {
  Journal j = openJournal(folder);
  const auto net = journal::netChanges(j.store, j.profiles);
  writeOutput(file, journal::changesFile(net));
  if (msdos && journal::profileChanged(net, kMsDosSys)) {
    const auto host = platform::mapToHost(platform::currentMachine().driveC(), kMsDosSys);
    const auto bytes = host ? reg::hostfile::readAll(*host) : std::nullopt;
    if (!bytes) throw Failure{MachineFailure, "Cannot read the machine's MsDos.sys"};
    writeOutput(msdos, *bytes);
  }
  return Ok;
}

}  // namespace morvin::tool
