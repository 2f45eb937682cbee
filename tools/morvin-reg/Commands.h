// The commands of morvin-reg. Arguments arrive as UTF-8; keys and names are
// turned into cp1250 here, and everything shown is UTF-8 again.
#pragma once

#include <cstdint>
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
// init of an English ("en") or a Polish ("pl") Windows 98.
ExitCode initInLanguage(const std::string& machineFolder, const std::string& language);
// `skipBad`: malformed lines are listed on the standard error and left out,
// the rest applied (LinesSkipped when any was); else the file is all or nothing.
ExitCode importFile(const std::string& machineFolder, const std::string& file, bool skipBad = false);
ExitCode exportKey(const std::string& machineFolder, const std::string& key,
                   const std::optional<std::string>& file);
ExitCode query(const std::string& machineFolder, const std::string& key,
               const std::optional<std::string>& value);

// The commands on the journal of changes (not on the Windows registry, which keeps none).
// history: the entries, newest first, at most `limit` of them.
ExitCode showHistory(const std::string& machineFolder, std::optional<long long> limit);
// undo: exactly one of `ids`, `last` and `all`.
struct UndoRequest {
  std::vector<std::int64_t> ids;
  std::optional<long long> last;
  bool all = false;
  bool force = false;  // take back changes whose item was changed since, all the same
};
ExitCode undoChanges(const std::string& machineFolder, const UndoRequest& request);
// changes: the net changes as REGEDIT4 to `file` (or the standard output), MsDos.sys to `msdos`.
ExitCode writeChanges(const std::string& machineFolder, const std::optional<std::string>& file,
                      const std::optional<std::string>& msdos);
// forget: the present state (or the state before entry ID / at DATE) becomes
// the journal's starting point; older entries go and their space is given back.
ExitCode forgetChanges(const std::string& machineFolder, const std::optional<std::string>& before);

// Shared by the commands: the machine's store (Failure when there is none),
// and `text` written whole to `file` or to the standard output.
reg::RegistryStore& openMachineStore(const std::string& machineFolder);
void writeOutput(const std::optional<std::string>& file, const std::string& text);

}  // namespace morvin::tool
