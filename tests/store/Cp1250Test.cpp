// Code page 1250 against the C library's own tables.
#include <gtest/gtest.h>
#include <iconv.h>

#include <clocale>
#include <cwctype>
#include <string>

#include "registry/Cp1250.h"

namespace morvin {
namespace {

// The code point the C library gives a cp1250 byte, or -1 when it has none.
long libcCodePoint(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-32LE", "CP1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) return -2;
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t inLeft = 1, outLeft = 4;
  const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return -1;
  return out[0] | (out[1] << 8) | (out[2] << 16) | (long{out[3]} << 24);
}

TEST(Cp1250, EveryDefinedByteMatchesTheSystemTableAndTheUndefinedOnesStandForControls) {
  int defined = 0;
  for (int b = 0; b < 256; ++b) {
    const long expected = libcCodePoint(static_cast<unsigned char>(b));
    ASSERT_NE(expected, -2) << "no CP1250 converter in the C library";
    if (expected >= 0) {
      ++defined;
      EXPECT_EQ(static_cast<long>(cp1250::toUnicode(static_cast<unsigned char>(b))), expected) << b;
    } else {
      EXPECT_EQ(static_cast<int>(cp1250::toUnicode(static_cast<unsigned char>(b))), b) << b;
    }
    EXPECT_EQ(cp1250::fromUnicode(cp1250::toUnicode(static_cast<unsigned char>(b))), b);
  }
  EXPECT_EQ(defined, 251);
}

TEST(Cp1250, AllBytesSurviveATripThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1250::fromUtf8(cp1250::toUtf8(all)), all);
  EXPECT_EQ(cp1250::toUtf8("\xA3\xF3\x64\x9F"), "Łódź");
  EXPECT_EQ(cp1250::fromUtf8("Zażółć gęślą jaźń"), "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1");
}

TEST(Cp1250, TextWithoutABytePartsOrBrokenUtf8BecomesTheReplacement) {
  EXPECT_EQ(cp1250::fromUnicode(0x6F22), -1);
  EXPECT_EQ(cp1250::fromUnicode(0x0080), -1);  // a C1 control the code page does not keep
  EXPECT_EQ(cp1250::fromUtf8("a漢b"), "a?b");
  EXPECT_EQ(cp1250::fromUtf8("x\xC3"), "x?");              // cut short
  EXPECT_EQ(cp1250::fromUtf8("\xC0\x80", '_'), "__");      // overlong NUL
  EXPECT_EQ(cp1250::fromUtf8("\xED\xA0\x80"), "???");      // a surrogate
  EXPECT_EQ(cp1250::fromUtf8("\xF0\x9F\x98\x80!"), "?!");  // outside the basic plane
}

TEST(Cp1250, UpperCaseFollowsTheUnicodeCapitalOfEveryLetter) {
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const int capital = cp1250::fromUnicode(static_cast<char32_t>(std::towupper(cp1250::toUnicode(byte))));
    EXPECT_EQ(cp1250::toUpper(byte), capital >= 0 ? capital : b) << b;
  }
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(cp1250::toUpper(cp1250::fromUtf8("ąćęłńóśźż")), cp1250::fromUtf8("ĄĆĘŁŃÓŚŹŻ"));
}

TEST(Cp1250, ComparisonsIgnoreCaseOfPolishLetters) {
  EXPECT_TRUE(cp1250::equalsIgnoreCase(cp1250::fromUtf8("ĄĆĘ Żółw"), cp1250::fromUtf8("ąćę żÓŁW")));
  EXPECT_FALSE(cp1250::equalsIgnoreCase(cp1250::fromUtf8("Ź"), cp1250::fromUtf8("Ż")));
  EXPECT_FALSE(cp1250::equalsIgnoreCase("abc", "abcd"));
  EXPECT_EQ(cp1250::compareIgnoreCase("Abc", "aBC"), 0);
  EXPECT_LT(cp1250::compareIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(cp1250::compareIgnoreCase("abd", "ABC"), 0);
  EXPECT_LT(cp1250::compareIgnoreCase("ab", "ABC"), 0);
  EXPECT_GT(cp1250::compareIgnoreCase(cp1250::fromUtf8("ą"), "Z"), 0);
}

}  // namespace
}  // namespace morvin
