// The journal of one hive file, read; every read bounded by what is asked:
// pages of the newest entries, one entry, the entries of a group, each item's
// newest entry, the items changed.
#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>

#include "HiveStoreFile.h"
#include "HiveStoreJournalSql.h"

namespace morvin::reg::hive {
namespace {

// The entries of the row that holds row number `row`, or none.
struct HoldingRow {
  std::vector<journal::Entry> entries;
  std::int64_t first = 0;
  const journal::Entry* at(std::int64_t row) const {
    if (row < first || row - first >= static_cast<std::int64_t>(entries.size())) return nullptr;
    return &entries[static_cast<std::size_t>(row - first)];
  }
  // The entry at row number `row`, its row read through `holding` (the
  // statement selecting the row that holds a number) unless it is this one.
  const journal::Entry* read(sqlite::Statement& holding, bool userHive, std::int64_t row) {
    if (const journal::Entry* e = at(row)) return e;
    entries.clear();
    first = 0;
    sqlite::Use use(holding);
    use->bind(1, row);
    if (use->step()) first = readRow(*use, userHive, entries);
    return at(row);
  }
};

}  // namespace

std::int64_t readRow(sqlite::Statement& s, bool userHive, std::vector<journal::Entry>& out) {
  const std::int64_t last = s.integer(0);
  const std::int64_t count = s.integer(1);
  if (count < 1 || last < count) throw sqlite::Error(SQLITE_CORRUPT, "a journal row is damaged");
  journal::Entry shared;
  shared.at = s.integer(2);
  shared.group = s.integer(3);
  shared.source = std::string(s.blob(4));
  shared.root = std::string(s.blob(5));
  shared.path = std::string(s.blob(6));
  shared.section = std::string(s.blob(7));
  shared.pending = s.integer(8) != 0;
  const std::size_t from = out.size();
  rows::unpack(s.blob(9), count, shared, out);
  const std::int64_t first = last - count + 1;
  for (std::size_t i = from; i < out.size(); ++i)
    out[i].id = journal::entryId(userHive, first + static_cast<std::int64_t>(i - from));
  return first;
}

void HiveFile::readNewest(bool userHive, std::int64_t below, const std::string& source, std::size_t limit,
                          std::vector<journal::Entry>& out) {
  if (!hasJournal_ || limit == 0) return;
  writeBatchBeforeReading();
  ReadScope scope(*this);
  std::size_t taken = 0;
  std::vector<journal::Entry> row;
  // Newest first; only entries below `below` and of `source`.
  auto take = [&](sqlite::Statement& s) {
    row.clear();
    readRow(s, userHive, row);
    if (!source.empty() && row.front().source != source) return;
    for (auto e = row.rbegin(); e != row.rend() && taken < limit; ++e) {
      if (below > 0 && journal::rowIdOf(e->id) >= below) continue;
      out.push_back(std::move(*e));
      ++taken;
    }
  };
  // The row holding the entry just below `below` may hold newer ones too.
  std::int64_t olderThan = INT64_MAX;
  if (below > 0) {
    sqlite::Use holding(journalStatements().rowHolding);
    holding->bind(1, below - 1);
    if (holding->step()) {
      olderThan = holding->integer(0);
      take(*holding);
    }
  }
  sqlite::Statement page(*db_, source.empty() ? MORVIN_SELECT_ROWS "WHERE id < ? ORDER BY id DESC"
                                              : MORVIN_SELECT_ROWS
                                   "WHERE id < ? AND source = ? ORDER BY id DESC");
  page.bind(1, olderThan);
  if (!source.empty()) page.bind(2, source);
  while (taken < limit && page.step()) take(page);
}

std::optional<journal::Entry> HiveFile::readEntry(bool userHive, std::int64_t rowId) {
  if (!hasJournal_ || rowId <= 0) return std::nullopt;
  writeBatchBeforeReading();
  ReadScope scope(*this);
  HoldingRow row;
  const journal::Entry* e = row.read(journalStatements().rowHolding, userHive, rowId);
  if (!e) return std::nullopt;
  return *e;
}

void HiveFile::readGroup(bool userHive, std::int64_t group, std::vector<journal::Entry>& out) {
  if (!hasJournal_ || group == 0) return;
  writeBatchBeforeReading();
  ReadScope scope(*this);
  // A big action's entries are many: room for them all at once, no copy
  // while growing. A packed entry takes at least five bytes, so no row can
  // claim more room than its bytes hold.
  sqlite::Statement size(*db_,
                         "SELECT ifnull(sum(min(count, length(entries) / 5)), 0) FROM journal WHERE grp = ?");
  size.bind(1, group);
  if (size.step() && size.integer(0) > 0) out.reserve(out.size() + static_cast<std::size_t>(size.integer(0)));
  sqlite::Statement members(*db_, MORVIN_SELECT_ROWS "WHERE grp = ? ORDER BY id");
  members.bind(1, group);
  while (members.step()) readRow(members, userHive, out);
}

void HiveFile::newestRowsOf(const std::vector<journal::Entry>& entries, const std::vector<std::size_t>& which,
                            std::vector<std::int64_t>& rows) {
  if (!hasJournal_) return;
  writeBatchBeforeReading();
  // Each place's summary read once: an action's entries come place by place.
  std::unordered_map<std::string, std::unordered_map<std::string, std::int64_t>> places;
  const journal::Entry* previous = nullptr;
  std::unordered_map<std::string, std::int64_t>* items = nullptr;
  for (std::size_t i : which) {
    const journal::Entry& e = entries[i];
    if (!previous || e.root != previous->root || e.path != previous->path || e.section != previous->section) {
      auto [place, added] = places.try_emplace(rows::placeOf(e));
      items = &place->second;
      if (added) {
        std::vector<rows::PlaceItems> stored = readSummary(rows::placeHash(place->first));
        for (rows::ItemEnds& s : rows::itemsOf(stored, place->first))
          items->insert_or_assign(std::move(s.item), s.lastRow);
      }
    }
    previous = &e;
    const auto newest = items->find(rows::itemOf(e));
    rows[i] = newest == items->end() ? 0 : newest->second;
  }
}

// From the item summaries alone; the rows themselves only for the items whose
// two ends differ.
void HiveFile::readChangedItems(bool userHive, std::vector<journal::ChangedItem>& out) {
  if (!hasJournal_) return;
  writeBatchBeforeReading();
  ReadScope scope(*this);
  std::vector<rows::ItemEnds> changed;
  {
    std::vector<rows::PlaceItems> places;
    sqlite::Statement all(*db_, "SELECT places FROM journal_places");
    while (all.step()) {
      places.clear();
      rows::unpackPlaces(all.blob(0), places);
      for (rows::PlaceItems& p : places)
        for (rows::ItemEnds& i : p.items)
          if (i.changed()) changed.push_back(std::move(i));
    }
  }
  std::sort(changed.begin(), changed.end(),
            [](const rows::ItemEnds& a, const rows::ItemEnds& b) { return a.firstRow < b.firstRow; });
  // Neighbouring items mostly share their rows: the last one read is kept.
  HoldingRow row;
  sqlite::Statement& holding = journalStatements().rowHolding;
  for (const rows::ItemEnds& i : changed) {
    const journal::Entry* first = row.read(holding, userHive, i.firstRow);
    if (!first) continue;
    journal::ChangedItem item;
    item.first = *first;
    const journal::Entry* last = row.read(holding, userHive, i.lastRow);
    item.lastPending = !last || last->pending;
    if (last) item.last = last->after;
    out.push_back(std::move(item));
  }
}

void HiveFile::readSources(std::vector<std::string>& out) {
  if (!hasJournal_) return;
  writeBatchBeforeReading();
  ReadScope scope(*this);
  sqlite::Statement all(*db_, "SELECT source FROM journal_sources");
  while (all.step()) out.emplace_back(all.blob(0));
}

std::int64_t HiveFile::firstRowFrom(std::int64_t at) {
  writeBatchBeforeReading();
  sqlite::Statement first(*db_, "SELECT min(id - count + 1) FROM journal WHERE at >= ?");
  first.bind(1, at);
  if (first.step() && first.integer(0) > 0) return first.integer(0);
  return endRow();
}

std::int64_t HiveFile::endRow() {
  writeBatchBeforeReading();
  return db_->scalar("SELECT ifnull(max(id), 0) + 1 FROM journal");
}

}  // namespace morvin::reg::hive
