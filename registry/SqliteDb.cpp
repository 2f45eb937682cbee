#include "SqliteDb.h"

#include <sqlite3.h>

#include <chrono>
#include <limits>
#include <random>
#include <thread>

namespace morvin::reg::sqlite {
namespace {

// Waits in short, jittered steps, so a process waiting for another one's
// write lock gets it soon after it is freed; gives up after the timeout.
int waitWhileBusy(void* context, int attempt) {
  const int timeoutMs = *static_cast<const int*>(context);
  thread_local std::minstd_rand jitter{std::random_device{}()};
  const int stepUs = std::min(50 << std::min(attempt, 6), 2000);
  // Elapsed time is estimated from the attempts, avoiding a clock per call.
  const long long spentUs = attempt <= 6 ? (50LL << attempt) : 3200LL + (attempt - 6) * 2000LL;
  if (spentUs / 1000 >= timeoutMs) return 0;
  std::this_thread::sleep_for(std::chrono::microseconds(stepUs / 2 + static_cast<int>(jitter() % stepUs)));
  return 1;
}

}  // namespace

bool Error::busy() const noexcept {
  return code_ == SQLITE_BUSY || code_ == SQLITE_LOCKED;
}
bool Error::corrupt() const noexcept {
  return code_ == SQLITE_CORRUPT || code_ == SQLITE_NOTADB;
}

Database::Database(const std::string& path, int flags, int busyTimeoutMs) : busyTimeoutMs_(busyTimeoutMs) {
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw Error(rc & 0xFF, message);
  }
  sqlite3_extended_result_codes(db_, 0);
  sqlite3_busy_handler(db_, waitWhileBusy, &busyTimeoutMs_);
}

Database::~Database() {
  sqlite3_close_v2(db_);
}

void Database::fail(int code) const {
  throw Error(code & 0xFF, sqlite3_errmsg(db_));
}

void Database::exec(const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw Error(rc & 0xFF, text);
  }
}

std::int64_t Database::scalar(const char* sql) {
  Statement s(*this, sql);
  return s.step() ? s.integer(0) : 0;
}

unsigned Database::dataVersion() {
  unsigned version = 0;
  sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version);
  return version;
}

int Database::changes() const {
  return sqlite3_changes(db_);
}

std::int64_t Database::lastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

Statement::Statement(Database& db, const char* sql) : db_(db), sql_(sql) {}

sqlite3_stmt* Statement::prepared() {
  if (!stmt_) {
    const int rc = sqlite3_prepare_v3(db_.handle(), sql_, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) db_.fail(rc);
  }
  return stmt_;
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
  sqlite3_bind_int64(prepared(), index, value);
  return *this;
}

Statement& Statement::bind(int index, std::string_view blob) {
  if (blob.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Error(SQLITE_TOOBIG, "too big");
  // A zero-length blob must still be a blob, never NULL.
  sqlite3_bind_blob(prepared(), index, blob.empty() ? "" : blob.data(), static_cast<int>(blob.size()),
                    SQLITE_STATIC);
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(prepared());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  db_.fail(rc);
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  if (stmt_) sqlite3_reset(stmt_);
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string_view Statement::blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size))
              : std::string_view();
}

}  // namespace morvin::reg::sqlite
