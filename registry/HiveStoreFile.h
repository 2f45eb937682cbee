// One hive file: an SQLite database of keys and values, addressed by key id.
// Callers hold the store's lock; statements are prepared once per file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "HiveStoreJournalRows.h"
#include "Journal.h"
#include "JournalKeeper.h"
#include "RegistryStore.h"
#include "SqliteDb.h"

namespace morvin::reg::hive {

class HiveFile {
 public:
  static constexpr std::int64_t kRootId = 1;

  // Opens the hive, creating a missing or empty file. Throws morvin::Exception
  // naming the file when it is not a hive, is damaged or cannot be opened.
  HiveFile(std::string path, bool readOnly);
  ~HiveFile();

  const std::string& path() const { return path_; }
  bool readOnly() const { return readOnly_; }

  // Write transactions: the outermost begins with the write lock taken
  // (BEGIN IMMEDIATE), inner ones are savepoints.
  void begin();
  void commit();
  void rollback();
  bool inTransaction() const { return depth_ > 0; }
  // A consistent snapshot for several reads outside a write transaction.
  class ReadScope {
   public:
    explicit ReadScope(HiveFile& hive);
    ~ReadScope();

   private:
    HiveFile& hive_;
    bool began_ = false;
  };

  struct KeyRow {
    std::int64_t parent = 0;
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
  };
  std::optional<KeyRow> key(std::int64_t id);
  std::optional<std::int64_t> findChild(std::int64_t parent, std::string_view folded);
  std::int64_t addChild(std::int64_t parent, std::string_view name, std::string_view folded);
  // Removes a key without subkeys, with its values.
  void removeKey(std::int64_t id, std::int64_t parent);

  // Calls visit(type, bytes) with the value; false when there is none.
  template <class Visit>
  bool readValue(std::int64_t key, std::string_view folded, Visit&& visit) {
    sqlite::Use use(*getValue_);
    use->bind(1, key).bind(2, folded);
    if (!use->step()) return false;
    visit(static_cast<std::uint32_t>(use->integer(0)), use->blob(1));
    return true;
  }
  // Replaces the data of an existing value in place (keeping its name and
  // position) or appends a new value.
  void writeValue(std::int64_t key, std::string_view name, std::string_view folded, std::uint32_t type,
                  std::string_view data);
  bool removeValue(std::int64_t key, std::string_view folded);

  // The subkey / value at `index` in enumeration order; `count` is the key's
  // current number of them. False past the end.
  bool subkeyAt(std::int64_t parent, std::uint32_t index, std::uint32_t count, std::string* name);
  bool valueAt(std::int64_t key, std::uint32_t index, std::uint32_t count, std::string* name,
               std::uint32_t* type, std::string* data);
  void lengths(std::int64_t key, KeyInfo& info);
  // Calls visit(name, type, data) for each value of the key, in order.
  void forEachValue(std::int64_t key,
                    const std::function<void(std::string_view, std::uint32_t, std::string_view)>& visit);

  // The journal (HiveStoreJournal.cpp, layout in HiveStoreJournalRows.h).
  // A read-only hive of an older version has none this version reads: it
  // lists nothing and takes no entries. Rows are numbered per hive, one
  // number per entry (journal::entryId makes the ids users see).
  bool hasJournal() const { return hasJournal_; }
  // The key's path below the root, each name as stored ("Software\\X").
  // Valid until the next call.
  const std::string& keyPath(std::int64_t id);
  // Adds an entry in the open write transaction; returns its row number.
  // Entries are kept in memory and written when the transaction commits
  // (or before anything reads the journal).
  std::int64_t addEntry(const journal::Entry& entry);
  // A pending entry's write is done (pending = 0), or it never happened
  // (the row goes). Each is its own small transaction.
  void finishPending(std::int64_t rowId, bool durable);
  void dropEntry(std::int64_t rowId);
  // Up to `limit` entries below row `below` (0: from the newest), newest
  // first, only those of `source` unless it is empty; ids as
  // journal::entryId gives them.
  void readNewest(bool userHive, std::int64_t below, const std::string& source, std::size_t limit,
                  std::vector<journal::Entry>& out);
  std::optional<journal::Entry> readEntry(bool userHive, std::int64_t rowId);
  // Every entry of a group (not 0), oldest first.
  void readGroup(bool userHive, std::int64_t group, std::vector<journal::Entry>& out);
  // For entries[i] of each i in `which`: rows[i] = the row of its item's
  // newest entry (0: none). Callers hold a ReadScope.
  void newestRowsOf(const std::vector<journal::Entry>& entries, const std::vector<std::size_t>& which,
                    std::vector<std::int64_t>& rows);
  // See journal::Keeper::changedItems; oldest first.
  void readChangedItems(bool userHive, std::vector<journal::ChangedItem>& out);
  void readSources(std::vector<std::string>& out);
  // The oldest row stamped at or after `at` (microseconds); past the newest
  // row when there is none.
  std::int64_t firstRowFrom(std::int64_t at);
  std::int64_t endRow();
  // In the open write transaction: drops every settled entry below `rowId`;
  // returns how many went.
  std::int64_t dropEntriesBelow(std::int64_t rowId);
  // Outside any transaction: gives the free pages back to the file system.
  void compact();
  sqlite::Database& database() { return *db_; }

