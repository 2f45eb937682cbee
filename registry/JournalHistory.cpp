// Sections: reading items now; the history; taking back; net changes and
// the .reg file; forgetting; readable forms.
#include "JournalHistory.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "Cp1250.h"
#include "Errors.h"
#include "HiveStoreNames.h"
#include "JournalProfileStore.h"
#include "RegFile.h"

namespace morvin::reg::journal {
namespace {

Key rootOf(const Entry& entry) {
  return rootFromName(entry.root, false).value_or(0);
}

int depth(const std::string& path) {
  return static_cast<int>(std::count(path.begin(), path.end(), '\\'));
}

// The key of the last value restored, kept open for the next ones (an
// import's values come key by key); a key removed closes it.
class OpenKey {
 public:
  explicit OpenKey(RegistryStore& store) : store_(store) {}
  ~OpenKey() { close(); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  // The key at root\path, made when `create` asks for it.
  Status get(Key root, const std::string& path, bool create, Key* key) {
    if (key_ == 0 || root != root_ || path != path_) {
      close();
      const Status status = create ? store_.createKey(root, path, access::AllAccess, &key_)
                                   : store_.openKey(root, path, access::AllAccess, &key_);
      if (status != err::Success) {
        key_ = 0;
        return status;
      }
      root_ = root;
      path_ = path;
    }
    *key = key_;
    return err::Success;
  }
  void close() {
    if (key_ != 0) store_.closeKey(key_);
    key_ = 0;
  }

 private:
  RegistryStore& store_;
  Key key_ = 0;
  Key root_ = 0;
  std::string path_;
};

// Puts the item into `state`; appends to `failures` when the store refuses.
void restore(const Entry& e, const State& state, RegistryStore& store, ProfileStore& profiles, OpenKey& open,
             std::vector<UndoFailure>& failures) {
  const Key root = rootOf(e);
  Key key = 0;
  Status status = err::Success;
  switch (e.kind) {
    case Kind::Value:
      if (state.present) {
        status = open.get(root, e.path, true, &key);
        if (status == err::Success)
          status = store.setValue(key, e.name, state.type,
                                  reinterpret_cast<const std::uint8_t*>(state.data.data()),
                                  static_cast<std::uint32_t>(state.data.size()));
      } else if (open.get(root, e.path, false, &key) == err::Success) {
        status = store.deleteValue(key, e.name);
        if (status == err::FileNotFound) status = err::Success;
      }
      if (status != err::Success) failures.push_back({UndoFailure::Kind::Restore, e, status});
      return;
    case Kind::Key:
      if (state.present) {
        status = store.createKey(root, e.path, access::AllAccess, &key);
        if (status == err::Success) store.closeKey(key);
      } else {
        open.close();
        status = store.deleteKey(root, e.path);
        if (status == err::FileNotFound) status = err::Success;
      }
      if (status != err::Success) failures.push_back({UndoFailure::Kind::Restore, e, status});
      return;
    case Kind::Profile: {
      const bool ok = state.present ? profiles.writeString(e.path, e.section, e.name, state.data)
                                    : profiles.removeKey(e.path, e.section, e.name);
      if (!ok) failures.push_back({UndoFailure::Kind::ProfileWrite, e, err::Success});
      return;
    }
  }
}

// Whether the item is where the entry left it. A key is judged by being
// there or not: what it holds has entries of its own (taking back the making
// of a key takes what it still holds with it, each value journaled).
bool asLeft(const Entry& e, const State& now) {
  if (e.kind == Kind::Key) return now.present == e.after.present;
  return now == e.after;
}

}  // namespace

// ---- reading items now --------------------------------------------------------

State currentState(const Entry& e, RegistryStore& store, ProfileStore& profiles) {
  if (e.kind == Kind::Profile) return profileState(profiles, e.path, e.section, e.name);
  Key key = 0;
  if (store.openKey(rootOf(e), e.path, access::Read, &key) != err::Success) return {};
  State state;
  if (e.kind == Kind::Key) {
    KeyInfo info;
    state.present = true;
    if (store.queryInfoKey(key, &info) == err::Success && (info.subKeys || info.values)) state.type = 1;
  } else {
    std::uint32_t type = 0;
    std::string data;
    if (readWholeValue(store, key, e.name, &type, &data) == err::Success)
      state = {true, type, std::move(data)};
  }
  store.closeKey(key);
  return state;
}

// ---- the history ----------------------------------------------------------------

Keeper& keeperOf(RegistryStore& store) {
  Keeper* keeper = store.journal();
  if (!keeper) throw Exception("This registry keeps no journal of changes");
  return *keeper;
}

void settlePending(std::vector<Entry>& entries, RegistryStore& store, ProfileStore& profiles) {
  if (std::none_of(entries.begin(), entries.end(), [](const Entry& e) { return e.pending; })) return;
  std::vector<Entry> out;
  out.reserve(entries.size());
  for (Entry& e : entries) {
    if (e.pending) {
      State now = currentState(e, store, profiles);
      if (now == e.before && !(e.before == e.after)) continue;  // never written
      if (now == e.after)
        e.pending = false;
      else
        e.after = std::move(now);
    }
    out.push_back(std::move(e));
  }
  entries = std::move(out);
}

std::vector<Entry> history(RegistryStore& store, ProfileStore& profiles, std::size_t limit) {
  Keeper& keeper = keeperOf(store);
  std::vector<Entry> out;
  Page page;
  // Pages of a bounded size, so a listing of everything never holds two
  // copies of the whole journal.
  for (;;) {
    const std::size_t ask = std::min<std::size_t>(limit - out.size(), 4096);
    Listing listing = keeper.newest(ask, page, {});
    settlePending(listing.entries, store, profiles);
    for (Entry& e : listing.entries) out.push_back(std::move(e));
    page = listing.next;
    if (!listing.more || out.size() >= limit) return out;
  }
}

// ---- taking back ----------------------------------------------------------------

bool sameAsWindowsReads(const State& a, const State& b) {
  if (a == b) return true;
  const bool text = a.type == 1 || a.type == 2;
  if (!a.present || !b.present || a.type != b.type || !text) return false;
  auto terminated = [](const std::string& data) { return data.ends_with('\0') ? data : data + '\0'; };
  return terminated(a.data) == terminated(b.data);
}

std::vector<Entry> entriesToUndo(RegistryStore& store, ProfileStore& profiles,
                                 const std::vector<std::int64_t>& ids) {
  std::vector<Entry> entries = keeperOf(store).withGroups(ids);
  settlePending(entries, store, profiles);
  return entries;
}

namespace {

// What planning decides for a step: whether it is a conflict, and the state
// its item will be in when its turn comes.
struct Judgement {
  bool conflict = false;
  State now;
};

std::vector<Judgement> judge(RegistryStore& store, ProfileStore& profiles,
                             const std::vector<Entry>& entries) {
  // Each item's state now, as the journal knows it, in one read; profile keys
  // and unsettled items from their files.
  const std::vector<std::optional<State>> latest = keeperOf(store).latestStates(entries);
  // Each item's state when its next step comes, by the item's hash (a
  // collision, about one chance in 10^12 at a million items, would misjudge a
  // conflict).
  std::unordered_map<std::int64_t, State> expected;
  std::vector<Judgement> judgements;
  judgements.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {  // newest first
    const Entry& e = entries[i];
    auto [item, first] = expected.try_emplace(itemHash(e));
    if (first) item->second = latest[i] ? *latest[i] : currentState(e, store, profiles);
    const bool conflict = !asLeft(e, item->second);
    judgements.push_back({conflict, std::move(item->second)});
    item->second = e.before;
  }
  return judgements;
}

// A step to take, or a conflict asked about: the steps kept go to `items`.
void keepOrAsk(const Entry& e, bool conflict, const State& now, const ConflictQuestion& ask,
               std::vector<const Entry*>& items, std::vector<std::int64_t>& undoes, UndoResult& result) {
  if (conflict && !(ask && ask(e, now))) {
    ++result.leftAsIs;
    return;
  }
  items.push_back(&e);
  undoes.push_back(e.id);
}

}  // namespace

std::vector<UndoStep> planUndo(RegistryStore& store, ProfileStore& profiles, std::vector<Entry> entries) {
  std::vector<Judgement> judgements = judge(store, profiles, entries);
  std::vector<UndoStep> steps;
  steps.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    steps.push_back({std::move(entries[i]), judgements[i].conflict, std::move(judgements[i].now)});
  return steps;
}

namespace {

// Puts each item into its state: the registry ones in one transaction per
// hive, the profile keys after it (a file is not part of the transaction).
// For each step: how many of the steps right before it its removal of a key
// takes along (values of that key to be removed, each still journaled as the
// key goes), or kCarried for a step taken along. One removal of a key an
// action made instead of one per value.
constexpr std::size_t kCarried = SIZE_MAX;
template <class Each>
std::vector<std::size_t> carriedByKeyRemoval(const std::vector<const Entry*>& items, Each&& stateOf) {
  std::vector<std::size_t> carried(items.size(), 0);
  for (std::size_t k = 0; k < items.size(); ++k) {
    const Entry& key = *items[k];
    if (key.kind != Kind::Key || stateOf(key).present) continue;
    std::size_t i = k;
    while (i > 0 && carried[i - 1] == 0 && items[i - 1]->kind == Kind::Value &&
           !stateOf(*items[i - 1]).present && items[i - 1]->root == key.root &&
           items[i - 1]->path == key.path)
      carried[--i] = kCarried;
    carried[k] = k - i;
  }
  return carried;
}

template <class Each>
void restoreAll(RegistryStore& store, ProfileStore& profiles, const std::vector<const Entry*>& items,
                const std::vector<std::int64_t>& undoes, Each&& stateOf, UndoResult& result) {
  OpenKey open(store);
  const std::vector<std::size_t> carried = carriedByKeyRemoval(items, stateOf);
  auto restoreAlone = [&](std::size_t i) {
    Undoing marker(undoes[i]);
    const std::size_t failed = result.failures.size();
    restore(*items[i], stateOf(*items[i]), store, profiles, open, result.failures);
    return result.failures.size() == failed;
  };
  auto restoreOne = [&](std::size_t i) {
    if (carried[i] == kCarried) return;  // its key's removal takes it
    if (restoreAlone(i)) {
      result.takenBack += 1 + static_cast<int>(carried[i]);
      return;
    }
    // The key stays (it has subkeys): its values go one by one.
    for (std::size_t v = i - carried[i]; v < i; ++v)
      if (restoreAlone(v)) ++result.takenBack;
  };
  Group group;
  const UndoResult before = result;
  const Status committed = store.atomically([&] {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i]->kind != Kind::Profile) restoreOne(i);
    open.close();  // inside the batch: a rollback may hand its number on
    return err::Success;
  });
  if (committed != err::Success) {
    result = before;
    result.failures.push_back({UndoFailure::Kind::Transaction, {}, committed});
    return;
  }
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i]->kind == Kind::Profile) restoreOne(i);
}

}  // namespace

