// The primary partitions a raw disk image's MBR lists and the FAT volume each
// holds, read from the image's own bytes: every field is hostile and checked
// before it is used. Not part of the Windows build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvin::platform::win9x {

struct Partition {
  int number = 0;  // primary partition 1-4
  std::uint64_t offset = 0, bytes = 0;
  int fatBits = 0;    // 12, 16 or 32, told by the volume's cluster count as Windows tells it
  std::string label;  // the boot sector's volume label (printable ASCII); empty when it has none
  bool operator==(const Partition&) const = default;
};

// A FAT boot sector (512 bytes): a jump, a sane BIOS parameter block, the signature.
bool isFatBootSector(const unsigned char* sector);
// An MBR partition type of a FAT volume (the hidden ones too).
bool isFatPartitionType(unsigned type);

// The FAT partitions of `image`, a raw disk image or a block device, in
// table order; empty for a bare FAT volume (no partition table). An entry
// whose volume is not FAT is left out. Throws DriveError (bad input) for a
// file too short for a boot sector, one holding no FAT volume, and a table
// whose FAT entries begin at sector 0, hold no sectors, reach past the end
// of the image or overlap.
std::vector<Partition> listPartitions(const std::string& image);

}  // namespace morvin::platform::win9x
