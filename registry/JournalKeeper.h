// The journal a registry store keeps, reached beside the store itself:
// RegistryStore::journal() or currentJournal(). A store that keeps none (the
// Windows registry) answers nullptr. Every read is bounded by what is asked:
// pages of the newest entries straight from the index, the entries of chosen
// groups, and each changed item computed by the database.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Journal.h"

namespace morvin::reg::journal {

// Where a listing goes on: below these row ids of each hive (0: from the newest).
struct Page {
  std::int64_t machineBelow = 0;
  std::int64_t userBelow = 0;
};

struct Listing {
  std::vector<Entry> entries;  // newest first
  Page next;                   // where the next page begins
  bool more = false;           // whether older entries are left
};

// An item changed since the starting point as the database sees it: its
// oldest entry and the state its newest entry left it in.
struct ChangedItem {
  Entry first;
  State last;
  bool lastPending = false;
};

// What forget keeps: the entries from `entryId` on (the state before it becomes
// the starting point), else those made at or after `since` (microseconds since
// 1970), else none.
struct ForgetPoint {
  std::optional<std::int64_t> entryId;
  std::optional<std::int64_t> since;
};

class Keeper {
 public:
  virtual ~Keeper() = default;

  // Up to `limit` entries newest first, from `from` on; only those of
  // `source` (cp1250) unless it is empty. Entries of one hive come in the
  // order they were written; the clock only merges the two hives.
  virtual Listing newest(std::size_t limit, const Page& from, const std::string& source) = 0;
  // Every source named by an entry, cp1250, sorted.
  virtual std::vector<std::string> sources() = 0;
  // The entries with these ids and every entry of their groups, newest first;
  // ids not in the journal are left out.
  virtual std::vector<Entry> withGroups(const std::vector<std::int64_t>& ids) = 0;
  // For each entry, the state its item's newest entry left it in: the item's
  // state now as the journal knows it. nullopt for a profile key and for an
  // item whose newest entry is pending (those are read from their files).
  virtual std::vector<std::optional<State>> latestStates(const std::vector<Entry>& entries) = 0;
  // Each item whose oldest `before` differs from its newest `after`, every
  // profile item, and each item whose newest entry is pending.
  virtual std::vector<ChangedItem> changedItems() = 0;

  // For a writer outside the hives (a profile file): records `entry` as
  // pending, on disk, before the write. 0 while the journal is suspended, -1
  // when no hive can keep it (the write must not go ahead).
  virtual std::int64_t addPendingEntry(Entry entry) = 0;
  // After that write: done keeps the entry, not done removes it.
  virtual void settlePendingEntry(std::int64_t id, bool done) = 0;

  // Drops the entries older than `point` and gives their space back to the
  // file system. Returns how many entries went.
  virtual std::int64_t forget(const ForgetPoint& point) = 0;
};

}  // namespace morvin::reg::journal
