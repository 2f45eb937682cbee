// The journal as a hive keeps it: entries of one action on one key share a
// row, and every reader finds each entry by its own number; a hive of the
// previous version is taken over with its numbers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "HiveTestSupport.h"
#include "registry/HiveStoreFile.h"
#include "registry/JournalHistory.h"

namespace morvin::test {
namespace {

using namespace reg;
using journal::Entry;
using journal::Kind;
using journal::State;

const State kAbsent{};
State dwordState(std::uint8_t v) {
  return {true, 4, std::string({static_cast<char>(v), 0, 0, 0})};
}

Entry entry(std::int64_t group, const char* source, Kind kind, const char* path, const char* name,
            State before, State after) {
  Entry e;
  e.at = 1700000000000000;
  e.group = group;
  e.source = source;
  e.kind = kind;
  e.root = "HKEY_CURRENT_USER";
  e.path = path;
  e.name = name;
  e.before = std::move(before);
  e.after = std::move(after);
  return e;
}

// What a reader gave, as "row path name" lines (USER.DAT: id = row * 2).
std::vector<std::string> described(const std::vector<Entry>& entries) {
  std::vector<std::string> out;
  for (const Entry& e : entries) out.push_back(std::to_string(e.id / 2) + " " + e.path + " " + e.name);
  return out;
}

class JournalLayout : public HiveTest {};

TEST_F(JournalLayout, EveryReaderFindsEachEntryOfAPackedRow) {
  openStore().reset();
  hive::HiveFile hive(userDat(), false);
  // Rows 1-3: one action on K1 (one row); 4: the same action on K2; 5 alone;
  // 6-7: a second action on K1 and K2.
  const std::vector<Entry> written = {
      entry(7, "A", Kind::Key, "K1", "", kAbsent, {true, 0, {}}),
      entry(7, "A", Kind::Value, "K1", "a", kAbsent, dwordState(1)),
      entry(7, "A", Kind::Value, "K1", "b", kAbsent, dwordState(1)),
      entry(7, "A", Kind::Value, "K2", "c", kAbsent, dwordState(1)),
      entry(0, "A", Kind::Value, "K1", "a", dwordState(1), dwordState(2)),
      entry(9, "B", Kind::Value, "k1", "B", dwordState(1), kAbsent),
      entry(9, "B", Kind::Value, "K2", "c", dwordState(1), kAbsent),
  };
  hive.begin();
  for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(hive.addEntry(written[i]), std::int64_t(i) + 1);
  hive.commit();
  EXPECT_EQ(hive.database().scalar("SELECT count(*) FROM journal"), 5);  // rows 1-3 share one

  struct Page {
    std::int64_t below;
    std::string source;
    std::size_t limit;
    std::vector<std::string> expected;
  };
  const std::vector<Page> pages = {
      {0, "", 3, {"7 K2 c", "6 k1 B", "5 K1 a"}},
      {3, "", 10, {"2 K1 a", "1 K1 "}},  // from within a shared row
      {0, "A", 10, {"5 K1 a", "4 K2 c", "3 K1 b", "2 K1 a", "1 K1 "}},
      {5, "B", 10, {}},
  };
  for (const Page& p : pages) {
    std::vector<Entry> out;
    hive.readNewest(true, p.below, p.source, p.limit, out);
    EXPECT_EQ(described(out), p.expected) << "below " << p.below << " source " << p.source;
  }

  const std::vector<std::pair<std::int64_t, std::string>> byNumber = {
      {1, "1 K1 "}, {2, "2 K1 a"}, {3, "3 K1 b"}, {4, "4 K2 c"}, {7, "7 K2 c"}, {8, ""}, {0, ""}};
  for (const auto& [row, expected] : byNumber) {
    const auto e = hive.readEntry(true, row);
    EXPECT_EQ(e ? described({*e}).front() : "", expected) << row;
  }
  const auto second = hive.readEntry(true, 2);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->id, 4);
  EXPECT_EQ(second->group, 7);
  EXPECT_EQ(second->source, "A");
  EXPECT_EQ(second->root, "HKEY_CURRENT_USER");
  EXPECT_EQ(second->kind, Kind::Value);
  EXPECT_EQ(second->before, kAbsent);
  EXPECT_EQ(second->after, dwordState(1));

  std::vector<Entry> group;
  hive.readGroup(true, 7, group);
  EXPECT_EQ(described(group), (std::vector<std::string>{"1 K1 ", "2 K1 a", "3 K1 b", "4 K2 c"}));
  group.clear();
  hive.readGroup(true, 9, group);
  EXPECT_EQ(described(group), (std::vector<std::string>{"6 k1 B", "7 K2 c"}));

  // K1\a and K1 itself differ from the start; b and c came and went.
  std::vector<journal::ChangedItem> changed;
  hive.readChangedItems(true, changed);
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(described({changed[0].first, changed[1].first}), (std::vector<std::string>{"1 K1 ", "2 K1 a"}));
  EXPECT_EQ(changed[1].last, dwordState(2));
  EXPECT_FALSE(changed[1].lastPending);

