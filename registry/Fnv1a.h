// The 64-bit FNV-1a hash, fed byte by byte: enough to tell states, names and
// file contents apart, not meant against malice.
#pragma once

#include <cstdint>
#include <string_view>

namespace morvin {

class Fnv1a {
 public:
  void add(unsigned char byte) {
    hash_ ^= byte;
    hash_ *= 1099511628211ull;
  }
  void add(std::string_view bytes) {
    for (unsigned char c : bytes) add(c);
  }
  std::uint64_t value() const { return hash_; }
  // Non-negative, for an SQLite integer.
  std::int64_t positive() const { return static_cast<std::int64_t>(hash_ >> 1); }

 private:
  std::uint64_t hash_ = 14695981039346656037ull;
};

}  // namespace morvin
