#include "JournalModel.h"

#include <QCoreApplication>
#include <QDateTime>

#include "SourceNames.h"
#include "registry/JournalHistory.h"
#include "registry/ProfileStore.h"
#include "registry/RegistryStore.h"
#include "shell/Text.h"

namespace morvin {

namespace journal = reg::journal;

namespace {

// The words belong to the window's translations (and lupdate sees them there).
struct WindowWords {
  Q_DECLARE_TR_FUNCTIONS(morvin::TfmHistoria)
};

}  // namespace

JournalModel::JournalModel(QObject* parent) : QAbstractTableModel(parent) {}

void JournalModel::reload(const std::string& source) {
  beginResetModel();
  source_ = source;
  next_ = {};
  more_ = true;
  entries_.clear();
  endResetModel();
  fetchMore({});
}

int JournalModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

bool JournalModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && more_;
}

void JournalModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || !more_) return;
  reg::RegistryStore& store = reg::currentStore();
  journal::Keeper* keeper = store.journal();
  if (!keeper) {
    more_ = false;
    return;
  }
  journal::Listing listing = keeper->newest(kPage, next_, source_);
  journal::settlePending(listing.entries, store, reg::currentProfileStore());
  next_ = listing.next;
  more_ = listing.more;
  if (listing.entries.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(listing.entries.size()) - 1);
  for (journal::Entry& e : listing.entries) entries_.push_back(std::move(e));
  endInsertRows();
}

QString JournalModel::stateText(const journal::Entry& e, const journal::State& state) {
  const journal::StateWords words{.absent = toAnsi(WindowWords::tr("(brak)")),
                                  .empty = toAnsi(WindowWords::tr("(puste)")),
                                  .key = toAnsi(WindowWords::tr("(klucz)")),
                                  .keyWithContent = toAnsi(WindowWords::tr("(klucz z zawartością)"))};
  return fromAnsi(journal::describeState(e, state, words));
}

QString JournalModel::text(const journal::Entry& e, int column) const {
  switch (column) {
    case Time:
      return QDateTime::fromMSecsSinceEpoch(e.at / 1000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Source:
      return sourceTitle(e.source);
    case Key:
      return fromAnsi(journal::describeItemParts(e).key);
    case Value:
      return fromAnsi(journal::describeItemParts(e).value);
    case Change: {
      QString change = stateText(e, e.before) + QString::fromUtf8(" → ") + stateText(e, e.after);
      if (e.pending) change += WindowWords::tr(" (zapis przerwany)");
      return change;
    }
    default:
      return {};
  }
}

// Each cell's whole text is its tooltip too: the list cuts long ones short.
QVariant JournalModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
    return {};
  return text(entry(index.row()), index.column());
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  // The captions the form had, translated where the form's are.
  static const char* const kCaptions[] = {
      QT_TRANSLATE_NOOP("TfmHistoria", "Czas"), QT_TRANSLATE_NOOP("TfmHistoria", "Źródło"),
      QT_TRANSLATE_NOOP("TfmHistoria", "Klucz"), QT_TRANSLATE_NOOP("TfmHistoria", "Wartość"),
      QT_TRANSLATE_NOOP("TfmHistoria", "Przed → Po")};
  if (section < 0 || section >= ColumnCount) return {};
  return QCoreApplication::translate("TfmHistoria", kCaptions[section]);
}

}  // namespace morvin
