// The commands of morvin-reg. Arguments arrive as UTF-8; keys and names are
// turned into cp1250 here, and everything shown is UTF-8 again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryStore.h"

namespace morvin::tool {

enum ExitCode { Ok = 0, NotFound = 1, BadInput = 2, MachineFailure = 3, Conflict = 4, LinesSkipped = 5 };

// A failure with the exit code it ends the program with.
struct Failure {
  ExitCode code;
  std::string message;  // UTF-8
};

ExitCode init(const std::string& machineFolder, const std::string& defaultRegFile);
// init with its options: `--lang en` (or `--lang=en`) makes an English Windows
// 98, `--lang pl` the Polish default machine.
ExitCode initInLanguage(const std::string& machineFolder, const std::vector<std::string>& options);
// `skipBad`: malformed lines are listed on the standard error and left out,
// the rest applied (LinesSkipped when any was); else the file is all or nothing.
ExitCode importFile(const std::string& machineFolder, const std::string& file, bool skipBad = false);
ExitCode exportKey(const std::string& machineFolder, const std::string& key,
                   const std::optional<std::string>& file);
ExitCode query(const std::string& machineFolder, const std::string& key,
               const std::optional<std::string>& value);

// The commands on the journal of changes: history, undo, changes.
ExitCode journalCommand(const std::string& machineFolder, const std::vector<std::string>& args);

// Shared by the commands: the machine's store (Failure when there is none),
// and `text` written whole to `file` or to the standard output.
reg::RegistryStore& openMachineStore(const std::string& machineFolder);
void writeOutput(const std::optional<std::string>& file, const std::string& text);

}  // namespace morvin::tool
