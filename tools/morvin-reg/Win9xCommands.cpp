#include "Win9xCommands.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "FailureText.h"
#include "platform/Machine.h"
#include "platform/Win9xRefresh.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"
#include "registry/Win9xHive.h"

namespace morvin::tool {

namespace {

using platform::win9x::DriveError;
using platform::win9x::Fault;

[[noreturn]] void rethrow(const DriveError& e) {
  const ExitCode code = e.fault() == Fault::BadInput  ? BadInput
                        : e.fault() == Fault::Changed ? Conflict
                                                      : MachineFailure;
  throw Failure{code, cp1250::toUtf8(e.message())};
}

// Runs `work` with its failures as exit statuses: the drive's own, a hive
// that cannot be read (bad input), the machine's.
template <class Work>
auto withDriveFailures(Work work) {
  try {
    return work();
  } catch (const DriveError& e) {
    rethrow(e);
  } catch (const reg::win9x::HiveError& e) {
    throw Failure{BadInput, cp1250::toUtf8(e.message())};
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
}

// withDriveFailures on the machine's journaled store.
template <class Work>
auto onJournaledMachine(const std::string& machineFolder, Work work) {
  reg::RegistryStore& store = openMachineStore(machineFolder);
  if (!store.journal()) throw Failure{MachineFailure, "This registry keeps no journal of changes"};
  return withDriveFailures([&] { return work(store); });
}

}  // namespace

ExitCode initFrom(const std::string& machineFolder, const platform::win9x::ImportOptions& options) {
  if (!withDriveFailures([&] { return platform::win9x::importMachine(machineFolder, options); }))
    throw Failure{MachineFailure, "There is a machine in " + machineFolder +
                                      " already (replace it with: morvin-reg init --from SOURCE --replace)"};
  std::printf("Created the machine in %s from %s\n", machineFolder.c_str(), options.source.c_str());
  return Ok;
}

ExitCode applyChanges(const std::string& machineFolder, const platform::win9x::ApplyOptions& options) {
  const platform::win9x::ApplyResult result =
      onJournaledMachine(machineFolder, [&](reg::RegistryStore& store) {
        return platform::win9x::applyToDrive(machineFolder, options, store);
      });
  for (const std::string& warning : result.warnings)
    std::fprintf(stderr, "morvin-reg: %s\n", warning.c_str());
  const std::vector<std::string>& written = result.written;
  if (written.empty())
    std::printf("Nothing to write: %s holds every change already\n", options.target.c_str());
  else
    std::printf(options.dryRun ? "Would write into %s:\n" : "Wrote into %s:\n", options.target.c_str());
  for (const std::string& path : written) std::printf("  %s\n", path.c_str());
  return Ok;
}

ExitCode mendTexts(const std::string& machineFolder) {
  const platform::Machine machine(machineFolder);
  if (!machine.exists() || !std::filesystem::exists(machine.record()))
    throw Failure{MachineFailure,
                  "The machine in " + machineFolder +
                      " was not made from a Windows 9x drive (morvin-reg init --from SOURCE)"};
  reg::RegistryStore& store = openMachineStore(machineFolder);
  reg::RegDocument mended;
  for (const reg::Key root : {reg::kLocalMachine, reg::kCurrentUser}) {
    reg::RegDocument document;
    if (reg::readRegTree(store, root, "", &document) != reg::err::Success)
      throw Failure{MachineFailure, "Cannot read the registry of " + machineFolder};
    for (reg::RegKeyEntry& key : document.keys) {
      std::erase_if(key.values, [](reg::RegValueEntry& value) {
        std::string asRead = reg::win9x::asWindowsReadsIt(value.type, value.data);
        if (asRead == value.data) return true;
        value.data = std::move(asRead);
        return false;
      });
      if (!key.values.empty()) mended.keys.push_back(std::move(key));
    }
  }
  size_t count = 0;
  for (const reg::RegKeyEntry& key : mended.keys) count += key.values.size();
  try {
    if (count > 0) reg::applyRegDocument(store, mended);
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
  std::printf("Mended %zu texts\n", count);
  return Ok;
}

ExitCode refreshFrom(const std::string& machineFolder, const platform::win9x::RefreshOptions& options) {
  const platform::win9x::RefreshOutcome outcome =
      onJournaledMachine(machineFolder, [&](reg::RegistryStore& store) {
        return platform::win9x::refreshMachine(machineFolder, options, store);
      });
  if (!outcome.read)
    std::printf("The drive's registry is as the machine last read it\n");
  else
    std::printf("Read the drive's registry: %d taken from it, %d of the machine's own changes kept\n",
                outcome.fromDrive, outcome.kept);
  return Ok;
}

}  // namespace morvin::tool