std::string describeUndoFailure(const UndoFailure& failure) {
  switch (failure.kind) {
    case UndoFailure::Kind::Restore:
      return "Cannot restore " + describeItem(failure.entry) + ": " + describeStatus(failure.status);
    case UndoFailure::Kind::ProfileWrite:
      return formatMessage(msg::IniWriteFailed, failure.entry.path);
    case UndoFailure::Kind::Transaction:
      break;
  }
  return "The changes could not be taken back: " + describeStatus(failure.status);
}

UndoResult applyUndo(RegistryStore& store, ProfileStore& profiles, const std::vector<UndoStep>& steps,
                     const ConflictQuestion& ask) {
  UndoResult result;
  // Every question first: none is asked while the store is locked.
  std::vector<const Entry*> items;
  std::vector<std::int64_t> undoes;
  for (const UndoStep& step : steps)
    keepOrAsk(step.entry, step.conflict, step.now, ask, items, undoes, result);
  restoreAll(
      store, profiles, items, undoes, [](const Entry& e) -> const State& { return e.before; }, result);
  return result;
}

// planUndo and applyUndo without the steps' copy of every entry.
UndoResult undo(RegistryStore& store, ProfileStore& profiles, const std::vector<std::int64_t>& ids,
                const ConflictQuestion& ask) {
  const std::vector<Entry> entries = entriesToUndo(store, profiles, ids);
  const std::vector<Judgement> judgements = judge(store, profiles, entries);
  UndoResult result;
  std::vector<const Entry*> items;
  std::vector<std::int64_t> undoes;
  for (std::size_t i = 0; i < entries.size(); ++i)
    keepOrAsk(entries[i], judgements[i].conflict, judgements[i].now, ask, items, undoes, result);
  restoreAll(
      store, profiles, items, undoes, [](const Entry& e) -> const State& { return e.before; }, result);
  return result;
}

