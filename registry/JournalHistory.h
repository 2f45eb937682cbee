// What the journal is for: the history of changes, taking changes back, and
// the net difference between the machine's starting point and now, as a
// REGEDIT4 file that Windows 98's own registry editor applies.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "HiveStore.h"
#include "Journal.h"
#include "ProfileStore.h"

namespace morvin::reg::journal {

// Every entry, newest first. A pending profile entry is settled against the
// file: gone when the file still holds `before`, done when it holds `after`,
// otherwise kept pending with `after` set to what the file holds.
std::vector<Entry> history(HiveStore& store, ProfileStore& profiles);

// The item's state now (a key: present or absent; type 1 marks a key that
// holds values or subkeys).
State currentState(const Entry& entry, RegistryStore& store, ProfileStore& profiles);

// The source of the one group a refresh from the Windows 9x drive writes: the
// drive's registry as the machine's new starting point.
inline constexpr const char* kRefreshSource = "Odczyt z dysku";
// Where the newest refresh stands in `newestFirst` (a history): the index of
// its newest entry, or the size when there was none. Entries from there on
// stay listed but are no change since the starting point and cannot be
// taken back.
std::size_t refreshBarrier(const std::vector<Entry>& newestFirst);

// Whether two states of a value are what Windows' functions return alike: a
// text (REG_SZ, REG_EXPAND_SZ) without its terminating NUL reads as the same
// text with it.
bool sameAsWindowsReads(const State& a, const State& b);

// Asked before taking back an entry whose item is no longer in its `after`
// state; false leaves the item as it is.
using ConflictQuestion = std::function<bool(const Entry& entry, const State& now)>;

struct UndoResult {
  int takenBack = 0;
  int leftAsIs = 0;                   // conflicts answered no
  std::vector<std::string> failures;  // cp1250, one line each
};

// Taking back entries: each chosen entry with the rest of its group, newest
// first. A step is a conflict when its item will not be in the entry's
// `after` state when its turn comes (`now` is the state it will be in).
struct UndoStep {
  Entry entry;
  bool conflict = false;
  State now;
};
// `entries` is the history (newest first) the ids were chosen from.
std::vector<UndoStep> planUndo(RegistryStore& store, ProfileStore& profiles,
                               const std::vector<Entry>& entries, const std::vector<std::int64_t>& ids);
// Carries the steps out as one new group of entries; `ask` decides each
// conflict (none: conflicts are left as they are).
UndoResult applyUndo(HiveStore& store, ProfileStore& profiles, const std::vector<UndoStep>& steps,
                     const ConflictQuestion& ask);
// planUndo + applyUndo.
UndoResult undo(HiveStore& store, ProfileStore& profiles, const std::vector<std::int64_t>& ids,
                const ConflictQuestion& ask);
// Brings every changed item back to its starting state.
UndoResult undoAll(HiveStore& store, ProfileStore& profiles);

// One item (a value, a key or a profile key) whose state differs from where
// the journal began.
struct NetChange {
  Entry first;  // its oldest entry: `first.before` is the starting state
  State now;
};
std::vector<NetChange> netChanges(HiveStore& store, ProfileStore& profiles);

// The net registry changes as a REGEDIT4 file (cp1250, CR LF); an empty
// string when nothing differs.
std::string changesReg(HiveStore& store);
std::string changesReg(const std::vector<NetChange>& changes);
// The file a user saves: changesReg, or a REGEDIT4 file that changes nothing.
std::string changesFile(const std::vector<NetChange>& changes);
// Whether a key of the profile file at `windowsPath` differs from the start.
bool profileChanged(const std::vector<NetChange>& changes, const std::string& windowsPath);

// Readable forms for listings, cp1250: a DWORD as "1 (0x00000001)", a text
// in quotes, binary as hex bytes, "(brak)" for absent.
std::string describeState(const Entry& entry, const State& state);
std::string describeItem(const Entry& entry);  // "HKEY_CURRENT_USER\Software\X" and the value name

}  // namespace morvin::reg::journal
