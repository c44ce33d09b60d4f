#include "tools/setupinf/image.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageTest, VolumeIdOfDefaultDir) {
  struct Case {
    const char* defaultDir;
    const char* volumeId;
  };
  const Case cases[] = {
      {"SIREL", "SIREL"},
      {"Sirel_2026", "SIREL_2026"},
      {"CAD Daten", "CAD_DATEN"},
      {"CAD\\SIREL", "CAD_SIREL"},
      {"a-b.c;d", "A_B_C_D"},
      {"\xC3\x9C"
       "bung",
       "_BUNG"},  // one character outside ASCII, one '_'
      {"\xE2\x82\xAC"
       "\xE6\x97\xA5"
       "X",
       "__X"},                     // three-byte characters
      {"\xC3\xA4\xC3\xB6", "__"},  // two characters in a row
      {"\x80"
       "A",
       "_A"},  // a stray trailing byte still counts
      {"", "SETUP"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VolumeIdOf(c.defaultDir), c.volumeId) << c.defaultDir;
  }
}

}  // namespace
