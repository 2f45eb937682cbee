// Writing REGEDIT4: the exact text, and texts that must come back byte for byte.
#include <gtest/gtest.h>

#include "registry/Cp1250.h"
#include "registry/RegFile.h"

namespace morvin::reg {
namespace {

TEST(RegFileWrite, WritesTheEditorsFormWithCrLf) {
  RegDocument doc;
  doc.keys.push_back({kCurrentUser,
                      cp1250::fromUtf8("Software\\Mój"),
                      false,
                      {
                          {"", false, type::Sz, cp1250::fromUtf8("Zażółć") + '\0'},
                          {"Q\"uo\\te", false, type::Sz, std::string("a\"b\\c\0", 6)},
                          {"N", false, type::Dword, std::string("\x01\x02\0\x80", 4)},
                          {"B", false, type::Binary, std::string("\0\xff", 2)},
                          {"E", false, type::ExpandSz, std::string("%x%\0", 4)},
                          {"Old", true, 0, ""},
                      }});
  doc.keys.push_back({kLocalMachine, "Software\\Gone", true, {}});
  doc.keys.push_back({kCurrentConfig, "", false, {}});
  EXPECT_EQ(writeRegText(doc),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\M\xF3j]\r\n"
            "@=\"Za\xBF\xF3\xB3\xE6\"\r\n"
            "\"Q\\\"uo\\\\te\"=\"a\\\"b\\\\c\"\r\n"
            "\"N\"=dword:80000201\r\n"
            "\"B\"=hex:00,ff\r\n"
            "\"E\"=hex(2):25,78,25,00\r\n"
            "\"Old\"=-\r\n"
            "\r\n[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
            "\r\n[HKEY_CURRENT_CONFIG]\r\n"
            "\r\n");
}

TEST(RegFileWrite, LongDataIsBrokenIntoContinuedLinesThatReadBack) {
  std::string data;
  for (int i = 0; i < 200; ++i) data += static_cast<char>(i);
  RegDocument doc{{{kCurrentUser, "K", false, {{"Dane", false, type::Binary, data}}}}};
  std::string text = writeRegText(doc);
  size_t lines = 0;
  for (size_t at = 0, next; (next = text.find("\r\n", at)) != std::string::npos; at = next + 2) {
    ++lines;
    EXPECT_LE(next - at, 80u) << text.substr(at, next - at);
  }
  EXPECT_GT(lines, 8u);
  EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);
  EXPECT_EQ(parseRegText(text), doc);
}

TEST(RegFileWrite, EveryValueComesBackExactly) {
  const std::vector<RegValueEntry> values{
      {"plain", false, type::Sz, cp1250::fromUtf8("Kosz – śmieci") + '\0'},
      {"empty text", false, type::Sz, std::string(1, '\0')},
      {"no NUL", false, type::Sz, "abc"},
      {"no data", false, type::Sz, ""},
      {"inner NUL", false, type::Sz, std::string("a\0b\0", 4)},
      {"two NULs", false, type::Sz, std::string("ab\0\0", 4)},
      {"line break", false, type::Sz, std::string("a\r\nb\0", 5)},
      {"odd bytes", false, type::Sz, std::string("\x81\x83\x88\x90\x98\xff\0", 7)},
      {"short dword", false, type::Dword, "\1\2"},
      {"long dword", false, type::Dword, std::string("\1\2\3\4\5", 5)},
      {"big endian", false, type::DwordBigEndian, std::string("\0\0\0\1", 4)},
      {"multi", false, type::MultiSz, cp1250::fromUtf8("żółw") + std::string("\0x\0\0", 4)},
      {"none", false, type::None, ""},
      {"link", false, type::Link, "\x10"},
      {"odd type", false, 0x12345678, "z"},
      {"", false, type::Binary, std::string(300, '\xAB')},
      {cp1250::fromUtf8("ĄĆĘŁŃÓŚŹŻ \"\\ [x]"), false, type::Sz, std::string("\\\"\0", 3)},
  };
  RegDocument doc{{{kCurrentUser, cp1250::fromUtf8("Software\\Zażółć\\[x]"), false, values}}};
  EXPECT_EQ(parseRegText(writeRegText(doc)), doc);
}

TEST(RegFileWrite, NamesWithLineBreaksAreRefused) {
  RegDocument badValue{{{kCurrentUser, "K", false, {{"a\nb", false, type::Sz, std::string(1, '\0')}}}}};
  EXPECT_THROW(writeRegText(badValue), Exception);
  RegDocument badKey{{{kCurrentUser, "K\r\n[HKEY_LOCAL_MACHINE\\X]", false, {}}}};
  EXPECT_THROW(writeRegText(badKey), Exception);
}

}  // namespace
}  // namespace morvin::reg
