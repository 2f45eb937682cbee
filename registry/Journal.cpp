#include "Journal.h"

#include <chrono>
#include <mutex>
#include <random>

#include "Cp1250.h"
#include "Fnv1a.h"

namespace morvin::reg::journal {
namespace {

std::mutex providerMutex;
std::function<std::string()> provider;
std::string defaultSource;

thread_local std::optional<std::string> scopedSource;
thread_local std::int64_t group = 0;
thread_local int groupDepth = 0;
thread_local std::int64_t undoing = 0;
thread_local int suspendDepth = 0;
thread_local int fixedDepth = 0;
thread_local std::string fixedSource;

std::function<std::int64_t()>& replacedClock() {
  static std::function<std::int64_t()> replaced;
  return replaced;
}

// Group numbers only need to differ between actions, also of other processes.
std::int64_t newGroupNumber() {
  static std::mt19937_64 engine{std::random_device{}() ^ static_cast<std::uint64_t>(nowMicros())};
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  return static_cast<std::int64_t>(engine() >> 2) + 1;
}

}  // namespace

void setClock(std::function<std::int64_t()> replacement) {
  replacedClock() = std::move(replacement);
}

std::int64_t nowMicros() {
  if (replacedClock()) return replacedClock()();
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

void stamp(Entry& entry) {
  entry.at = nowMicros();
  entry.group = currentGroup();
  if (fixedDepth > 0)
    entry.source = fixedSource;  // into the entry's own room when it has some
  else
    entry.source = currentSource();
  entry.undoes = currentlyUndoing();
}

std::string currentSource() {
  if (fixedDepth > 0) return fixedSource;
  if (scopedSource) return *scopedSource;
  std::lock_guard lock(providerMutex);
  if (provider) {
    std::string fromProvider = provider();
    if (!fromProvider.empty()) return fromProvider;
  }
  return defaultSource;
}

void setSourceProvider(std::function<std::string()> newProvider) {
  std::lock_guard lock(providerMutex);
  provider = std::move(newProvider);
}

void setDefaultSource(std::string cp1250Source) {
  std::lock_guard lock(providerMutex);
  defaultSource = std::move(cp1250Source);
}

Source::Source(std::string cp1250Source) : previous_(scopedSource) {
  scopedSource = std::move(cp1250Source);
}
Source::~Source() {
  scopedSource = previous_;
}

Fixed::Fixed() : outermost_(fixedDepth == 0) {
  if (outermost_) fixedSource = currentSource();
  ++fixedDepth;
}
Fixed::~Fixed() {
  --fixedDepth;
}

std::int64_t currentGroup() {
  return group;
}

Group::Group() : outermost_(groupDepth++ == 0) {
  if (outermost_) group = newGroupNumber();
}
Group::~Group() {
  if (--groupDepth == 0) group = 0;
}
std::int64_t Group::id() const {
  return group;
}

std::int64_t currentlyUndoing() {
  return undoing;
}
Undoing::Undoing(std::int64_t id) : previous_(undoing) {
  undoing = id;
}
Undoing::~Undoing() {
  undoing = previous_;
}

bool suspended() {
  return suspendDepth > 0;
}
Suspended::Suspended() {
  ++suspendDepth;
}
Suspended::~Suspended() {
  --suspendDepth;
}

// Each part folded as the store compares names, hashed as it is folded
// (taking back a big action hashes every entry).
std::int64_t itemHash(const Entry& e) {
  Fnv1a hash;
  hash.add(static_cast<unsigned char>('0' + static_cast<int>(e.kind)));
  for (const std::string* part : {&e.root, &e.path, &e.section, &e.name}) {
    for (unsigned char c : *part) {
      const char32_t folded = cp1250::toUnicode(cp1250::toUpper(c));
      hash.add(static_cast<unsigned char>((folded >> 8) & 0xFF));
      hash.add(static_cast<unsigned char>(folded & 0xFF));
    }
    hash.add(0);
  }
  return hash.positive();
}

}  // namespace morvin::reg::journal