  // Each item's newest entry, letter case aside.
  const std::vector<Entry> asked = {written[1], written[2], written[3],
                                    entry(0, "", Kind::Value, "K1", "new", kAbsent, kAbsent)};
  std::vector<std::int64_t> rows(asked.size(), -1);
  {
    hive::HiveFile::ReadScope scope(hive);
    hive.newestRowsOf(asked, {0, 1, 2, 3}, rows);
  }
  EXPECT_EQ(rows, (std::vector<std::int64_t>{5, 6, 7, 0}));
}

// Rows and summaries as a damaged or hostile file may hold them: never read
// past their bytes, always reported as a damaged database.
TEST_F(JournalLayout, ADamagedRowOrSummaryIsReportedAsADamagedDatabase) {
  openStore().reset();
  struct Damage {
    const char* what;
    const char* sql;
  };
  const std::vector<Damage> damages = {
      {"cut short", "UPDATE journal SET entries = substr(entries, 1, 5)"},
      {"one entry more claimed", "UPDATE journal SET count = count + 1, id = id + 1"},
      {"no kind", "UPDATE journal SET entries = x'07' || substr(entries, 2)"},
      {"a name longer than the row", "UPDATE journal SET entries = x'00FFFFFFFF0F'"},
      {"a number without its end", "UPDATE journal SET entries = x'00FFFFFFFFFFFFFFFFFFFF'"},
      {"a summary cut short", "UPDATE journal_places SET places = substr(places, 1, length(places) - 3)"},
  };
  for (const Damage& d : damages) {
    {
      hive::HiveFile hive(userDat(), false);
      hive.database().exec("DELETE FROM journal; DELETE FROM journal_places");
      hive.begin();
      hive.addEntry(entry(3, "A", Kind::Value, "K", "v", kAbsent, dwordState(1)));
      hive.addEntry(entry(3, "A", Kind::Value, "K", "w", kAbsent, dwordState(2)));
      hive.commit();
      hive.database().exec(d.sql);
    }
    hive::HiveFile hive(userDat(), false);
    auto readAll = [&] {
      std::vector<Entry> all;
      hive.readNewest(true, 0, "", 10, all);
      std::vector<journal::ChangedItem> changed;
      hive.readChangedItems(true, changed);
    };
    try {
      readAll();
      ADD_FAILURE() << d.what << ": read as if whole";
    } catch (const sqlite::Error& e) {
      EXPECT_TRUE(e.corrupt()) << d.what;
    }
  }
}

class JournalLayoutStore : public JournalLayout {
 public:
  void SetUp() override {
    JournalLayout::SetUp();
    store_ = openStore();
    profiles_ = journaledProfiles(store_);
  }
  void TearDown() override {
    profiles_.reset();
    store_.reset();
    JournalLayout::TearDown();
  }
  // One action: the key made, then its values (one row of the journal).
  void importKey(const std::string& path, const std::vector<std::string>& names) {
    ASSERT_EQ(store_->atomically([&] {
      Key key = 0;
      EXPECT_EQ(store_->createKey(kCurrentUser, path, access::AllAccess, &key), err::Success);
      for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(setDword(*store_, key, names[i], i + 1), 0);
      store_->closeKey(key);
      return err::Success;
    }),
              err::Success);
  }
  std::vector<Entry> history() { return journal::history(*store_, *profiles_); }
  std::string changes() { return journal::changesReg(*store_); }

  std::shared_ptr<HiveStore> store_;
  std::shared_ptr<ProfileStore> profiles_;
};

TEST_F(JournalLayoutStore, ForgettingFromWithinARowKeepsItsNewerEntries) {
  importKey("K", {"a", "b", "c"});
  const std::vector<Entry> all = history();  // c b a K
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(journal::forget(*store_, {.entryId = all[1].id, .since = std::nullopt}), 2);
  const std::vector<Entry> kept = history();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].name, "c");
  EXPECT_EQ(kept[1].name, "b");
  EXPECT_EQ(kept[1].id, all[1].id);
  EXPECT_EQ(changes(),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"b\"=dword:00000002\r\n\"c\"=dword:00000003\r\n\r\n");
}

