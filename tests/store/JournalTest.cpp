// The journal of changes: what each kind of change records, undo of each
// kind, conflicts, and the net changes as a .reg file.
#include <gtest/gtest.h>

#include <filesystem>

#include "HiveTestSupport.h"
#include "registry/Cp1250.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"

namespace morvin::test {
namespace {

using namespace reg;
using journal::Kind;

class JournalTest : public HiveTest {
 public:
  void SetUp() override {
    HiveTest::SetUp();
    store_ = std::shared_ptr<HiveStore>(openStore());
    profiles_ = journaledProfiles(store_);
  }
  void TearDown() override {
    profiles_.reset();
    store_.reset();
    HiveTest::TearDown();
  }

  Key key(Key root, const std::string& path) {
    Key k = 0;
    EXPECT_EQ(store_->createKey(root, path, access::AllAccess, &k), err::Success);
    return k;
  }
  void set(Key root, const std::string& path, const std::string& name, std::uint32_t v) {
    const Key k = key(root, path);
    EXPECT_EQ(setDword(*store_, k, name, v), err::Success);
    store_->closeKey(k);
  }
  std::int64_t get(Key root, const std::string& path, const std::string& name) {
    Key k = 0;
    if (store_->openKey(root, path, access::Read, &k) != err::Success) return -2;
    const auto v = readDword(*store_, k, name);
    store_->closeKey(k);
    return v;
  }
  std::vector<journal::Entry> history() { return journal::history(*store_, *profiles_); }
  std::string changes() { return journal::changesReg(*store_); }

