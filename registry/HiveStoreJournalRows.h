// How a hive packs its journal (docs/STORE.md, "Where it lives"): the
// entries of one action on one key share one row, each entry a few packed
// fields; each key's items are summed up in one row of their own. Packing and
// unpacking only, no SQL. The bytes come from a file: every read is checked
// and a malformed blob is reported as a damaged database.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Journal.h"

namespace morvin::reg::hive::rows {

// The place of an item: its root, key path and profile section, letter case
// aside. Items of one place share a summary and, written together, a row.
std::string placeOf(const journal::Entry& entry);
// The key of a place's summary row (several places may share one).
std::int64_t placeHash(std::string_view place);
// The item within its place: kind and name, letter case aside.
std::string itemOf(const journal::Entry& entry);

// Appends what is an entry's own (kind, name, both states, the entry taken
// back) to a row's packed entries.
void pack(const journal::Entry& entry, std::string& packed);
// The `count` entries of a row, oldest first, each a copy of `shared` (the
// row's fields) with its own fields filled in. Throws sqlite::Error
// (SQLITE_CORRUPT) when the blob does not hold exactly `count` entries.
void unpack(std::string_view packed, std::int64_t count, const journal::Entry& shared,
            std::vector<journal::Entry>& out);

// A state as the summary compares it: a key by being there, a value by type
// and bytes; a profile key never matches (it is always read from its file).
std::int64_t signature(const journal::Entry& entry, bool before);
std::int64_t signature(journal::Kind kind, const journal::State& state, bool before);

// One item's oldest and newest entry (row numbers), the oldest `before`
// signed, and whether the newest `after` differs from it.
struct ItemEnds {
  std::string item;  // itemOf
  std::int64_t firstRow = 0;
  std::int64_t firstSig = 0;
  std::int64_t lastRow = 0;
  bool endsDiffer = false;
  bool lastPending = false;
  bool changed() const { return endsDiffer || lastPending; }
};
// A place with its items, sorted by item; a summary row holds every place
// of one hash (nearly always one). Unpacking throws sqlite::Error
// (SQLITE_CORRUPT) on a malformed blob.
struct PlaceItems {
  std::string place;
  std::vector<ItemEnds> items;
};
std::string packPlaces(const std::vector<PlaceItems>& places);
void unpackPlaces(std::string_view packed, std::vector<PlaceItems>& out);
// The items of `place` in `places`, added when missing.
std::vector<ItemEnds>& itemsOf(std::vector<PlaceItems>& places, const std::string& place);

// The items one transaction touched, by place: each entry's mark on its item,
// in the order written. They meet the stored summary when the transaction
// ends, place by place, both sorted by item (no lookups one by one).
class Touched {
 public:
  struct Touch {
    std::string item;  // itemOf
    std::int64_t row = 0;
    std::int64_t beforeSig = 0;
    std::int64_t afterSig = 0;
    bool pending = false;
  };
  using Place = std::vector<Touch>;
  Touched() = default;
  Touched(const Touched&) = delete;  // remembers where the last touch went
  Touched& operator=(const Touched&) = delete;
  Touched(Touched&&) = default;
  Touched& operator=(Touched&&) = default;
  void touch(const std::string& place, const journal::Entry& entry, std::int64_t row);
  const std::map<std::string, Place>& places() const { return places_; }
  bool empty() const { return places_.empty(); }
  std::size_t size() const { return size_; }
  void clear() {
    places_.clear();
    last_ = nullptr;
    size_ = 0;
  }

 private:
  std::map<std::string, Place> places_;
  std::size_t size_ = 0;
  std::pair<const std::string, Place>* last_ = nullptr;  // entries come place by place
};

// Adds one place's touches to its stored items, kept sorted by item: an item
// already there keeps its oldest end and takes the newest; a new one comes
// in with both.
void merge(const Touched::Place& touched, std::vector<ItemEnds>& stored);

}  // namespace morvin::reg::hive::rows
