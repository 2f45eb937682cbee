// Handing a machine's changes back to the Windows 9x drive it was made from:
// the registry as C:\MORVINNG.REG with a batch file in the Startup folder that
// applies it at the next logon, MSDOS.SYS, and the files the program made. The
// drive's own hives are never written. Not part of the Windows build.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "registry/HiveStore.h"

namespace morvin::platform::win9x {

// The drive one hand-back opened, kept between its runs (the preview's dry
// run, the run, the run again after a conflict is answered), so a virtual
// machine's disk is converted into its scratch copy once. It is used again
// only while the source is the same file, unchanged (device, inode, size,
// modification time), and only after a run that wrote nothing into it;
// otherwise the drive is opened afresh. One thread at a time.
class KeptDrive {
 public:
  // The kept drive when it still fits, else `source` opened anew.
  std::unique_ptr<Drive> open(const std::string& source, int partition);
  // Keeps `drive` (as open() gave it out, nothing written) for the next run.
  void keep(std::unique_ptr<Drive> drive) { drive_ = std::move(drive); }

  // The drive of one run: from `kept` when there is one (else opened), and
  // given back to it when the run ends, unless the run wrote into it.
  class Run {
   public:
    Run(KeptDrive* kept, const std::string& source, int partition);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    Drive& operator*() const { return *drive_; }
    Drive* operator->() const { return drive_.get(); }
    // What the run does from now on writes into the drive: it is not kept.
    void writing() { writing_ = true; }

   private:
    KeptDrive* kept_;
    std::unique_ptr<Drive> drive_;
    bool writing_ = false;
  };

 private:
  struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    bool operator==(const Identity&) const = default;
  };
  static Identity identityOf(const std::string& source);

  std::unique_ptr<Drive> drive_;
  std::string source_;
  int partition_ = 0;
  Identity identity_;
};

struct ApplyOptions {
  std::string target;
  int partition = 0;
  bool dryRun = false;
  bool force = false;         // the machine's state wins over a change made on the drive too
  KeptDrive* kept = nullptr;  // the hand-back's drive, kept between its runs; none: opened each run
};

struct ApplyResult {
  std::vector<std::string> written;   // drive paths, in order; folders end with '/'
  std::vector<std::string> warnings;  // machine files left out, UTF-8, one line each
};

// Writes what changed into the drive: the registry's net change since the
// machine's starting point (journal::changesReg), MSDOS.SYS and the files the
// program made. When the drive's hives changed since, they are read first
// (refreshFromDrive, Win9xRefresh.h). The
// whole hand-back is planned and checked before its first write; each file
// is replaced through a temporary name. Throws DriveError: Fault::Changed
// when the hives differ from the import, or a file changed both on the
// drive and in the machine (a value, MSDOS.SYS, a file), and `force` is unset; Fault::BadInput for a
// target path that cannot be written (a link, a special file, a hive, a
// Startup folder no batch file can stand in); Fault::Failure when the machine
// was not made by importMachine, another apply holds it, or another program
// holds the image. With `kept`, the drive comes from there and goes back
// there unless the run began writing into it.
ApplyResult applyToDrive(const std::string& machineFolder, const ApplyOptions& options,
                         reg::RegistryStore& store);

// The batch file that applies C:\MORVINNG.REG and then deletes the .reg file
// and itself (`batchPath` is its own C:\ path, cp1250), in the OEM code page
// COMMAND.COM reads it in, CR LF, each % doubled. Throws DriveError
// (BadInput) when the path holds a character that code page lacks.
std::string startupBatch(const std::string& batchPath, int oemCodePage);

}  // namespace morvin::platform::win9x
