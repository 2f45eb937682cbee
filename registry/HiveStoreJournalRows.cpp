#include "HiveStoreJournalRows.h"

#include <sqlite3.h>

#include <algorithm>

#include "Cp1250.h"
#include "Fnv1a.h"
#include "SqliteDb.h"

namespace morvin::reg::hive::rows {
namespace {

[[noreturn]] void malformed() {
  throw sqlite::Error(SQLITE_CORRUPT, "a journal row is damaged");
}

void putNumber(std::string& out, std::uint64_t n) {
  while (n >= 0x80) {
    out += static_cast<char>((n & 0x7F) | 0x80);
    n >>= 7;
  }
  out += static_cast<char>(n);
}
void putSigned(std::string& out, std::int64_t n) {
  putNumber(out, (static_cast<std::uint64_t>(n) << 1) ^ static_cast<std::uint64_t>(n >> 63));
}
void putBytes(std::string& out, std::string_view bytes) {
  putNumber(out, bytes.size());
  out += bytes;
}
void putFixed(std::string& out, std::int64_t n) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>(static_cast<std::uint64_t>(n) >> (8 * i));
}

// Reads a blob from a file: never past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  bool done() const { return rest_.empty(); }
  std::uint64_t number() {
    std::uint64_t n = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (rest_.empty()) malformed();
      const auto byte = static_cast<unsigned char>(rest_.front());
      rest_.remove_prefix(1);
      n |= std::uint64_t{byte & 0x7Fu} << shift;
      if (!(byte & 0x80)) return n;
    }
    malformed();
  }
  std::int64_t signedNumber() {
    const std::uint64_t n = number();
    return static_cast<std::int64_t>((n >> 1) ^ (~(n & 1) + 1));
  }
  std::string_view bytes() {
    const std::uint64_t size = number();
    if (size > rest_.size()) malformed();
    const std::string_view out = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return out;
  }
  std::uint8_t byte() {
    if (rest_.empty()) malformed();
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::int64_t fixed() {
    if (rest_.size() < 8) malformed();
    std::uint64_t n = 0;
    for (int i = 0; i < 8; ++i) n |= std::uint64_t{static_cast<unsigned char>(rest_[i])} << (8 * i);
    rest_.remove_prefix(8);
    return static_cast<std::int64_t>(n);
  }

 private:
  std::string_view rest_;
};

// A state in one byte when it is absence or a value of a common type; its
// bytes after: 0 absent; 1 + type (below kGeneralState) present; else the
// general form (presence, type, bytes).
constexpr std::uint8_t kGeneralState = 0xFF;

void putState(std::string& out, const journal::State& state) {
  if (!state.present && state.type == 0 && state.data.empty()) {
    out += '\0';
    return;
  }
  if (state.present && state.type < kGeneralState - 1) {
    out += static_cast<char>(state.type + 1);
  } else {
    out += static_cast<char>(kGeneralState);
    out += static_cast<char>(state.present ? 1 : 0);
    putNumber(out, state.type);
  }
  putBytes(out, state.data);
}

journal::State readState(Reader& in) {
  journal::State state;
  const std::uint8_t head = in.byte();
  if (head == 0) return state;
  if (head != kGeneralState) {
    state.present = true;
    state.type = head - 1u;
  } else {
    const std::uint8_t present = in.byte();
    if (present > 1) malformed();
    state.present = present == 1;
    const std::uint64_t type = in.number();
    if (type > UINT32_MAX) malformed();
    state.type = static_cast<std::uint32_t>(type);
  }
  state.data = std::string(in.bytes());
  return state;
}

}  // namespace

// Letter case aside as the store compares key names: cp1250's capitals
// (one byte each, unlike the stored comparison form).
std::string placeOf(const journal::Entry& e) {
  std::string place = cp1250::toUpper(e.root);
  place += '\0';
  place += cp1250::toUpper(e.path);
  place += '\0';
  place += cp1250::toUpper(e.section);
  return place;
}

std::int64_t placeHash(std::string_view place) {
  Fnv1a hash;
  hash.add(place);
  return hash.positive();
}

std::string itemOf(const journal::Entry& e) {
  std::string item(1, static_cast<char>('0' + static_cast<int>(e.kind)));
  for (unsigned char c : e.name) item += static_cast<char>(cp1250::toUpper(c));
  return item;
}

void pack(const journal::Entry& e, std::string& packed) {
  packed += static_cast<char>(e.kind);
  putBytes(packed, e.name);
  putState(packed, e.before);
  putState(packed, e.after);
  putSigned(packed, e.undoes);
}

void unpack(std::string_view packed, std::int64_t count, const journal::Entry& shared,
            std::vector<journal::Entry>& out) {
  Reader in(packed);
  for (std::int64_t i = 0; i < count; ++i) {
    journal::Entry& e = out.emplace_back(shared);
    const std::uint8_t kind = in.byte();
    if (kind > static_cast<std::uint8_t>(journal::Kind::Profile)) malformed();
    e.kind = static_cast<journal::Kind>(kind);
    e.name = std::string(in.bytes());
    e.before = readState(in);
    e.after = readState(in);
    e.undoes = in.signedNumber();
  }
  if (!in.done()) malformed();
}

std::int64_t signature(journal::Kind kind, const journal::State& state, bool before) {
  if (kind == journal::Kind::Profile) return before ? 0 : 1;
  Fnv1a hash;
  hash.add(state.present ? 1 : 0);
  if (kind == journal::Kind::Value) {
    for (int i = 0; i < 4; ++i) hash.add(static_cast<unsigned char>(state.type >> (8 * i)));
    hash.add(state.data);
  }
  return hash.positive() + 2;
}

