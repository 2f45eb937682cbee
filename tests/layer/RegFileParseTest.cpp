// Reading .reg files: every form of the syntax, both versions, and errors
// that name the line.
#include <gtest/gtest.h>

#include "LayerTestText.h"
#include "registry/Cp1250.h"
#include "registry/RegFile.h"

namespace morvin::reg {
namespace {

TEST(RegFileParse, ReadsEveryFormOfKeyAndValue) {
  const std::string file = cp1250::fromUtf8(
      "\r\nREGEDIT4\r\n"
      "; a comment\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Morvin\\Ustawienia]\r\n"
      "\"Tekst\"=\"Zażółć \\\"gęślą\\\" C:\\\\WINDOWS\"\r\n"
      "@=\"domyślna\"\r\n"
      "  \"Liczba\" = dword:0000ff01  \r\n"
      "\"Krótka\"=dword:7\n"
      "\"Bajty\"=hex:00,ff,7F,\\\r\n"
      "  1,a0\r\n"
      "\"Pusta\"=hex:\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n"
      "\"QWord\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\"Stara\"=-\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Stary]\r\n"
      "[hkey_classes_root\\.bmp\\]\r\n"
      "@=-\r\n"
      "[HKEY_CURRENT_CONFIG]\r\n");
  RegDocument doc = parseRegText(file);
  ASSERT_EQ(doc.keys.size(), 4u);

  const RegKeyEntry& user = doc.keys[0];
  EXPECT_EQ(user.root, kCurrentUser);
  EXPECT_EQ(user.path, "Software\\Morvin\\Ustawienia");
  EXPECT_FALSE(user.remove);
  std::vector<RegValueEntry> expected{
      {cp1250::fromUtf8("Tekst"), false, type::Sz, cp1250::fromUtf8("Zażółć \"gęślą\" C:\\WINDOWS") + '\0'},
      {"", false, type::Sz, cp1250::fromUtf8("domyślna") + '\0'},
      {"Liczba", false, type::Dword, std::string("\x01\xff\0\0", 4)},
      {cp1250::fromUtf8("Krótka"), false, type::Dword, std::string("\7\0\0\0", 4)},
      {"Bajty", false, type::Binary, std::string("\0\xff\x7f\x01\xa0", 5)},
      {"Pusta", false, type::Binary, ""},
      {"Multi", false, type::MultiSz, std::string("a\0b\0\0", 5)},
      {"QWord", false, 11, std::string("\1\0\0\0\0\0\0\0", 8)},
      {"Stara", true, 0, ""},
  };
  EXPECT_EQ(user.values, expected);

  EXPECT_EQ(doc.keys[1], (RegKeyEntry{kLocalMachine, "Software\\Stary", true, {}}));
  EXPECT_EQ(doc.keys[2], (RegKeyEntry{kClassesRoot, ".bmp", false, {{"", true, 0, ""}}}));
  EXPECT_EQ(doc.keys[3], (RegKeyEntry{kCurrentConfig, "", false, {}}));
}

TEST(RegFileParse, ReadsVersion5InUtf16AndTurnsItsTextsIntoCp1250) {
  // hex(2) and hex(7) data of a version 5 file are UTF-16 too.
  const std::string expand = test::utf16le("%SystemRoot%\\Żaba") + std::string(2, '\0');
  std::string hexExpand;
  for (unsigned char c : expand) {
    char b[4];
    std::snprintf(b, sizeof b, "%02x,", c);
    hexExpand += b;
  }
  hexExpand.pop_back();
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Gęś]\r\n"
      "\"Nazwa\"=\"Łódź ☃\"\r\n"
      "\"Ścieżka\"=hex(2):" +
      hexExpand +
      "\r\n"
      "\"Liczba\"=dword:00000010\r\n"
      "\"Bin\"=hex:c5,81\r\n";
  RegDocument doc = parseRegText(std::string("\xFF\xFE", 2) + test::utf16le(text));
  ASSERT_EQ(doc.keys.size(), 1u);
  EXPECT_EQ(doc.keys[0].path, cp1250::fromUtf8("Software\\Gęś"));
  std::vector<RegValueEntry> expected{
      {cp1250::fromUtf8("Nazwa"), false, type::Sz, cp1250::fromUtf8("Łódź ?") + '\0'},
      {cp1250::fromUtf8("Ścieżka"), false, type::ExpandSz, cp1250::fromUtf8("%SystemRoot%\\Żaba") + '\0'},
      {"Liczba", false, type::Dword, std::string("\x10\0\0\0", 4)},
      {"Bin", false, type::Binary, "\xc5\x81"},  // binary data stays as it is
  };
  EXPECT_EQ(doc.keys[0].values, expected);

