#include "Win9xRecord.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "HostFiles.h"
#include "Machine.h"
#include "Win9xDrive.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/Fnv1a.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecordFile = "record.txt";
constexpr const char* kMsDosFile = "MSDOS.SYS";

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The hive files with their side files (SQLite journals), and the boot file.
bool ownedByMachine(const std::string& path) {
  const std::string name = upper(path);
  return name == "MSDOS.SYS" || name.starts_with("WINDOWS/SYSTEM.DAT") ||
         name.starts_with("WINDOWS/USER.DAT");
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A line's tab-separated fields, each unescaped.
std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      out.emplace_back();
    } else if (c == '\\' && i + 1 < line.size()) {
      const char next = line[++i];
      out.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    } else {
      out.back() += c;
    }
  }
  return out;
}

}  // namespace

MachineLock::MachineLock(const std::string& recordFolder) {
  const std::string file = recordFolder + "/lock";
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd_ < 0)
    throw DriveError(cp1250::fromUtf8("Cannot open " + file + ": " + std::strerror(errno)), Fault::Failure);
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd_);
    throw DriveError(
        cp1250::fromUtf8("Another morvin-reg apply or refresh is working on the machine in " +
                         recordFolder.substr(0, recordFolder.rfind('/')) + "; try again when it is done"),
        Fault::Failure);
  }
}

MachineLock::~MachineLock() {
  ::close(fd_);
}

std::uint64_t contentHash(std::string_view bytes) {
  Fnv1a hash;
  hash.add(bytes);
  return hash.value();
}

std::vector<FileState> machineFiles(const std::string& driveC) {
  std::vector<FileState> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(driveC, ec); !ec && it != fs::end(it); it.increment(ec)) {
    const std::string path = fs::relative(it->path(), driveC).generic_string();
    if (it->is_symlink() || ownedByMachine(path)) continue;
    if (it->is_directory()) {
      files.push_back({path, true, 0});
    } else if (it->is_regular_file()) {
      const auto bytes = host::readFile(it->path().string());
      files.push_back({path, false, bytes ? contentHash(*bytes) : 0});
    }
  }
  std::sort(files.begin(), files.end(),
            [](const FileState& a, const FileState& b) { return a.path < b.path; });
  return files;
}

ImportRecord driveMachineRecord(const std::string& machineFolder) {
  const Machine machine(machineFolder);
  std::error_code ec;
  std::optional<ImportRecord> record;
  if (machine.exists() && fs::is_directory(machine.record(), ec)) record = readRecord(machine.record());
  if (!record)
    throw DriveError(
        cp1250::fromUtf8("The machine in " + machineFolder +
                         " was not made from a Windows 9x drive (morvin-reg init --from SOURCE)"),
        Fault::Failure);
  return *record;
}

void writeRecord(const std::string& folder, const ImportRecord& record) {
  std::ostringstream out;
  out << "source\t" << escaped(record.source) << "\n"
      << "windows\t" << escaped(record.windowsFolder) << "\n"
      << "user\t" << escaped(record.user) << "\n"
      << "partition\t" << record.partition << "\n"
      << "msdos\t" << (record.msDosSys ? 1 : 0) << "\t" << record.msDosAttributes << "\n"
      << "handedback\t" << record.handedBack << "\n";
  for (const HiveState& hive : record.hives)
    out << "hive\t" << escaped(hive.path) << "\t" << hive.size << "\t" << hive.hash << "\n";
  for (const FileState& file : record.files)
    out << (file.folder ? "folder\t" : "file\t") << escaped(file.path) << "\t" << file.hash << "\n";
  for (const auto& [path, hash] : record.sent) out << "sent\t" << escaped(path) << "\t" << hash << "\n";

  std::error_code ec;
  fs::create_directories(folder, ec);
  // MSDOS.SYS first: the record that names it is what makes it count.
  const std::string msDos = folder + "/" + kMsDosFile;
  if (record.msDosSys ? !host::writeFileDurably(msDos, *record.msDosSys) : (fs::remove(msDos, ec), false))
    throw Exception("Cannot write " + cp1250::fromUtf8(msDos));
  const std::string file = folder + "/" + kRecordFile;
  const std::string temporary = file + ".new";
  if (!host::writeFileDurably(temporary, out.str()) || (fs::rename(temporary, file, ec), ec))
    throw Exception("Cannot write " + cp1250::fromUtf8(file));
  host::syncFolder(folder);
}

std::optional<ImportRecord> readRecord(const std::string& folder) {
  const auto text = host::readFile(folder + "/" + kRecordFile);
  if (!text) return std::nullopt;
  ImportRecord record;
  bool hasMsDos = false;
  std::stringstream in(*text);
  std::string line;
  try {
    while (std::getline(in, line)) {
      if (line.empty()) continue;
      const auto f = fields(line);
      if (f.empty()) continue;
      const std::string& kind = f[0];
      auto at = [&](size_t i) { return i < f.size() ? f[i] : std::string(); };
      // (a "drive" line of older records is left unread)
      if (kind == "source")
        record.source = at(1);
      else if (kind == "windows")
        record.windowsFolder = at(1);
      else if (kind == "user")
        record.user = at(1);
      else if (kind == "partition")
        record.partition = std::stoi(at(1));
      else if (kind == "msdos")
        hasMsDos = at(1) == "1", record.msDosAttributes = std::stoul(at(2));
      else if (kind == "handedback")
        record.handedBack = std::stoull(at(1));
      else if (kind == "hive")
        record.hives.push_back({at(1), std::stoull(at(2)), std::stoull(at(3))});
      else if (kind == "file" || kind == "folder")
        record.files.push_back({at(1), kind == "folder", std::stoull(at(2))});
      else if (kind == "sent")
        record.sent[at(1)] = std::stoull(at(2));
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (hasMsDos) {
    record.msDosSys = host::readFile(folder + "/" + kMsDosFile);
    if (!record.msDosSys) return std::nullopt;
  }
  return record;
}

}  // namespace morvin::platform::win9x
