// The journal as a table for the window "Historia zmian": the newest entries
// first, a page at a time as the list is scrolled (fetchMore), only those of
// one source when a filter is set (in the query, not by building every row).
// It reads the journal of the current store; a store that keeps none shows
// an empty list.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "registry/JournalKeeper.h"

namespace morvin {

// No signals or slots of its own: no Q_OBJECT.
class JournalModel : public QAbstractTableModel {
 public:
  enum Column { Time, Source, Key, Value, Change, ColumnCount };
  static constexpr int kPage = 200;

  explicit JournalModel(QObject* parent = nullptr);

  // Starts again from the newest entry, with only `source` (cp1250; empty: all).
  void reload(const std::string& source);
  const reg::journal::Entry& entry(int row) const { return entries_.at(static_cast<std::size_t>(row)); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  // A state in the program's language, as the list shows it.
  static QString stateText(const reg::journal::Entry& entry, const reg::journal::State& state);

 private:
  QString text(const reg::journal::Entry& entry, int column) const;

  std::string source_;
  reg::journal::Page next_;
  bool more_ = false;
  std::vector<reg::journal::Entry> entries_;
};

}  // namespace morvin
