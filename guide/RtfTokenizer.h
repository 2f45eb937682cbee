// Splits RTF bytes into groups, control words, control symbols and text.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace morvin::guide {

struct RtfToken {
  enum class Kind { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };
  RtfToken() = default;
  RtfToken(Kind k) : kind(k) {}  // NOLINT: tokens are returned as {Kind}

  Kind kind = Kind::End;
  QByteArray word;  // ControlWord: the letters
  bool hasParameter = false;
  int parameter = 0;       // ControlWord: the number, clamped to int
  char symbol = 0;         // ControlSymbol: the character after the backslash
  unsigned char byte = 0;  // HexByte: the value of \'xx; Text: the character
};

class RtfTokenizer {
 public:
  explicit RtfTokenizer(const QByteArray& data) : data_(data) {}

  RtfToken next();
  // Skips the binary data of \binN.
  void skipBytes(std::int64_t count);

 private:
  RtfToken controlWord();
  RtfToken afterBackslash();

  const QByteArray& data_;
  qsizetype at_ = 0;
};

}  // namespace morvin::guide
