#include "HiveStoreFile.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "Cp1250.h"
#include "Errors.h"

namespace morvin::reg::hive {
namespace {

// Marks a database as a hive of this program ("MREG" in the file header).
constexpr std::int64_t kApplicationId = 0x4D524547;
// 1: keys and values; 2: also the journal of changes; 3: the journal indexed
// by item and group; 4: the journal packed, a row per action and place.
constexpr std::int64_t kSchemaVersion = 4;
constexpr int kBusyTimeoutMs = 15000;
// Hives up to this many pages (512 KiB, several times a real machine's) get a
// full quick check when opened; bigger ones only the structural probe, so
// opening stays within a few milliseconds whatever the size.
constexpr std::int64_t kQuickCheckPages = 128;

constexpr const char* kSchema = R"sql(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,  -- never reused: a stale handle cannot reach a new key
  parent INTEGER NOT NULL,
  name BLOB NOT NULL,                    -- cp1250, case as created
  folded BLOB NOT NULL,                  -- comparison form of the name
  subkeys INTEGER NOT NULL DEFAULT 0,
  nvalues INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX keys_by_name ON keys(parent, folded);
CREATE TABLE vals(
  id INTEGER PRIMARY KEY,                -- creation order
  key INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL);
CREATE UNIQUE INDEX vals_by_name ON vals(key, folded);
CREATE INDEX vals_in_order ON vals(key);
INSERT INTO keys(id, parent, name, folded) VALUES(1, 0, x'', x'');
)sql";

// The journal of changes (registry/Journal.h), written in each change's own
// transaction. Each entry has a row number of its own, in the order written;
// the entries of one action on one place (root, key path, section) share a
// row holding a range of numbers (HiveStoreJournalRows.h packs them). Each
// place's items are summed up in one row, so that every read is bounded: the
// net changes read only the items whose two ends differ.
constexpr const char* kJournalSchema = R"sql(
CREATE TABLE IF NOT EXISTS journal(
  id INTEGER PRIMARY KEY AUTOINCREMENT,  -- the row number of the row's newest entry
  count INTEGER NOT NULL,                -- it holds the entries id - count + 1 .. id
  at INTEGER NOT NULL,                   -- microseconds since 1970, UTC, of its first entry
  grp INTEGER NOT NULL,                  -- entries of one action share it; 0 alone
  source BLOB NOT NULL,                  -- what made it, cp1250
  root BLOB NOT NULL,
  path BLOB NOT NULL,
  section BLOB NOT NULL,
  pending INTEGER NOT NULL DEFAULT 0,    -- a profile file write not yet known to be done (one entry)
  entries BLOB NOT NULL);                -- each entry's kind, name, states and the entry it took back
CREATE TABLE IF NOT EXISTS journal_places(
  hash INTEGER PRIMARY KEY,              -- root, path and section in capitals, hashed
  places BLOB NOT NULL);                 -- each place of that hash (nearly always one) with its
                                         -- items' oldest and newest entry, their ends compared
CREATE INDEX IF NOT EXISTS journal_groups ON journal(grp);
CREATE TABLE IF NOT EXISTS journal_sources(source BLOB PRIMARY KEY) WITHOUT ROWID;
)sql";

// The journal of versions 2 and 3 (a row per entry) waits beside the new
// one while its entries are packed; its indexes are of no use any more.
constexpr const char* kSetOldJournalAside = R"sql(
DROP INDEX IF EXISTS journal_groups;
DROP TABLE IF EXISTS journal_items;
ALTER TABLE journal RENAME TO journal_unpacked;
)sql";

enum class FileState { Missing, Ours, Blank, Foreign };

using Kind = EHiveFileError::Kind;

