#include "RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace morvin::guide {

namespace {
// Longer control words are invalid RTF; their extra letters are dropped.
constexpr int kMaxWordLength = 32;

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

RtfToken RtfTokenizer::next() {
  while (at_ < data_.size()) {
    const char c = data_[at_++];
    switch (c) {
      case '{':
        return {RtfToken::Kind::GroupStart};
      case '}':
        return {RtfToken::Kind::GroupEnd};
      case '\\':
        return afterBackslash();
      case '\r':
      case '\n':
        continue;  // line breaks of the file are not text
      default: {
        RtfToken token{RtfToken::Kind::Text};
        token.byte = static_cast<unsigned char>(c);
        return token;
      }
    }
  }
  return {};
}

RtfToken RtfTokenizer::afterBackslash() {
  if (at_ >= data_.size()) return {};
  const char c = data_[at_];
  if (isLetter(c)) return controlWord();
  ++at_;
  if (c == '\'') {
    const int high = at_ < data_.size() ? hexValue(data_[at_]) : -1;
    const int low = at_ + 1 < data_.size() ? hexValue(data_[at_ + 1]) : -1;
    if (high < 0 || low < 0) return {RtfToken::Kind::ControlSymbol};  // a broken \' is dropped
    at_ += 2;
    RtfToken token{RtfToken::Kind::HexByte};
    token.byte = static_cast<unsigned char>(high * 16 + low);
    return token;
  }
  RtfToken token{RtfToken::Kind::ControlSymbol};
  // A backslash before a line break of the file is a paragraph mark.
  token.symbol = (c == '\r' || c == '\n') ? '\n' : c;
  return token;
}

RtfToken RtfTokenizer::controlWord() {
  RtfToken token{RtfToken::Kind::ControlWord};
  while (at_ < data_.size() && isLetter(data_[at_])) {
    if (token.word.size() < kMaxWordLength) token.word.append(data_[at_]);
    ++at_;
  }
  bool negative = false;
  if (at_ + 1 < data_.size() && data_[at_] == '-' && isDigit(data_[at_ + 1])) {
    negative = true;
    ++at_;
  }
  if (at_ < data_.size() && isDigit(data_[at_])) {
    long long value = 0;
    while (at_ < data_.size() && isDigit(data_[at_])) {
      value = std::min<long long>(value * 10 + (data_[at_] - '0'), INT_MAX);
      ++at_;
    }
    token.hasParameter = true;
    token.parameter = static_cast<int>(negative ? -value : value);
  }
  if (at_ < data_.size() && data_[at_] == ' ') ++at_;  // the delimiter belongs to the word
  return token;
}

void RtfTokenizer::skipBytes(std::int64_t count) {
  if (count <= 0) return;
  at_ = static_cast<qsizetype>(std::min<std::int64_t>(data_.size(), at_ + count));
}

}  // namespace morvin::guide