UndoResult undoAll(RegistryStore& store, ProfileStore& profiles) {
  std::vector<NetChange> changes = netChanges(store, profiles);
  // Keys come back parents first, values and profile keys next, and keys made
  // since go last, children first.
  auto rank = [](const NetChange& c) {
    if (c.first.kind != Kind::Key) return 1;
    return c.first.before.present ? 0 : 2;
  };
  std::stable_sort(changes.begin(), changes.end(), [&](const NetChange& a, const NetChange& b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    if (rank(a) == 0) return depth(a.first.path) < depth(b.first.path);
    if (rank(a) == 2) return depth(a.first.path) > depth(b.first.path);
    return false;
  });
  std::vector<const Entry*> items;
  for (const NetChange& c : changes) items.push_back(&c.first);
  const std::vector<std::int64_t> undoes(items.size(), 0);
  UndoResult result;
  restoreAll(
      store, profiles, items, undoes, [](const Entry& e) -> const State& { return e.before; }, result);
  return result;
}

// ---- net changes and the .reg file ------------------------------------------------

std::vector<NetChange> netChanges(RegistryStore& store, ProfileStore& profiles) {
  std::vector<NetChange> out;
  for (ChangedItem& item : keeperOf(store).changedItems()) {
    State now = item.first.kind == Kind::Profile || item.lastPending || item.first.pending
                    ? currentState(item.first, store, profiles)
                    : std::move(item.last);
    const Entry& first = item.first;
    const bool same =
        first.kind == Kind::Key ? now.present == first.before.present : sameAsWindowsReads(now, first.before);
    if (!same) out.push_back({std::move(item.first), std::move(now)});
  }
  return out;
}

