#include "Win9xCommands.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/Machine.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xImport.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/JournalHistory.h"
#include "registry/Win9xHive.h"

namespace morvin::tool {

namespace {

using platform::win9x::DriveError;
using platform::win9x::Fault;

// The options of a command: flags, options with a value, one operand.
struct Arguments {
  std::string operand;
  std::vector<std::string> flags;
  std::vector<std::pair<std::string, std::string>> values;

  bool has(const std::string& flag) const {
    for (const auto& f : flags)
      if (f == flag) return true;
    return false;
  }
  std::optional<std::string> value(const std::string& option) const {
    for (const auto& [name, v] : values)
      if (name == option) return v;
    return std::nullopt;
  }
};

Arguments parse(const std::string& command, const std::vector<std::string>& args,
                const std::vector<std::string>& flags, const std::vector<std::string>& valued) {
  Arguments parsed;
  bool hasOperand = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (!arg.starts_with("--")) {
      if (hasOperand) throw Failure{BadInput, "too many arguments for " + command};
      parsed.operand = arg;
      hasOperand = true;
      continue;
    }
    std::optional<std::string> inlineValue;
    if (auto equals = arg.find('='); equals != std::string::npos) {
      inlineValue = arg.substr(equals + 1);
      arg.erase(equals);
    }
    if (std::find(flags.begin(), flags.end(), arg) != flags.end() && !inlineValue) {
      parsed.flags.push_back(arg);
    } else if (std::find(valued.begin(), valued.end(), arg) != valued.end()) {
      if (!inlineValue && i + 1 >= args.size()) throw Failure{BadInput, arg + " needs a value"};
      parsed.values.emplace_back(arg, inlineValue ? *inlineValue : args[++i]);
    } else {
      throw Failure{BadInput, "unknown option " + arg + " for " + command};
    }
  }
  if (!hasOperand) throw Failure{BadInput, command + " needs a drive (a folder or a disk image)"};
  return parsed;
}

int partitionOf(const Arguments& args) {
  const auto text = args.value("--partition");
  if (!text) return 0;
  if (text->size() != 1 || (*text)[0] < '1' || (*text)[0] > '4')
    throw Failure{BadInput, "--partition takes a primary partition number, 1 to 4"};
  return (*text)[0] - '0';
}

[[noreturn]] void rethrow(const DriveError& e) {
  const ExitCode code = e.fault() == Fault::BadInput  ? BadInput
                        : e.fault() == Fault::Changed ? Conflict
                                                      : MachineFailure;
  throw Failure{code, cp1250::toUtf8(e.message())};
}

}  // namespace

ExitCode initFrom(const std::string& machineFolder, const std::vector<std::string>& args) {
  const Arguments parsed = parse("init --from", args, {"--replace"}, {"--user", "--partition"});
  platform::win9x::ImportOptions options{.source = parsed.operand,
                                         .partition = partitionOf(parsed),
                                         .user = parsed.value("--user").value_or(""),
                                         .replace = parsed.has("--replace")};
  if (parsed.value("--user") && options.user.empty()) throw Failure{BadInput, "--user needs a name"};
  try {
    if (!platform::win9x::importMachine(machineFolder, options))
      throw Failure{MachineFailure,
                    "There is a machine in " + machineFolder +
                        " already (replace it with: morvin-reg init --from SOURCE --replace)"};
  } catch (const DriveError& e) {
    rethrow(e);
  } catch (const reg::win9x::HiveError& e) {
    throw Failure{BadInput, cp1250::toUtf8(e.message())};
  } catch (const Exception& e) {
    throw Failure{MachineFailure, cp1250::toUtf8(e.message())};
  }
  std::printf("Created the machine in %s from %s\n", machineFolder.c_str(), options.source.c_str());
  return Ok;
}

ExitCode applyChanges(const std::string& machineFolder, const std::vector<std::string>& args) {
  const Arguments parsed = parse("apply", args, {"--dry-run", "--force"}, {"--partition"});
  const platform::win9x::ApplyOptions options{.target = parsed.operand,
                                              .partition = partitionOf(parsed),
                                              .dryRun = parsed.has("--dry-run"),
                                              .force = parsed.has("--force")};
  reg::RegistryStore& store = openMachineStore(machineFolder);
  if (!store.journal()) throw Failure{MachineFailure, "This registry keeps no journal of changes"};
  std::vector<std::string> written;
  try {
    written = platform::win9x::applyToDrive(machineFolder, options, store, reg::journal::changesReg(store));
  } catch (const DriveError& e) {
    rethrow(e);
  } catch (const Exception& e) {
    throw Failure{MachineFailure, cp1250::toUtf8(e.message())};
  }
  if (written.empty())
    std::printf("Nothing to write: %s holds every change already\n", options.target.c_str());
  else
    std::printf(options.dryRun ? "Would write into %s:\n" : "Wrote into %s:\n", options.target.c_str());
  for (const std::string& path : written) std::printf("  %s\n", path.c_str());
  return Ok;
}

}  // namespace morvin::tool
