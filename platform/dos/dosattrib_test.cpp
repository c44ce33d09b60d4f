#include "platform/dos/dosattrib.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace platform::dos {
namespace {

// The bytes of a string literal, embedded NULs included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// Blobs laid out by hand the way Samba writes them, one literal per field:
// text, padding, version, level, padding, then the record; kQ is a time or size.
const std::string kQ(8, '\x5a');
const std::string kQ4 = kQ + kQ + kQ + kQ;
const std::string kV5 =  // current Samba: empty text, valid_flags 0x11
    Bytes(
        "\0"
        "\0"
        "\5\0"
        "\5\0"
        "\0\0"
        "\x11\0\0\0"
        "\x20\0\0\0") +
    kQ;
// Version 5 behind the text "0x21", with the given level and valid_flags.
std::string V5After21(char level, char validFlags) {
  return Bytes(
             "0x21\0"
             "\0"
             "\5\0") +
         level +
         Bytes(
             "\0"
             "\0\0") +
         validFlags +
         Bytes(
             "\0\0\0"
             "\x20\0\0\0") +
         kQ;
}
const std::string kV5Text = V5After21(5, 0x11);
const std::string kV4 = Bytes(
                            "\0"
                            "\0"
                            "\4\0"
                            "\4\0"
                            "\0\0"
                            "\x51\0\0\0"
                            "\x22\0\0\0") +
                        kQ + kQ;
const std::string kV3 =  // text and record disagree to show which is read
    Bytes(
        "0x1\0"
        "\3\0"
        "\3\0"
        "\x11\0\0\0"
        "\x22\0\0\0"
        "\0\0\0\0") +
    kQ4;
const std::string kV2 =  // flags before attrib, a name after the record
    Bytes(
        "0x22\0"
        "\0"
        "\2\0"
        "\2\0"
        "\0\0"
        "\1\0\0\0"
        "\x23\0\0\0"
        "\0\0\0\0") +
    kQ4 + kQ + Bytes("\0");
const std::string kV1 = Bytes(
                            "0x2000\0"
                            "\0"
                            "\1\0"
                            "\1\0"
                            "\x20\x20\0\0"
                            "\0\0\0\0") +
                        kQ4;

TEST(ParseDosAttrib, Table) {
  struct Case {
    const char* what;
    std::string bytes;
    bool ok;
    uint32_t expected;
  };
  const std::vector<Case> cases = {
      {"text", Bytes("0x20"), true, 0x20},
      {"text+nul", Bytes("0x22\0"), true, 0x22},
      {"upper case", Bytes("0X1A\0"), true, 0x1a},
      {"32 bits", Bytes("0xffffffff"), true, 0xffffffff},
      {"v5", kV5, true, 0x20},
      {"v5 after text", kV5Text, true, 0x20},
      {"v5 attrib not valid", V5After21(5, 0x10), true, 0x21},
      {"v5 truncated, text", kV5Text.substr(0, kV5Text.size() - 1), true, 0x21},
      {"level differs", V5After21(4, 0x11), true, 0x21},
      {"v4", kV4, true, 0x22},
      {"v3 record wins", kV3, true, 0x22},
      {"v3 truncated, text", kV3.substr(0, kV3.size() - 1), true, 0x1},
      {"v2", kV2, true, 0x23},
      {"v1", kV1, true, 0x2020},
      {"unknown version",
       Bytes("0x21\0"
             "\0"
             "\6\0"
             "\6\0") +
           kQ + kQ,
       true, 0x21},
      {"v5 truncated", kV5.substr(0, kV5.size() - 1), false, 0},
      {"empty", "", false, 0},
      {"0x", Bytes("0x"), false, 0},
      {"zz", Bytes("zz"), false, 0},
      {"bad digit", Bytes("0x2g"), false, 0},
      {"too wide", Bytes("0x100000000"), false, 0},
  };
  for (const auto& c : cases) {
    uint32_t value = 0xdeadbeef;
    EXPECT_EQ(ParseDosAttrib(c.bytes.data(), c.bytes.size(), &value), c.ok) << c.what;
    EXPECT_EQ(value, c.ok ? c.expected : 0xdeadbeef) << c.what;
  }
}

TEST(FormatDosAttrib, TextWithNulThatParsesBack) {
  const std::vector<std::pair<uint32_t, std::string>> cases = {
      {0, Bytes("0x0\0")}, {0x22, Bytes("0x22\0")}, {0xffffffff, Bytes("0xffffffff\0")}};
  for (const auto& [attributes, expected] : cases) {
    const std::string text = FormatDosAttrib(attributes);
    uint32_t back = 0;
    EXPECT_EQ(text, expected) << attributes;
    EXPECT_TRUE(ParseDosAttrib(text.data(), text.size(), &back) && back == attributes) << attributes;
  }
}

}  // namespace
}  // namespace platform::dos