  std::shared_ptr<HiveStore> store_;
  std::shared_ptr<ProfileStore> profiles_;
};

TEST_F(JournalTest, EachKindOfChangeRecordsItsStatesAndUnchangedWritesRecordNothing) {
  journal::Source source("Sie\xe6");
  set(kCurrentUser, "Net", "NoNetSetup", 5);  // key made, value made
  set(kCurrentUser, "Net", "NoNetSetup", 5);  // the same again: nothing
  set(kCurrentUser, "net", "NoNetSetup", 1);
  ASSERT_TRUE(profiles_->writeString("C:\\MsDos.sys", "Options", "Logo", "0"));
  ASSERT_TRUE(profiles_->writeString("C:\\MsDos.sys", "Options", "Logo", "0"));
  const auto h = history();  // newest first
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h[0].kind, Kind::Profile);
  EXPECT_EQ(h[0].section + "/" + h[0].name + "=" + h[0].after.data, "Options/Logo=0");
  EXPECT_FALSE(h[0].before.present);
  EXPECT_FALSE(h[0].pending);
  EXPECT_EQ(journal::describeState(h[1], h[1].before), "5 (0x00000005)");
  EXPECT_EQ(journal::describeState(h[1], h[1].after), "1 (0x00000001)");
  EXPECT_EQ(h[2].kind, Kind::Value);
  EXPECT_EQ(journal::describeState(h[2], h[2].before), "(none)");
  EXPECT_EQ(h[3].kind, Kind::Key);
  EXPECT_EQ(h[3].root + "\\" + h[3].path, "HKEY_CURRENT_USER\\Net");
  for (const auto& e : h) EXPECT_EQ(e.source, "Sie\xe6");
  std::set<std::int64_t> ids;
  for (const auto& e : h) ids.insert(e.id);
  EXPECT_EQ(ids.size(), h.size());
}

TEST_F(JournalTest, UndoOfEachKindRestoresTheStateBefore) {
  set(kLocalMachine, "A\\B", "v", 7);
  Key a = key(kLocalMachine, "A");
  ASSERT_EQ(setDword(*store_, a, "kept", 3), err::Success);
  store_->closeKey(a);
  const std::string before = exportRegText(*store_, kLocalMachine, "A");
  const auto baseline = history().size();

  // A tree removal, a value removed, a profile key changed: each taken back.
  a = key(kLocalMachine, "A");
  ASSERT_EQ(store_->deleteKey(a, "B"), err::Success);
  ASSERT_EQ(store_->deleteValue(a, "kept"), err::Success);
  store_->closeKey(a);
  EXPECT_EQ(get(kLocalMachine, "A\\B", "v"), -2);
  const auto h = history();
  std::vector<std::int64_t> ids;
  for (std::size_t i = 0; i + baseline < h.size(); ++i) ids.push_back(h[i].id);
  const auto result = journal::undo(*store_, *profiles_, ids, nullptr);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(exportRegText(*store_, kLocalMachine, "A"), before);
  // The undo is in the journal too, marked as such.
  EXPECT_NE(history().front().undoes, 0);
}

TEST_F(JournalTest, AConflictIsAskedAndNoLeavesTheValue) {
  set(kCurrentUser, "K", "x", 5);
  const auto first = history().front().id;
  set(kCurrentUser, "K", "x", 9);  // changed since
  std::vector<std::string> asked;
  auto no = [&](const journal::Entry& e, const journal::State& now) {
    asked.push_back(journal::describeItem(e) + " " + journal::describeState(e, now));
    return false;
  };
  const auto result = journal::undo(*store_, *profiles_, {first}, no);
  EXPECT_EQ(result.leftAsIs, 1);
  EXPECT_EQ(asked, std::vector<std::string>{"HKEY_CURRENT_USER\\K \"x\" 9 (0x00000009)"});
  EXPECT_EQ(get(kCurrentUser, "K", "x"), 9);
  journal::undo(*store_, *profiles_, {first}, [](auto&, auto&) { return true; });
  EXPECT_EQ(get(kCurrentUser, "K", "x"), -1);
}

TEST_F(JournalTest, ChangesFileHoldsTheNetDifference) {
  set(kCurrentUser, "Old", "keep", 1);
  set(kCurrentUser, "Old\\Sub", "gone", 1);
  {
    journal::Suspended startingPoint;  // what the machine held from the start
    set(kCurrentUser, "Base", "v", 1);
  }
  EXPECT_EQ(history().size(), 4u);
  journal::undoAll(*store_, *profiles_);
  EXPECT_EQ(changes(), "");
  set(kCurrentUser, "Base", "v", 2);
  set(kCurrentUser, "Base", "v", 3);  // several changes: the last one counts
  set(kCurrentUser, "New", "n", 4);
  Key base = key(kCurrentUser, "Base");
  store_->setValue(base, "s", type::Sz, reinterpret_cast<const std::uint8_t*>("abc"), 4);
  store_->deleteValue(base, "s");  // made and removed again: nothing
  store_->closeKey(base);
  Key empty = key(kCurrentUser, "Empty");
  store_->closeKey(empty);
  EXPECT_EQ(changes(),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Base]\r\n\"v\"=dword:00000003\r\n\r\n"
            "[HKEY_CURRENT_USER\\Empty]\r\n\r\n"
            "[HKEY_CURRENT_USER\\New]\r\n\"n\"=dword:00000004\r\n\r\n");
  ASSERT_EQ(store_->deleteKey(kCurrentUser, "Empty"), err::Success);
  ASSERT_EQ(store_->deleteKey(kCurrentUser, "New"), err::Success);
  Key b = key(kCurrentUser, "Base");
  store_->deleteValue(b, "v");
  store_->closeKey(b);
  EXPECT_EQ(changes(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Base]\r\n\"v\"=-\r\n\r\n");
  store_->deleteKey(kCurrentUser, "Base");
  EXPECT_EQ(changes(), "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Base]\r\n\r\n");
  journal::undoAll(*store_, *profiles_);
  EXPECT_EQ(changes(), "");
  EXPECT_EQ(get(kCurrentUser, "Base", "v"), 1);
}

TEST_F(JournalTest, AnImportOfTwentyValuesTakenBackLeavesTheSameExport) {
  {
    journal::Suspended startingPoint;
    for (int i = 0; i < 5; ++i) set(kCurrentUser, "Software\\T", "old" + std::to_string(i), i);
  }
  const std::string before = exportRegText(*store_, kCurrentUser, "Software");
  std::string tweak = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n";
  for (int i = 0; i < 5; ++i) tweak += "\"old" + std::to_string(i) + "\"=\"changed\"\r\n";
  for (int i = 0; i < 10; ++i) tweak += "\"new" + std::to_string(i) + "\"=hex:0" + std::to_string(i) + "\r\n";
  tweak += "\r\n[HKEY_CURRENT_USER\\Software\\T\\Nowy\\Głęboki]\r\n";
  for (int i = 0; i < 5; ++i)
    tweak += "\"d" + std::to_string(i) + "\"=dword:0000000" + std::to_string(i) + "\r\n";
  importRegText(*store_, cp1250::fromUtf8(tweak));
  ASSERT_NE(exportRegText(*store_, kCurrentUser, "Software"), before);
  const auto result = journal::undoAll(*store_, *profiles_);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(exportRegText(*store_, kCurrentUser, "Software"), before);
}

