// morvin-reg [--machine DIR] COMMAND ...: the commands and their options.
// Each command is one block of kCommands below (see CommandLine.h for how a
// block reads): its synopsis and lines for the usage text, then its operands
// and options and the command function it calls. To add a command, add its
// function to a *Commands.cpp file and one block here; a command that needs a
// machine folder (the journal, a Windows 9x drive) makes its call through
// ON_MACHINE_FOLDER, so the Windows build names it without building it.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "FailureText.h"
#include "platform/DefaultMachine.h"
#ifdef _WIN32
#include "platform/Win32CommandLine.h"
#else
#include "MachineCommands.h"
#include "Win9xCommands.h"
#endif

namespace {

using namespace morvin::tool;

// On Windows the registry is the live one: it keeps no journal and is no copy
// of a Windows 9x drive, so the commands on those say so instead of running.
#ifdef _WIN32
#define ON_MACHINE_FOLDER(call)                                                           \
  throw Failure {                                                                         \
    MachineFailure, "This command works on a machine folder, not on the Windows registry" \
  }
#else
#define ON_MACHINE_FOLDER(call) return call
#endif

// A primary partition of a disk image.
CLI::Option* addPartition(CLI::App& c, int& partition) {
  return c.add_option("--partition", partition, "a primary partition of the image")->check(CLI::Range(1, 4));
}

const Command kCommands[] = {
    {.name = "init",
     .synopsis = "init [--lang en|pl | --from SOURCE [--user NAME] [--partition N] [--replace]]",
     .about = "create the default machine (an existing one is kept) and show where it is,\n"
              "a Polish Windows 98 or with --lang en an English one;\n"
              "with --from, create it from a Windows 9x drive C: (a folder or a disk image)",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string from, user, lang;
         int partition = 0;
         bool replace = false;
       };
       auto a = std::make_shared<Values>();
       CLI::Option* from = c.add_option("--from", a->from);
       c.add_option("--lang", a->lang, "en: an English Windows 98, pl: a Polish one (the default)")
           ->check(CLI::IsMember({"en", "pl"}))
           ->excludes(from);
       CLI::Option* user = c.add_option("--user", a->user)->needs(from);
       addPartition(c, a->partition)->needs(from);
       c.add_flag("--replace", a->replace)->needs(from);
       c.callback([a, user] {
         if (user->count() && a->user.empty()) throw CLI::ValidationError("--user needs a name");
       });
       return [a, from](const std::string& machine) -> int {
         if (!from->count()) return initInLanguage(machine, a->lang.empty() ? "pl" : a->lang);
         ON_MACHINE_FOLDER(initFrom(
             machine,
             {.source = a->from, .partition = a->partition, .user = a->user, .replace = a->replace}));
       };
     }},
    {.name = "apply",
     .synopsis = "apply TARGET [--dry-run] [--force] [--partition N]",
     .about = "hand the changes since init --from back to the Windows 9x drive TARGET",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string target;
         int partition = 0;
         bool dryRun = false, force = false;
       };
       auto a = std::make_shared<Values>();
       c.add_option("TARGET", a->target)->required();
       c.add_flag("--dry-run", a->dryRun);
       c.add_flag("--force", a->force);
       addPartition(c, a->partition);
       return [a](const std::string& machine) -> int {
         ON_MACHINE_FOLDER(applyChanges(
             machine,
             {.target = a->target, .partition = a->partition, .dryRun = a->dryRun, .force = a->force}));
       };
     }},
    {.name = "refresh",
     .synopsis = "refresh [TARGET] [--force] [--partition N]",
     .about = "read the drive's registry again once Windows took the last hand-back",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string target;
         int partition = 0;
         bool force = false;
       };
       auto a = std::make_shared<Values>();
       c.add_option("TARGET", a->target);
       c.add_flag("--force", a->force);
       addPartition(c, a->partition);
       return [a](const std::string& machine) -> int {
         ON_MACHINE_FOLDER(
             refreshFrom(machine, {.target = a->target, .partition = a->partition, .force = a->force}));
       };
     }},
    {.name = "forget",
     .synopsis = "forget [--before ID|DATE]",
     .about = "make the present state (or the state before entry ID or DATE) the new\n"
              "starting point: older entries go and their space is given back",
     .declare = [](CLI::App& c) -> Action {
       auto before = std::make_shared<std::optional<std::string>>();
       c.add_option("--before", *before);
       return [before](const std::string& machine) -> int {
         ON_MACHINE_FOLDER(forgetChanges(machine, *before));
       };
     }},
    {.name = "machines",
     .synopsis = "machines",
     .about = "list the machines (the default one and those made from drives): name, source,\n"
              "when it was read, changes waiting to be handed back, when last handed back",
     .declare = [](CLI::App&) -> Action {
       return [](const std::string& machine) -> int { ON_MACHINE_FOLDER(listMachines(machine)); };
     }},
    {.name = "mend-texts",
     .synopsis = "mend-texts",
     .about = "give the texts of a machine made from a drive before texts were read as\n"
              "Windows 98 hands them out their terminating NUL (one journaled action)",
     .declare = [](CLI::App&) -> Action {
       return [](const std::string& machine) -> int { ON_MACHINE_FOLDER(mendTexts(machine)); };
     }},
    {.name = "import",
     .synopsis = "import [--skip-bad] FILE",
     .about = "apply a .reg file (REGEDIT4 or version 5.00) all at once; with --skip-bad,\n"
              "apply every valid entry at once, list each malformed line and leave it out",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string file;
         bool skipBad = false;
       };
       auto a = std::make_shared<Values>();
       c.add_option("FILE", a->file)->required();
       c.add_flag("--skip-bad", a->skipBad);
       return [a](const std::string& machine) { return importFile(machine, a->file, a->skipBad); };
     }},
    {.name = "export",
     .synopsis = "export KEY [FILE]",
     .about = "write KEY and its subkeys as REGEDIT4 to FILE or to the standard output",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string key;
         std::optional<std::string> file;
       };
       auto a = std::make_shared<Values>();
       c.add_option("KEY", a->key)->required();
       c.add_option("FILE", a->file);
       return [a](const std::string& machine) { return exportKey(machine, a->key, a->file); };
     }},
    {.name = "query",
     .synopsis = "query KEY [VALUE]",
     .about = "show the values and subkeys of KEY, or one value (\"\" is the default value)",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::string key;
         std::optional<std::string> value;
       };
       auto a = std::make_shared<Values>();
       c.add_option("KEY", a->key)->required();
       c.add_option("VALUE", a->value);
       return [a](const std::string& machine) { return query(machine, a->key, a->value); };
     }},
    {.name = "history",
     .synopsis = "history [--limit N]",
     .about = "list the journal of changes, newest first: id, time, source, key, value,\n"
              "before -> after",
     .declare = [](CLI::App& c) -> Action {
       auto limit = std::make_shared<std::optional<long long>>();
       c.add_option("--limit", *limit)->check(positiveNumber());
       return [limit](const std::string& machine) -> int { ON_MACHINE_FOLDER(showHistory(machine, *limit)); };
     }},
    {.name = "undo",
     .synopsis = "undo ID... | --last N | --all [--force]",
     .about = "take changes back (with the rest of their action); a value changed since\n"
              "is a conflict: exit status 4 and nothing taken back, unless --force",
     .declare = [](CLI::App& c) -> Action {
       auto a = std::make_shared<UndoRequest>();
       c.add_option("ID", a->ids)->check(positiveNumber());
       c.add_option("--last", a->last)->check(positiveNumber());
       c.add_flag("--all", a->all);
       c.add_flag("--force", a->force);
       c.callback([a] {
         if (a->all + a->last.has_value() + !a->ids.empty() != 1)
           throw CLI::ValidationError("give entry ids, --last N or --all");
       });
       return [a](const std::string& machine) -> int { ON_MACHINE_FOLDER(undoChanges(machine, *a)); };
     }},
    {.name = "changes",
     .synopsis = "changes [FILE] [--msdos FILE]",
     .about = "write what changed since the machine was made as REGEDIT4 (and MsDos.sys\n"
              "when it changed)",
     .declare = [](CLI::App& c) -> Action {
       struct Values {
         std::optional<std::string> file, msdos;
       };
       auto a = std::make_shared<Values>();
       c.add_option("FILE", a->file);
       c.add_option("--msdos", a->msdos);
       return [a](const std::string& machine) -> int {
         ON_MACHINE_FOLDER(writeChanges(machine, a->file, a->msdos));
       };
     }},
};

}  // namespace

int main(int argc, char** argv) {
  try {
#ifdef _WIN32
    // Windows hands argv over in its ANSI code page; the commands take UTF-8.
    return runCommandLine(kCommands, morvin::platform::utf8Arguments());
#else
    return runCommandLine(kCommands, std::vector<std::string>(argv + 1, argv + argc));
#endif
  } catch (const Failure& failure) {
    std::fflush(stdout);
    std::fprintf(stderr, "morvin-reg: %s\n", failure.message.c_str());
    return failure.code;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "morvin-reg: %s\n", failureText(e).c_str());
    return MachineFailure;
  }
}
