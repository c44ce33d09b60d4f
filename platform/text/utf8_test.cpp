#include "platform/text/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Test, ValidityOfWholeTexts) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"PROJEKTE\\M\xC3\x9CLLER", true},
      {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC", true},  // Ελληνικά
      {"\xF0\x9F\x98\x80", true},                                                  // U+1F600
      {"PROJEKTE\\M\xDCLLER", false},                                              // Windows-1252 Ü
      {"\xC3", false},                                                             // cut sequence
      {"\xC0\xAF", false},                                                         // overlong '/'
      {"\xE0\x80\xAF", false},                                                     // overlong '/'
      {"\xED\xA0\x80", false},                                                     // a surrogate
      {"\xF4\x90\x80\x80", false},                                                 // past U+10FFFF
      {"\x80", false},                                                             // stray continuation
  };
  for (const auto& c : cases) EXPECT_EQ(text::IsUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Utf8Test, Windows1252IsReadByteByByte) {
  EXPECT_EQ(text::FromCp1252("M\xDCLLER \x80 \x9F \x81"), "M\xC3\x9CLLER \xE2\x82\xAC \xC5\xB8 \xC2\x81");
  EXPECT_EQ(text::AsUtf8("M\xC3\x9CLLER"), "M\xC3\x9CLLER");  // valid: as it is
  EXPECT_EQ(text::AsUtf8("M\xDCLLER"), "M\xC3\x9CLLER");      // not valid: Windows-1252
}

TEST(Utf8Test, CutsNeverSplitACharacter) {
  const std::string s = "ab\xC3\x9C\xE2\x82\xAC";  // a b Ü €: 2 + 2 + 3 bytes
  const struct { size_t max, cut; } cases[] = {{0, 0}, {2, 2}, {3, 2}, {4, 4}, {5, 4}, {6, 4}, {7, 7}, {100, 7}};
  for (const auto& c : cases) EXPECT_EQ(text::CutPoint(s, c.max), c.cut) << c.max;
}

TEST(Utf8Test, Utf16BothWays) {
  const std::string greek = "\xCE\x95\xCE\xBB \xF0\x9F\x98\x80";
  EXPECT_EQ(text::ToUtf16(greek), std::u16string(u"\u0395\u03BB \U0001F600"));
  EXPECT_EQ(text::FromUtf16(text::ToUtf16(greek)), greek);
  EXPECT_EQ(text::ToUtf16("M\xDCLLER \x80"), std::u16string(u"M\u00DCLLER \u20AC"));  // Windows-1252
  EXPECT_EQ(text::FromUtf16(std::u16string(u"a") + char16_t(0xD800) + u"b"),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(Utf8Test, NamesMeetWithoutRegardToCase) {
  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {"projekte\\m\xC3\xBCller", "PROJEKTE\\M\xC3\x9CLLER", true},
      {"\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC",
       "\xCE\x95\xCE\x9B\xCE\x9B\xCE\x97\xCE\x9D\xCE\x99\xCE\x9A\xCE\x86", true},  // ελληνικά / ΕΛΛΗΝΙΚΆ
      {"\xD0\xBF\xD0\xBB\xD0\xB0\xD0\xBD", "\xD0\x9F\xD0\x9B\xD0\x90\xD0\x9D", true},  // план / ПЛАН
      {"\xC5\x99", "\xC5\x98", true},                                                  // ř / Ř
      {"\xC3\xBF", "\xC5\xB8", true},                                                  // ÿ / Ÿ
      {"\xC3\xA9", "E", false},
      {"\xC3\xB7", "\xC3\x97", false},    // ÷ and × are not letters
      {"M\xDCLLER", "m\xFCller", false},  // bytes that are not UTF-8 compare as they are
      {"M\xDCLLER", "M\xDCLLER", true},
      {"abc", "ab", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::SameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(text::FoldName(c.a) == text::FoldName(c.b), c.same) << c.a << " / " << c.b;
  }
}

}  // namespace
