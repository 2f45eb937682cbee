// The journal table of one hive file: adding entries inside the change's own
// transaction, settling the entries of profile file writes, reading them all.
#include <stdexcept>

#include "HiveStoreFile.h"

namespace morvin::reg::hive {
namespace {

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

}  // namespace

HiveFile::JournalStatements::JournalStatements(sqlite::Database& db)
    : keyName(db, "SELECT parent, name FROM keys WHERE id = ?"),
      addEntry(db,
               "INSERT INTO journal(at, grp, source, kind, root, path, section, name, "
               "before_present, before_type, before_data, after_present, after_type, after_data, "
               "undoes, pending) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") {}

HiveFile::JournalStatements& HiveFile::journalStatements() {
  if (!j_) j_ = std::make_unique<JournalStatements>(*db_);
  return *j_;
}

std::string HiveFile::keyPath(std::int64_t id) {
  std::string path;
  while (id != kRootId) {
    sqlite::Use step(journalStatements().keyName);
    step->bind(1, id);
    if (!step->step()) throw std::logic_error("a key without its parent");
    const std::string name(step->blob(1));
    path = path.empty() ? name : name + "\\" + path;
    id = step->integer(0);
  }
  return path;
}

std::int64_t HiveFile::addEntry(const journal::Entry& entry) {
  sqlite::Use use(journalStatements().addEntry);
  sqlite::Statement& insert = *use;
  insert.bind(1, entry.at).bind(2, entry.group).bind(3, entry.source);
  insert.bind(4, std::int64_t{static_cast<std::uint8_t>(entry.kind)});
  insert.bind(5, entry.root).bind(6, entry.path).bind(7, entry.section).bind(8, entry.name);
  bindState(insert, 9, entry.before);
  bindState(insert, 12, entry.after);
  insert.bind(15, entry.undoes).bind(16, std::int64_t{entry.pending});
  insert.run();
  return db_->lastInsertId();
}

void HiveFile::finishPending(std::int64_t rowId, bool durable) {
  // The settling of a pending entry may be lost in a crash: listings then
  // settle it against the file, so it needs no sync of its own.
  if (!durable) db_->exec("PRAGMA synchronous = NORMAL");
  try {
    begin();
    sqlite::Statement done(*db_, "UPDATE journal SET pending = 0 WHERE id = ?");
    done.bind(1, rowId).run();
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
    commit();
  } catch (...) {
    rollback();
    throw;
  }
}

void HiveFile::readEntries(bool userHive, std::vector<journal::Entry>& out) {
  if (!hasJournal_) return;
  ReadScope scope(*this);
  sqlite::Statement all(*db_,
                        "SELECT id, at, grp, source, kind, root, path, section, name, before_present, "
                        "before_type, before_data, after_present, after_type, after_data, undoes, pending "
                        "FROM journal ORDER BY id");
  while (all.step()) {
    journal::Entry e;
    e.id = journal::entryId(userHive, all.integer(0));
    e.at = all.integer(1);
    e.group = all.integer(2);
    e.source = std::string(all.blob(3));
    e.kind = static_cast<journal::Kind>(all.integer(4));
    e.root = std::string(all.blob(5));
    e.path = std::string(all.blob(6));
    e.section = std::string(all.blob(7));
    e.name = std::string(all.blob(8));
    e.before = stateAt(all, 9);
    e.after = stateAt(all, 12);
    e.undoes = all.integer(15);
    e.pending = all.integer(16) != 0;
    out.push_back(std::move(e));
  }
}

}  // namespace morvin::reg::hive
