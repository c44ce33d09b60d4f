#include "tools/setupinf/check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include "install/sha256.h"
#include "tests/support/temp_medium.h"
#include "tools/setupinf/manifest.h"
#include "tools/setupinf/medium.h"

namespace {

// A complete, clean SETUP.INF for one language; cases add faults to it.
std::string CleanSetup(const std::string& extraEnglish = "", const std::string& head = "") {
  std::string text = head +
                     "[BootSetup]\r\nVersion=2.0\r\nDefaultDir=SIREL\r\n"
                     "[Languages]\r\n1=English\r\n[English]\r\nTxt_001=LICENSE.TXT\r\n";
  for (int id : {2,  4,  17, 18, 19, 20, 21, 22, 23, 24, 30, 31, 34, 35, 60, 63,
                 64, 65, 66, 67, 68, 69, 70, 72, 73, 74, 75, 76, 78, 80, 99}) {
    char key[16];
    std::snprintf(key, sizeof(key), "Txt_%03d", id);
    text += std::string(key) + "=text\r\n";
  }
  text += "Txt_005=%s\r\nTxt_006=%s\r\nTxt_015=%s\r\nTxt_025=%s %s\r\nTxt_061=V %s\r\nTxt_079=%s\r\n";
  text +=
      "Txt_040=%s %s %s\r\nTxt_041=%s %s\r\nTxt_042=%s\r\nTxt_043=%s\r\nTxt_044=%s\r\n"
      "Txt_045=%s\r\nTxt_046=%s\r\nTxt_047=%s %s\r\nTxt_048=%s\r\n";
  text += "Txt_500=README.TXT\r\nTxt_600=macros\\;MACROS\r\n" + extraEnglish;
  return text;
}

std::vector<std::string> Check(const std::string& setup, bool withFiles = true,
                               const std::function<void(TempDrives&)>& more = {}) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "SETUP.INF"), setup);
  if (withFiles) {
    TempDrives::Write(drives.Host('D', "LICENSE.TXT"), "licence");
    TempDrives::Write(drives.Host('D', "README.TXT"), "readme");
    TempDrives::Write(drives.Host('D', "macros/a.mac"), "a");
  }
  if (more) more(drives);
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