TEST_F(JournalTest, ACutShortProfileWriteIsSettledAgainstTheFile) {
  // What a kill leaves: the pending entry, and the file either way.
  journal::Entry e;
  e.kind = Kind::Profile;
  e.path = "C:\\MsDos.sys";
  e.section = "Options";
  e.name = "Logo";
  e.after = {true, type::Sz, "1"};
  store_->addPendingEntry(e);
  EXPECT_TRUE(history().empty());  // never written
  writeFile(folder_ + "/MsDos.sys", "[Options]\r\nLogo=1\r\n");
  ASSERT_EQ(history().size(), 1u);
  EXPECT_FALSE(history()[0].pending);
  writeFile(folder_ + "/MsDos.sys", "[Options]\r\nLogo=2\r\n");
  EXPECT_TRUE(history()[0].pending);
  EXPECT_EQ(history()[0].after.data, "2");
}

TEST_F(JournalTest, EntriesKeepTheOrderTheyWereMadeInWhenTheClockStepsBack) {
  std::int64_t now = 5'000'000'000'000;
  journal::setClock([&] { return now; });
  set(kCurrentUser, "Clock", "v", 1);
  now -= 3'600'000'000;  // an hour back
  set(kCurrentUser, "Clock", "v", 2);
  journal::setClock({});
  const auto h = history();
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(journal::describeState(h[0], h[0].after), "2 (0x00000002)");
  EXPECT_EQ(journal::describeState(h[1], h[1].after), "1 (0x00000001)");
  EXPECT_EQ(changes(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Clock]\r\n\"v\"=dword:00000002\r\n\r\n");
  journal::undo(*store_, *profiles_, {h[0].id}, nullptr);
  EXPECT_EQ(get(kCurrentUser, "Clock", "v"), 1);
  journal::undoAll(*store_, *profiles_);
  EXPECT_EQ(changes(), "");
  EXPECT_EQ(get(kCurrentUser, "Clock", "v"), -2);
}

TEST_F(JournalTest, ForgetMakesANewStartingPointAndGivesTheSpaceBack) {
  set(kCurrentUser, "Old", "v", 1);
  const auto old = history().front().id;
  std::string file = "REGEDIT4\r\n\r\n";
  for (int k = 0; k < 40; ++k) {
    file += "[HKEY_CURRENT_USER\\Big\\K" + std::to_string(k) + "]\r\n";
    for (int v = 0; v < 50; ++v)
      file += "\"V" + std::to_string(v) + "\"=\"" + std::string(40, 'x') + "\"\r\n";
  }
  const auto sizeOf = [&] {
    store_.reset();  // closed: the log is folded into the file
    profiles_.reset();
    const auto size = std::filesystem::file_size(userDat());
    store_ = std::shared_ptr<HiveStore>(openStore());
    profiles_ = journaledProfiles(store_);
    return size;
  };
  const auto small = sizeOf();
  for (int round = 0; round < 3; ++round) {
    importRegText(*store_, file);
    journal::undo(*store_, *profiles_, {history().front().id}, nullptr);
  }
  const auto grown = sizeOf();
  set(kCurrentUser, "Kept", "v", 2);
  const auto kept = history().front().id;
  set(kCurrentUser, "Kept", "v", 3);

  journal::forget(*store_, {.entryId = kept, .since = std::nullopt});
  EXPECT_EQ(history().size(), 2u);
  EXPECT_EQ(changes(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Kept]\r\n\"v\"=dword:00000003\r\n\r\n");
  journal::forget(*store_);
  EXPECT_TRUE(history().empty());
  EXPECT_EQ(changes(), "");  // the present is the new start
  EXPECT_EQ(journal::undo(*store_, *profiles_, {old}, nullptr).takenBack, 0);
  EXPECT_EQ(get(kCurrentUser, "Old", "v"), 1);
  set(kCurrentUser, "Old", "v", 4);
  EXPECT_EQ(changes(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Old]\r\n\"v\"=dword:00000004\r\n\r\n");
  const auto trimmed = sizeOf();
  EXPECT_GT(grown, small + 300'000);
  EXPECT_LT(trimmed, small + small / 10 + 8192);
}

}  // namespace
}  // namespace morvin::test
