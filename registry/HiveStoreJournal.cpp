// The journal of one hive file, written. Sections: adding entries inside the
// change's own transaction (kept in memory, written at its end); settling the
// entries of profile file writes; forgetting; packing the journal of an older
// version. The reads are in HiveStoreJournalReads.cpp.
#include <algorithm>
#include <stdexcept>

#include "HiveStoreFile.h"
#include "HiveStoreJournalSql.h"

namespace morvin::reg::hive {
namespace {

// A row holds at most this many entries or bytes, so that reading one entry
// stays cheap whatever the action was.
constexpr std::int64_t kMaxRowEntries = 256;
constexpr std::size_t kMaxRowBytes = 64 * 1024;
constexpr std::size_t kMaxTouchesHeld = 1 << 16;

}  // namespace

// Whether `e` goes on in the open row as its entry number `row`: the same
// action (a group, not an entry alone) on the same place, the next number.
bool HiveFile::continuesOpenRow(const journal::Entry& e, std::int64_t row) const {
  const JournalBatch& b = batch_;
  const journal::Entry& s = b.shared;
  return b.count > 0 && b.count < kMaxRowEntries && b.packed.size() < kMaxRowBytes &&
         row == b.first + b.count && !e.pending && e.group != 0 && e.group == s.group && e.path == s.path &&
         e.root == s.root && e.section == s.section && e.source == s.source;
}

// ---- adding entries --------------------------------------------------------------

HiveFile::JournalStatements::JournalStatements(sqlite::Database& db)
    : keyName(db, "SELECT parent, name FROM keys WHERE id = ?"),
      nextRow(db,
              "SELECT max(ifnull((SELECT seq FROM sqlite_sequence WHERE name = 'journal'), 0), "
              "ifnull((SELECT max(id) FROM journal), 0)) + 1"),
      addRow(db,
             "INSERT INTO journal(id, count, at, grp, source, root, path, section, pending, entries) "
             "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      addSource(db, "INSERT OR IGNORE INTO journal_sources(source) VALUES(?)"),
      placeItems(db, "SELECT places FROM journal_places WHERE hash = ?"),
      putPlace(db, "INSERT OR REPLACE INTO journal_places(hash, places) VALUES(?, ?)"),
      rowHolding(db, MORVIN_SELECT_ROWS "WHERE id >= ? ORDER BY id LIMIT 1") {}

HiveFile::JournalStatements& HiveFile::journalStatements() {
  if (!j_) j_ = std::make_unique<JournalStatements>(*db_);
  return *j_;
}

// A batch (an import) names the same keys again and again: their paths are
// remembered until it ends.
const std::string& HiveFile::keyPath(std::int64_t id) {
  if (const auto known = paths_.find(id); known != paths_.end()) return known->second;
  const std::int64_t asked = id;
  std::string path;
  while (id != kRootId) {
    if (const auto known = paths_.find(id); known != paths_.end()) {
      path = path.empty() ? known->second : known->second + "\\" + path;
      break;
    }
    sqlite::Use step(journalStatements().keyName);
    step->bind(1, id);
    if (!step->step()) throw std::logic_error("a key without its parent");
    const std::string name(step->blob(1));
    path = path.empty() ? name : name + "\\" + path;
    id = step->integer(0);
  }
  if (!inTransaction()) {
    lastPath_ = std::move(path);
    return lastPath_;
  }
  return paths_.emplace(asked, std::move(path)).first->second;
}

std::int64_t HiveFile::addEntry(const journal::Entry& entry) {
  if (batch_.nextRow == 0) {
    sqlite::Use next(journalStatements().nextRow);
    batch_.nextRow = next->step() ? next->integer(0) : 1;
  }
  const std::int64_t row = batch_.nextRow++;
  addEntryAt(entry, row);
  return row;
}

void HiveFile::addEntryAt(const journal::Entry& entry, std::int64_t row) {
  JournalBatch& b = batch_;
  if (!continuesOpenRow(entry, row)) {
    writeOpenRow();
    b.shared = entry;
    b.place = rows::placeOf(entry);
    b.first = row;
  }
  rows::pack(entry, b.packed);
  ++b.count;
  b.touched.touch(b.place, entry, row);
  // A huge action's touches go into the summary on the way: memory stays bounded.
  if (b.touched.size() >= kMaxTouchesHeld) {
    writeTouched(b.touched);
    b.touched.clear();
  }
  // A pending entry stands alone: settling it changes its row.
  if (entry.pending) writeOpenRow();
}

void HiveFile::writeOpenRow() {
  JournalBatch& b = batch_;
  if (b.count == 0) return;
  JournalStatements& j = journalStatements();
  const journal::Entry& s = b.shared;
  if (lastSource_ != s.source) {
    sqlite::Use use(j.addSource);
    use->bind(1, s.source).run();
    lastSource_ = s.source;
  }
  sqlite::Use use(j.addRow);
  use->bind(1, b.first + b.count - 1).bind(2, b.count).bind(3, s.at).bind(4, s.group).bind(5, s.source);
  use->bind(6, s.root).bind(7, s.path).bind(8, s.section).bind(9, std::int64_t{s.pending}).bind(10, b.packed);
  use->run();
  b.count = 0;
  b.packed.clear();
}

std::vector<rows::PlaceItems> HiveFile::readSummary(std::int64_t hash) {
  std::vector<rows::PlaceItems> places;
  sqlite::Use stored(journalStatements().placeItems);
  stored->bind(1, hash);
  if (stored->step()) rows::unpackPlaces(stored->blob(0), places);
  return places;
}

void HiveFile::writeSummary(std::int64_t hash, const std::vector<rows::PlaceItems>& places) {
  sqlite::Use put(journalStatements().putPlace);
  put->bind(1, hash).bind(2, rows::packPlaces(places)).run();
}

// In the order of the summary rows: one walk along the b-tree.
void HiveFile::writeTouched(const rows::Touched& touched) {
  std::vector<std::pair<std::int64_t, const std::string*>> order;
  order.reserve(touched.places().size());
  for (const auto& entry : touched.places()) order.emplace_back(rows::placeHash(entry.first), &entry.first);
  std::sort(order.begin(), order.end());
  for (const auto& [hash, place] : order) {
    std::vector<rows::PlaceItems> places = readSummary(hash);
    rows::merge(touched.places().at(*place), rows::itemsOf(places, *place));
    writeSummary(hash, places);
  }
}

void HiveFile::writeBatch() {
  writeOpenRow();
  if (batch_.touched.empty()) return;
  writeTouched(batch_.touched);
  batch_.touched.clear();
}

void HiveFile::rebuildItems() {
  db_->exec("DELETE FROM journal_places");
  sqlite::Statement all(*db_, MORVIN_SELECT_ROWS "ORDER BY id");
  rows::Touched touched;
  std::vector<journal::Entry> entries;
  while (all.step()) {
    entries.clear();
    const std::int64_t first = readRow(all, false, entries);
    if (entries.empty()) continue;
    const std::string place = rows::placeOf(entries.front());
    for (std::size_t i = 0; i < entries.size(); ++i)
      touched.touch(place, entries[i], first + static_cast<std::int64_t>(i));
    if (touched.size() >= kMaxTouchesHeld) {
      writeTouched(touched);
      touched.clear();
    }
  }
  writeTouched(touched);
}

// ---- settling profile file writes ------------------------------------------------

void HiveFile::finishPending(std::int64_t rowId, bool durable) {
  // The settling of a pending entry may be lost in a crash: listings then
  // settle it against the file, so it needs no sync of its own.
  if (!durable) db_->exec("PRAGMA synchronous = NORMAL");
  try {
    begin();
    const std::optional<journal::Entry> entry = readEntry(false, rowId);
    sqlite::Statement done(*db_, "UPDATE journal SET pending = 0 WHERE id = ? AND count = 1");
    done.bind(1, rowId).run();
    if (entry) {
      // The summary names the entry as its item's newest: no longer pending.
      const std::string place = rows::placeOf(*entry);
      const std::int64_t hash = rows::placeHash(place);
      std::vector<rows::PlaceItems> places = readSummary(hash);
      for (rows::ItemEnds& i : rows::itemsOf(places, place))
        if (i.lastRow == rowId) i.lastPending = false;
      writeSummary(hash, places);
    }
    commit();
  } catch (...) {
    rollback();
    if (!durable) db_->exec("PRAGMA synchronous = FULL");
    throw;
  }
  if (!durable) db_->exec("PRAGMA synchronous = FULL");
}

void HiveFile::dropEntry(std::int64_t rowId) {
  begin();
  try {
    const std::optional<journal::Entry> entry = readEntry(false, rowId);
    sqlite::Statement drop(*db_, "DELETE FROM journal WHERE id = ? AND count = 1");
    drop.bind(1, rowId).run();
    // A write that never happened: the summary of its place is made again
    // when it names the entry (rare, and only for profile keys).
    bool named = false;
    if (entry) {
      const std::string place = rows::placeOf(*entry);
      std::vector<rows::PlaceItems> places = readSummary(rows::placeHash(place));
      for (const rows::ItemEnds& i : rows::itemsOf(places, place))
        named = named || i.firstRow == rowId || i.lastRow == rowId;
    }
    if (named) rebuildItems();
    commit();
  } catch (...) {
    rollback();
    throw;
  }
}

// ---- forgetting --------------------------------------------------------------------

std::int64_t HiveFile::dropEntriesBelow(std::int64_t rowId) {
  writeBatchBeforeReading();
  std::int64_t dropped = 0;
  if (rowId >= endRow() && db_->scalar("SELECT count(*) FROM journal WHERE pending != 0") == 0) {
    // Everything goes: SQLite then drops whole tables instead of row by row.
    dropped = db_->scalar("SELECT ifnull(sum(count), 0) FROM journal");
    db_->exec("DELETE FROM journal");
  } else {
    sqlite::Statement count(*db_, "SELECT ifnull(sum(count), 0) FROM journal WHERE id < ? AND pending = 0");
    count.bind(1, rowId);
    if (count.step()) dropped = count.integer(0);
    sqlite::Statement drop(*db_, "DELETE FROM journal WHERE id < ? AND pending = 0");
    drop.bind(1, rowId).run();
    dropped += dropOlderPartOfRow(rowId);
  }
  db_->exec("DELETE FROM journal_sources WHERE source NOT IN (SELECT source FROM journal)");
  lastSource_.reset();
  rebuildItems();
  return dropped;
}

// The row holding `rowId` keeps only its entries from `rowId` on.
std::int64_t HiveFile::dropOlderPartOfRow(std::int64_t rowId) {
  std::vector<journal::Entry> entries;
  std::int64_t first = 0, last = 0;
  {
    sqlite::Use holding(journalStatements().rowHolding);
    holding->bind(1, rowId);
    if (!holding->step() || holding->integer(8) != 0) return 0;
    last = holding->integer(0);
    first = readRow(*holding, false, entries);
  }
  if (entries.empty() || first >= rowId) return 0;
  const std::int64_t older = rowId - first;
  std::string packed;
  for (std::size_t i = static_cast<std::size_t>(older); i < entries.size(); ++i)
    rows::pack(entries[i], packed);
  sqlite::Statement keep(*db_, "UPDATE journal SET count = ?, entries = ? WHERE id = ?");
  keep.bind(1, last - rowId + 1).bind(2, packed).bind(3, last).run();
  return older;
}

void HiveFile::compact() {
  db_->exec("VACUUM");
  db_->exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// ---- packing the journal of an older version ------------------------------------------

void HiveFile::packOldJournal() {
  sqlite::Statement old(*db_,
                        "SELECT id, at, grp, source, kind, root, path, section, name, before_present, "
                        "before_type, before_data, after_present, after_type, after_data, undoes, pending "
                        "FROM journal_unpacked ORDER BY id");
  auto state = [&](int first) {
    return journal::State{old.integer(first) != 0, static_cast<std::uint32_t>(old.integer(first + 1)),
                          std::string(old.blob(first + 2))};
  };
  while (old.step()) {
    if (old.integer(0) <= 0) continue;  // not a number this version gives
    journal::Entry e;
    e.at = old.integer(1);
    e.group = old.integer(2);
    e.source = std::string(old.blob(3));
    const std::int64_t kind = old.integer(4);
    if (kind < 0 || kind > static_cast<std::int64_t>(journal::Kind::Profile)) continue;  // not ours to read
    e.kind = static_cast<journal::Kind>(kind);
    e.root = std::string(old.blob(5));
    e.path = std::string(old.blob(6));
    e.section = std::string(old.blob(7));
    e.name = std::string(old.blob(8));
    e.before = state(9);
    e.after = state(12);
    e.undoes = old.integer(15);
    e.pending = old.integer(16) != 0;
    // Entries of one action came with their own times: the row keeps the first.
    addEntryAt(e, old.integer(0));
  }
  old.reset();
  writeBatch();
  // The numbers already given stay given.
  db_->exec(
      "INSERT INTO sqlite_sequence(name, seq) SELECT 'journal', 0 WHERE NOT EXISTS "
      "(SELECT 1 FROM sqlite_sequence WHERE name = 'journal');"
      "UPDATE sqlite_sequence SET seq = max(seq, ifnull((SELECT seq FROM sqlite_sequence "
      "WHERE name = 'journal_unpacked'), 0)) WHERE name = 'journal';"
      "DROP TABLE journal_unpacked;"
      "INSERT OR IGNORE INTO journal_sources SELECT DISTINCT source FROM journal;");
  batch_ = {};
  lastSource_.reset();
}

}  // namespace morvin::reg::hive
