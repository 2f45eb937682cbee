// Reading .reg files: the whole file is parsed before anything is written, so a
// malformed file is rejected with its line number and no half-applied import.
#include <vector>

#include "Cp1250.h"
#include "RegFile.h"
#include "RegFileText.h"

namespace morvin::reg {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (isBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool startsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Hexadecimal number of 1..8 digits, the whole text.
std::optional<std::uint32_t> parseHex32(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : s) {
    int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    v = v << 4 | static_cast<std::uint32_t>(d);
  }
  return v;
}

// Lines end with CRLF, LF or a lone CR; a CR never belongs to a line's text.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
}

class Parser {
 public:
  // With `skipped`, bad lines are listed there instead of ending the reading.
  Parser(std::string_view text, std::vector<RegSkippedLine>* skipped = nullptr)
      : lines_(splitLines(text)), skipped_(skipped) {}

  RegDocument run() {
    readHeader();
    while (next_ < lines_.size()) {
      size_t index = next_++;
      line_ = static_cast<int>(index) + 1;
      std::string_view line = trim(lines_[index]);
      if (line.empty() || line.front() == ';') continue;
      try {
        readLine(line);
      } catch (const RegFileError& e) {
        if (!skipped_) throw;
        skip(index, e);
      }
    }
    return std::move(document_);
  }

 private:
  void readLine(std::string_view line) {
    if (line.front() == '[') {
      skippedKeyLine_ = 0;
      readKey(line);
    } else if (line.front() == '"' || line.front() == '@') {
      if (skippedKeyLine_)
        fail("the value's key on line " + std::to_string(skippedKeyLine_) + " was left out");
      readValue(line);
    } else {
      fail("unexpected text; a key in [brackets] or a value \"name\"=data was expected");
    }
  }

  // Lists the line that began at `first` and leaves out the rest of it (the
  // continued lines of a hex list); a bad key leaves out its values too.
  void skip(size_t first, const RegFileError& e) {
    const std::string_view text = trim(lines_[first]);
    if (text.front() == '[') skippedKeyLine_ = static_cast<int>(first) + 1;
    std::string reason = e.message().substr(e.message().find(": ") + 2);
    skipped_->push_back({static_cast<int>(first) + 1, std::move(reason), std::string(text)});
    while (next_ < lines_.size() && !trim(lines_[next_ - 1]).empty() &&
           trim(lines_[next_ - 1]).back() == '\\')
      ++next_;
  }

  [[noreturn]] void fail(const std::string& what) const { throw RegFileError(line_, what); }

  void readHeader() {
    while (next_ < lines_.size()) {
      line_ = static_cast<int>(next_) + 1;
      std::string_view line = trim(lines_[next_++]);
      if (line.empty()) continue;
      if (line == kHeader4) return;
      if (line == kHeader5) {
        version5_ = true;
        return;
      }
      fail(
          "not a registry file: the first line must be REGEDIT4 or \"Windows Registry Editor Version 5.00\"");
    }
    line_ = static_cast<int>(lines_.size());
    fail("empty file: the first line must be REGEDIT4");
  }

  void readKey(std::string_view line) {
    if (line.back() != ']') fail("a key line must end with ]");
    std::string_view name = line.substr(1, line.size() - 2);
    RegKeyEntry entry;
    if (!name.empty() && name.front() == '-') {
      entry.remove = true;
      name.remove_prefix(1);
    }
    if (!splitKeyName(name, false, &entry.root, &entry.path))
      fail("unknown root key in [" + std::string(name) + "]");
    if (entry.remove && entry.path.empty()) fail("a root key cannot be deleted");
    document_.keys.push_back(std::move(entry));
  }

  // A quoted text starting at s[0] == '"'; `pos` ends past the closing quote.
  std::string readQuoted(std::string_view s, size_t& pos) {
    std::string out;
    pos = 1;
    while (pos < s.size()) {
      char c = s[pos++];
      if (c == '"') return out;
      if (c == '\\') {
        if (pos >= s.size()) break;
        char e = s[pos++];
        if (e != '\\' && e != '"')
          fail(std::string("unknown escape \\") + e + " in a quoted text (write \\\\ for a backslash)");
        out += e;
      } else {
        out += c;
      }
    }
    fail("a quoted text has no closing quote");
  }

