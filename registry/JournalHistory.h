// What the journal is for: the history of changes, taking changes back, and
// the net difference between the machine's starting point and now, as a
// REGEDIT4 file that Windows 98's own registry editor applies.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Journal.h"
#include "JournalKeeper.h"
#include "ProfileStore.h"
#include "RegistryStore.h"

namespace morvin::reg::journal {

// The journal `store` keeps; throws morvin::Exception when it keeps none.
Keeper& keeperOf(RegistryStore& store);

// A pending profile entry is settled against the file: gone when the file
// still holds `before`, done when it holds `after`, otherwise kept pending
// with `after` set to what the file holds.
void settlePending(std::vector<Entry>& entries, RegistryStore& store, ProfileStore& profiles);
// Up to `limit` of the newest entries, newest first, settled.
std::vector<Entry> history(RegistryStore& store, ProfileStore& profiles, std::size_t limit = SIZE_MAX);

// The item's state now (a key: present or absent; type 1 marks a key that
// holds values or subkeys).
State currentState(const Entry& entry, RegistryStore& store, ProfileStore& profiles);

// The source of the entry a refresh from the Windows 9x drive leaves: the
// drive's registry became the machine's new starting point there (forget).
inline constexpr const char* kRefreshSource = "Odczyt z dysku";

// Whether two states of a value are what Windows' functions return alike: a
// text (REG_SZ, REG_EXPAND_SZ) without its terminating NUL reads as the same
// text with it.
bool sameAsWindowsReads(const State& a, const State& b);

// Asked before taking back an entry whose item is no longer in its `after`
// state; false leaves the item as it is.
using ConflictQuestion = std::function<bool(const Entry& entry, const State& now)>;

// A change that could not be taken back, as data: whoever shows it says it
// in its own words (describeUndoFailure: the English line morvin-reg prints).
struct UndoFailure {
  enum class Kind {
    Restore,       // the store refused to put `entry`'s item back: `status`
    ProfileWrite,  // `entry`'s profile file (entry.path) could not be written
    Transaction,   // nothing was taken back: the transaction failed with `status`
  };
  Kind kind = Kind::Restore;
  Entry entry;  // Restore, ProfileWrite
  Status status = err::Success;
};
std::string describeUndoFailure(const UndoFailure& failure);  // cp1250, English

struct UndoResult {
  int takenBack = 0;
  int leftAsIs = 0;  // conflicts answered no
  std::vector<UndoFailure> failures;
};

// Taking back entries: each chosen entry with the rest of its group, newest
// first. A step is a conflict when its item will not be in the entry's
// `after` state when its turn comes (`now` is the state it will be in).
struct UndoStep {
  Entry entry;
  bool conflict = false;
  State now;
};
// The entries with these ids and the rest of their groups, newest first,
// settled; ids not in the journal are left out.
std::vector<Entry> entriesToUndo(RegistryStore& store, ProfileStore& profiles,
                                 const std::vector<std::int64_t>& ids);
// Plans taking back every one of `entries` (newest first).
std::vector<UndoStep> planUndo(RegistryStore& store, ProfileStore& profiles, std::vector<Entry> entries);
// Carries the steps out as one new group of entries: `ask` decides each
// conflict first (none: conflicts are left as they are), then the registry
// changes are written in one transaction per hive, the profile keys after.
UndoResult applyUndo(RegistryStore& store, ProfileStore& profiles, const std::vector<UndoStep>& steps,
                     const ConflictQuestion& ask);
// entriesToUndo + planUndo + applyUndo.
UndoResult undo(RegistryStore& store, ProfileStore& profiles, const std::vector<std::int64_t>& ids,
                const ConflictQuestion& ask);
// Brings every changed item back to its starting state, in one transaction.
UndoResult undoAll(RegistryStore& store, ProfileStore& profiles);

// One item (a value, a key or a profile key) whose state differs from where
// the journal begins.
struct NetChange {
  Entry first;  // its oldest entry: `first.before` is the starting state
  State now;
};
// Computed per item by the database: the oldest `before` and the newest
// `after`; only profile keys and unsettled entries are read from their files.
std::vector<NetChange> netChanges(RegistryStore& store, ProfileStore& profiles);
// netChanges of the registry alone: no profile file is read.
std::vector<NetChange> netRegistryChanges(RegistryStore& store);

// The net registry changes as a REGEDIT4 file (cp1250, CR LF); an empty
// string when nothing differs.
std::string changesReg(RegistryStore& store);
std::string changesReg(const std::vector<NetChange>& changes);
// The file a user saves: changesReg, or a REGEDIT4 file that changes nothing.
std::string changesFile(const std::vector<NetChange>& changes);
// Whether a key of the profile file at `windowsPath` differs from the start.
bool profileChanged(const std::vector<NetChange>& changes, const std::string& windowsPath);

// Makes the machine's present state (or its state before the entry `point`
// names) the journal's new starting point: older entries go and their space
// is given back. Changes are measured from there on; what went can no longer
// be taken back. Returns how many entries went.
std::int64_t forget(RegistryStore& store, const ForgetPoint& point = {});

// The one readable form of items and states, cp1250. The words for what has
// no bytes to show come from whoever shows them (English by default, the
// program's language in the window); a DWORD is "1 (0x00000001)", a text is
// in quotes, anything else hex bytes.
struct StateWords {
  std::string absent = "(none)";
  std::string empty = "(empty)";
  std::string key = "(key)";
  std::string keyWithContent = "(key with contents)";
};
std::string describeState(const Entry& entry, const State& state, const StateWords& words = {});
// The item as two parts: "HKEY_CURRENT_USER\Software\X" (or
// "C:\MsDos.sys [Options]") and the value ("@" the default value, "" a key).
struct ItemText {
  std::string key;
  std::string value;
};
ItemText describeItemParts(const Entry& entry);
// Both parts on one line: HKEY_CURRENT_USER\Software\X "name".
std::string describeItem(const Entry& entry);

}  // namespace morvin::reg::journal
