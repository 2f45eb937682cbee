// The MBR of a raw disk image and the FAT boot sectors its partitions begin with.
#include "Win9xPartitions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Win9xDrive.h"
#include "registry/Cp1250.h"

namespace morvin::platform::win9x {

namespace {

constexpr std::uint64_t kSector = 512;

std::uint32_t le16(const unsigned char* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const unsigned char* p) {
  return le16(p) | le16(p + 2) << 16;
}

// FAT12, 16 or 32 by the count of data clusters, the one rule Windows goes
// by; 0 when the parameter block's numbers do not add up.
int fatBitsOf(const unsigned char* s) {
  const std::uint64_t bytesPerSector = le16(s + 11), perCluster = s[13], reserved = le16(s + 14),
                      fats = s[16], rootEntries = le16(s + 17);
  const std::uint64_t total = le16(s + 19) ? le16(s + 19) : le32(s + 32);
  const std::uint64_t fatSectors = le16(s + 22) ? le16(s + 22) : le32(s + 36);
  const std::uint64_t rootSectors = (rootEntries * 32 + bytesPerSector - 1) / bytesPerSector;
  const std::uint64_t meta = reserved + fats * fatSectors + rootSectors;
  if (fatSectors == 0 || total <= meta) return 0;
  const std::uint64_t clusters = (total - meta) / perCluster;
  return clusters < 4085 ? 12 : clusters < 65525 ? 16 : 32;
}

// The label of the extended parameter block, when the block is there.
std::string labelOf(const unsigned char* s, int fatBits) {
  const unsigned char* block = s + (fatBits == 32 ? 64 : 36);
  if (block[2] != 0x29) return {};
  std::string label;
  for (int i = 0; i < 11; ++i) {
    const unsigned char c = block[7 + i];
    label += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  while (!label.empty() && label.back() == ' ') label.pop_back();
  return label == "NO NAME" ? std::string() : label;
}

class Image {
 public:
  explicit Image(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) refuse(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)))
      refuse("is neither a folder nor a disk image");
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    size_ = end < 0 ? 0 : static_cast<std::uint64_t>(end);
  }
  ~Image() { ::close(fd_); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  std::uint64_t size() const { return size_; }
  // One sector; false when the image ends before it does.
  bool read(std::uint64_t at, unsigned char* sector) const {
    if (at > size_ || size_ - at < kSector) return false;
    for (size_t done = 0; done < kSector;) {
      const ssize_t n = ::pread(fd_, sector + done, kSector - done, static_cast<off_t>(at + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }
  [[noreturn]] void refuse(const std::string& why) const {
    throw DriveError(cp1250::fromUtf8(path_ + ": " + why), Fault::BadInput);
  }

 private:
  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace

bool isFatBootSector(const unsigned char* s) {
  const std::uint32_t bytesPerSector = le16(s + 11), sectorsPerCluster = s[13];
  return (s[0] == 0xEB || s[0] == 0xE9) && s[510] == 0x55 && s[511] == 0xAA &&
         (bytesPerSector == 512 || bytesPerSector == 1024 || bytesPerSector == 2048 ||
          bytesPerSector == 4096) &&
         sectorsPerCluster != 0 && (sectorsPerCluster & (sectorsPerCluster - 1)) == 0 && le16(s + 14) >= 1 &&
         (s[16] == 1 || s[16] == 2);
}

bool isFatPartitionType(unsigned type) {
  switch (type & ~0x10u) {  // 0x1X: the same types hidden
    case 0x01:
    case 0x04:
    case 0x06:
    case 0x0B:
    case 0x0C:
    case 0x0E:
      return true;
    default:
      return false;
  }
}

std::vector<Partition> listPartitions(const std::string& path) {
  const Image image(path);
  unsigned char mbr[kSector] = {};
  if (!image.read(0, mbr)) image.refuse("is not a disk image (too short)");
  if (isFatBootSector(mbr)) return {};
  if (mbr[510] != 0x55 || mbr[511] != 0xAA) image.refuse("holds no FAT volume");

  std::vector<Partition> partitions;
  std::vector<std::pair<int, std::pair<std::uint64_t, std::uint64_t>>> extents;  // number, [begin, end)
  for (int number = 1; number <= 4; ++number) {
    const unsigned char* entry = mbr + 446 + (number - 1) * 16;
    if (!isFatPartitionType(entry[4])) continue;
    const std::string name = "partition " + std::to_string(number);
    const std::uint64_t start = le32(entry + 8), count = le32(entry + 12);
    if (start == 0) image.refuse(name + " begins in the partition table's own sector");
    if (count == 0) image.refuse(name + " holds no sectors");
    // 32-bit fields: their product and sum fit in 64 bits.
    if ((start + count) * kSector > image.size())
      image.refuse(name + " reaches past the end of the image (sector " + std::to_string(start + count) +
                   " of " + std::to_string(image.size() / kSector) + ")");
    for (const auto& [before, extent] : extents)
      if (start * kSector < extent.second && extent.first < (start + count) * kSector)
        image.refuse(name + " overlaps partition " + std::to_string(before));
    extents.push_back({number, {start * kSector, (start + count) * kSector}});
    unsigned char boot[kSector] = {};
    if (!image.read(start * kSector, boot) || !isFatBootSector(boot)) continue;
    const int bits = fatBitsOf(boot);
    if (bits == 0) continue;
    partitions.push_back({number, start * kSector, count * kSector, bits, labelOf(boot, bits)});
  }
  if (partitions.empty()) image.refuse("holds no FAT volume");
  return partitions;
}

}  // namespace morvin::platform::win9x
