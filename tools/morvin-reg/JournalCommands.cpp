// morvin-reg history | undo | changes | forget: the journal of changes on the command line.
#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>

#include "Commands.h"
#include "FailureText.h"
#include "platform/DriveMapping.h"
#include "platform/FileAttributes.h"
#include "platform/Machine.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HostProfileStoreFile.h"
#include "registry/JournalHistory.h"

namespace morvin::tool {
namespace {

namespace journal = reg::journal;

constexpr const char* kMsDosSys = "C:\\MsDos.sys";

struct Journal {
  reg::RegistryStore& store;
  reg::ProfileStore& profiles;
};

Journal openJournal(const std::string& folder) {
  reg::RegistryStore& store = openMachineStore(folder);
  if (!store.journal()) throw Failure{MachineFailure, "This registry keeps no journal of changes"};
  return {store, reg::currentProfileStore()};
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
  const journal::ItemText item = journal::describeItemParts(e);
  std::string states = journal::describeState(e, e.before) + " -> " + journal::describeState(e, e.after);
  if (e.pending) states += " (write cut short)";
  std::printf("%lld\t%s\t%s\t%s\t%s\t%s\n", static_cast<long long>(e.id), localTime(e.at).c_str(),
              cp1250::toUtf8(e.source).c_str(), cp1250::toUtf8(item.key).c_str(),
              cp1250::toUtf8(item.value).c_str(), cp1250::toUtf8(states).c_str());
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
  for (const journal::UndoFailure& failure : result.failures)
    std::fprintf(stderr, "morvin-reg: %s\n", cp1250::toUtf8(journal::describeUndoFailure(failure)).c_str());
}

long long number(const std::string& text, const char* what) {
  try {
    std::size_t used = 0;
    const long long n = std::stoll(text, &used);
    if (used == text.size() && n > 0) return n;
  } catch (const std::exception&) {
  }
  throw Failure{BadInput, std::string(what) + " must be a positive whole number, not \"" + text + "\""};
}

// --before takes an entry id or a date ("2026-12-09" or "2026-12-09 10:30:00",
// local time).
journal::ForgetPoint forgetPoint(const std::string& text) {
  if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {.entryId = number(text, "--before"), .since = std::nullopt};
  std::tm parts{};
  int consumed = 0;
  const int fields =
      std::sscanf(text.c_str(), "%4d-%2d-%2d%n %2d:%2d:%2d%n", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                  &consumed, &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &consumed);
  if ((fields != 3 && fields != 6) || consumed != static_cast<int>(text.size()))
    throw Failure{BadInput,
                  "--before takes an entry id or a date (YYYY-MM-DD [HH:MM:SS]), not \"" + text + "\""};
  if (parts.tm_mon < 1 || parts.tm_mon > 12 || parts.tm_mday < 1 || parts.tm_mday > 31 ||
      parts.tm_hour > 23 || parts.tm_min > 59 || parts.tm_sec > 60)
    throw Failure{BadInput, "No such date: " + text};
  parts.tm_year -= 1900;
  parts.tm_mon -= 1;
  parts.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&parts);
  if (seconds == static_cast<std::time_t>(-1)) throw Failure{BadInput, "No such date: " + text};
  return {.entryId = std::nullopt, .since = static_cast<std::int64_t>(seconds) * 1000000};
}

}  // namespace

ExitCode showHistory(const std::string& folder, std::optional<long long> limit) {
  Journal j = openJournal(folder);
  const auto newest = limit ? static_cast<std::size_t>(*limit) : SIZE_MAX;
  for (const journal::Entry& e : journal::history(j.store, j.profiles, newest)) printEntry(e);
  return Ok;
}

ExitCode undoChanges(const std::string& folder, const UndoRequest& request) {
  assert(request.all + request.last.has_value() + !request.ids.empty() == 1);
  std::vector<std::int64_t> ids = request.ids;
  journal::Source source("morvin-reg undo");
  Journal j = openJournal(folder);
  if (request.all) {
    const auto net = journal::netChanges(j.store, j.profiles);
    std::vector<journal::Entry> changed;
    for (const auto& c : net) changed.push_back(c.first);
    WritableProfileFiles writable(changed);
    const auto result = journal::undoAll(j.store, j.profiles);
    printFailures(result);
    std::printf("Took back %d changes\n", result.takenBack);
    return result.failures.empty() ? Ok : MachineFailure;
  }
  if (request.last) {
    for (const journal::Entry& e :
         journal::history(j.store, j.profiles, static_cast<std::size_t>(*request.last)))
      ids.push_back(e.id);
  }
  auto entries = journal::entriesToUndo(j.store, j.profiles, ids);
  for (std::int64_t id : ids)
    if (std::none_of(entries.begin(), entries.end(), [&](const journal::Entry& e) { return e.id == id; }))
      throw Failure{NotFound, "There is no entry " + std::to_string(id) + " in the journal"};
  WritableProfileFiles writable(entries);
  const auto steps = journal::planUndo(j.store, j.profiles, std::move(entries));
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

ExitCode forgetChanges(const std::string& folder, const std::optional<std::string>& before) {
  journal::ForgetPoint point;
  if (before) point = forgetPoint(*before);
  Journal j = openJournal(folder);
  try {
    const std::int64_t dropped = journal::forget(j.store, point);
    std::printf("Forgot %lld entries: the changes stay, but can no longer be taken back\n",
                static_cast<long long>(dropped));
  } catch (const Exception& e) {
    throw Failure{point.entryId ? NotFound : MachineFailure, failureText(e)};
  }
  return Ok;
}
}  // namespace morvin::tool