TEST_F(JournalLayoutStore, ValuesOfAKeyThatCannotGoAreTakenBackOneByOne) {
  importKey("K", {"a", "b"});
  const std::int64_t imported = history().front().id;
  Key sub = 0;
  ASSERT_EQ(store_->createKey(kCurrentUser, "K\\Sub", access::AllAccess, &sub), err::Success);
  store_->closeKey(sub);
  const journal::UndoResult result = journal::undo(*store_, *profiles_, {imported}, nullptr);
  EXPECT_EQ(result.takenBack, 2);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].entry.kind, Kind::Key);
  Key k = 0;
  ASSERT_EQ(store_->openKey(kCurrentUser, "K", access::Read, &k), err::Success);
  EXPECT_EQ(readDword(*store_, k, "a"), -1);
  EXPECT_EQ(readDword(*store_, k, "b"), -1);
  store_->closeKey(k);
  // Taken back again, the values come back: each removal was recorded.
  journal::undo(*store_, *profiles_, {history().front().id}, nullptr);
  ASSERT_EQ(store_->openKey(kCurrentUser, "K", access::Read, &k), err::Success);
  EXPECT_EQ(readDword(*store_, k, "a"), 1);
  EXPECT_EQ(readDword(*store_, k, "b"), 2);
  store_->closeKey(k);
}

// The journal of the previous version: a row per entry, entry 4 settled away
// and entry 6 forgotten with it.
constexpr const char* kPreviousJournal = R"sql(
DROP TABLE journal; DROP TABLE journal_places; DROP TABLE journal_sources;
CREATE TABLE journal(id INTEGER PRIMARY KEY AUTOINCREMENT, at INTEGER NOT NULL, grp INTEGER NOT NULL,
  source BLOB NOT NULL, kind INTEGER NOT NULL, root BLOB NOT NULL, path BLOB NOT NULL, section BLOB NOT NULL,
  name BLOB NOT NULL, before_present INTEGER NOT NULL, before_type INTEGER NOT NULL, before_data BLOB NOT NULL,
  after_present INTEGER NOT NULL, after_type INTEGER NOT NULL, after_data BLOB NOT NULL,
  undoes INTEGER NOT NULL DEFAULT 0, pending INTEGER NOT NULL DEFAULT 0, item INTEGER NOT NULL DEFAULT 0);
CREATE TABLE journal_items(item INTEGER PRIMARY KEY, first_id INTEGER NOT NULL, first_sig INTEGER NOT NULL,
  last_id INTEGER NOT NULL, last_sig INTEGER NOT NULL, last_pending INTEGER NOT NULL);
CREATE INDEX journal_groups ON journal(grp);
CREATE TABLE journal_sources(source BLOB PRIMARY KEY) WITHOUT ROWID;
INSERT INTO journal(id, at, grp, source, kind, root, path, section, name, before_present, before_type,
  before_data, after_present, after_type, after_data) VALUES
  (1, 100, 5, 'morvin-reg import', 1, 'HKEY_CURRENT_USER', 'Old', '', '', 0, 0, x'', 1, 0, x''),
  (2, 101, 5, 'morvin-reg import', 0, 'HKEY_CURRENT_USER', 'Old', '', 'v', 0, 0, x'', 1, 4, x'05000000'),
  (3, 102, 5, 'morvin-reg import', 0, 'HKEY_CURRENT_USER', 'Old', '', 'w', 0, 0, x'', 1, 4, x'06000000'),
  (5, 200, 0, x'536965E6', 0, 'HKEY_CURRENT_USER', 'Old', '', 'v', 1, 4, x'05000000', 1, 4, x'07000000');
INSERT INTO journal_sources VALUES('morvin-reg import'), (x'536965E6');
UPDATE sqlite_sequence SET seq = 6 WHERE name = 'journal';
PRAGMA user_version = 3;
)sql";

TEST_F(JournalLayout, AHiveOfThePreviousVersionKeepsItsEntriesAndTheirNumbers) {
  openStore().reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(userDat().c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, kPreviousJournal, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);

  const std::shared_ptr<HiveStore> store = openStore();
  hive::HiveFile hive(userDat(), false);
  EXPECT_EQ(hive.database().scalar("PRAGMA user_version"), 4);
  EXPECT_EQ(hive.database().scalar("SELECT count(*) FROM journal"), 2);  // 1-3 packed, 5 alone
  std::vector<Entry> all;
  hive.readNewest(true, 0, "", 10, all);
  EXPECT_EQ(described(all), (std::vector<std::string>{"5 Old v", "3 Old w", "2 Old v", "1 Old "}));
  EXPECT_EQ(all[0].at, 200);
  EXPECT_EQ(all[0].source, "Sie\xe6");
  EXPECT_EQ(all[0].after, dwordState(7));
  std::vector<Entry> group;
  hive.readGroup(true, 5, group);
  EXPECT_EQ(described(group), (std::vector<std::string>{"1 Old ", "2 Old v", "3 Old w"}));
  EXPECT_EQ(journal::changesReg(*store),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Old]\r\n\"v\"=dword:00000007\r\n"
            "\"w\"=dword:00000006\r\n\r\n");
  // The next entry takes the next number never given.
  Key key = 0;
  ASSERT_EQ(store->createKey(kCurrentUser, "New", access::AllAccess, &key), err::Success);
  store->closeKey(key);
  EXPECT_EQ(journal::history(*store, *journaledProfiles(store), 1).front().id, 7 * 2);
}

}  // namespace
}  // namespace morvin::test