 private:
  struct Statements;
  // The journal's statements, prepared on first use: a read-only hive of the
  // first version has no journal table to prepare them on.
  struct JournalStatements {
    explicit JournalStatements(sqlite::Database& db);
    sqlite::Statement keyName, nextRow, addRow, addSource, placeItems, putPlace, rowHolding;
  };
  // The entries of the open write transaction not written yet: the row being
  // filled (entries of one action on one place) and the items touched.
  struct JournalBatch {
    std::int64_t nextRow = 0;  // 0: not read yet in this transaction
    journal::Entry shared;     // the open row's own fields
    std::string place;         // rows::placeOf(shared)
    std::int64_t first = 0;    // the open row's first row number
    std::int64_t count = 0;    // 0: no open row
    std::string packed;
    rows::Touched touched;
  };
  JournalStatements& journalStatements();
  struct Cursor {
    std::int64_t owner = -1;
    std::uint32_t index = 0;
    std::string folded;      // subkeys: the folded name at `index`
    std::int64_t rowId = 0;  // values: the row at `index`
    unsigned version = 0;
    std::uint64_t writes = 0;
  };

  void open();
  void createIfEmpty();
  void upgrade();
  void verify();
  // Takes the journal of a hive of version 2 or 3 (a row per entry) into
  // packed rows, keeping every entry's row number.
  void packOldJournal();
  // Makes the item summary again from the rows, in the open write transaction.
  void rebuildItems();
  bool continuesOpenRow(const journal::Entry& entry, std::int64_t row) const;
  // Adds an entry with a given row number (rows only grow).
  void addEntryAt(const journal::Entry& entry, std::int64_t row);
  // Writes what the transaction holds in memory: the open row, the items touched.
  void writeBatch();
  void writeOpenRow();
  void writeTouched(const rows::Touched& touched);
  // The summary row of the places hashed to `hash`.
  std::vector<rows::PlaceItems> readSummary(std::int64_t hash);
  void writeSummary(std::int64_t hash, const std::vector<rows::PlaceItems>& places);
  // Forgetting: the row holding `rowId` keeps its entries from there on;
  // returns how many went.
  std::int64_t dropOlderPartOfRow(std::int64_t rowId);
  // Readers see what this transaction wrote so far.
  void writeBatchBeforeReading() {
    if (inTransaction()) writeBatch();
  }
  // What a batch remembers between writes, forgotten when it ends.
  void forgetBatchCaches() {
    paths_.clear();
    lastSource_.reset();
    batch_ = {};
  }
  bool cursorFits(const Cursor& cursor, std::int64_t owner);
  void remember(Cursor& cursor, std::int64_t owner, std::uint32_t index);

  std::string path_;
  bool readOnly_;
  std::unique_ptr<sqlite::Database> db_;
  std::unique_ptr<Statements> s_;
  std::unique_ptr<JournalStatements> j_;
  sqlite::Statement* getValue_ = nullptr;
  bool hasJournal_ = false;
  int depth_ = 0;
  bool reading_ = false;                                 // a ReadScope's transaction is open
  std::uint64_t writes_ = 0;                             // this connection's commits, for the cursors
  std::unordered_map<std::int64_t, std::string> paths_;  // keyPath answers of this batch
  std::string lastPath_;                                 // keyPath's answer outside a batch
  std::optional<std::string> lastSource_;                // the source last named in this batch
  JournalBatch batch_;
  Cursor keyCursor_;
  Cursor valueCursor_;
};

}  // namespace morvin::reg::hive
