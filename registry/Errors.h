// The program's failure classes. Messages are cp1250 bytes, as shown to the user.
#pragma once

#include <exception>
#include <string>

namespace morvin {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& message() const noexcept { return message_; }

 private:
  std::string message_;
};

// Replaces the first "%s" of a message pattern.
std::string formatMessage(const std::string& pattern, const std::string& argument);

class ERegistryException : public Exception {
  using Exception::Exception;
};
class EIniFileException : public Exception {
  using Exception::Exception;
};
// "Cannot open file %s"
class EFOpenError : public Exception {
  using Exception::Exception;
};
// "'%s' is not a valid integer value"
class EConvertError : public Exception {
  using Exception::Exception;
};
// "Range check error"
class ERangeError : public Exception {
  using Exception::Exception;
};
// Input/output failure of a text file, with its code ("File not found", "I/O error %d", ...).
class EInOutError : public Exception {
 public:
  EInOutError(int code, std::string message) : Exception(std::move(message)), code_(code) {}
  int code() const noexcept { return code_; }

 private:
  int code_;
};

// A hive file that cannot be used. The message is the Polish text the
// program has always shown; the kind, path and detail let a window say the
// same in its own language.
class EHiveFileError : public Exception {
 public:
  enum class Kind { NotAHive, Damaged, CannotOpen, CannotCreate, FromNewerVersion };
  EHiveFileError(Kind kind, std::string path, std::string detail, std::string message)
      : Exception(std::move(message)), kind_(kind), path_(std::move(path)), detail_(std::move(detail)) {}
  Kind kind() const noexcept { return kind_; }
  const std::string& path() const noexcept { return path_; }      // cp1250
  const std::string& detail() const noexcept { return detail_; }  // cp1250, may be empty

 private:
  Kind kind_;
  std::string path_;
  std::string detail_;
};

namespace msg {
inline constexpr const char* GetDataFailed = "Failed to get data for '%s'";
inline constexpr const char* SetDataFailed = "Failed to set data for '%s'";
inline constexpr const char* DeleteValueFailed = "Failed to delete value '%s'";
inline constexpr const char* InvalidDataType = "Invalid data type for '%s'";
inline constexpr const char* IniWriteFailed = "Unable to write to %s";
inline constexpr const char* CannotOpenFile = "Cannot open file %s";
inline constexpr const char* NotAnInteger = "'%s' is not a valid integer value";
inline constexpr const char* RangeCheck = "Range check error";
}  // namespace msg

}  // namespace morvin