  void readValue(std::string_view line) {
    if (document_.keys.empty()) fail("a value before the first [key]");
    RegKeyEntry& key = document_.keys.back();
    if (key.remove) fail("a value under a key that is being deleted");

    RegValueEntry value;
    size_t pos = 1;
    if (line.front() == '"') value.name = readQuoted(line, pos);
    std::string_view rest = trim(line.substr(pos));
    if (rest.empty() || rest.front() != '=') fail("= expected after the value name");
    rest = trim(rest.substr(1));

    if (rest == "-") {
      value.remove = true;
    } else if (!rest.empty() && rest.front() == '"') {
      size_t end = 0;
      std::string text = readQuoted(rest, end);
      if (!trim(rest.substr(end)).empty()) fail("unexpected text after the closing quote");
      value.type = type::Sz;
      value.data = text + '\0';
    } else if (startsWithIgnoreCase(rest, "dword:")) {
      auto n = parseHex32(rest.substr(6));
      if (!n) fail("dword: must be followed by 1 to 8 hexadecimal digits");
      value.type = type::Dword;
      for (int i = 0; i < 4; ++i) value.data += static_cast<char>(*n >> (8 * i) & 0xFF);
    } else if (startsWithIgnoreCase(rest, "hex:")) {
      value.type = type::Binary;
      value.data = readHexList(rest.substr(4));
    } else if (startsWithIgnoreCase(rest, "hex(")) {
      size_t close = rest.find(')');
      if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
        fail("hex(type): expected");
      auto t = parseHex32(rest.substr(4, close - 4));
      if (!t) fail("the type in hex(type) must be 1 to 8 hexadecimal digits");
      value.type = *t;
      value.data = readHexList(rest.substr(close + 2));
      // Version 5 files hold texts in UTF-16; the store keeps them as cp1250.
      if (version5_ &&
          (value.type == type::Sz || value.type == type::ExpandSz || value.type == type::MultiSz))
        value.data = utf16leToCp1250(value.data);
    } else {
      fail("unknown value data; \"text\", dword:, hex:, hex(type): or - expected");
    }
    key.values.push_back(std::move(value));
  }

  // Comma-separated bytes; a backslash at the end of a line continues the list on the next one.
  std::string readHexList(std::string_view rest) {
    std::string bytes;
    for (;;) {
      rest = trim(rest);
      bool continues = !rest.empty() && rest.back() == '\\';
      if (continues) rest = trim(rest.substr(0, rest.size() - 1));
      size_t start = 0;
      while (start < rest.size()) {
        size_t comma = rest.find(',', start);
        std::string_view token =
            trim(rest.substr(start, comma == std::string_view::npos ? rest.npos : comma - start));
        if (token.empty() || token.size() > 2 || hexDigit(token[0]) < 0 ||
            (token.size() == 2 && hexDigit(token[1]) < 0))
          fail("a byte must be 1 or 2 hexadecimal digits, separated by commas");
        bytes += static_cast<char>(token.size() == 2 ? hexDigit(token[0]) * 16 + hexDigit(token[1])
                                                     : hexDigit(token[0]));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
      if (!continues) return bytes;
      if (next_ >= lines_.size()) fail("the file ends after a line continued with \\");
      line_ = static_cast<int>(next_) + 1;
      rest = lines_[next_++];
    }
  }

  std::vector<std::string_view> lines_;
  size_t next_ = 0;
  int line_ = 0;
  bool version5_ = false;
  RegDocument document_;
  std::vector<RegSkippedLine>* skipped_ = nullptr;
  int skippedKeyLine_ = 0;  // the line of a key left out, whose values go with it
};

}  // namespace

RegDocument parseRegText(std::string_view bytes) {
  std::string text = decodeRegFileBytes(bytes);
  return Parser(text).run();
}

RegDocument parseRegTextSkippingBadLines(std::string_view bytes, std::vector<RegSkippedLine>& skipped) {
  std::string text = decodeRegFileBytes(bytes);
  return Parser(text, &skipped).run();
}

}  // namespace morvin::reg
