#include "TempMachine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "platform/DefaultMachine.h"
#include "platform/HostFileAttributes.h"
#include "platform/MachineState.h"
#include "registry/Cp1250.h"
#include "registry/RegistryStore.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

std::string ansi(const std::string& utf8) {
  return cp1250::fromUtf8(utf8);
}

[[noreturn]] void fail(const std::string& what, const std::string& key, reg::Status status) {
  throw std::runtime_error("TempMachine: " + what + " " + key + " failed with status " +
                           std::to_string(status));
}

bool storesUserXattrs(const std::string& folder) {
  const std::string probe = folder + "/.morvin-xattr-probe-" + std::to_string(::getpid());
  const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool stored = ::fsetxattr(fd, "user.morvin", "1", 1, 0) == 0;
  ::close(fd);
  ::unlink(probe.c_str());
  return stored;
}

// Where test machines go: $MORVIN_TEST_TMPDIR, else a RAM file system that
// keeps xattrs (the hives' durable writes then cost nothing; no test machine
// needs to survive a power cut), else $TMPDIR or /tmp.
const std::string& scratchFolder() {
  static const std::string folder = [] {
    if (const char* chosen = std::getenv("MORVIN_TEST_TMPDIR"); chosen && chosen[0])
      return std::string(chosen);
    if (::access("/dev/shm", W_OK) == 0 && storesUserXattrs("/dev/shm")) return std::string("/dev/shm");
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && tmp[0] ? tmp : "/tmp");
  }();
  return folder;
}

std::string uniqueFolder() {
  std::string pattern = scratchFolder() + "/morvin-machine-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("TempMachine: cannot create " + pattern);
  return pattern;
}

// Write bits back everywhere, so a test that made files read-only cannot
// keep its folder from being removed.
void makeRemovable(const std::string& folder) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
}

