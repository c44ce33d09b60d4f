#include "tools/setupinf/check.h"

#include <gtest/gtest.h>

#include "tests/support/temp_medium.h"
#include "tools/setupinf/medium.h"

namespace {

// A complete, clean SETUP.INF for one language; cases add faults to it.
std::string CleanSetup(const std::string& extraEnglish = "", const std::string& head = "") {
  std::string text = head +
      "[BootSetup]\r\nVersion=2.0\r\nDefaultDir=SIREL\r\n"
      "[Languages]\r\n1=English\r\n[English]\r\nTxt_001=LICENSE.TXT\r\n";
  for (int id : {2, 4, 17, 18, 19, 20, 21, 22, 23, 24, 30, 31, 34, 35, 60, 63, 64, 65, 66, 67,
                 68, 69, 70, 72, 73, 74, 75, 76, 78, 80, 99}) {
    char key[16];
    std::snprintf(key, sizeof(key), "Txt_%03d", id);
    text += std::string(key) + "=text\r\n";
  }
  text += "Txt_005=%s\r\nTxt_006=%s\r\nTxt_015=%s\r\nTxt_025=%s %s\r\nTxt_061=V %s\r\nTxt_079=%s\r\n";
  text += "Txt_500=README.TXT\r\nTxt_600=macros\\;MACROS\r\n" + extraEnglish;
  return text;
}

std::vector<std::string> Check(const std::string& setup, bool withFiles = true) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "SETUP.INF"), setup);
  if (withFiles) {
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
    TempDrives::Write(drives.Host('D', "README.TXT"), "readme");
    TempDrives::Write(drives.Host('D', "macros/a.mac"), "a");
  }
  Medium medium;
  std::string error;
  EXPECT_TRUE(medium.Open(drives.Host('D'), &error)) << error;
  std::vector<std::string> lines;
  for (const Finding& f : CheckMedium(medium)) lines.push_back(FormatFinding(f));
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines) {
    if (l.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(CheckTest, CleanMediumHasNoFinding) {
  EXPECT_EQ(Check(CleanSetup()), std::vector<std::string>{});
}

TEST(CheckTest, EachFaultIsReported) {
  struct Case {
    const char* name;
    std::string setup;
    const char* expected;  // part of one finding line
  };
  const std::string longValue(300, 'v');
  const Case cases[] = {
      {"no languages section", "[BootSetup]\r\nVersion=1\r\n", "error: section [Languages] is missing"},
      {"no language", "[Languages]\r\n2=English\r\n", "offers no language"},
      {"no boot setup", "[Languages]\r\n1=English\r\n", "error: section [BootSetup] is missing"},
      {"gap in language keys", CleanSetup("", "") + "[Languages]\r\n", "occurs again"},
      {"key after gap",
       "[BootSetup]\r\nVersion=1\r\n[Languages]\r\n1=English\r\n3=Deutsch\r\n[English]\r\n",
       "error: line 5: language key 3 follows a gap"},
      {"language without section", "[BootSetup]\r\n[Languages]\r\n1=English\r\n",
       "language \"English\" has no section [English]"},
      {"blank before =", CleanSetup("Txt_031 =x\r\n"), "key \"Txt_031 \" has a blank"},
      {"long value", CleanSetup("Txt_999=" + longValue + "\r\n"), "longer than 255 characters"},
      {"long version", "[BootSetup]\r\nVersion=1.2.3.4.5.6.7\r\n[Languages]\r\n1=E\r\n[E]\r\n",
       "shows as \"1.2.3.4.5.\""},
      {"bad pattern", CleanSetup().replace(CleanSetup().find("Txt_025=%s %s"), 13, "Txt_025=%d %s"),
       "Txt_025 \"%d %s\" cannot be formatted"},
      {"too many %s", CleanSetup().replace(CleanSetup().find("Txt_061=V %s"), 12, "Txt_061=%s %s"),
       "Txt_061 \"%s %s\" cannot be formatted"},
      {"list runs on", CleanSetup("Txt_501=A\r\n").replace(CleanSetup().find("Txt_500"), 0,
                                                             [] {
                                                               std::string s;
                                                               for (int i = 501; i < 600; ++i)
                                                                 s += "Txt_" + std::to_string(i) + "=README.TXT\r\n";
                                                               return s;
                                                             }()),
       "the list from Txt_500 runs on into Txt_600"},
      {"missing licence", CleanSetup().replace(CleanSetup().find("LICENSE.TXT"), 11, "LIZENZ.TXT"),
       "licence file \"LIZENZ.TXT\" is not on the medium"},
      {"missing fixed file", CleanSetup("Txt_501=GONE.TXT\r\n"), "file \"GONE.TXT\" is not on the medium"},
      {"semicolon in fixed file", CleanSetup("Txt_501=a;b.txt\r\n"), "a \";\" in a medium path"},
      {"group dir missing", CleanSetup("Txt_601=nothere\\;X\r\n"), "source folder \"nothere\\\" is not on the medium"},
      {"target leaves base", CleanSetup("Txt_601=macros\\;..\\..\\WINDOWS\r\n"), "leaves the Sirel target"},
      {"fixed file leaves base", CleanSetup("Txt_501=..\\README.TXT\r\n"), "outside"},
      {"NUL hides the rest", CleanSetup() + std::string("\0[Deutsch]\r\n", 12), "a NUL byte ends the text"},
      {"entry without =", CleanSetup("just words\r\n"), "has no \"=\""},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Check(c.setup);
    EXPECT_TRUE(Has(lines, c.expected)) << c.name << "\n  got:\n" << [&] {
      std::string all;
      for (const std::string& l : lines) all += "    " + l + "\n";
      return all;
    }();
  }
}

TEST(CheckTest, TextMissingInOneLanguage) {
  std::string setup = CleanSetup();
  setup.replace(setup.find("1=English\r\n"), 11, "1=English\r\n2=Deutsch\r\n");
  const size_t english = setup.find("[English]");
  std::string german = setup.substr(english);
  german.replace(0, 9, "[Deutsch]");
  german.erase(german.find("Txt_031=text\r\n"), 14);
  const std::vector<std::string> lines = Check(setup + german);
  EXPECT_TRUE(Has(lines, "Txt_031 is in [English] but missing in [Deutsch]"));
}

TEST(CheckTest, MissingSetupFile) {
  TempDrives drives;
  Medium medium;
  std::string error;
  ASSERT_TRUE(medium.Open(drives.Host('D'), &error));
  const std::vector<Finding> findings = CheckMedium(medium);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(FormatFinding(findings[0]), "error: File SETUP.INF not found");
}

}  // namespace
