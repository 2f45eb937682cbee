#include "Commands.h"

#include <cstdio>
#include <vector>

#include "FailureText.h"
#include "ValueText.h"
#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "registry/Cp1250.h"
#include "registry/HostProfileStoreFile.h"
#include "registry/RegFile.h"
#include "registry/RegistryStore.h"

namespace morvin::tool {

namespace {

// An argument in cp1250; one with characters the code page lacks would name
// another key, so it is refused.
std::string toCp1250(const std::string& utf8, const char* what) {
  std::string bytes = cp1250::fromUtf8(utf8);
  if (cp1250::toUtf8(bytes) != utf8)
    throw Failure{BadInput, std::string(what) + " \"" + utf8 + "\" has characters outside code page 1250"};
  return bytes;
}

struct KeyName {
  reg::Key root = 0;
  std::string path;  // cp1250
};

KeyName parseKey(const std::string& utf8) {
  KeyName key;
  if (!reg::splitKeyName(toCp1250(utf8, "The key"), true, &key.root, &key.path))
    throw Failure{BadInput, "Unknown root key in \"" + utf8 +
                                "\" (use HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, "
                                "HKEY_CURRENT_CONFIG, HKEY_USERS or HKLM, HKCU, HKCR, HKCC, HKU)"};
  return key;
}

std::string displayName(const KeyName& key) {
  std::string name = reg::rootName(key.root);
  if (!key.path.empty()) name += "\\" + cp1250::toUtf8(key.path);
  return name;
}

reg::RegistryStore& openStore(const std::string& folder) {
  if (!platform::Machine(folder).exists())
    throw Failure{MachineFailure, "There is no machine in " + folder + " (create one with: morvin-reg init)"};
  try {
    platform::openMachine(folder);
    return reg::currentStore();
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
}

void failForStatus(reg::Status status, const std::string& what) {
  if (status == reg::err::FileNotFound) throw Failure{NotFound, what + " does not exist"};
  throw Failure{MachineFailure, what + ": " + reg::describeStatus(status)};
}

// Closes a store handle when the command is done with it.
class OpenKey {
 public:
  OpenKey(reg::RegistryStore& store, const KeyName& name) : store_(store) {
    reg::Status status = store.openKey(name.root, name.path, reg::access::Read, &key_);
    if (status != reg::err::Success) failForStatus(status, "The key " + displayName(name));
  }
  ~OpenKey() { store_.closeKey(key_); }
  reg::Key get() const { return key_; }

 private:
  reg::RegistryStore& store_;
  reg::Key key_ = 0;
};

void printValue(const std::string& name, std::uint32_t type, const std::string& data) {
  std::string shown = name.empty() ? "(Default)" : cp1250::toUtf8(name);
  std::printf("    %s    %s    %s\n", shown.c_str(), typeName(type).c_str(), dataText(type, data).c_str());
}

}  // namespace

ExitCode init(const std::string& machineFolder, const std::string& defaultRegFile) {
  try {
    bool created = platform::provisionMachine(machineFolder, defaultRegFile);
    std::printf(created ? "Created the default machine in %s\n" : "The machine in %s is kept as it is\n",
                machineFolder.c_str());
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
  return Ok;
}

ExitCode initInLanguage(const std::string& machineFolder, const std::string& code) {
  if (code != "en" && code != "pl") throw Failure{BadInput, "init --lang takes en or pl"};
  const auto language = code == "en" ? platform::SystemLanguage::English : platform::SystemLanguage::Polish;
  return init(machineFolder, platform::defaultMachineRegFile(language));
}

ExitCode importFile(const std::string& machineFolder, const std::string& file, bool skipBad) {
  auto bytes = reg::hostfile::readAll(file);
  if (!bytes) throw Failure{BadInput, "Cannot read " + file};
  reg::RegDocument document;
  std::vector<reg::RegSkippedLine> skipped;
  try {
    document = skipBad ? reg::parseRegTextSkippingBadLines(*bytes, skipped) : reg::parseRegText(*bytes);
  } catch (const reg::RegFileError& e) {
    throw Failure{BadInput, file + ": " + cp1250::toUtf8(e.message())};
  }
  reg::RegistryStore& store = openStore(machineFolder);
  try {
    reg::applyRegDocument(store, document);
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
  for (const reg::RegSkippedLine& line : skipped)
    std::fprintf(stderr, "morvin-reg: %s: line %d skipped: %s: %s\n", file.c_str(), line.line,
                 cp1250::toUtf8(line.reason).c_str(), cp1250::toUtf8(line.text).c_str());
  if (skipped.empty()) return Ok;
  std::fprintf(stderr, "morvin-reg: %zu line(s) skipped, the rest was imported\n", skipped.size());
  return LinesSkipped;
}

ExitCode exportKey(const std::string& machineFolder, const std::string& keyArgument,
                   const std::optional<std::string>& file) {
  KeyName key = parseKey(keyArgument);
  reg::RegistryStore& store = openStore(machineFolder);
  reg::RegDocument document;
  reg::Status status = reg::readRegTree(store, key.root, key.path, &document);
  if (status != reg::err::Success) failForStatus(status, "The key " + displayName(key));
  std::string text;
  try {
    text = reg::writeRegText(document);
  } catch (const Exception& e) {
    throw Failure{MachineFailure, failureText(e)};
  }
  writeOutput(file, text);
  return Ok;
}

void writeOutput(const std::optional<std::string>& file, const std::string& text) {
  if (file) {
    if (reg::hostfile::isReadOnly(*file)) throw Failure{MachineFailure, *file + " is read-only"};
    if (!reg::hostfile::writeAtomically(*file, text)) throw Failure{MachineFailure, "Cannot write " + *file};
  } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    throw Failure{MachineFailure, "Cannot write to the standard output"};
  }
}

reg::RegistryStore& openMachineStore(const std::string& machineFolder) {
  return openStore(machineFolder);
}

ExitCode query(const std::string& machineFolder, const std::string& keyArgument,
               const std::optional<std::string>& value) {
  KeyName name = parseKey(keyArgument);
  std::string valueName = value ? toCp1250(*value, "The value name") : std::string();
  reg::RegistryStore& store = openStore(machineFolder);
  OpenKey key(store, name);
  std::printf("%s\n", displayName(name).c_str());

  std::uint32_t type = 0;
  std::string data;
  if (value) {
    const reg::Status status = reg::readWholeValue(store, key.get(), valueName, &type, &data);
    if (status != reg::err::Success)
      failForStatus(status, "The value \"" + *value + "\" of " + displayName(name));
    printValue(valueName, type, data);
    return Ok;
  }

  std::string entry;
  for (std::uint32_t i = 0; store.enumValue(key.get(), i, &entry, &type, &data) == reg::err::Success; ++i)
    printValue(entry, type, data);
  std::vector<std::string> subkeys;
  for (std::uint32_t i = 0; store.enumKey(key.get(), i, &entry) == reg::err::Success; ++i)
    subkeys.push_back(entry);
  if (!subkeys.empty()) std::printf("\n");
  for (const std::string& subkey : subkeys)
    std::printf("%s\\%s\n", displayName(name).c_str(), cp1250::toUtf8(subkey).c_str());
  return Ok;
}

}  // namespace morvin::tool
