// Little-endian reads from a metafile with bounds checks: a record that
// claims more than the file holds throws OutOfRange and is skipped.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace morvin::metafile {

struct OutOfRange : std::runtime_error {
  OutOfRange() : std::runtime_error("metafile record out of range") {}
};

class Bytes {
 public:
  Bytes() = default;
  Bytes(const char* data, std::size_t size) : data_(data), size_(size) {}
  explicit Bytes(const QByteArray& a) : data_(a.constData()), size_(static_cast<std::size_t>(a.size())) {}

  std::size_t size() const { return size_; }
  const char* data() const { return data_; }
  bool has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }

  std::uint8_t u8(std::size_t o) const { return static_cast<std::uint8_t>(at(o, 1)[0]); }
  std::uint16_t u16(std::size_t o) const {
    const char* p = at(o, 2);
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(p[0]) |
                                      (static_cast<std::uint8_t>(p[1]) << 8));
  }
  std::int16_t i16(std::size_t o) const { return static_cast<std::int16_t>(u16(o)); }
  std::uint32_t u32(std::size_t o) const { return u16(o) | (static_cast<std::uint32_t>(u16(o + 2)) << 16); }
  std::int32_t i32(std::size_t o) const { return static_cast<std::int32_t>(u32(o)); }
  float f32(std::size_t o) const {
    const std::uint32_t bits = u32(o);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // A part of this block; throws when it does not fit.
  Bytes sub(std::size_t offset, std::size_t count) const { return Bytes(at(offset, count), count); }
  QByteArray bytes(std::size_t offset, std::size_t count) const {
    return QByteArray(at(offset, count), static_cast<qsizetype>(count));
  }
  // UTF-16LE text of `count` code units.
  QString utf16(std::size_t offset, std::size_t count) const {
    QString s;
    s.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) s.append(QChar(u16(offset + 2 * i)));
    return s;
  }

 private:
  const char* at(std::size_t offset, std::size_t count) const {
    if (!has(offset, count)) throw OutOfRange();
    return data_ + offset;
  }
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace morvin::metafile
