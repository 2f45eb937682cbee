// morvin-reg history | undo | changes: the journal of changes on the command line.
#include <algorithm>
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

long long number(const std::string& text, const char* what) {
  try {
    std::size_t used = 0;
    const long long n = std::stoll(text, &used);
    if (used == text.size() && n > 0) return n;
  } catch (const std::exception&) {
  }
  throw Failure{BadInput, std::string(what) + " must be a positive whole number, not \"" + text + "\""};
}

ExitCode history(const std::string& folder, const std::vector<std::string>& args) {
  std::size_t limit = SIZE_MAX;
  if (args.size() == 2 && args[0] == "--limit")
    limit = static_cast<std::size_t>(number(args[1], "--limit"));
  else if (!args.empty())
    throw Failure{BadInput, "usage: morvin-reg history [--limit N]"};
  Journal j = openJournal(folder);
  const auto entries = journal::history(j.store, j.profiles);
  for (std::size_t i = 0; i < entries.size() && i < limit; ++i) printEntry(entries[i]);
  return Ok;
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

ExitCode undo(const std::string& folder, const std::vector<std::string>& args) {
  bool force = false, all = false;
  std::optional<long long> last;
  std::vector<std::int64_t> ids;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--force")
      force = true;
    else if (args[i] == "--all")
      all = true;
    else if (args[i] == "--last" && i + 1 < args.size())
      last = number(args[++i], "--last");
    else
      ids.push_back(number(args[i], "An entry id"));
  }
  if (all + last.has_value() + !ids.empty() != 1)
    throw Failure{BadInput, "usage: morvin-reg undo ID... | --last N | --all [--force]"};
  journal::Source source("morvin-reg undo");
  Journal j = openJournal(folder);
  const auto entries = journal::history(j.store, j.profiles);
  WritableProfileFiles writable(entries);
  if (all) {
    const auto result = journal::undoAll(j.store, j.profiles);
    printFailures(result);
    std::printf("Took back %d changes\n", result.takenBack);
    return result.failures.empty() ? Ok : MachineFailure;
  }
  if (last) {
    for (std::size_t i = 0; i < entries.size() && i < static_cast<std::size_t>(*last); ++i)
      ids.push_back(entries[i].id);
  }
  for (std::int64_t id : ids)
    if (std::none_of(entries.begin(), entries.end(), [&](const journal::Entry& e) { return e.id == id; }))
      throw Failure{NotFound, "There is no entry " + std::to_string(id) + " in the journal"};
  const auto steps = journal::planUndo(j.store, j.profiles, entries, ids);
  if (!force) {
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

ExitCode changes(const std::string& folder, const std::vector<std::string>& args) {
  std::optional<std::string> file, msdos;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--msdos" && i + 1 < args.size())
      msdos = args[++i];
    else if (!file && args[i].rfind("--", 0) != 0)
      file = args[i];
    else
      throw Failure{BadInput, "usage: morvin-reg changes [FILE] [--msdos FILE]"};
  }
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

}  // namespace

ExitCode journalCommand(const std::string& folder, const std::vector<std::string>& args) {
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "history") return history(folder, rest);
  if (command == "undo") return undo(folder, rest);
  return changes(folder, rest);
}

}  // namespace morvin::tool
