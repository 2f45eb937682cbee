// The one way a path of a Windows 9x drive becomes a host path, for the import
// and the hand-back alike, and the scratch folders for what is copied off one. Not part of the Windows build.
#pragma once

#include <optional>
#include <string>

namespace morvin::platform::win9x {

// `relative` ('/'-separated, UTF-8, as a drive lists it) below the host folder
// `base`, decided by the text alone: an absolute path, an empty name, ".",
// "..", or a name holding '\', NUL or a control character gives nullopt, so
// the result never leaves `base` whatever the name says.
std::optional<std::string> hostPathBelow(const std::string& base, const std::string& relative);

// A folder of its own under $TMPDIR (else /tmp) for what is copied off a
// drive, removed with everything in it when the object goes, on every path out.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace morvin::platform::win9x
