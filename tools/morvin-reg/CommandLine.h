// The one option parser of morvin-reg (CLI11). Every command takes its
// operands and options in any order, each option as `--opt value` or
// `--opt=value`; the global options (--machine, --help, --version) go before
// or after the command. The usage text is made from the commands' own lines.
//
// A command is one Command in the list of main.cpp: its name, its synopsis and
// what it does for the usage text, and `declare`, which adds its operands and
// options to CLI11's subcommand and returns what runs it. For example:
//
//   {.name = "query",
//    .synopsis = "query KEY [VALUE]",
//    .about = "show the values and subkeys of KEY, or one value",
//    .declare = [](CLI::App& c) -> Action {
//      struct Values { std::string key; std::optional<std::string> value; };
//      auto a = std::make_shared<Values>();
//      c.add_option("KEY", a->key)->required();
//      c.add_option("VALUE", a->value);
//      return [a](const std::string& machine) { return query(machine, a->key, a->value); };
//    }},
//
// The values live in a shared struct that the action holds, as CLI11 fills
// them during the parse and the action runs after it. A check that CLI11
// cannot state throws CLI::ValidationError from the subcommand's callback:
// it is bad usage (exit status 2, with the usage text) like any other.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace morvin::tool {

// Runs a parsed command on the machine folder; returns the exit status.
using Action = std::function<int(const std::string& machineFolder)>;

struct Command {
  const char* name;
  const char* synopsis;  // "import [--skip-bad] FILE"
  const char* about;     // one or more lines, UTF-8
  std::function<Action(CLI::App& command)> declare;
};

// A check for a number option: a whole number above zero.
const CLI::Validator& positiveNumber();

// Parses `args` (without the program's name), then runs the command on the
// folder of --machine, else the default machine folder. Bad usage: the problem
// and the usage text on the standard error, exit status 2.
int runCommandLine(std::span<const Command> commands, const std::vector<std::string>& args);

// The usage text: the synopses and what each command does, keys, machine, exit statuses.
std::string usageText(std::span<const Command> commands);

}  // namespace morvin::tool