std::vector<NetChange> netRegistryChanges(RegistryStore& store) {
  // Only registry items are asked for: no profile file is read.
  class NoProfiles : public ProfileStore {
   public:
    std::string readString(const std::string&, const std::string&, const std::string&,
                           const std::string& def) override {
      return def;
    }
    bool writeString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override {
      return false;
    }
    bool removeKey(const std::string&, const std::string&, const std::string&) override { return false; }
  } none;
  return netChanges(store, none);
}

std::string changesReg(RegistryStore& store) {
  return changesReg(netRegistryChanges(store));
}

std::string changesReg(const std::vector<NetChange>& changes) {
  struct KeyChanges {
    Key root = 0;
    std::string path;
    bool removed = false;
    bool made = false;
    std::vector<RegValueEntry> values;
  };
  std::map<std::string, KeyChanges> keys;  // by folded root and path: parents before children
  auto slot = [&](const Entry& e) -> KeyChanges& {
    KeyChanges& k = keys[hive::fold(e.root + "\\" + e.path)];
    k.root = rootOf(e);
    k.path = e.path;
    return k;
  };
  for (const NetChange& c : changes) {
    if (c.first.kind == Kind::Key) {
      (c.now.present ? slot(c.first).made : slot(c.first).removed) = true;
    } else if (c.first.kind == Kind::Value) {
      RegValueEntry value{c.first.name, !c.now.present, c.now.type, c.now.data};
      slot(c.first).values.push_back(std::move(value));
    }
  }
  RegDocument document;
  std::vector<std::string> removedTrees;  // a removed key's tree goes with its one line
  for (auto& entry : keys) {
    const std::string& folded = entry.first;  // named, not bound: lambdas below capture it
    KeyChanges& k = entry.second;
    if (std::any_of(removedTrees.begin(), removedTrees.end(),
                    [&](const std::string& tree) { return folded.compare(0, tree.size(), tree) == 0; }))
      continue;
    if (k.removed) {
      removedTrees.push_back(folded + hive::fold("\\"));
      document.keys.push_back({k.root, k.path, true, {}});
      continue;
    }
    if (!k.made && k.values.empty()) continue;
    document.keys.push_back({k.root, k.path, false, std::move(k.values)});
  }
  if (document.keys.empty()) return {};
  return writeRegText(document);
}