TEST(CheckTest, CleanMediumHasNoFinding) { EXPECT_EQ(Check(CleanSetup()), std::vector<std::string>{}); }

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
      {"key after gap", "[BootSetup]\r\nVersion=1\r\n[Languages]\r\n1=English\r\n3=Deutsch\r\n[English]\r\n",
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
      {"list runs on",
       CleanSetup("Txt_501=A\r\n")
           .replace(CleanSetup().find("Txt_500"), 0,
                    [] {
                      std::string s;
                      for (int i = 501; i < 600; ++i) s += "Txt_" + std::to_string(i) + "=README.TXT\r\n";
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
      {"UTF-8 file with a stray byte", CleanSetup("Txt_999=M\xC3\xBCller\r\nTxt_998=\xFC\r\n"),
       "is not valid UTF-8 from here on"},
      {"space pattern with a fourth %s",
       CleanSetup().replace(CleanSetup().find("Txt_040=%s %s %s"), 16, "Txt_040=%s %s %s %s"),
       "error: line 45: [English] Txt_040 \"%s %s %s %s\" cannot be formatted with 3 string argument(s)"},
      {"same-target pattern with a third %s",
       CleanSetup().replace(CleanSetup().find("Txt_047=%s %s"), 13, "Txt_047=%s %s %s"),
       "Txt_047 \"%s %s %s\" cannot be formatted with 2 string argument(s)"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Check(c.setup);
    EXPECT_TRUE(Has(lines, c.expected)) << c.name << "\n  got:\n"
                                        << [&] {
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

// The messages of the copy run have built-in English texts: a language that
// lacks one is warned about, never refused.
TEST(CheckTest, MissingMessageTextFallsBackToBuiltIn) {
  std::string english = CleanSetup();
  english.replace(english.find("1=English\r\n"), 11, "1=English\r\n2=Deutsch\r\n");
  std::string german = english.substr(english.find("[English]"));
  german.replace(0, 9, "[Deutsch]");
  struct Case {
    const char* key;
    const char* replacement;  // the German line instead of the English one
  };
  const Case cases[] = {
      {"Txt_040", ""},
      {"Txt_041", "Txt_041=\r\n"},
      {"Txt_042", "Txt_042=\"\"\r\n"},
      {"Txt_043", ""},
      {"Txt_044", "Txt_044=\r\n"},
      {"Txt_045", ""},
      {"Txt_046", ""},
      {"Txt_047", ""},
      {"Txt_048", "txt_048=\r\n"},
  };
  for (const Case& c : cases) {
    std::string setup = german;
    const size_t at = setup.find(std::string(c.key) + "=");
    setup.replace(at, setup.find("\r\n", at) + 2 - at, c.replacement);
    const std::vector<std::string> lines = Check(english + setup);
    int builtIn = 0;
    for (const std::string& l : lines) {
      EXPECT_EQ(l.rfind("warning: ", 0), 0u) << c.key << ": " << l;
      if (l.find("[Deutsch] " + std::string(c.key) + " (message: ") != std::string::npos &&
          l.find("is missing or empty; the built-in English text is used") != std::string::npos) {
        ++builtIn;
      }
      EXPECT_EQ(l.find("[English] " + std::string(c.key)), std::string::npos) << c.key << ": " << l;
    }
    EXPECT_EQ(builtIn, 1) << c.key;
  }

  // A text without a built-in one keeps the plain warning.
  std::string setup = german;
  setup.erase(setup.find("Txt_031=text\r\n"), 14);
  for (const std::string& l : Check(english + setup)) {
    EXPECT_EQ(l.find("built-in"), std::string::npos) << l;
  }
  EXPECT_TRUE(Has(Check(english + setup), "[Deutsch] Txt_031 (message: installation complete) is missing or empty"));
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

TEST(CheckTest, APlanTheWizardWouldRefuseIsAnError) {
  struct Case {
    const char* name;
    std::function<void(TempDrives&)> make;
    const char* expected;
  };
  const Case cases[] = {
      {"FIFO in a tree", [](TempDrives& d) { mkfifo(d.Host('D', "macros/pipe.mac").c_str(), 0644); },
       "not a regular file: D:\\macros\\pipe.mac"},
      {"names equal but for case", [](TempDrives& d) { TempDrives::Write(d.Host('D', "macros/A.MAC"), "A"); },
       "two sources land on one target"},
      {"file linking out of the medium",
       [](TempDrives& d) {
         TempDrives::Write(d.Host('C', "secret.txt"), "s");
         symlink(d.Host('C', "secret.txt").c_str(), d.Host('D', "macros/b.mac").c_str());
       },
       "source outside the medium: D:\\macros\\b.mac"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Check(CleanSetup(), true, c.make);
    EXPECT_TRUE(Has(lines, std::string("error: [English] the plan is refused: ") + c.expected))
        << c.name << ": " << ::testing::PrintToString(lines);
  }
}

// setupinf manifest on a medium; its exit code, what it said.
int Manifest(TempDrives& drives, std::string* said) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  Medium medium;
  std::string error;
  SetupData data;
  EXPECT_TRUE(medium.Open(drives.Host('D'), &error)) << error;
  EXPECT_EQ(medium.Load(&data), SetupLoadResult::kLoaded);
  const int code = RunManifest(medium, data);
  *said = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
  return code;
}

TEST(ManifestToolTest, ListsEveryFileOnceSortedAsSpeltOnTheMediumAndTheSameEachTime) {
  TempDrives drives;
  TempDrives::Write(drives.Host('D', "SETUP.INF"), CleanSetup("Txt_501=notes.txt\r\n"));
  // macros/.hide is hidden here, not on Windows, where the wizard copies it.
  for (const char* f : {"LICENSE.TXT", "README.TXT", "NOTES.TXT", "macros/a.mac", "macros/Sub/b.mac", "other.txt",
                        "macros/.hide/c.mac"}) {
    TempDrives::Write(drives.Host('D', f), std::string("data of ") + f);
  }
  std::string said;
  ASSERT_EQ(Manifest(drives, &said), 0) << said;
  EXPECT_EQ(said, "SETUP.SUM: 7 file(s) listed\n");
  const std::string first = TempDrives::Read(drives.Host('D', "SETUP.SUM"));
  std::string expected;
  for (const char* f : {"LICENSE.TXT", "NOTES.TXT", "README.TXT", "SETUP.INF", "macros/.hide/c.mac", "macros/Sub/b.mac",
                        "macros/a.mac"}) {
    expected += Sha256::Of(TempDrives::Read(drives.Host('D', f))) + "  " + f + "\n";
  }
  EXPECT_EQ(first, expected);
  ASSERT_EQ(Manifest(drives, &said), 0) << said;
  EXPECT_EQ(TempDrives::Read(drives.Host('D', "SETUP.SUM")), first);
  EXPECT_EQ(TempDrives::List(drives.Host('D')),
            (std::vector<std::string>{"LICENSE.TXT", "NOTES.TXT", "README.TXT", "SETUP.INF", "SETUP.SUM", "macros",
                                      "other.txt"}));
}

TEST(ManifestToolTest, CheckFindsEachFileThatDiffersFromTheList) {
  struct Case {
    const char* name;
    std::function<void(TempDrives&)> change;  // after the list was written
    std::vector<std::string> expected;        // every finding
  };
  const auto edit = [](TempDrives& d, const std::string& from, const std::string& to) {
    std::string text = TempDrives::Read(d.Host('D', "SETUP.SUM"));
    text.replace(text.find(from), from.size(), to);
    TempDrives::Write(d.Host('D', "SETUP.SUM"), text);
  };
  const Case cases[] = {
      {"as written", [](TempDrives&) {}, {}},
      {"one flipped byte",
       [](TempDrives& d) { TempDrives::Write(d.Host('D', "macros/a.mac"), "b"); },
       {"error: \"macros/a.mac\" differs from its checksum in SETUP.SUM (changed or damaged)"}},
      {"a listed file missing",
       [](TempDrives& d) { std::remove(d.Host('D', "macros/a.mac").c_str()); },
       {"error: SETUP.SUM lists \"macros/a.mac\", which is not on the medium"}},
      {"a planned file not listed",
       [](TempDrives& d) { TempDrives::Write(d.Host('D', "macros/new.mac"), "n"); },
       {"error: \"macros/new.mac\" can be copied by a plan but is not listed in SETUP.SUM"}},
      {"SETUP.INF not listed",
       [&](TempDrives& d) { edit(d, "SETUP.INF", "SETUP.INX"); },
       {"error: SETUP.SUM lists \"SETUP.INX\", which is not on the medium",
        "error: \"SETUP.INF\" is not listed in SETUP.SUM; the wizard will not start"}},
      {"the licence not listed",
       [&](TempDrives& d) { edit(d, "LICENSE.TXT", "LICENSE.TXU"); },
       {"error: SETUP.SUM lists \"LICENSE.TXU\", which is not on the medium",
        "warning: licence file \"LICENSE.TXT\" is not listed in SETUP.SUM"}},
      {"a line that is no checksum line",
       [](TempDrives& d) {
         TempDrives::Write(d.Host('D', "SETUP.SUM"), TempDrives::Read(d.Host('D', "SETUP.SUM")) + "x\n");
       },
       {"error: SETUP.SUM line 5: not a checksum line (64 hex digits, two blanks, a path)"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = Check(CleanSetup(), true, [&](TempDrives& d) {
      std::string said;
      EXPECT_EQ(Manifest(d, &said), 0) << c.name << ": " << said;
      c.change(d);
    });
    EXPECT_EQ(lines, c.expected) << c.name;
  }
}

}  // namespace
