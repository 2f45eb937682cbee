// morvin-reg [--machine DIR] init | import [--skip-bad] FILE | export KEY [FILE] | query KEY [VALUE] |
//            history | undo | changes | apply TARGET
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#ifndef _WIN32
#include "Win9xCommands.h"
#endif
#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "registry/Journal.h"
#ifdef _WIN32
#include "platform/Win32CommandLine.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: morvin-reg [--machine DIR] COMMAND\n"
    "\n"
    "  init                create the default machine (an existing one is kept) and show where it is\n"
    "  init --from SOURCE [--user NAME] [--partition N] [--replace]\n"
    "                      create the machine from a Windows 9x drive C: (a folder or a disk image)\n"
    "  apply TARGET [--dry-run] [--force] [--partition N]\n"
    "                      hand the changes since init --from back to the Windows 9x drive TARGET\n"
    "  import FILE         apply a .reg file (REGEDIT4 or version 5.00) all at once\n"
    "  import --skip-bad FILE\n"
    "                      apply every valid entry at once, list each malformed line and leave it out\n"
    "  export KEY [FILE]   write KEY and its subkeys as REGEDIT4 to FILE or to the standard output\n"
    "  query KEY [VALUE]   show the values and subkeys of KEY, or one value (\"\" is the default value)\n"
    "  history [--limit N] list the journal of changes, newest first: id, time, source, key, value,\n"
    "                      before -> after\n"
    "  undo ID... | --last N | --all [--force]\n"
    "                      take changes back (with the rest of their action); a value changed since\n"
    "                      is a conflict: exit status 4 and nothing taken back, unless --force\n"
    "  changes [FILE] [--msdos FILE]\n"
    "                      write what changed since the machine was made as REGEDIT4 (and MsDos.sys\n"
    "                      when it changed)\n"
    "  forget [--before ID|DATE]\n"
    "                      make the present state (or the state before entry ID or DATE) the new\n"
    "                      starting point: older entries go and their space is given back\n"
    "\n"
    "KEY begins with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,\n"
    "HKEY_USERS or their short forms HKLM, HKCU, HKCR, HKCC, HKU.\n"
    "The machine is DIR, else $MORVIN_MACHINE, else $XDG_DATA_HOME/morvin-ng/machine.\n"
    "Exit status: 0 done, 1 key or value not found, 2 bad input, 3 the machine could not be read or "
    "written, 4 a conflict (for apply: the drive changed since the import),\n"
    "5 lines were skipped (import --skip-bad).\n";

int usage(const char* problem) {
  std::fprintf(stderr, "morvin-reg: %s\n\n%s", problem, kUsage);
  return morvin::tool::BadInput;
}

int run(std::vector<std::string> args) {
  using namespace morvin::tool;
  std::optional<std::string> machine;
  while (!args.empty() && args.front().rfind("--", 0) == 0) {
    std::string option = args.front();
    args.erase(args.begin());
    if (option == "--help") {
      std::fputs(kUsage, stdout);
      return Ok;
    }
    if (option == "--machine" && !args.empty()) {
      machine = args.front();
      args.erase(args.begin());
    } else if (option.rfind("--machine=", 0) == 0) {
      machine = option.substr(10);
    } else {
      return usage(("unknown option " + option).c_str());
    }
    if (machine && machine->empty()) return usage("--machine needs a folder");
  }
  if (args.empty()) return usage("no command given");
  const std::string command = args.front();
  const size_t operands = args.size() - 1;
  auto optionalOperand = [&](size_t i) {
    return operands >= i ? std::optional<std::string>(args[i]) : std::nullopt;
  };
  const std::string folder = machine ? *machine : morvin::platform::defaultMachineFolder();
  morvin::reg::journal::setDefaultSource("morvin-reg " + command);  // what the journal names as source

  if (command == "init" && operands == 0) return init(folder, morvin::platform::defaultMachineRegFile());
#ifndef _WIN32
  if (command == "init" && args[1] == "--from")
    return initFrom(folder, std::vector<std::string>(args.begin() + 2, args.end()));
  if (command == "init" && args[1].starts_with("--from="))
    return initFrom(folder, [&] {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      rest[0].erase(0, 7);
      return rest;
    }());
  if (command == "apply") return applyChanges(folder, std::vector<std::string>(args.begin() + 1, args.end()));
#endif
  if (command == "import" && operands == 1) return importFile(folder, args[1]);
  if (command == "import" && operands == 2 && args[1] == "--skip-bad")
    return importFile(folder, args[2], true);
  if (command == "export" && (operands == 1 || operands == 2))
    return exportKey(folder, args[1], optionalOperand(2));
  if (command == "query" && (operands == 1 || operands == 2))
    return query(folder, args[1], optionalOperand(2));
  if (command == "history" || command == "undo" || command == "changes" || command == "forget") {
#ifdef _WIN32
    // The Windows registry itself keeps no journal.
    throw Failure{MachineFailure, command + " works on a machine folder, not on the Windows registry"};
#else
    return journalCommand(folder, args);
#endif
  }
  if (command == "init" || command == "import" || command == "export" || command == "query")
    return usage(("wrong number of arguments for " + command).c_str());
  return usage(("unknown command " + command).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  try {
#ifdef _WIN32
    // Windows hands argv over in its ANSI code page; the commands take UTF-8.
    return run(morvin::platform::utf8Arguments());
#else
    return run(std::vector<std::string>(argv + 1, argv + argc));
#endif
  } catch (const morvin::tool::Failure& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "morvin-reg: %s\n", failure.message.c_str());
    return failure.code;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "morvin-reg: %s\n", e.what());
    return morvin::tool::MachineFailure;
  }
}