// An open key for writing; closed when it goes.
class OpenKey {
 public:
  OpenKey(reg::Key root, const std::string& key, bool create) : store_(reg::currentStore()) {
    const reg::Status status = create ? store_.createKey(root, ansi(key), reg::access::AllAccess, &handle_)
                                      : store_.openKey(root, ansi(key), reg::access::Read, &handle_);
    if (status != reg::err::Success) handle_ = 0;
    status_ = status;
  }
  ~OpenKey() {
    if (handle_) store_.closeKey(handle_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  bool ok() const { return handle_ != 0; }
  reg::Status status() const { return status_; }
  reg::Key handle() const { return handle_; }
  reg::RegistryStore& store() { return store_; }

 private:
  reg::RegistryStore& store_;
  reg::Key handle_ = 0;
  reg::Status status_ = 0;
};

void setRaw(reg::Key root, const std::string& key, const std::string& name, std::uint32_t type,
            const std::string& bytes) {
  OpenKey k(root, key, true);
  if (!k.ok()) fail("creating", key, k.status());
  const reg::Status status =
      k.store().setValue(k.handle(), ansi(name), type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                         static_cast<std::uint32_t>(bytes.size()));
  if (status != reg::err::Success) fail("setting a value of", key, status);
}

void deleteTreeBelow(reg::RegistryStore& store, reg::Key key) {
  std::vector<std::string> children;
  std::string name;
  for (std::uint32_t i = 0; store.enumKey(key, i, &name) == reg::err::Success; ++i) children.push_back(name);
  for (const std::string& child : children) {
    reg::Key handle = 0;
    if (store.openKey(key, child, reg::access::AllAccess, &handle) != reg::err::Success) continue;
    deleteTreeBelow(store, handle);
    store.closeKey(handle);
    store.deleteKey(key, child);
  }
}

// The default machine, provisioned once per test process and copied for each
// test: provisioning costs a durable import, a copy costs almost nothing.
class DefaultTemplate {
 public:
  explicit DefaultTemplate(platform::SystemLanguage language) : folder_(uniqueFolder()) {
    platform::provisionMachine(folder_, platform::defaultMachineRegFile(language));
  }
  ~DefaultTemplate() {
    makeRemovable(folder_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::string driveC() const { return folder_ + "/drive_c"; }

 private:
  std::string folder_;
};

void copyDefaultMachine(const std::string& driveC, platform::SystemLanguage language) {
  // Each made on its first use only.
  auto polish = []() -> const DefaultTemplate& {
    static DefaultTemplate machine(platform::SystemLanguage::Polish);
    return machine;
  };
  auto english = []() -> const DefaultTemplate& {
    static DefaultTemplate machine(platform::SystemLanguage::English);
    return machine;
  };
  const DefaultTemplate& source = language == platform::SystemLanguage::English ? english() : polish();
  fs::copy(source.driveC(), driveC, fs::copy_options::recursive);
  // A copy keeps the write bits but not the xattr.
  platform::setHostFileAttributes(driveC + "/MsDos.sys",
                                  platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System);
}

}  // namespace

TempMachine::TempMachine(Content content, platform::MachineOptions options) : folder_(uniqueFolder()) {
  try {
    if (content != Content::Empty) {
      copyDefaultMachine(driveC(), content == Content::English ? platform::SystemLanguage::English
                                                               : platform::SystemLanguage::Polish);
    } else {
      fs::create_directories(driveC() + "/WINDOWS");
    }
    platform::openMachine(folder_, options);
  } catch (...) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
    throw;
  }
}

TempMachine::~TempMachine() {
  const platform::Machine* machine = platform::currentMachineOrNull();
  if (machine && machine->folder() == folder_) platform::closeCurrentMachine();
  makeRemovable(folder_);
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void TempMachine::reopen(platform::MachineOptions options) {
  // The old store goes first, so the new one is the only one holding the hives.
  platform::closeCurrentMachine();
  platform::openMachine(folder_, options);
}

void TempMachine::setDword(reg::Key root, const std::string& key, const std::string& name, std::uint32_t v) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  setRaw(root, key, name, reg::type::Dword, bytes);
}

void TempMachine::setString(reg::Key root, const std::string& key, const std::string& name,
                            const std::string& v, std::uint32_t type) {
  setRaw(root, key, name, type, ansi(v) + '\0');
}

void TempMachine::setBinary(reg::Key root, const std::string& key, const std::string& name,
                            const std::string& bytes) {
  setRaw(root, key, name, reg::type::Binary, bytes);
}

void TempMachine::createKey(reg::Key root, const std::string& key) {
  OpenKey k(root, key, true);
  if (!k.ok()) fail("creating", key, k.status());
}

void TempMachine::deleteTree(reg::Key root, const std::string& key) {
  reg::RegistryStore& store = reg::currentStore();
  reg::Key handle = 0;
  const reg::Status status = store.openKey(root, ansi(key), reg::access::AllAccess, &handle);
  if (status == reg::err::FileNotFound) return;
  if (status != reg::err::Success) fail("opening", key, status);
  deleteTreeBelow(store, handle);
  store.closeKey(handle);
  const reg::Status deleted = store.deleteKey(root, ansi(key));
  if (deleted != reg::err::Success) fail("deleting", key, deleted);
}

bool TempMachine::keyExists(reg::Key root, const std::string& key) {
  return OpenKey(root, key, false).ok();
}

bool TempMachine::valueExists(reg::Key root, const std::string& key, const std::string& name) {
  return value(root, key, name, nullptr, nullptr);
}

bool TempMachine::value(reg::Key root, const std::string& key, const std::string& name, std::uint32_t* type,
                        std::string* bytes) {
  OpenKey k(root, key, false);
  if (!k.ok()) return false;
  std::uint32_t valueType = 0;
  std::string data;
  if (reg::readWholeValue(k.store(), k.handle(), ansi(name), &valueType, &data) != reg::err::Success)
    return false;
  if (type) *type = valueType;
  if (bytes) *bytes = std::move(data);
  return true;
}

std::int64_t TempMachine::dword(reg::Key root, const std::string& key, const std::string& name) {
  std::uint32_t type = 0;
  std::string bytes;
  if (!value(root, key, name, &type, &bytes) || type != reg::type::Dword || bytes.size() != 4) return -1;
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
  return v;
}

std::string TempMachine::string(reg::Key root, const std::string& key, const std::string& name) {
  std::uint32_t type = 0;
  std::string bytes;
  if (!value(root, key, name, &type, &bytes) || (type != reg::type::Sz && type != reg::type::ExpandSz))
    return {};
  return cp1250::toUtf8(bytes.substr(0, bytes.find('\0')));
}

}  // namespace morvin::test