  // The same file with a UTF-8 byte order mark reads the same.
  RegDocument fromUtf8 = parseRegText("\xEF\xBB\xBF" + text);
  EXPECT_EQ(fromUtf8, doc);
}

TEST(RegFileParse, MalformedFilesNameTheirLine) {
  struct Case {
    std::string text;
    int line;
    std::string says;
  };
  const std::string head = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n";
  const std::vector<Case> cases{
      {"", 0, "empty file"},
      {"\r\n\r\n", 0, "empty file"},
      {"REGEDIT5\r\n", 1, "not a registry file"},
      {"\"v\"=\"x\"\r\n", 1, "not a registry file"},
      {"REGEDIT4\r\n\"v\"=\"x\"\r\n", 2, "before the first [key]"},
      {head + "[HKEY_NOWHERE\\A]\r\n", 4, "unknown root"},
      {head + "[HKEY_CURRENT_USER\\A\r\n", 4, "must end with ]"},
      {head + "[-HKEY_CURRENT_USER]\r\n", 4, "root key cannot be deleted"},
      {head + "\"v\"\"x\"\r\n", 4, "= expected"},
      {head + "\"v=\"x\"\r\n", 4, "= expected"},
      {head + "\"v\"=\"x\r\n", 4, "no closing quote"},
      {head + "\"v\"=\"C:\\WINDOWS\"\r\n", 4, "unknown escape \\W"},
      {head + "\"v\"=\"x\" y\r\n", 4, "after the closing quote"},
      {head + "\"v\"=dword:123456789\r\n", 4, "dword:"},
      {head + "\"v\"=dword:\r\n", 4, "dword:"},
      {head + "\"v\"=dword:12g4\r\n", 4, "dword:"},
      {head + "\"v\"=hex:01,,02\r\n", 4, "hexadecimal digits"},
      {head + "\"v\"=hex:01,\\\r\n  02,1x\r\n", 5, "hexadecimal digits"},
      {head + "\"v\"=hex:123\r\n", 4, "hexadecimal digits"},
      {head + "\"v\"=hex:01,\\", 4, "the file ends"},
      {head + "\"v\"=hex(q):01\r\n", 4, "hex(type)"},
      {head + "\"v\"=hex(2)01\r\n", 4, "hex(type)"},
      {head + "\"v\"=str:01\r\n", 4, "unknown value data"},
      {head + "value=1\r\n", 4, "unexpected text"},
      {"REGEDIT4\r[HKEY_CURRENT_USER\\A]\re]\r\n", 3, "unexpected text"},  // a lone CR ends a line
      {"REGEDIT4\r\n[-HKEY_CURRENT_USER\\A]\r\n\"v\"=\"x\"\r\n", 3, "being deleted"},
  };
  for (const Case& c : cases) {
    try {
      parseRegText(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const RegFileError& e) {
      if (c.line > 0) {
        EXPECT_EQ(e.line(), c.line) << c.text;
        EXPECT_EQ(e.message().rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << e.message();
      }
      EXPECT_NE(e.message().find(c.says), std::string::npos) << e.message();
    }
  }
}

// Tweak files written by others: each bad line is left out and listed, the rest is kept.
TEST(RegFileParse, SkippingBadLinesKeepsEveryValidEntryAndListsTheRest) {
  const std::string file =
      "REGEDIT4\r\n"
      "Ten plik wlacza szybsze menu.\r\n"  // 2: prose
      "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
      "\"MenuShowDelay\"=\"0\"\r\n"
      "\"x\"=00000001\r\n"        // 5: no type
      "\"Bad\"=hex:01,zz,\\\r\n"  // 6: a bad byte, continued on 7
      "  02,03\r\n"
      "\"Good\"=dword:2\r\n"
      "[HKEY_CURRENT_ROOT\\Software\\X]\r\n"  // 9: misspelt root
      "\"Lost\"=\"1\"\r\n"                    // 10: its value goes with it
      "[HKEY_LOCAL_MACHINE\\Software\\Y]\r\n"
      "\"Kept\"=\"1\"\r\n";
  std::vector<RegSkippedLine> skipped;
  const RegDocument doc = parseRegTextSkippingBadLines(file, skipped);
  ASSERT_EQ(doc.keys.size(), 2u);
  EXPECT_EQ(doc.keys[0].values.size(), 2u);
  EXPECT_EQ(doc.keys[0].values[1].name, "Good");
  EXPECT_EQ(doc.keys[1].path, "Software\\Y");
  ASSERT_EQ(doc.keys[1].values.size(), 1u);
  const std::vector<std::pair<int, std::string>> expected{{2, "unexpected text"},
                                                          {5, "unknown value data"},
                                                          {6, "a byte must be"},
                                                          {9, "unknown root key"},
                                                          {10, "line 9 was left out"}};
  ASSERT_EQ(skipped.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(skipped[i].line, expected[i].first);
    EXPECT_NE(skipped[i].reason.find(expected[i].second), std::string::npos) << skipped[i].reason;
  }
  EXPECT_EQ(skipped[1].text, "\"x\"=00000001");
  // The strict reading refuses the same file at its first bad line.
  try {
    parseRegText(file);
    ADD_FAILURE() << "the strict reading accepted a bad file";
  } catch (const RegFileError& e) {
    EXPECT_EQ(e.line(), 2);
  }
  EXPECT_THROW(parseRegTextSkippingBadLines("Hello\r\n", skipped), RegFileError);
}

}  // namespace
}  // namespace morvin::reg
