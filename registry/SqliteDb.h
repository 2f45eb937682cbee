// A thin RAII layer over SQLite for the hive files: a connection, cached
// prepared statements and errors as exceptions carrying the SQLite code.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace morvin::reg::sqlite {

class Error : public std::runtime_error {
 public:
  Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const noexcept { return code_; }  // the primary SQLite result code
  bool busy() const noexcept;
  bool corrupt() const noexcept;

 private:
  int code_;
};

class Database {
 public:
  // `flags` are sqlite3_open_v2 flags. Waits for other processes' locks up to
  // `busyTimeoutMs` before a statement fails with SQLITE_BUSY.
  Database(const std::string& path, int flags, int busyTimeoutMs);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(const char* sql);
  // The first column of the first row of `sql` as an integer (0 when no row).
  std::int64_t scalar(const char* sql);
  // Changes whenever the file's content changes, by this or another connection.
  unsigned dataVersion();
  int changes() const;
  std::int64_t lastInsertId() const;
  sqlite3* handle() const { return db_; }
  [[noreturn]] void fail(int code) const;

 private:
  sqlite3* db_ = nullptr;
  int busyTimeoutMs_;
};

// A statement prepared on first use and reused; bound blobs stay borrowed
// until the statement is reset.
class Statement {
 public:
  Statement(Database& db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, std::string_view blob);
  // Runs one step: true when a row is ready.
  bool step();
  // Runs to the end (for writes).
  void run();
  void reset();

  std::int64_t integer(int column) const;
  std::string_view blob(int column) const;

 private:
  sqlite3_stmt* prepared();

  Database& db_;
  const char* sql_;
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when the scope ends, so no read lock stays held.
class Use {
 public:
  explicit Use(Statement& s) : s_(s) {}
  ~Use() { s_.reset(); }
  Statement* operator->() { return &s_; }
  Statement& operator*() { return s_; }

 private:
  Statement& s_;
};

}  // namespace morvin::reg::sqlite
