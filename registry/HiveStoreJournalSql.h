// What the journal's readers and writers of one hive file share: the columns
// of a row and reading one (HiveStoreJournalReads.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "Journal.h"
#include "SqliteDb.h"

// A statement keeps its text until it is prepared: this lives as long as the program.
#define MORVIN_SELECT_ROWS \
  "SELECT id, count, at, grp, source, root, path, section, pending, entries FROM journal "

namespace morvin::reg::hive {

// Appends the entries of the row `s` stands on (selected by MORVIN_SELECT_ROWS
// from column 0), oldest first; returns the row number of its first entry.
// Throws sqlite::Error (SQLITE_CORRUPT) on a row this version cannot read.
std::int64_t readRow(sqlite::Statement& s, bool userHive, std::vector<journal::Entry>& out);

}  // namespace morvin::reg::hive