std::int64_t signature(const journal::Entry& e, bool before) {
  return signature(e.kind, before ? e.before : e.after, before);
}

namespace {

// An item: its key, its ends as row numbers (the newest as the distance from
// the oldest), flags, and the oldest `before` signed unless it is absence
// (most items are new).
constexpr std::uint8_t kEndsDiffer = 1, kLastPending = 2, kFirstAbsent = 4;

// The signature of absence for the kind `item` (itemOf) begins with.
std::int64_t absentSignature(std::string_view item) {
  if (item.empty() || item[0] < '0' || item[0] > '2') malformed();
  return signature(static_cast<journal::Kind>(item[0] - '0'), {}, true);
}

void packItems(const std::vector<ItemEnds>& items, std::string& out) {
  putNumber(out, items.size());
  std::int64_t previous = 0;  // items mostly follow each other: their first rows as steps
  for (const ItemEnds& i : items) {
    putBytes(out, i.item);
    putSigned(out, i.firstRow - previous);
    previous = i.firstRow;
    putNumber(out, static_cast<std::uint64_t>(i.lastRow - i.firstRow));
    const bool firstAbsent = i.firstSig == absentSignature(i.item);
    out += static_cast<char>((i.endsDiffer ? kEndsDiffer : 0) | (i.lastPending ? kLastPending : 0) |
                             (firstAbsent ? kFirstAbsent : 0));
    if (!firstAbsent) putFixed(out, i.firstSig);
  }
}

void unpackItems(Reader& in, std::vector<ItemEnds>& out) {
  const std::uint64_t count = in.number();
  std::int64_t previous = 0;
  for (std::uint64_t n = 0; n < count; ++n) {
    ItemEnds& i = out.emplace_back();
    i.item = std::string(in.bytes());
    const std::int64_t step = in.signedNumber();
    const std::uint64_t distance = in.number();
    if (step > INT64_MAX / 4 || step < -INT64_MAX / 4 || distance > INT64_MAX / 4) malformed();
    const std::int64_t first = previous + step;
    if (first <= 0 || first > INT64_MAX / 4) malformed();
    i.firstRow = previous = first;
    i.lastRow = i.firstRow + static_cast<std::int64_t>(distance);
    const std::uint8_t flags = in.byte();
    if (flags > (kEndsDiffer | kLastPending | kFirstAbsent)) malformed();
    i.firstSig = flags & kFirstAbsent ? absentSignature(i.item) : in.fixed();
    i.endsDiffer = flags & kEndsDiffer;
    i.lastPending = flags & kLastPending;
  }
}

}  // namespace

std::string packPlaces(const std::vector<PlaceItems>& places) {
  std::string out;
  for (const PlaceItems& p : places) {
    putBytes(out, p.place);
    packItems(p.items, out);
  }
  return out;
}

void unpackPlaces(std::string_view packed, std::vector<PlaceItems>& out) {
  Reader in(packed);
  while (!in.done()) {
    PlaceItems& p = out.emplace_back();
    p.place = std::string(in.bytes());
    unpackItems(in, p.items);
  }
}

std::vector<ItemEnds>& itemsOf(std::vector<PlaceItems>& places, const std::string& place) {
  for (PlaceItems& p : places)
    if (p.place == place) return p.items;
  return places.emplace_back(PlaceItems{place, {}}).items;
}

void Touched::touch(const std::string& place, const journal::Entry& entry, std::int64_t row) {
  if (!last_ || last_->first != place) last_ = &*places_.try_emplace(place).first;
  last_->second.push_back(
      {itemOf(entry), row, signature(entry, true), signature(entry, false), entry.pending});
  ++size_;
}

void merge(const Touched::Place& touched, std::vector<ItemEnds>& stored) {
  auto byItem = [](const ItemEnds& a, const ItemEnds& b) { return a.item < b.item; };
  if (!std::is_sorted(stored.begin(), stored.end(), byItem))  // not as written: put in order
    std::stable_sort(stored.begin(), stored.end(), byItem);
  // Each item's touches together, in the order written.
  std::vector<const Touched::Touch*> order;
  order.reserve(touched.size());
  for (const Touched::Touch& t : touched) order.push_back(&t);
  std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->item < b->item; });
  std::vector<ItemEnds> out;
  out.reserve(stored.size() + order.size());
  auto s = stored.begin();
  for (std::size_t run = 0; run < order.size();) {
    const Touched::Touch& first = *order[run];
    std::size_t end = run + 1;
    while (end < order.size() && order[end]->item == first.item) ++end;
    const Touched::Touch& last = *order[end - 1];
    run = end;
    while (s != stored.end() && s->item < first.item) out.push_back(std::move(*s++));
    if (s != stored.end() && s->item == first.item) {
      ItemEnds& known = out.emplace_back(std::move(*s++));
      known.lastRow = last.row;
      known.endsDiffer = known.firstSig != last.afterSig;
      known.lastPending = last.pending;
    } else {
      out.push_back(
          {first.item, first.row, first.beforeSig, last.row, first.beforeSig != last.afterSig, last.pending});
    }
  }
  while (s != stored.end()) out.push_back(std::move(*s++));
  stored = std::move(out);
}

}  // namespace morvin::reg::hive::rows
