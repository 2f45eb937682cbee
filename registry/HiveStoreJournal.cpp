// The journal table of one hive file. Sections: adding entries inside the
// change's own transaction; settling the entries of profile file writes;
// bounded reads (pages, groups, changed items); forgetting.
#include <stdexcept>

#include "HiveStoreFile.h"

namespace morvin::reg::hive {
namespace {

// A statement keeps its text until it is prepared: these live as long as the program.
#define MORVIN_SELECT_ENTRIES                                                     \
  "SELECT id, at, grp, source, kind, root, path, section, name, before_present, " \
  "before_type, before_data, after_present, after_type, after_data, undoes, pending FROM journal "

void bindState(sqlite::Statement& s, int first, const journal::State& state) {
  s.bind(first, std::int64_t{state.present})
      .bind(first + 1, std::int64_t{state.type})
      .bind(first + 2, state.data);
}

journal::State stateAt(sqlite::Statement& s, int first) {
  journal::State state;
  state.present = s.integer(first) != 0;
  state.type = static_cast<std::uint32_t>(s.integer(first + 1));
  state.data = std::string(s.blob(first + 2));
  return state;
}

// An entry from a row of kEntryColumns, starting at column `first`.
journal::Entry entryAt(sqlite::Statement& s, bool userHive, int first = 0) {
  journal::Entry e;
  e.id = journal::entryId(userHive, s.integer(first));
  e.at = s.integer(first + 1);
  e.group = s.integer(first + 2);
  e.source = std::string(s.blob(first + 3));
  e.kind = static_cast<journal::Kind>(s.integer(first + 4));
  e.root = std::string(s.blob(first + 5));
  e.path = std::string(s.blob(first + 6));
  e.section = std::string(s.blob(first + 7));
  e.name = std::string(s.blob(first + 8));
  e.before = stateAt(s, first + 9);
  e.after = stateAt(s, first + 12);
  e.undoes = s.integer(first + 15);
  e.pending = s.integer(first + 16) != 0;
  return e;
}

// A state as the item summary compares it: a key by being there, a value by
// type and bytes; a profile key never matches (it is always read from its file).
std::int64_t signature(const journal::Entry& e, const journal::State& state, bool before) {
  if (e.kind == journal::Kind::Profile) return before ? 0 : 1;
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  auto add = [&](unsigned char c) {
    hash ^= c;
    hash *= 1099511628211ull;
  };
  add(state.present ? 1 : 0);
  if (e.kind == journal::Kind::Value) {
    for (int i = 0; i < 4; ++i) add(static_cast<unsigned char>(state.type >> (8 * i)));
    for (unsigned char c : state.data) add(c);
  }
  return static_cast<std::int64_t>(hash >> 1) + 2;
}

void touch(sqlite::Statement& s, const journal::Entry& e, std::int64_t itemHash, std::int64_t rowId) {
  s.bind(1, itemHash).bind(2, rowId).bind(3, signature(e, e.before, true));
  s.bind(4, signature(e, e.after, false)).bind(5, std::int64_t{e.pending});
  s.run();
}

}  // namespace

// ---- adding entries --------------------------------------------------------------

HiveFile::JournalStatements::JournalStatements(sqlite::Database& db)
    : keyName(db, "SELECT parent, name FROM keys WHERE id = ?"),
      addEntry(db,
               "INSERT INTO journal(at, grp, source, kind, root, path, section, name, "
               "before_present, before_type, before_data, after_present, after_type, after_data, "
               "undoes, pending, item) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
      addSource(db, "INSERT OR IGNORE INTO journal_sources(source) VALUES(?)"),
      newestOfItem(db, "SELECT last_id FROM journal_items WHERE item = ?"),
      touchItem(db,
                "INSERT INTO journal_items(item, first_id, first_sig, last_id, last_sig, last_pending) "
                "VALUES(?1, ?2, ?3, ?2, ?4, ?5) ON CONFLICT(item) DO UPDATE SET last_id = excluded.last_id, "
                "last_sig = excluded.last_sig, last_pending = excluded.last_pending") {}

HiveFile::JournalStatements& HiveFile::journalStatements() {
  if (!j_) j_ = std::make_unique<JournalStatements>(*db_);
  return *j_;
}

// A batch (an import) names the same keys again and again: their paths are
// remembered until it ends.
std::string HiveFile::keyPath(std::int64_t id) {
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
  if (inTransaction()) paths_.emplace(asked, path);
  return path;
}

std::int64_t HiveFile::addEntry(const journal::Entry& entry) {
  JournalStatements& j = journalStatements();
  if (lastSource_ != entry.source) {
    sqlite::Use use(j.addSource);
    use->bind(1, entry.source).run();
    if (inTransaction()) lastSource_ = entry.source;
  }
  sqlite::Use use(j.addEntry);
  sqlite::Statement& insert = *use;
  insert.bind(1, entry.at).bind(2, entry.group).bind(3, entry.source);
  insert.bind(4, std::int64_t{static_cast<std::uint8_t>(entry.kind)});
  insert.bind(5, entry.root).bind(6, entry.path).bind(7, entry.section).bind(8, entry.name);
  bindState(insert, 9, entry.before);
  bindState(insert, 12, entry.after);
  insert.bind(15, entry.undoes).bind(16, std::int64_t{entry.pending});
  const std::int64_t item = journal::itemHash(entry);
  insert.bind(17, item);
  insert.run();
  const std::int64_t row = db_->lastInsertId();
  sqlite::Use summary(j.touchItem);
  touch(*summary, entry, item, row);
  return row;
}

void HiveFile::rebuildItems(bool identities) {
  db_->exec("DELETE FROM journal_items");
  sqlite::Statement all(*db_, MORVIN_SELECT_ENTRIES "ORDER BY id");
  sqlite::Statement setItem(*db_, "UPDATE journal SET item = ? WHERE id = ?");
  JournalStatements& j = journalStatements();
  while (all.step()) {
    const journal::Entry e = entryAt(all, false);
    const std::int64_t item = journal::itemHash(e);
    if (identities) setItem.bind(1, item).bind(2, all.integer(0)).run();
    sqlite::Use summary(j.touchItem);
    touch(*summary, e, item, all.integer(0));
  }
}

// ---- settling profile file writes ------------------------------------------------

void HiveFile::finishPending(std::int64_t rowId, bool durable) {
  // The settling of a pending entry may be lost in a crash: listings then
  // settle it against the file, so it needs no sync of its own.
  if (!durable) db_->exec("PRAGMA synchronous = NORMAL");
  try {
    begin();
    sqlite::Statement done(*db_, "UPDATE journal SET pending = 0 WHERE id = ?");
    done.bind(1, rowId).run();
    sqlite::Statement summary(*db_, "UPDATE journal_items SET last_pending = 0 WHERE last_id = ?");
    summary.bind(1, rowId).run();
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
    sqlite::Statement drop(*db_, "DELETE FROM journal WHERE id = ?");
    drop.bind(1, rowId).run();
    // A write that never happened: the summary of its item is made again
    // (rare, and only for profile keys).
    sqlite::Statement touched(*db_, "SELECT count(*) FROM journal_items WHERE first_id = ?1 OR last_id = ?1");
    touched.bind(1, rowId);
    if (touched.step() && touched.integer(0) > 0) rebuildItems(false);
    commit();
  } catch (...) {
    rollback();
    throw;
  }
}

// ---- bounded reads ------------------------------------------------------------------

void HiveFile::readNewest(bool userHive, std::int64_t below, const std::string& source, std::size_t limit,
                          std::vector<journal::Entry>& out) {
  if (!hasJournal_ || limit == 0) return;
  ReadScope scope(*this);
  sqlite::Statement page(*db_, source.empty() ? MORVIN_SELECT_ENTRIES "WHERE id < ? ORDER BY id DESC LIMIT ?"
                                              : MORVIN_SELECT_ENTRIES
                                   "WHERE id < ? AND source = ? ORDER BY id DESC LIMIT ?");
  page.bind(1, below > 0 ? below : INT64_MAX);
  if (!source.empty()) page.bind(2, source);
  page.bind(source.empty() ? 2 : 3, static_cast<std::int64_t>(std::min<std::size_t>(limit, INT64_MAX)));
  while (page.step()) out.push_back(entryAt(page, userHive));
}

std::optional<journal::Entry> HiveFile::readEntry(bool userHive, std::int64_t rowId) {
  if (!hasJournal_) return std::nullopt;
  ReadScope scope(*this);
  sqlite::Statement one(*db_, MORVIN_SELECT_ENTRIES "WHERE id = ?");
  one.bind(1, rowId);
  if (!one.step()) return std::nullopt;
  return entryAt(one, userHive);
}

void HiveFile::readGroup(bool userHive, std::int64_t group, std::vector<journal::Entry>& out) {
  if (!hasJournal_ || group == 0) return;
  ReadScope scope(*this);
  sqlite::Statement members(*db_, MORVIN_SELECT_ENTRIES "WHERE grp = ? ORDER BY id");
  members.bind(1, group);
  while (members.step()) out.push_back(entryAt(members, userHive));
}

std::int64_t HiveFile::newestRowOf(std::int64_t itemHash) {
  if (!hasJournal_) return 0;
  sqlite::Use use(journalStatements().newestOfItem);
  use->bind(1, itemHash);
  return use->step() ? use->integer(0) : 0;
}

// From the item summary alone; the rows themselves only for the items whose
// two ends differ.
void HiveFile::readChangedItems(bool userHive, std::vector<journal::ChangedItem>& out) {
  if (!hasJournal_) return;
  ReadScope scope(*this);
  static constexpr const char* kChanged =
      "SELECT f.id, f.at, f.grp, f.source, f.kind, f.root, f.path, f.section, f.name, f.before_present, "
      "f.before_type, f.before_data, f.after_present, f.after_type, f.after_data, f.undoes, f.pending, "
      "l.after_present, l.after_type, l.after_data, ifnull(l.pending, 1) "
      "FROM journal_items AS i JOIN journal AS f ON f.id = i.first_id "
      "LEFT JOIN journal AS l ON l.id = i.last_id "
      "WHERE i.first_sig != i.last_sig OR i.last_pending != 0 ORDER BY i.first_id";
  sqlite::Statement changed(*db_, kChanged);
  while (changed.step()) {
    journal::ChangedItem item;
    item.first = entryAt(changed, userHive);
    item.last = stateAt(changed, 17);
    item.lastPending = changed.integer(20) != 0;
    out.push_back(std::move(item));
  }
}

void HiveFile::readSources(std::vector<std::string>& out) {
  if (!hasJournal_) return;
  ReadScope scope(*this);
  sqlite::Statement all(*db_, "SELECT source FROM journal_sources");
  while (all.step()) out.emplace_back(all.blob(0));
}

std::int64_t HiveFile::firstRowFrom(std::int64_t at) {
  sqlite::Statement first(*db_, "SELECT min(id) FROM journal WHERE at >= ?");
  first.bind(1, at);
  if (first.step() && first.integer(0) > 0) return first.integer(0);
  return endRow();
}

std::int64_t HiveFile::endRow() {
  return db_->scalar("SELECT ifnull(max(id), 0) + 1 FROM journal");
}

// ---- forgetting --------------------------------------------------------------------

std::int64_t HiveFile::dropEntriesBelow(std::int64_t rowId) {
  std::int64_t dropped = 0;
  if (rowId >= endRow() && db_->scalar("SELECT count(*) FROM journal WHERE pending != 0") == 0) {
    // Everything goes: SQLite then drops whole tables instead of row by row.
    dropped = db_->scalar("SELECT count(*) FROM journal");
    db_->exec("DELETE FROM journal");
  } else {
    sqlite::Statement drop(*db_, "DELETE FROM journal WHERE id < ? AND pending = 0");
    drop.bind(1, rowId).run();
    dropped = db_->changes();
  }
  db_->exec("DELETE FROM journal_sources WHERE source NOT IN (SELECT source FROM journal)");
  lastSource_.reset();
  rebuildItems(false);
  return dropped;
}

void HiveFile::compact() {
  db_->exec("VACUUM");
  db_->exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

}  // namespace morvin::reg::hive

#undef MORVIN_SELECT_ENTRIES
