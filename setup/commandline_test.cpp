#include "setup/commandline.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, BothFormsInAnyCase) {
  struct Case {
    Args args;
    const char* expected;  // the fields that are set
  };
  const auto show = [](const CommandLine& c) {
    std::string s;
    if (c.silent) s += "silent ";
    if (c.acceptLicense) s += "accept ";
    if (c.help) s += "help ";
    if (c.hasLanguage) s += "lang=" + c.language + " ";
    if (c.hasComponents)
      s += std::string("comp=") + (c.macros ? "m" : "") + (c.sample ? "s" : "") + (c.dxf ? "d" : "") + " ";
    if (c.hasSirel) s += "sirel=" + c.sirel + " ";
    if (c.hasDxfTarget) s += "dxf=" + c.dxfTarget + " ";
    if (c.hasLog) s += "log=" + c.log + " ";
    return s;
  };
  const Case cases[] = {
      {{}, ""},
      {{"/S", "/ACCEPTLICENSE"}, "silent accept "},
      {{"/s", "/AcceptLicense"}, "silent accept "},
      {{"--silent", "--Accept-License"}, "silent accept "},
      {{"/?"}, "help "},
      {{"/help"}, "help "},
      {{"--HELP"}, "help "},
      {{"/LANG=Deutsch"}, "lang=Deutsch "},
      {{"--language=deutsch"}, "lang=deutsch "},
      {{"--language", "English"}, "lang=English "},
      {{"/COMPONENTS=macros,DXF"}, "comp=md "},
      {{"--components=sample"}, "comp=s "},
      {{"/components=macros,,sample,macros"}, "comp=ms "},
      {{"/SIREL=D:\\CAD\\SIREL", "/DXF=E:\\DWG"}, "sirel=D:\\CAD\\SIREL dxf=E:\\DWG "},
      {{"--sirel=Z:\\tmp\\a=b", "--dxf", "Z:\\d"}, "sirel=Z:\\tmp\\a=b dxf=Z:\\d "},
      {{"/LOG=C:\\setup.log"}, "log=C:\\setup.log "},
      {{"/LANG=English", "/LANG=Deutsch"}, "lang=Deutsch "},
  };
  for (const Case& c : cases) {
    CommandLine parsed;
    std::string error;
    ASSERT_TRUE(ParseCommandLine(c.args, &parsed, &error)) << ::testing::PrintToString(c.args) << ": " << error;
    EXPECT_EQ(show(parsed), c.expected) << ::testing::PrintToString(c.args);
  }
}

TEST(CommandLineTest, EveryErrorIsOneClearLine) {
  struct Case {
    Args args;
    const char* expected;
  };
  const Case cases[] = {
      {{"/X"}, "unknown option \"/X\" (see /?)"},
      {{"--silently"}, "unknown option \"--silently\" (see --help)"},
      {{"-s"}, "unexpected argument \"-s\" (options start with / or --)"},
      {{"setup.inf"}, "unexpected argument \"setup.inf\" (options start with / or --)"},
      {{"/LANG"}, "option \"/LANG\" needs a value"},
      {{"/LANG="}, "option \"/LANG=\" needs a value"},
      {{"--log"}, "option \"--log\" needs a value"},
      {{"/S=1"}, "option \"S\" takes no value"},
      {{"/COMPONENTS=macros,fonts"}, "unknown component \"fonts\" (known: macros, sample, dxf)"},
      {{"/COMPONENTS=,"}, "the component list names no component (known: macros, sample, dxf)"},
      {{"--language"}, "option \"--language\" needs a value"},
  };
  for (const Case& c : cases) {
    CommandLine parsed;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(c.args, &parsed, &error)) << ::testing::PrintToString(c.args);
    EXPECT_EQ(error, c.expected) << ::testing::PrintToString(c.args);
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

}  // namespace
