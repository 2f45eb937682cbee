// Reading a Windows 9x hive: libcreg's errors as text (section 1), the key
// table checked before libcreg walks it (section 2), the tree read without
// recursion (section 3), and the entry points (section 4).
#include "Win9xHive.h"

#include <fcntl.h>
#include <libcreg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "Cp1250.h"

namespace morvin::reg::win9x {
namespace {

// ---- 1. libcreg's errors ------------------------------------------------

// libcreg's error as text (its messages are ASCII), freed on the way.
std::string takeError(libcreg_error_t*& error) {
  std::string text;
  if (error) {
    char buffer[4096] = {};
    if (libcreg_error_backtrace_sprint(error, buffer, sizeof buffer) > 0) text = buffer;
    libcreg_error_free(&error);
  }
  // The chain runs from the cause (first line) to the call we made (last);
  // both, without libcreg's function names, say what was wrong.
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (auto colon = line.find(": "); colon != std::string::npos) line.erase(0, colon + 2);
    while (!line.empty() && (line.back() == '.' || line.back() == ' ' || line.back() == '\r'))
      line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  if (lines.empty()) return {};
  text = lines.back();
  if (lines.size() > 1) text += ": " + lines.front();
  return text;
}

struct File {
  libcreg_file_t* handle = nullptr;
  ~File() {
    if (!handle) return;
    libcreg_file_close(handle, nullptr);
    libcreg_file_free(&handle, nullptr);
  }
};

struct KeyHandle {
  libcreg_key_t* handle = nullptr;
  KeyHandle() = default;
  KeyHandle(KeyHandle&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (handle) libcreg_key_free(&handle, nullptr);
  }
};

struct ValueHandle {
  libcreg_value_t* handle = nullptr;
  ~ValueHandle() {
    if (handle) libcreg_value_free(&handle, nullptr);
  }
};

// ---- 3. The key tree ----------------------------------------------------

// Names as Windows 9x compares them: ASCII letters without regard to case.
std::string asciiUpper(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

class Reader {
 public:
  Reader(const std::string& path, Key root, RegDocument& document)
      : path_(path), root_(root), document_(document) {}

  [[noreturn]] void fail(const std::string& what) { throw HiveError(cp1250::fromUtf8(path_) + ": " + what); }
  void check(int result, libcreg_error_t*& error, const std::string& what) {
    if (result != 1) fail(what + (error ? " (" + takeError(error) + ")" : std::string()));
  }

  // Names as stored, without the terminating NULs. A NUL inside a name is
  // refused: cut there, two names would become one.
  template <typename Handle, typename SizeFn, typename NameFn>
  std::string name(Handle* handle, SizeFn sizeFn, NameFn nameFn, const std::string& where) {
    libcreg_error_t* error = nullptr;
    size_t size = 0;
    check(sizeFn(handle, &size, &error), error, "the hive is damaged: a name cannot be read");
    std::string bytes(size, '\0');
    if (size > 0)
      check(nameFn(handle, reinterpret_cast<uint8_t*>(bytes.data()), size, &error), error,
            "the hive is damaged: a name cannot be read");
    while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    if (bytes.find('\0') != std::string::npos)
      fail("the hive is damaged: a name " + where + " holds a NUL byte (\"" +
           bytes.substr(0, bytes.find('\0')) + "\\0...\")");
    return bytes;
  }
  std::string keyName(libcreg_key_t* key, const std::string& parent) {
    const std::string where = "under \"" + parent + "\"";
    std::string bytes = name(key, libcreg_key_get_name_size, libcreg_key_get_name, where);
    if (bytes.empty()) fail("the hive is damaged: a key " + where + " has no name");
    if (bytes.find('\\') != std::string::npos)
      fail("the hive is damaged: the key name \"" + bytes + "\" " + where + " holds a backslash");
    return bytes;
  }

  // The tree below `top` in the order a recursive walk gives, with a stack
  // of its own: depth is bounded by kDeepestKey, not by the thread's stack.
  void readTree(KeyHandle& top) {
    struct Open {
      KeyHandle key;
      std::string path;
      int subKeys = 0, next = 0;
      std::set<std::string> names;  // of the subkeys read, as Windows 9x compares them
    };
    std::vector<Open> stack;
    stack.push_back({});
    std::swap(stack.back().key.handle, top.handle);
    stack.back().subKeys = readKey(stack.back().key.handle, "");
    while (!stack.empty()) {
      Open& open = stack.back();
      if (open.next == open.subKeys) {
        stack.pop_back();
        continue;
      }
      libcreg_error_t* error = nullptr;
      KeyHandle sub;
      check(libcreg_key_get_sub_key_by_index(open.key.handle, open.next++, &sub.handle, &error), error,
            "the hive is damaged: a subkey of \"" + open.path + "\" cannot be read");
      if (static_cast<int>(stack.size()) > kDeepestKey)
        fail("the hive is damaged: its keys lie deeper than " + std::to_string(kDeepestKey) + " levels");
      const std::string subName = keyName(sub.handle, open.path);
      // Two keys of one name would become one.
      if (!open.names.insert(asciiUpper(subName)).second)
        fail("the hive is damaged: \"" + open.path + "\" holds two keys named \"" + subName + "\"");
      const std::string path = open.path.empty() ? subName : open.path + "\\" + subName;
      const int subKeys = readKey(sub.handle, path);
      stack.push_back({});
      std::swap(stack.back().key.handle, sub.handle);
      stack.back().path = path;
      stack.back().subKeys = subKeys;
    }
  }

  // One key's values into the document; returns how many subkeys it has.
  int readKey(libcreg_key_t* key, const std::string& path) {
    libcreg_error_t* error = nullptr;
    if (libcreg_key_is_corrupted(key, &error) == 1) fail("the hive is damaged at key \"" + path + "\"");
    takeError(error);
    RegKeyEntry entry{.root = root_, .path = path, .values = {}};
    int values = 0;
    check(libcreg_key_get_number_of_values(key, &values, &error), error, "the hive is damaged");
    for (int i = 0; i < values; ++i) {
      ValueHandle value;
      check(libcreg_key_get_value_by_index(key, i, &value.handle, &error), error,
            "the hive is damaged: a value of \"" + path + "\" cannot be read");
      RegValueEntry v;
      v.name = name(value.handle, libcreg_value_get_name_size, libcreg_value_get_name, "of \"" + path + "\"");
      check(libcreg_value_get_value_type(value.handle, &v.type, &error), error, "the hive is damaged");
      size_t size = 0;
      check(libcreg_value_get_value_data_size(value.handle, &size, &error), error, "the hive is damaged");
      v.data.resize(size);
      if (size > 0)
        check(libcreg_value_get_value_data(value.handle, reinterpret_cast<uint8_t*>(v.data.data()), size,
                                           &error),
              error, "the hive is damaged: the data of \"" + v.name + "\" cannot be read");
      v.data = asWindowsReadsIt(v.type, std::move(v.data));
      entry.values.push_back(std::move(v));
    }
    if (!path.empty() || !entry.values.empty()) document_.keys.push_back(std::move(entry));
    int subKeys = 0;
    check(libcreg_key_get_number_of_sub_keys(key, &subKeys, &error), error, "the hive is damaged");
    return subKeys;
  }

 private:
  const std::string& path_;
  Key root_;
  RegDocument& document_;
};

// ---- 2. The file's frame and key table, before libcreg reads them -------

// Little-endian numbers read with pread, so only the parts that frame the
// file are ever in memory.
class Frame {
 public:
  Frame(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  std::uint64_t size() const { return size_; }
  // ~0 past the end of the file.
  std::uint64_t u32(std::uint64_t at) const {
    unsigned char b[4];
    if (at + 4 > size_ || ::pread(fd_, b, 4, static_cast<off_t>(at)) != 4) return ~0ull;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint64_t>(b[3]) << 24;
  }
  bool holds(std::uint64_t at, const char* tag) const {
    char b[4];
    return at + 4 <= size_ && ::pread(fd_, b, 4, static_cast<off_t>(at)) == 4 && std::memcmp(b, tag, 4) == 0;
  }
  std::string read(std::uint64_t at, std::uint64_t length) const {
    std::string bytes(length, '\0');
    if (::pread(fd_, bytes.data(), length, static_cast<off_t>(at)) != static_cast<ssize_t>(length)) return {};
    return bytes;
  }

 private:
  int fd_;
  std::uint64_t size_;
};

constexpr std::uint64_t kKeyTable = 32;  // where RGKN begins
constexpr std::uint64_t kKeyEntrySize = 28;
constexpr std::uint64_t kNoKey = 0xFFFFFFFF;

// Why the file cannot be whole: libcreg reads what there is of a cut-off file
// without a word, and follows a key table's links wherever they lead. Empty
// when the frame holds: the declared sizes fit the file, and every key link
// leads to an entry of the table, each entry reached once, none deeper than
// kDeepestKey.
std::string frameFault(const Frame& file) {
  if (file.size() < kKeyTable + 32 || !file.holds(kKeyTable, "RGKN"))
    return "the file ends inside its key table";
  const std::uint64_t tableSize = file.u32(kKeyTable + 4);
  if (tableSize < 32 || kKeyTable + tableSize > file.size()) return "the file ends inside its key table";
  std::uint64_t block = file.u32(8);
  const std::uint64_t blocks = file.u32(16) & 0xFFFF;
  for (std::uint64_t i = 0; i < blocks; ++i) {
    const std::uint64_t blockSize = file.u32(block + 4);
    if (!file.holds(block, "RGDB") || blockSize < 32 || block + blockSize > file.size())
      return "the file ends inside data block " + std::to_string(i);
    block += blockSize;
  }
  const std::string table = file.read(kKeyTable, tableSize);
  auto u32 = [&](std::uint64_t at) -> std::uint64_t {
    return static_cast<unsigned char>(table[at]) | static_cast<unsigned char>(table[at + 1]) << 8 |
           static_cast<unsigned char>(table[at + 2]) << 16 |
           static_cast<std::uint64_t>(static_cast<unsigned char>(table[at + 3])) << 24;
  };
  const std::uint64_t root = u32(8);
  if (root == kNoKey) return {};
  std::vector<bool> seen(tableSize);
  std::vector<std::pair<std::uint64_t, int>> pending = {{root, 0}};  // entry, depth
  while (!pending.empty()) {
    const auto [at, depth] = pending.back();
    pending.pop_back();
    if (at < 32 || at + kKeyEntrySize > tableSize) return "a key link leads outside the key table";
    if (seen[at]) return "its keys form a loop";
    seen[at] = true;
    if (depth > kDeepestKey) return "its keys lie deeper than " + std::to_string(kDeepestKey) + " levels";
    if (const std::uint64_t next = u32(at + 20); next != kNoKey) pending.push_back({next, depth});
    if (const std::uint64_t child = u32(at + 16); child != kNoKey) pending.push_back({child, depth + 1});
  }
  return {};
}

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

// ---- 4. Entry points ---------------------------------------------------

std::string asWindowsReadsIt(std::uint32_t type, std::string stored) {
  constexpr std::uint32_t kText = 1, kExpandableText = 2, kTexts = 7;
  if ((type == kText || type == kExpandableText) && !stored.ends_with('\0')) stored += '\0';
  if (type == kTexts) {
    // The list ends with an empty string: its NUL follows the last text's NUL.
    if (!stored.ends_with('\0')) stored += '\0';
    if (stored.size() > 1 && !stored.ends_with(std::string(2, '\0'))) stored += '\0';
  }
  return stored;
}

RegDocument readHive(const std::string& path, const std::string& subKey, Key root,
                     const std::string& shownName) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const std::string why = fd < 0
                                ? (errno == ELOOP ? "is a link, which is not followed" : std::strerror(errno))
                                : "is not a regular file";
    if (fd >= 0) ::close(fd);
    throw HiveError(cp1250::fromUtf8(shownName) + ": " + cp1250::fromUtf8(why));
  }
  struct Closing {
    int fd;
    ~Closing() { ::close(fd); }
  } closing{fd};
  return readHive(fd, subKey, root, shownName);
}

RegDocument readHive(int fd, const std::string& subKey, Key root, const std::string& shownName) {
  RegDocument document;
  Reader reader(shownName, root, document);
  struct stat st {};
  if (::fstat(fd, &st) != 0) reader.fail(std::string("cannot be read (") + std::strerror(errno) + ")");
  if (static_cast<std::uint64_t>(st.st_size) > kLargestHive)
    reader.fail("is larger than " + std::to_string(kLargestHive >> 20) +
                " MB, more than any Windows 9x hive");
  // libcreg opens by name: the descriptor's own name, whatever the path now leads to.
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  libcreg_error_t* error = nullptr;
  const int signature = libcreg_check_file_signature(path.c_str(), &error);
  if (signature == -1) reader.fail("cannot be read (" + takeError(error) + ")");
  if (signature == 0) reader.fail("is not a Windows 9x registry file");

  if (const std::string fault = frameFault(Frame(fd, static_cast<std::uint64_t>(st.st_size))); !fault.empty())
    reader.fail("the hive is damaged (" + fault + ")");
  File file;
  reader.check(libcreg_file_initialize(&file.handle, &error), error, "cannot be read");
  if (libcreg_file_open(file.handle, path.c_str(), LIBCREG_OPEN_READ, &error) != 1) {
    libcreg_file_free(&file.handle, nullptr);
    reader.fail("the hive is damaged (" + takeError(error) + ")");
  }
  if (libcreg_file_is_corrupted(file.handle, &error) == 1) reader.fail("the hive is damaged");
  takeError(error);

  KeyHandle key;
  const int hasRoot = libcreg_file_get_root_key(file.handle, &key.handle, &error);
  if (hasRoot == -1) reader.fail("the hive is damaged (" + takeError(error) + ")");
  if (hasRoot == 0) {
    if (!subKey.empty()) reader.fail("has no key \"" + subKey + "\"");
    return document;
  }
  // The subkey is found by walking the tree: names as stored, compared the
  // way Windows 9x compares them (ASCII letters without regard to case).
  size_t start = 0;
  while (start < subKey.size()) {
    const size_t end = std::min(subKey.find('\\', start), subKey.size());
    const std::string part = subKey.substr(start, end - start);
    int count = 0;
    reader.check(libcreg_key_get_number_of_sub_keys(key.handle, &count, &error), error,
                 "the hive is damaged");
    KeyHandle found;
    for (int i = 0; i < count && !found.handle; ++i) {
      KeyHandle sub;
      reader.check(libcreg_key_get_sub_key_by_index(key.handle, i, &sub.handle, &error), error,
                   "the hive is damaged");
      if (sameName(reader.keyName(sub.handle, subKey.substr(0, start)), part))
        std::swap(found.handle, sub.handle);
    }
    if (!found.handle) reader.fail("has no key \"" + subKey + "\"");
    std::swap(key.handle, found.handle);
    start = end + 1;
  }
  reader.readTree(key);
  return document;
}

}  // namespace morvin::reg::win9x
