#include <gtest/gtest.h>

#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "setupdata/memini.h"
#include "setupdata/setupfile.h"
#include "setupdata/setupvalue.h"

namespace {

TEST(MemIniTest, LineRulesDecideWhatALookupFinds) {
  struct Case {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    const char* value;  // ReadSetupValue
  };
  const Case cases[] = {
      {"case-insensitive names", "[bootsetup]\r\nversion=3\r\n", "BootSetup", "Version", "3"},
      {"blank before =", "[S]\nKey =v\n", "S", "Key", ""},
      {"blank after = kept", "[S]\nKey= v \n", "S", "Key", " v "},
      {"quoted", "[S]\nK=\"a b\"\n", "S", "K", "a b"},
      {"leading quote only", "[S]\nK=\"ab\n", "S", "K", "ab"},
      {"two quotes", "[S]\nK=\"\"\n", "S", "K", ""},
      {"one quote", "[S]\nK=\"\n", "S", "K", ""},
      {"doubled quotes keep one each", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
      {"further = in value", "[S]\nK=a=b\n", "S", "K", "a=b"},
      {"first key wins", "[S]\nK=1\nK=2\n", "S", "K", "1"},
      {"second section never read", "[S]\nA=1\n[s]\nB=2\n", "S", "B", ""},
      {"comment in first column", "[S]\n;K=1\n", "S", ";K", ""},
      {"blank then ; is an entry", "[S]\n ;K=1\n", "S", " ;K", "1"},
      {"entry before a header ignored", "K=1\n[S]\n", "S", "K", ""},
      {"lone [ is not a header", "[S]\n[\nK=1\n", "S", "K", "1"},
      {"empty section name", "[]\nK=1\n", "", "K", "1"},
      {"blanks in header kept", "[ S ]\nK=1\n", "S", "K", ""},
      {"CR line ends", "[S]\rK=1\rL=2", "S", "L", "2"},
      {"mixed line ends", "[S]\r\nK=1\nL=2\rM=3\r\n", "S", "M", "3"},
      {"NUL hides the rest", std::string("[S]\nK=1\0\n[T]\nL=2\n", 17), "T", "L", ""},
      {"NUL cuts a value", std::string("[S]\nK=ab\0cd\n", 12), "S", "K", "ab"},
      {"missing section", "[S]\nK=1\n", "X", "K", ""},
      {"empty file", "", "S", "K", ""},
      {"Windows-1252 section found by its UTF-8 name, case folded", "[\xC4rger]\nK=1\n", "\xC3\xA4rger", "K", "1"},
      {"UTF-8 section, case folded", "[\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1]\nK=1\n",
       "\xCE\xB1\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "K", "1"},
  };
  for (const Case& c : cases) {
    TMemIniFile ini(c.text);
    EXPECT_EQ(ReadSetupValue(ini, c.section, c.key), c.value) << c.name;
  }
}

TEST(MemIniTest, ReadSetupValueCutsBeforeRemovingQuotes) {
  const std::string body(300, 'v');
  TMemIniFile ini("[S]\nA=" + body + "\nB=\"" + body + "\"\nC=\"" + std::string(253, 'x') + "\"\n");
  EXPECT_EQ(ReadSetupValue(ini, "S", "A"), std::string(255, 'v'));
  // The cut keeps 255 characters; only the leading quote is then removed.
  EXPECT_EQ(ReadSetupValue(ini, "S", "B"), std::string(254, 'v'));
  EXPECT_EQ(ReadSetupValue(ini, "S", "C"), std::string(253, 'x'));
}

// The file is decoded once: UTF-8 when all of it is valid UTF-8 (a byte-order
// mark skipped), otherwise Windows-1252. Cuts count the file's own text and
// never split a character.
TEST(MemIniTest, EncodingOfTheWholeFileAndCuts) {
  const std::string muellerUtf8 = "M\xC3\x9CLLER \xE2\x82\xAC";  // MÜLLER €
  const struct {
    const char* name;
    std::string file;
    bool utf8;
    std::string value;  // of [Fran\xC3\xA7" "ais] Txt_001
  } cases[] = {
      {"Windows-1252",
       "[Fran\xE7"
       "ais]\nTxt_001=M\xDCLLER \x80\n",
       false, muellerUtf8},
      {"UTF-8",
       "[Fran\xC3\xA7"
       "ais]\nTxt_001=" +
           muellerUtf8 + "\n",
       true, muellerUtf8},
      {"UTF-8 with mark",
       "\xEF\xBB\xBF[Fran\xC3\xA7"
       "ais]\nTxt_001=" +
           muellerUtf8 + "\n",
       true, muellerUtf8},
      {"UTF-8 bytes in a Windows-1252 file",
       "[Fran\xE7"
       "ais]\nTxt_001=\xC3\x9C\n",
       false, "\xC3\x83\xC5\x93"},
  };
  for (const auto& c : cases) {
    TMemIniFile ini(c.file);
    EXPECT_EQ(ini.utf8(), c.utf8) << c.name;
    EXPECT_EQ(ReadSetupValue(ini,
                             "Fran\xC3\xA7"
                             "ais",
                             "Txt_001"),
              c.value)
        << c.name;
  }

  std::string eAcute1252(300, '\xE9');
  std::string eAcuteUtf8;
  for (int i = 0; i < 300; ++i) eAcuteUtf8 += "\xC3\xA9";
  const TMemIniFile cp1252("[S]\nK=" + eAcute1252 + "\n");
  const TMemIniFile utf8("[S]\nK=" + std::string(254, 'v') + "\xE2\x82\xAC\nL=" + eAcuteUtf8 + "\n");
  // 255 characters of a Windows-1252 file: 255 letters, 510 bytes of UTF-8.
  EXPECT_EQ(ReadSetupValue(cp1252, "S", "K"), eAcuteUtf8.substr(0, 510));
  // 255 bytes of a UTF-8 file, but not half a character: the euro sign goes.
  EXPECT_EQ(ReadSetupValue(utf8, "S", "K"), std::string(254, 'v'));
  EXPECT_EQ(ReadSetupValue(utf8, "S", "L"), eAcuteUtf8.substr(0, 254));
  EXPECT_EQ(LanguageSectionName(cp1252, eAcuteUtf8), eAcuteUtf8.substr(0, 80));
  EXPECT_EQ(LanguageSectionName(utf8, eAcuteUtf8), eAcuteUtf8.substr(0, 40));
  EXPECT_EQ(cp1252.Length(eAcuteUtf8), 300u);
  EXPECT_EQ(utf8.Length(eAcuteUtf8), 600u);
}

TEST(MemIniTest, IntegerRead) {
  struct Case {
    const char* raw;
    int32_t expected;  // with default 1
  };
  const Case cases[] = {
      {"1200", 1200},
      {"0x10", 16},
      {"0X1f", 31},
      {"$10", 16},
      {"x10", 16},
      {"X10", 16},
      {"  42", 42},
      {"-7", -7},
      {"+7", 7},
      {"-$10", -16},
      {"12 kB", 1},
      {"", 1},
      {"abc", 1},
      {"0x", 1},
      {"$", 1},
      {"42 ", 1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", 1},
      {"0x80000000", 1},
      {"0xFFFFFFFF", 1},
      {"--1", 1},
      {"\"5\"", 1},
      {"0", 0},
  };
  for (const Case& c : cases) {
    TMemIniFile ini(std::string("[B]\nN=") + c.raw + "\n");
    EXPECT_EQ(ReadSetupInteger(ini, "B", "N", 1), c.expected) << "\"" << c.raw << "\"";
  }
}

TEST(SetupFileTest, BootSetupAndLanguageList) {
  TMemIniFile ini(
      "[BootSetup]\r\nVersion=2.0.0.1-beta.7\r\nDefaultPath=\"C:\\SIREL\"\r\nDefaultDir=SIREL\r\n"
      "TotalFileSize=12 kB\r\nReqSpace=0x10\r\n"
      "[Languages]\r\n1=English\r\n2=Deutsch\r\n4=Fran\xE7"
      "ais\r\n"
      "[Languages]\r\n3=Never\r\n");
  const BootSetup boot = ReadBootSetup(ini);
  EXPECT_EQ(boot.SetupVersion, "2.0.0.1-be");
  EXPECT_EQ(boot.DefaultBrowsePath, "C:\\SIREL");
  EXPECT_EQ(boot.DefaultTargetSubdir, "SIREL");
  EXPECT_EQ(boot.TotalFileSize, 1);
  EXPECT_EQ(boot.ReqSpace, 16);
  EXPECT_EQ(LanguageList(ini), (std::vector<std::string>{"English", "Deutsch"}));

  std::string many = "[Languages]\n";
  for (int i = 1; i <= 300; ++i) many += std::to_string(i) + "=L" + std::to_string(i) + "\n";
  EXPECT_EQ(LanguageList(TMemIniFile(many)).size(), kMaxLanguages + 1);
}

TEST(SetupFileTest, SourceDirOfProgramPath) {
  struct Case {
    const char* program;
    const char* sourceDir;
  };
  const Case cases[] = {
      {"D:\\SETUP.EXE", "D:"},
      {"C:\\deliv\\cd1\\setup.exe", "C:\\deliv\\cd1"},
      {"E:setup.exe", "E:"},
      {"setup.exe", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SourceDirOf(c.program), c.sourceDir) << c.program;
  }
  EXPECT_EQ(SetupFilePath("E:"), "E:\\SETUP.INF");
}

TEST(CatalogueTest, KeysSectionsAndComposedStrings) {
  struct KeyCase {
    int id;
    const char* key;
  };
  for (const KeyCase& c : {KeyCase{1, "Txt_001"}, KeyCase{7, "Txt_007"}, KeyCase{99, "Txt_099"},
                           KeyCase{500, "Txt_500"}, KeyCase{1000, "Txt_1000"}}) {
    EXPECT_EQ(TextKey(c.id), c.key) << c.id;
  }

  const std::string longName(45, 'L');
  TMemIniFile ini(
      "[english]\nTxt_072=Kelva \nTxt_073=Sirel\nTxt_080= Setup\nTxt_061=Version %s\n"
      "Txt_025=%s was cancelled; %s is incomplete.\n[" +
      longName.substr(0, 40) + "]\nTxt_073=Long\nTxt_061=no version\nTxt_025=Only %s\n");
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("English");
  StoredTexts s = ReadStoredTexts(texts);
  EXPECT_EQ(WindowCaption(s), "Kelva Sirel Setup");
  EXPECT_EQ(MessageCaption(s), "Sirel Setup");
  EXPECT_EQ(TitleBanner(s, "2.0.0.1"), "Sirel Version 2.0.0.1");
  EXPECT_EQ(AbortMessage(s), "Sirel was cancelled; Sirel is incomplete.");
  EXPECT_EQ(ApplicationTitle("App", s), "App Setup");

  texts.SetCurrentLanguage(longName);
  EXPECT_EQ(texts.CurrentLanguage(), longName.substr(0, 40));
  s = ReadStoredTexts(texts);
  EXPECT_EQ(TitleBanner(s, "2.0"), "Long no version");
  EXPECT_EQ(AbortMessage(s), "Only Long");
  EXPECT_EQ(WindowCaption(s), "Long");

  texts.SetCurrentLanguage("Missing");
  EXPECT_EQ(texts.LanguageText(73), "");
}

TEST(CatalogueTest, TextOrBuiltInFallsBackOnlyWhenTheTextIsMissingOrEmpty) {
  const TMemIniFile ini(
      "[English]\nTxt_040=Only %s, %s of %s\ntxt_041=\nTxt_042=\"\"\nTxt_044=\" \"\n"
      "Txt_048=Own\n[Deutsch]\nTxt_043=Behalten in %s\n");
  struct Case {
    const char* language;
    int id;
    const char* expected;  // nullptr: the built-in text
  };
  const Case cases[] = {
      {"English", kSpaceShortText, "Only %s, %s of %s"},
      {"English", kRestoreIncompleteText, nullptr},  // empty
      {"English", kInterruptedUndoneText, nullptr},  // quotes around nothing
      {"English", kChangedFilesKeptText, nullptr},   // missing
      {"English", kOutsideMediumText, " "},          // a blank is a text
      {"English", kOutsideTargetText, "Own"},
      {"Deutsch", kChangedFilesKeptText, "Behalten in %s"},
      {"Deutsch", kSpaceShortText, nullptr},
      {"Italiano", kSameTargetText, nullptr},  // no section at all
      {"English", 31, ""},                     // no built-in text: stays empty
      {"English", 49, ""},
  };
  for (const Case& c : cases) {
    TextCatalogue texts(ini);
    texts.SetCurrentLanguage(c.language);
    const char* builtIn = BuiltInText(c.id);
    if (c.expected) {
      EXPECT_EQ(texts.TextOrBuiltIn(c.id), c.expected) << c.language << " " << c.id;
    } else {
      ASSERT_NE(builtIn, nullptr) << c.id;
      EXPECT_EQ(texts.TextOrBuiltIn(c.id), builtIn) << c.language << " " << c.id;
    }
  }
}

// Every built-in text is a pattern taking exactly the arguments its id is
// listed with, so the check of SETUP.INF and the built-in text agree.
TEST(CatalogueTest, BuiltInTextsTakeTheirListedArguments) {
  int withBuiltIn = 0;
  for (const TextIdInfo& info : TextIds()) {
    const char* builtIn = BuiltInText(info.id);
    if (!builtIn) continue;
    ++withBuiltIn;
    ASSERT_GT(info.patternArgs, 0) << info.id;
    const size_t args = static_cast<size_t>(info.patternArgs);
    std::string out;
    EXPECT_TRUE(FormatPattern(builtIn, std::vector<std::string>(args, "x"), &out)) << info.id;
    EXPECT_FALSE(FormatPattern(builtIn, std::vector<std::string>(args - 1, "x"), &out)) << info.id;
  }
  EXPECT_EQ(withBuiltIn, 9);
  for (int id : {0, 1, 25, 39, 49, 500}) {
    EXPECT_EQ(BuiltInText(id), nullptr) << id;
  }
  for (int id = kSpaceShortText; id <= kOutsideTargetText; ++id) {
    EXPECT_NE(BuiltInText(id), nullptr) << id;
  }
}

}  // namespace