[[noreturn]] void fail(Kind kind, const std::string& path, const std::string& detail = {}) {
  const char* pattern = "Nie można otworzyć pliku rejestru %s";
  switch (kind) {
    case Kind::NotAHive:
      pattern = "Plik %s nie jest plikiem rejestru";
      break;
    case Kind::Damaged:
      pattern = "Plik rejestru %s jest uszkodzony";
      break;
    case Kind::CannotOpen:
      break;
    case Kind::CannotCreate:
      pattern = "Nie można utworzyć pliku rejestru %s";
      break;
    case Kind::FromNewerVersion:
      pattern = "Plik rejestru %s pochodzi z nowszej wersji programu";
      break;
  }
  const std::string ansiPath = cp1250::fromUtf8(path);
  std::string text = formatMessage(cp1250::fromUtf8(pattern), ansiPath);
  if (!detail.empty()) text += " (" + detail + ")";
  throw EHiveFileError(kind, ansiPath, detail, text);
}

[[noreturn]] void notAHive(const std::string& path) {
  fail(Kind::NotAHive, path);
}

[[noreturn]] void damaged(const std::string& path, const std::string& detail = {}) {
  fail(Kind::Damaged, path, detail);
}

// Looks at the file before SQLite does, so a file that is not a hive is never
// touched (not even by switching its journal mode).
FileState inspect(const std::string& path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  // Another process may create the hive between the two looks: look again.
  for (int attempt = 0; ec && attempt < 3; ++attempt) {
    std::error_code existsError;
    if (!std::filesystem::exists(path, existsError) && !existsError) return FileState::Missing;
    size = std::filesystem::file_size(path, ec);
  }
  if (ec) fail(Kind::CannotOpen, path, ec.message());
  if (size == 0) return FileState::Missing;
  std::array<unsigned char, 100> header{};
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(Kind::CannotOpen, path, std::strerror(errno));
  if (size < header.size() || !in.read(reinterpret_cast<char*>(header.data()), header.size())) notAHive(path);
  if (std::memcmp(header.data(), "SQLite format 3", 16) != 0) notAHive(path);
  const std::int64_t applicationId =
      (std::int64_t{header[68]} << 24) | (header[69] << 16) | (header[70] << 8) | header[71];
  if (applicationId == kApplicationId) return FileState::Ours;
  return applicationId == 0 ? FileState::Blank : FileState::Foreign;
}

bool hasWritePermission(const std::string& path) {
  using std::filesystem::perms;
  std::error_code ec;
  const perms p = std::filesystem::status(path, ec).permissions();
  return ec || (p & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
}

}  // namespace

