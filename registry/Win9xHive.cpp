#include "Win9xHive.h"

#include <libcreg.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "Cp1250.h"

namespace morvin::reg::win9x {
namespace {

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

class Reader {
 public:
  Reader(const std::string& path, Key root, RegDocument& document)
      : path_(path), root_(root), document_(document) {}

  [[noreturn]] void fail(const std::string& what) { throw HiveError(cp1250::fromUtf8(path_) + ": " + what); }
  void check(int result, libcreg_error_t*& error, const std::string& what) {
    if (result != 1) fail(what + (error ? " (" + takeError(error) + ")" : std::string()));
  }

  // Names as stored: the bytes up to the terminating NUL libcreg adds.
  template <typename Handle, typename SizeFn, typename NameFn>
  std::string name(Handle* handle, SizeFn sizeFn, NameFn nameFn) {
    libcreg_error_t* error = nullptr;
    size_t size = 0;
    check(sizeFn(handle, &size, &error), error, "the hive is damaged: a name cannot be read");
    std::string bytes(size, '\0');
    if (size > 0)
      check(nameFn(handle, reinterpret_cast<uint8_t*>(bytes.data()), size, &error), error,
            "the hive is damaged: a name cannot be read");
    if (auto nul = bytes.find('\0'); nul != std::string::npos) bytes.resize(nul);
    return bytes;
  }

  void readKey(libcreg_key_t* key, const std::string& path) {
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
      v.name = name(value.handle, libcreg_value_get_name_size, libcreg_value_get_name);
      check(libcreg_value_get_value_type(value.handle, &v.type, &error), error, "the hive is damaged");
      size_t size = 0;
      check(libcreg_value_get_value_data_size(value.handle, &size, &error), error, "the hive is damaged");
      v.data.resize(size);
      if (size > 0)
        check(libcreg_value_get_value_data(value.handle, reinterpret_cast<uint8_t*>(v.data.data()), size,
                                           &error),
              error, "the hive is damaged: the data of \"" + v.name + "\" cannot be read");
      entry.values.push_back(std::move(v));
    }
    if (!path.empty() || !entry.values.empty()) document_.keys.push_back(std::move(entry));

    int subKeys = 0;
    check(libcreg_key_get_number_of_sub_keys(key, &subKeys, &error), error, "the hive is damaged");
    for (int i = 0; i < subKeys; ++i) {
      KeyHandle sub;
      check(libcreg_key_get_sub_key_by_index(key, i, &sub.handle, &error), error,
            "the hive is damaged: a subkey of \"" + path + "\" cannot be read");
      const std::string subName = name(sub.handle, libcreg_key_get_name_size, libcreg_key_get_name);
      readKey(sub.handle, path.empty() ? subName : path + "\\" + subName);
    }
  }

 private:
  const std::string& path_;
  Key root_;
  RegDocument& document_;
};

// libcreg reads what there is of a cut-off file without a word; the sizes
// the file declares say whether it is whole.
std::string truncation(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) -> std::uint64_t {
    if (at + 4 > bytes.size()) return ~0ull;
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
           static_cast<unsigned char>(bytes[at + 2]) << 16 |
           static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
  };
  const std::uint64_t navigationEnd = 32 + u32(36);
  if (bytes.size() < 64 || bytes.compare(32, 4, "RGKN") != 0 || navigationEnd > bytes.size())
    return "the file ends inside its key table";
  std::uint64_t block = u32(8);
  const std::uint64_t blocks = u32(16) & 0xFFFF;
  for (std::uint64_t i = 0; i < blocks; ++i) {
    if (block + 8 > bytes.size() || bytes.compare(block, 4, "RGDB") != 0 ||
        block + u32(block + 4) > bytes.size())
      return "the file ends inside data block " + std::to_string(i);
    block += u32(block + 4);
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

RegDocument readHive(const std::string& path, const std::string& subKey, Key root,
                     const std::string& shownName) {
  RegDocument document;
  Reader reader(shownName, root, document);
  libcreg_error_t* error = nullptr;
  const int signature = libcreg_check_file_signature(path.c_str(), &error);
  if (signature == -1) reader.fail("cannot be read (" + takeError(error) + ")");
  if (signature == 0) reader.fail("is not a Windows 9x registry file");

  if (const std::string cut = truncation(path); !cut.empty())
    reader.fail("the hive is damaged (" + cut + ")");
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
      if (sameName(reader.name(sub.handle, libcreg_key_get_name_size, libcreg_key_get_name), part))
        std::swap(found.handle, sub.handle);
    }
    if (!found.handle) reader.fail("has no key \"" + subKey + "\"");
    std::swap(key.handle, found.handle);
    start = end + 1;
  }
  reader.readKey(key.handle, "");
  return document;
}

}  // namespace morvin::reg::win9x
