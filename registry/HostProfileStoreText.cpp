#include "HostProfileStoreText.h"

#include "Cp1250.h"

namespace morvin::reg::profile {

namespace {

constexpr const char* kEol = "\r\n";

struct Line {
  size_t begin = 0;  // first byte
  size_t end = 0;    // past the content, before "\r\n" or "\n"
  size_t next = 0;   // first byte of the following line
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Walks the lines of a file.
class Lines {
 public:
  explicit Lines(std::string_view file) : file_(file) {}
  bool next(Line& line) {
    if (pos_ >= file_.size()) return false;
    size_t nl = file_.find('\n', pos_);
    line.begin = pos_;
    line.next = nl == std::string_view::npos ? file_.size() : nl + 1;
    line.end = nl == std::string_view::npos ? file_.size() : nl;
    if (line.end > line.begin && file_[line.end - 1] == '\r') --line.end;
    pos_ = line.next;
    return true;
  }
  std::string_view content(const Line& line) const { return file_.substr(line.begin, line.end - line.begin); }

 private:
  std::string_view file_;
  size_t pos_ = 0;
};

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view content) {
  content = trim(content);
  if (content.empty() || content.front() != '[') return std::nullopt;
  content.remove_prefix(1);
  size_t close = content.find(']');
  return trim(close == std::string_view::npos ? content : content.substr(0, close));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// A "key=value" line (a line without '=' is a key with an empty value);
// nullopt for blank and comment lines.
std::optional<KeyLine> keyLine(std::string_view content) {
  content = trim(content);
  if (content.empty() || content.front() == ';') return std::nullopt;
  size_t eq = content.find('=');
  if (eq == std::string_view::npos) return KeyLine{content, {}};
  return KeyLine{trim(content.substr(0, eq)), trim(content.substr(eq + 1))};
}

// Finds the first section of that name; `header` is its "[name]" line.
bool findSection(Lines& lines, std::string_view section, Line& header) {
  section = trim(section);
  while (lines.next(header)) {
    auto name = sectionName(lines.content(header));
    if (name && cp1250::equalsIgnoreCase(*name, section)) return true;
  }
  return false;
}

// Ends an unfinished last line before a new one is added; a CR already there
// becomes part of the CRLF, so that line reads as before.
void endLastLine(std::string& out) {
  if (out.empty() || out.back() == '\n') return;
  out += out.back() == '\r' ? "\n" : kEol;
}

}  // namespace

std::optional<std::string> findValue(std::string_view file, std::string_view section, std::string_view key) {
  key = trim(key);
  Lines lines(file);
  Line line;
  if (!findSection(lines, section, line)) return std::nullopt;
  while (lines.next(line)) {
    std::string_view content = lines.content(line);
    if (sectionName(content)) break;
    auto entry = keyLine(content);
    if (!entry || !cp1250::equalsIgnoreCase(entry->key, key)) continue;
    std::string_view value = entry->value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValueLength));
  }
  return std::nullopt;
}

std::string withValue(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value) {
  key = trim(key);
  section = trim(section);
  Lines lines(file);
  Line line;
  std::string out;
  if (!findSection(lines, section, line)) {
    out = file;
    endLastLine(out);
    out.append("[").append(section).append("]").append(kEol);
    out.append(key).append("=").append(value).append(kEol);
    return out;
  }
  size_t insertAt = line.next;  // after the header, or after the section's last key line
  while (lines.next(line)) {
    std::string_view content = lines.content(line);
    if (sectionName(content)) break;
    auto entry = keyLine(content);
    if (!entry) continue;
    if (cp1250::equalsIgnoreCase(entry->key, key)) {
      // The key keeps its spelling from the file; only the value changes.
      out.append(file.substr(0, line.begin)).append(entry->key).append("=").append(value).append(kEol);
      out.append(file.substr(line.next));
      return out;
    }
    insertAt = line.next;
  }
  out.append(file.substr(0, insertAt));
  endLastLine(out);
  out.append(key).append("=").append(value).append(kEol);
  out.append(file.substr(insertAt));
  return out;
}

std::string withoutValue(std::string_view file, std::string_view section, std::string_view key) {
  key = trim(key);
  Lines lines(file);
  Line line;
  if (!findSection(lines, trim(section), line)) return std::string(file);
  while (lines.next(line)) {
    std::string_view content = lines.content(line);
    if (sectionName(content)) break;
    auto entry = keyLine(content);
    if (entry && cp1250::equalsIgnoreCase(entry->key, key))
      return std::string(file.substr(0, line.begin)).append(file.substr(line.next));
  }
  return std::string(file);
}

bool writable(std::string_view section, std::string_view key, std::string_view value) {
  auto clean = [](std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == s.npos; };
  return !trim(section).empty() && !trim(key).empty() && clean(section) && clean(key) && clean(value) &&
         section.find(']') == section.npos && key.find('=') == key.npos && trim(key).front() != ';' &&
         trim(key).front() != '[';
}

}  // namespace morvin::reg::profile