struct HiveFile::Statements {
  explicit Statements(sqlite::Database& db)
      : begin(db, "BEGIN IMMEDIATE"),
        beginRead(db, "BEGIN"),
        commit(db, "COMMIT"),
        rollback(db, "ROLLBACK"),
        savepoint(db, "SAVEPOINT batch"),
        release(db, "RELEASE batch"),
        rollbackTo(db, "ROLLBACK TO batch"),
        key(db, "SELECT parent, subkeys, nvalues FROM keys WHERE id = ?"),
        findChild(db, "SELECT id FROM keys WHERE parent = ? AND folded = ?"),
        addChild(db, "INSERT INTO keys(parent, name, folded) VALUES(?, ?, ?)"),
        countSubkeys(db, "UPDATE keys SET subkeys = subkeys + ? WHERE id = ?"),
        countValues(db, "UPDATE keys SET nvalues = nvalues + ? WHERE id = ?"),
        removeKeyValues(db, "DELETE FROM vals WHERE key = ?"),
        removeKey(db, "DELETE FROM keys WHERE id = ?"),
        getValue(db, "SELECT type, data FROM vals WHERE key = ? AND folded = ?"),
        updateValue(db, "UPDATE vals SET type = ?, data = ? WHERE key = ? AND folded = ?"),
        insertValue(db, "INSERT INTO vals(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)"),
        removeValue(db, "DELETE FROM vals WHERE key = ? AND folded = ?"),
        subkeyNext(db,
                   "SELECT name, folded FROM keys WHERE parent = ? AND folded > ? ORDER BY folded LIMIT 1"),
        subkeyPrev(
            db, "SELECT name, folded FROM keys WHERE parent = ? AND folded < ? ORDER BY folded DESC LIMIT 1"),
        subkeyAt(db, "SELECT name, folded FROM keys WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?"),
        subkeyAtFromEnd(
            db, "SELECT name, folded FROM keys WHERE parent = ? ORDER BY folded DESC LIMIT 1 OFFSET ?"),
        valueNext(db, "SELECT id, name, type, data FROM vals WHERE key = ? AND id > ? ORDER BY id LIMIT 1"),
        valuePrev(db,
                  "SELECT id, name, type, data FROM vals WHERE key = ? AND id < ? ORDER BY id DESC LIMIT 1"),
        valueAt(db, "SELECT id, name, type, data FROM vals WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?"),
        valueAtFromEnd(
            db, "SELECT id, name, type, data FROM vals WHERE key = ? ORDER BY id DESC LIMIT 1 OFFSET ?"),
        allValues(db, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY id"),
        subkeyLengths(db, "SELECT ifnull(max(length(name)), 0) FROM keys WHERE parent = ?"),
        // Windows keeps texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) in UTF-16
        // and gives their stored size as the longest data even to the "A"
        // functions: two bytes for each cp1250 byte.
        valueLengths(
            db,
            "SELECT ifnull(max(length(name)), 0), "
            "ifnull(max(CASE WHEN type IN (1, 2, 7) THEN 2 * length(data) ELSE length(data) END), 0) "
            "FROM vals WHERE key = ?") {}

  sqlite::Statement begin, beginRead, commit, rollback, savepoint, release, rollbackTo;
  sqlite::Statement key, findChild, addChild, countSubkeys, countValues, removeKeyValues, removeKey;
  sqlite::Statement getValue, updateValue, insertValue, removeValue;
  sqlite::Statement subkeyNext, subkeyPrev, subkeyAt, subkeyAtFromEnd;
  sqlite::Statement valueNext, valuePrev, valueAt, valueAtFromEnd, allValues;
  sqlite::Statement subkeyLengths, valueLengths;
};

HiveFile::HiveFile(std::string path, bool readOnly) : path_(std::move(path)), readOnly_(readOnly) {
  // Several processes making the same new hive at once can find it locked in
  // a way SQLite does not wait for (while one of them switches it to the
  // log): the open is tried again, for as long as a busy write would wait.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  std::minstd_rand jitter{std::random_device{}()};
  for (;;) {
    try {
      open();
      return;
    } catch (const sqlite::Error& e) {
      s_.reset();
      db_.reset();
      readOnly_ = readOnly;
      if (e.busy() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2 + jitter() % 20));
        continue;
      }
      if (e.corrupt()) damaged(path_, e.what());
      fail(Kind::CannotOpen, path_, e.what());
    }
  }
}

HiveFile::~HiveFile() {
  if (depth_ > 0) {
    depth_ = 1;
    rollback();
  }
  j_.reset();
  s_.reset();
}

void HiveFile::open() {
  const FileState state = inspect(path_);
  if (state == FileState::Foreign) notAHive(path_);
  // A file without write permission is a hive the user may not change, even
  // when the operating system would let this process write it (as root).
  const bool writable = state == FileState::Missing || hasWritePermission(path_);
  const int flags = writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  db_ = std::make_unique<sqlite::Database>(path_, flags, kBusyTimeoutMs);
  // SQLite falls back to reading when the system refuses to let it write.
  const bool fileReadOnly = !writable || sqlite3_db_readonly(db_->handle(), "main") == 1;
  if (fileReadOnly) readOnly_ = true;
  // A hive whose making was cut short by a crash can look like ours on disk
  // and still be rolled back to nothing by SQLite: it is made again.
  if (state != FileState::Ours || db_->scalar("PRAGMA application_id") == 0) {
    if (fileReadOnly && state != FileState::Missing) notAHive(path_);
    if (fileReadOnly) fail(Kind::CannotCreate, path_);
    createIfEmpty();  // also for a hive only the program treats as read-only
  }
  if (!fileReadOnly) {
    db_->exec("PRAGMA journal_mode = WAL");
    // Each commit is on disk (the log synced) before the call returns.
    db_->exec("PRAGMA synchronous = FULL");
  }
  if (!fileReadOnly) upgrade();
  db_->exec("PRAGMA cache_size = -16384");
  db_->exec("PRAGMA mmap_size = 268435456");
  verify();
  s_ = std::make_unique<Statements>(*db_);
  getValue_ = &s_->getValue;
  // A read-only hive of an older version has no journal this version can read.
  hasJournal_ = db_->scalar("SELECT count(*) FROM sqlite_master WHERE name = 'journal_places'") == 1;
}

