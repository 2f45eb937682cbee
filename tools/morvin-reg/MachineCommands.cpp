#include "MachineCommands.h"

#include <cstdio>

#include "platform/Machines.h"

namespace morvin::tool {

namespace {

std::string when(const std::optional<std::time_t>& time) {
  if (!time) return "-";
  std::tm local{};
  ::localtime_r(&*time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace

ExitCode listMachines(const std::string& folderInUse) {
  std::printf("  NAME\tSOURCE\tREAD\tWAITING\tHANDED BACK\n");
  for (const platform::MachineInfo& m : platform::listMachines(folderInUse)) {
    std::string source = !m.fromDrive ? "(the program's own)" : m.source;
    if (m.fromDrive && !m.format.empty())
      source += " (" + m.format + (m.partition ? ", partition " + std::to_string(m.partition) : "") + ")";
    const std::string waiting = m.waiting < 0 ? "?" : std::to_string(m.waiting);
    std::printf("%s %s\t%s\t%s\t%s\t%s\n", m.inUse ? "*" : " ", m.name.c_str(), source.c_str(),
                when(m.read).c_str(), waiting.c_str(), when(m.handedBack).c_str());
  }
  return Ok;
}

}  // namespace morvin::tool
