// The journal of changes: every real change that reaches the machine's
// registry or its boot options file, with the state before and after, so it
// can be listed, taken back and handed on as a .reg file. The hive store keeps
// the entries inside each hive, in the transaction of the change itself
// (docs/STORE.md, "The journal").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace morvin::reg::journal {

enum class Kind : std::uint8_t {
  Value = 0,    // a registry value: root, path, name
  Key = 1,      // a registry key made or removed: root, path
  Profile = 2,  // a key of a profile file: path (C:\MsDos.sys), section, name
};

// A value's state: absent, or its type and exact bytes. A key's state is just
// present or absent; a profile key's data is its text.
struct State {
  bool present = false;
  std::uint32_t type = 0;
  std::string data;
  bool operator==(const State&) const = default;
};

struct Entry {
  std::int64_t id = 0;     // unique in the machine, see entryId()
  std::int64_t at = 0;     // microseconds since 1970 (UTC)
  std::int64_t group = 0;  // entries made by one action share it (0: the entry alone)
  std::string source;      // what made it, cp1250 ("Sieć", "morvin-reg import")
  Kind kind = Kind::Value;
  std::string root;     // "HKEY_LOCAL_MACHINE" / "HKEY_CURRENT_USER"; empty for a profile
  std::string path;     // key path below the root, or the profile file's Windows path
  std::string section;  // profile entries only
  std::string name;     // value name ("" = default value), or the profile key
  State before;
  State after;
  std::int64_t undoes = 0;  // the entry this one took back, if any
  // A profile entry whose write was cut short: the file may or may not hold
  // `after`. Listings resolve it against the file (see history()).
  bool pending = false;
};

// Ids are unique across both hives: entries kept in SYSTEM.DAT get odd ids,
// those in USER.DAT even ones.
inline std::int64_t entryId(bool userHive, std::int64_t rowId) {
  return rowId * 2 - (userHive ? 0 : 1);
}
inline bool inUserHive(std::int64_t id) {
  return id % 2 == 0;
}
inline std::int64_t rowIdOf(std::int64_t id) {
  return (id + 1) / 2;
}

// What made the changes of this thread: the source fixed for the store call
// under way (see Fixed), else the innermost live Source scope, else the
// provider (the program asks its active window), else the default.
std::string currentSource();
void setSourceProvider(std::function<std::string()> provider);
void setDefaultSource(std::string cp1250Source);
class Source {
 public:
  explicit Source(std::string cp1250Source);
  ~Source();
  Source(const Source&) = delete;
  Source& operator=(const Source&) = delete;

 private:
  std::optional<std::string> previous_;
};

// Fixes the source for the changes of one store call before the call takes
// the store's lock: the provider (which asks the windows) is never called
// while the lock is held. Nested ones keep the outermost's.
class Fixed {
 public:
  Fixed();
  ~Fixed();
  Fixed(const Fixed&) = delete;
  Fixed& operator=(const Fixed&) = delete;

 private:
  bool outermost_;
};

// Entries made while a Group lives share one group number (an import, a tree
// removal, one undo). Nested groups join the outermost.
std::int64_t currentGroup();
class Group {
 public:
  Group();
  ~Group();
  Group(const Group&) = delete;
  Group& operator=(const Group&) = delete;
  std::int64_t id() const;

 private:
  bool outermost_;
};

// While one lives, the entries made are marked as taking back entry `id`.
std::int64_t currentlyUndoing();
class Undoing {
 public:
  explicit Undoing(std::int64_t id);
  ~Undoing();
  Undoing(const Undoing&) = delete;
  Undoing& operator=(const Undoing&) = delete;

 private:
  std::int64_t previous_;
};

// While one lives, this thread records nothing: what provisioning writes is
// the machine's starting point, not a change. Scoped like a Group.
bool suspended();
class Suspended {
 public:
  Suspended();
  ~Suspended();
  Suspended(const Suspended&) = delete;
  Suspended& operator=(const Suspended&) = delete;
};

std::int64_t nowMicros();
// Replaces the clock entries are stamped with (tests step it back); an empty
// function brings the system clock back.
void setClock(std::function<std::int64_t()> clock);

// The identity of an entry's item (kind, root, path, section and name,
// letter case aside) as a 63-bit hash: entries of the same item change the
// same value, key or profile key. What undo planning follows each item's
// state by (two items of one action sharing a hash: about one chance in
// 10^12 at a million items).
std::int64_t itemHash(const Entry& entry);

// Fills in what every new entry takes from the moment it is made: the time,
// the group, the source and the entry being taken back.
void stamp(Entry& entry);

}  // namespace morvin::reg::journal