// Lays down the schema in a file that holds nothing yet. Done in the rollback
// journal mode, so the hive marker is in the main file before any log exists;
// another process racing to create the same hive waits for the lock and then
// finds it made.
void HiveFile::createIfEmpty() {
  db_->exec("BEGIN IMMEDIATE");
  try {
    if (db_->scalar("PRAGMA application_id") == 0) {
      if (db_->scalar("SELECT count(*) FROM sqlite_master") != 0) notAHive(path_);
      db_->exec(kSchema);
      db_->exec(kJournalSchema);
      db_->exec(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
      db_->exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    db_->exec("COMMIT");
  } catch (...) {
    db_->exec("ROLLBACK");
    throw;
  }
}

// A hive of the first version gets its journal; its content so far is where
// the journal starts from. One of the second or third has its entries packed.
void HiveFile::upgrade() {
  const std::int64_t version = db_->scalar("PRAGMA user_version");
  if (version >= kSchemaVersion) return;
  db_->exec("BEGIN IMMEDIATE");
  try {
    if (version >= 2) db_->exec(kSetOldJournalAside);
    db_->exec(kJournalSchema);
    if (version >= 2) packOldJournal();
    db_->exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    db_->exec("COMMIT");
  } catch (...) {
    batch_ = {};
    db_->exec("ROLLBACK");
    throw;
  }
}

void HiveFile::verify() {
  if (db_->scalar("PRAGMA application_id") != kApplicationId) notAHive(path_);
  if (db_->scalar("PRAGMA user_version") > kSchemaVersion) fail(Kind::FromNewerVersion, path_);
  if (db_->scalar("SELECT count(*) FROM sqlite_master WHERE name IN ('keys', 'vals', 'keys_by_name', "
                  "'vals_by_name', 'vals_in_order')") != 5)
    damaged(path_);
  if (db_->scalar("PRAGMA page_count") <= kQuickCheckPages) {
    sqlite::Statement check(*db_, "PRAGMA quick_check");
    if (!check.step() || check.blob(0) != "ok") damaged(path_, std::string(check.blob(0)));
  }
  // Walks both edges of every table and index: a damaged page on the way
  // reports SQLITE_CORRUPT.
  for (const char* probe :
       {"SELECT min(id) FROM keys", "SELECT max(id) FROM keys", "SELECT min(id) FROM vals",
        "SELECT max(id) FROM vals",
        "SELECT count(*) FROM (SELECT 1 FROM keys ORDER BY parent, folded LIMIT 1)",
        "SELECT count(*) FROM (SELECT 1 FROM keys ORDER BY parent DESC, folded DESC LIMIT 1)",
        "SELECT count(*) FROM (SELECT 1 FROM vals ORDER BY key, folded LIMIT 1)",
        "SELECT count(*) FROM (SELECT 1 FROM vals ORDER BY key DESC, folded DESC LIMIT 1)",
        "SELECT count(*) FROM (SELECT 1 FROM vals INDEXED BY vals_in_order ORDER BY key DESC LIMIT 1)"})
    db_->scalar(probe);
  if (db_->scalar("SELECT count(*) FROM keys WHERE id = 1 AND parent = 0") != 1) damaged(path_);
}

void HiveFile::forEachValue(
    std::int64_t key, const std::function<void(std::string_view, std::uint32_t, std::string_view)>& visit) {
  sqlite::Use all(s_->allValues);
  all->bind(1, key);
  while (all->step()) visit(all->blob(0), static_cast<std::uint32_t>(all->integer(1)), all->blob(2));
}

void HiveFile::begin() {
  // What the journal holds in memory goes in before a savepoint, so rolling
  // back to it forgets only what came after.
  if (depth_ > 0) writeBatch();
  sqlite::Use use(depth_ == 0 ? s_->begin : s_->savepoint);
  use->run();
  ++depth_;
}

void HiveFile::commit() {
  if (depth_ == 0) return;
  if (depth_ > 1) {
    sqlite::Use use(s_->release);
    use->run();
    --depth_;
    return;
  }
  try {
    writeBatch();
    depth_ = 0;
    ++writes_;
    forgetBatchCaches();
    sqlite::Use use(s_->commit);
    use->run();
  } catch (...) {
    depth_ = 0;
    ++writes_;
    forgetBatchCaches();
    try {
      sqlite::Use undo(s_->rollback);
      undo->run();
    } catch (...) {
    }
    throw;
  }
}

void HiveFile::rollback() {
  if (depth_ == 0) return;
  ++writes_;
  if (depth_ > 1) {
    --depth_;
    forgetBatchCaches();
    {
      sqlite::Use use(s_->rollbackTo);
      use->run();
    }
    sqlite::Use use(s_->release);
    use->run();
    return;
  }
  depth_ = 0;
  forgetBatchCaches();
  sqlite::Use use(s_->rollback);
  use->run();
}

HiveFile::ReadScope::ReadScope(HiveFile& hive) : hive_(hive) {
  if (hive_.depth_ > 0 || hive_.reading_) return;  // inside a transaction already
  sqlite::Use use(hive_.s_->beginRead);
  use->run();
  began_ = true;
  hive_.reading_ = true;
}

HiveFile::ReadScope::~ReadScope() {
  if (!began_) return;
  hive_.reading_ = false;
  try {
    sqlite::Use use(hive_.s_->commit);
    use->run();
  } catch (...) {
    // A read transaction has nothing to lose; make sure it is gone.
    sqlite3_exec(hive_.db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

std::optional<HiveFile::KeyRow> HiveFile::key(std::int64_t id) {
  sqlite::Use use(s_->key);
  use->bind(1, id);
  if (!use->step()) return std::nullopt;
  return KeyRow{use->integer(0), static_cast<std::uint32_t>(use->integer(1)),
                static_cast<std::uint32_t>(use->integer(2))};
}

std::optional<std::int64_t> HiveFile::findChild(std::int64_t parent, std::string_view folded) {
  sqlite::Use use(s_->findChild);
  use->bind(1, parent).bind(2, folded);
  if (!use->step()) return std::nullopt;
  return use->integer(0);
}

std::int64_t HiveFile::addChild(std::int64_t parent, std::string_view name, std::string_view folded) {
  ++writes_;
  {
    sqlite::Use use(s_->addChild);
    use->bind(1, parent).bind(2, name).bind(3, folded).run();
  }
  const std::int64_t id = db_->lastInsertId();
  sqlite::Use count(s_->countSubkeys);
  count->bind(1, 1).bind(2, parent).run();
  return id;
}

void HiveFile::removeKey(std::int64_t id, std::int64_t parent) {
  ++writes_;
  paths_.erase(id);
  {
    sqlite::Use use(s_->removeKeyValues);
    use->bind(1, id).run();
  }
  {
    sqlite::Use use(s_->removeKey);
    use->bind(1, id).run();
  }
  sqlite::Use count(s_->countSubkeys);
  count->bind(1, -1).bind(2, parent).run();
}

void HiveFile::writeValue(std::int64_t key, std::string_view name, std::string_view folded,
                          std::uint32_t type, std::string_view data) {
  ++writes_;
  {
    sqlite::Use use(s_->updateValue);
    use->bind(1, std::int64_t{type}).bind(2, data).bind(3, key).bind(4, folded).run();
    if (db_->changes() > 0) return;
  }
  {
    sqlite::Use use(s_->insertValue);
    use->bind(1, key).bind(2, name).bind(3, folded).bind(4, std::int64_t{type}).bind(5, data).run();
  }
  sqlite::Use count(s_->countValues);
  count->bind(1, 1).bind(2, key).run();
}

bool HiveFile::removeValue(std::int64_t key, std::string_view folded) {
  ++writes_;
  {
    sqlite::Use use(s_->removeValue);
    use->bind(1, key).bind(2, folded).run();
    if (db_->changes() == 0) return false;
  }
  sqlite::Use count(s_->countValues);
  count->bind(1, -1).bind(2, key).run();
  return true;
}

bool HiveFile::cursorFits(const Cursor& cursor, std::int64_t owner) {
  return cursor.owner == owner && cursor.writes == writes_ && cursor.version == db_->dataVersion();
}

void HiveFile::remember(Cursor& cursor, std::int64_t owner, std::uint32_t index) {
  cursor.owner = owner;
  cursor.index = index;
  cursor.writes = writes_;
  cursor.version = db_->dataVersion();
}

// Walking the subkeys one index after another (forwards, or backwards as a
// tree removal does) steps from the last answer instead of counting from the
// start, so a full enumeration costs n lookups rather than n^2/2 row visits.
bool HiveFile::subkeyAt(std::int64_t parent, std::uint32_t index, std::uint32_t count, std::string* name) {
  if (index >= count) return false;
  Cursor& c = keyCursor_;
  const bool fits = cursorFits(c, parent);
  sqlite::Statement* query;
  if (fits && index == c.index + 1) {
    query = &s_->subkeyNext;
  } else if (fits && index + 1 == c.index) {
    query = &s_->subkeyPrev;
  } else if (index <= count / 2) {
    query = &s_->subkeyAt;
  } else {
    query = &s_->subkeyAtFromEnd;
  }
  const std::string previous = c.folded;  // stays bound while the statement runs
  sqlite::Use use(*query);
  use->bind(1, parent);
  if (query == &s_->subkeyNext || query == &s_->subkeyPrev)
    use->bind(2, std::string_view(previous));
  else
    use->bind(2, std::int64_t{query == &s_->subkeyAt ? index : count - 1 - index});
  if (!use->step()) {
    c.owner = -1;
    return false;
  }
  *name = use->blob(0);
  c.folded = use->blob(1);
  remember(c, parent, index);
  return true;
}

bool HiveFile::valueAt(std::int64_t key, std::uint32_t index, std::uint32_t count, std::string* name,
                       std::uint32_t* type, std::string* data) {
  if (index >= count) return false;
  Cursor& c = valueCursor_;
  const bool fits = cursorFits(c, key);
  sqlite::Statement* query;
  if (fits && index == c.index + 1) {
    query = &s_->valueNext;
  } else if (fits && index + 1 == c.index) {
    query = &s_->valuePrev;
  } else if (index <= count / 2) {
    query = &s_->valueAt;
  } else {
    query = &s_->valueAtFromEnd;
  }
  sqlite::Use use(*query);
  use->bind(1, key);
  if (query == &s_->valueNext || query == &s_->valuePrev)
    use->bind(2, c.rowId);
  else
    use->bind(2, std::int64_t{query == &s_->valueAt ? index : count - 1 - index});
  if (!use->step()) {
    c.owner = -1;
    return false;
  }
  c.rowId = use->integer(0);
  if (name) *name = use->blob(1);
  if (type) *type = static_cast<std::uint32_t>(use->integer(2));
  if (data) *data = use->blob(3);
  remember(c, key, index);
  return true;
}

void HiveFile::lengths(std::int64_t key, KeyInfo& info) {
  {
    sqlite::Use use(s_->subkeyLengths);
    use->bind(1, key);
    info.maxSubKeyLen = use->step() ? static_cast<std::uint32_t>(use->integer(0)) : 0;
  }
  sqlite::Use use(s_->valueLengths);
  use->bind(1, key);
  if (use->step()) {
    info.maxValueNameLen = static_cast<std::uint32_t>(use->integer(0));
    info.maxValueLen = static_cast<std::uint32_t>(use->integer(1));
  }
}

}  // namespace morvin::reg::hive
