#include "CommandLine.h"

#include <algorithm>
#include <cstdio>

#include "Commands.h"
#include "platform/Machine.h"
#ifndef _WIN32
#include "platform/Machines.h"
#endif
#include "registry/Journal.h"

#ifndef MORVIN_VERSION
#error "MORVIN_VERSION comes from the project's version in CMake"
#endif

namespace morvin::tool {

namespace {

constexpr const char* kHead =
    "usage: morvin-reg [--machine DIR|NAME] COMMAND\n       morvin-reg --version\n\n";
constexpr const char* kFooter =
    "\n"
    "Every option may come before or after the operands, as --opt VALUE or --opt=VALUE.\n"
    "KEY begins with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,\n"
    "HKEY_USERS or their short forms HKLM, HKCU, HKCR, HKCC, HKU.\n"
    "The machine is DIR (or the machine NAME), else $MORVIN_MACHINE, else $XDG_DATA_HOME/morvin-ng/machine.\n"
    "Exit status: 0 done, 1 key or value not found, 2 bad input, 3 the machine could not be read or "
    "written, 4 a conflict (for apply: the drive changed since the import),\n"
    "5 lines were skipped (import --skip-bad).\n";
constexpr std::size_t kAboutColumn = 22;

// What went wrong, in words: CLI11 names a missing command "a subcommand".
std::string problemOf(const CLI::App& app, const CLI::ParseError& e) {
  if (!app.get_subcommands().empty()) return app.get_subcommands().front()->get_name() + ": " + e.what();
  for (const std::string& word : app.remaining())
    if (!word.starts_with("-")) return "unknown command " + word;
  if (dynamic_cast<const CLI::RequiredError*>(&e) && app.remaining().empty()) return "no command given";
  return e.what();
}

int badUsage(const std::string& problem, std::span<const Command> commands) {
  std::fprintf(stderr, "morvin-reg: %s\n\n%s", problem.c_str(), usageText(commands).c_str());
  return BadInput;
}

}  // namespace

const CLI::Validator& positiveNumber() {
  static const CLI::Validator check(
      [](std::string& text) -> std::string {
        long long n = 0;
        if (CLI::detail::lexical_cast(text, n) && n > 0) return {};
        return "must be a positive whole number, not \"" + text + "\"";
      },
      "N");
  return check;
}

std::string usageText(std::span<const Command> commands) {
  std::string text = kHead;
  for (const Command& c : commands) {
    std::string line = "  " + std::string(c.synopsis);
    line += line.size() < kAboutColumn ? std::string(kAboutColumn - line.size(), ' ')
                                       : "\n" + std::string(kAboutColumn, ' ');
    for (const char* at = c.about; *at; ++at) {
      line += *at;
      if (*at == '\n') line += std::string(kAboutColumn, ' ');
    }
    text += line + "\n";
  }
  return text + kFooter;
}

int runCommandLine(std::span<const Command> commands, const std::vector<std::string>& args) {
  CLI::App app("", "morvin-reg");
  app.set_help_flag("--help");
  app.set_version_flag("--version", "morvin-reg " MORVIN_VERSION);
  std::string machine;
  CLI::Option* machineOption = app.add_option("--machine", machine);
  app.require_subcommand(1);

  std::vector<Action> actions;
  std::vector<const CLI::App*> subcommands;
  for (const Command& command : commands) {
    CLI::App* sub = app.add_subcommand(command.name);
    sub->fallthrough();  // --machine and --help after the command too
    actions.push_back(command.declare(*sub));
    subcommands.push_back(sub);
  }

  // CLI11 takes "--opt=" with nothing after it as "--opt" followed by the next word.
  for (const std::string& arg : args)
    if (arg.starts_with("--") && arg.ends_with("="))
      return badUsage(arg.substr(0, arg.size() - 1) + " needs a value", commands);
  try {
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
    app.parse(reversed);
    if (machineOption->count() && machine.empty()) throw CLI::ValidationError("--machine needs a folder");
  } catch (const CLI::CallForHelp&) {
    std::fputs(usageText(commands).c_str(), stdout);
    return Ok;
  } catch (const CLI::CallForVersion& version) {
    std::printf("%s\n", version.what());
    return Ok;
  } catch (const CLI::ParseError& e) {
    return badUsage(problemOf(app, e), commands);
  }

  const CLI::App* chosen = app.get_subcommands().front();
  const auto index = std::find(subcommands.begin(), subcommands.end(), chosen) - subcommands.begin();
#ifndef _WIN32
  if (machineOption->count()) machine = platform::machineFolderFor(machine);  // a machine's name or a folder
#endif
  const std::string folder = machineOption->count() ? machine : platform::defaultMachineFolder();
  reg::journal::setDefaultSource("morvin-reg " + chosen->get_name());  // what the journal names as source
  return actions[static_cast<std::size_t>(index)](folder);
}

}  // namespace morvin::tool
