// The commands of morvin-reg. Arguments arrive as UTF-8; keys and names are
// turned into cp1250 here, and everything shown is UTF-8 again.
#pragma once

#include <optional>
#include <string>

namespace morvin::tool {

enum ExitCode { Ok = 0, NotFound = 1, BadInput = 2, MachineFailure = 3, LinesSkipped = 5 };

// A failure with the exit code it ends the program with.
struct Failure {
  ExitCode code;
  std::string message;  // UTF-8
};

ExitCode init(const std::string& machineFolder, const std::string& defaultRegFile);
// `skipBad`: malformed lines are listed on the standard error and left out,
// the rest applied (LinesSkipped when any was); else the file is all or nothing.
ExitCode importFile(const std::string& machineFolder, const std::string& file, bool skipBad = false);
ExitCode exportKey(const std::string& machineFolder, const std::string& key,
                   const std::optional<std::string>& file);
ExitCode query(const std::string& machineFolder, const std::string& key,
               const std::optional<std::string>& value);

}  // namespace morvin::tool