std::string changesFile(const std::vector<NetChange>& changes) {
  std::string text = changesReg(changes);
  return text.empty() ? "REGEDIT4\r\n\r\n" : text;
}

bool profileChanged(const std::vector<NetChange>& changes, const std::string& windowsPath) {
  return std::any_of(changes.begin(), changes.end(), [&](const NetChange& c) {
    return c.first.kind == Kind::Profile && cp1250::equalsIgnoreCase(c.first.path, windowsPath);
  });
}

// ---- forgetting ---------------------------------------------------------------------

std::int64_t forget(RegistryStore& store, const ForgetPoint& point) {
  return keeperOf(store).forget(point);
}

// ---- readable forms -----------------------------------------------------------------

std::string describeState(const Entry& e, const State& s, const StateWords& words) {
  if (!s.present) return words.absent;
  if (e.kind == Kind::Key) return s.type ? words.keyWithContent : words.key;
  char buffer[64];
  switch (s.type) {
    case type::Dword:
      if (s.data.size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(s.data.data());
        const std::uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
        std::snprintf(buffer, sizeof buffer, "%u (0x%08X)", v, v);
        return buffer;
      }
      break;
    case type::Sz:
    case type::ExpandSz: {
      const std::size_t end = s.data.find('\0');
      return "\"" + s.data.substr(0, end) + "\"";
    }
    default:
      break;
  }
  std::string hex;
  for (unsigned char c : s.data) {
    std::snprintf(buffer, sizeof buffer, hex.empty() ? "%02X" : " %02X", c);
    hex += buffer;
  }
  return hex.empty() ? words.empty : hex;
}

ItemText describeItemParts(const Entry& e) {
  switch (e.kind) {
    case Kind::Profile:
      return {e.path + " [" + e.section + "]", e.name};
    case Kind::Key:
      return {e.root + "\\" + e.path, {}};
    case Kind::Value:
      break;
  }
  return {e.root + "\\" + e.path, e.name.empty() ? "@" : e.name};
}

std::string describeItem(const Entry& e) {
  const ItemText text = describeItemParts(e);
  if (e.kind == Kind::Key) return text.key;
  if (e.kind == Kind::Profile) return text.key + " " + text.value;
  return text.key + " " + (e.name.empty() ? "@" : "\"" + e.name + "\"");
}

}  // namespace morvin::reg::journal
