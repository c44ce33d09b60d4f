#include "install/manifest.h"

#include <gtest/gtest.h>

#include "install/sha256.h"

namespace {

const std::string kA(64, 'a');
const std::string kB(64, 'b');

TEST(ManifestTest, ReadsChecksumLinesAndNamesEachBadOne) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> paths;  // what it lists
    std::vector<int> badLines;
  };
  const Case cases[] = {
      {"two lines", kA + "  SETUP.INF\n" + kB + "  macros/a b.mac\n", {"SETUP.INF", "macros/a b.mac"}, {}},
      {"no final line break, CR LF, binary mark", kA + "  x\r\n" + kB + " *y", {"x", "y"}, {}},
      {"an empty line", kA + "  x\n\n", {"x"}, {2}},
      {"a digit short", std::string(63, 'a') + "  x\n", {}, {1}},
      {"one blank", kA + " x\n", {}, {1}},
      {"no path", kA + "  \n", {}, {1}},
      {"absolute", kA + "  /etc/x\n", {}, {1}},
      {"up and out", kA + "  a/../../x\n", {}, {1}},
      {"a backslash", kA + "  macros\\a.mac\n", {}, {1}},
      {"listed twice, letter case aside", kA + "  a.mac\n" + kB + "  A.MAC\n" + kB + "  b\n", {"a.mac", "b"}, {2}},
  };
  for (const Case& c : cases) {
    std::vector<MediumManifest::BadLine> bad;
    const MediumManifest m = MediumManifest::Parse(c.text, &bad);
    std::vector<std::string> paths;
    for (const MediumManifest::Entry& e : m.entries()) paths.push_back(e.path);
    EXPECT_EQ(paths, c.paths) << c.name;
    std::vector<int> lines;
    for (const MediumManifest::BadLine& b : bad) lines.push_back(b.line);
    EXPECT_EQ(lines, c.badLines) << c.name;
  }
  std::vector<MediumManifest::BadLine> bad;
  const MediumManifest m = MediumManifest::Parse(std::string(64, 'C') + "  Macros/A.mac\n", &bad);
  ASSERT_NE(m.DigestOf("macros/a.MAC"), nullptr);
  EXPECT_EQ(*m.DigestOf("macros/a.MAC"), std::string(64, 'c'));
  EXPECT_EQ(m.DigestOf("macros/b.mac"), nullptr);
}

TEST(ManifestTest, WritesSortedByteOrderedLinesThatReadBack) {
  const std::vector<MediumManifest::Entry> entries = {
      {"macros/b.mac", kB}, {"SETUP.INF", kA}, {"macros/B.mac", kA}, {"LICENSE.TXT", kB}};
  const std::string text = MediumManifest::Format(entries);
  EXPECT_EQ(text, kB + "  LICENSE.TXT\n" + kA + "  SETUP.INF\n" + kA + "  macros/B.mac\n" + kB + "  macros/b.mac\n");
  std::vector<MediumManifest::Entry> shuffled = {entries[3], entries[1], entries[0], entries[2]};
  EXPECT_EQ(MediumManifest::Format(shuffled), text);
}

TEST(ManifestTest, RelativePathOfAMediumFile) {
  struct Case {
    const char* full;
    const char* medium;
    const char* relative;
  };
  const Case cases[] = {
      {"D:\\README.TXT", "D:\\", "README.TXT"},
      {"D:\\macros\\\\sub\\.\\a.mac", "D:", "macros/sub/a.mac"},
      {"z:\\CD\\Macros\\a.mac", "Z:\\cd\\", "Macros/a.mac"},
      {"Z:\\CDROM\\a.mac", "Z:\\CD", ""},
      {"Z:\\CD", "Z:\\CD", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MediumRelativePath(c.full, c.medium), c.relative) << c.full;
  EXPECT_TRUE(IsManifestPath("setup.sum"));
  EXPECT_FALSE(IsManifestPath("sub/SETUP.SUM"));
}

}  // namespace
