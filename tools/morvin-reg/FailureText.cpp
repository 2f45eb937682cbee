#include "FailureText.h"

#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin::tool {

namespace {

const char* hiveFilePattern(EHiveFileError::Kind kind) {
  using Kind = EHiveFileError::Kind;
  switch (kind) {
    case Kind::NotAHive:
      return "The file %s is not a registry file";
    case Kind::Damaged:
      return "The registry file %s is damaged";
    case Kind::CannotOpen:
      break;
    case Kind::CannotCreate:
      return "Cannot create the registry file %s";
    case Kind::FromNewerVersion:
      return "The registry file %s was made by a newer version of the program";
  }
  return "Cannot open the registry file %s";
}

}  // namespace

std::string failureText(const std::exception& failure) {
  if (const auto* hive = dynamic_cast<const EHiveFileError*>(&failure)) {
    std::string text = formatMessage(hiveFilePattern(hive->kind()), hive->path());
    if (!hive->detail().empty()) text += " (" + hive->detail() + ")";
    return cp1250::toUtf8(text);
  }
  if (const auto* e = dynamic_cast<const Exception*>(&failure)) return cp1250::toUtf8(e->message());
  return failure.what();
}

}  // namespace morvin::tool
