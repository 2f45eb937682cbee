// Writes a text file line by line, each line ended by CR LF, replacing any
// file of that name. The new content is written beside the target and renamed
// over it only when complete, so a failure never leaves a half-written file
// and never destroys the file that was there.
#pragma once

#include <string>
#include <vector>

namespace morvin::wallpaper {

// `hostPath` is a host path (UTF-8), on Windows the system's path (cp1250, as
// the "A" functions take it); the lines are written byte for byte.
// Raises EInOutError at the first failing step: a missing folder (3), a
// read-only, hidden or system file or a folder of that name (5), no free file handle (4), no
// room (101).
void writeTextFileReplacing(const std::string& hostPath, const std::vector<std::string>& lines);

}  // namespace morvin::wallpaper
