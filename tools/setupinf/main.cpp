// setupinf: the delivery authors' tool. Reads a medium's SETUP.INF exactly as
// the wizard does and answers questions about it.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "setupdata/catalogue.h"
#include "setupdata/setupvalue.h"
#include "platform/text/utf8.h"
#include "tools/setupinf/check.h"
#include "tools/setupinf/image.h"
#include "tools/setupinf/manifest.h"
#include "tools/setupinf/medium.h"
#include "tools/setupinf/plan.h"
#include "tools/setupinf/show.h"

#ifdef _WIN32
#include "platform/win32/win32_platform.h"
#endif

namespace {

const char kUsage[] =
    "usage: setupinf check [MEDIUM] | manifest [MEDIUM] | image [MEDIUM] --out FILE.iso\n"
    "       | show [MEDIUM] | languages [MEDIUM]\n"
    "       | value MEDIUM SECTION KEY | int MEDIUM SECTION KEY DEFAULT\n"
    "       | text MEDIUM [--language NAME] ID\n"
    "       | plan MEDIUM --components LIST --sirel DIR --dxf DIR [--drive X=HOSTDIR ...]\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Opens the medium and loads SETUP.INF; prints why on failure.
bool OpenAndLoad(const std::string& dir, Medium* medium, SetupData* data) {
  std::string error;
  if (!medium->Open(dir, &error)) {
    std::fprintf(stderr, "setupinf: %s\n", error.c_str());
    return false;
  }
  const SetupLoadResult result = medium->Load(data);
  if (result == SetupLoadResult::kMissing || result == SetupLoadResult::kUnreadable) {
    std::fprintf(stderr, "setupinf: %s\n", StartupFailureText(result).c_str());
    return false;
  }
  return true;
}

bool ParseInt(const std::string& text, int32_t* value) {
  return !text.empty() && text.find(' ') == std::string::npos && ParseSetupInteger(text, value);
}

int RunCheck(const std::string& dir) {
  Medium medium;
  std::string error;
  if (!medium.Open(dir, &error)) {
    std::fprintf(stderr, "setupinf: %s\n", error.c_str());
    return 1;
  }
  std::string encoding;
  const std::vector<Finding> findings = CheckMedium(medium, &encoding);
  return ReportFindings(findings, std::cout, encoding) > 0 ? 1 : 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  const size_t n = args.size();

  if (command == "check" || command == "manifest" || command == "show" || command == "languages") {
    if (n > 2) return Usage();
    const std::string dir = n == 2 ? args[1] : ".";
    if (command == "check") return RunCheck(dir);
    Medium medium;
    SetupData data;
    if (!OpenAndLoad(dir, &medium, &data)) return 1;
    if (command == "manifest") return RunManifest(medium, data);
    if (command == "show") return ShowMedium(medium, data, std::cout);
    for (const std::string& language : data.Languages) std::cout << language << "\n";
    return 0;
  }
  if (command == "value" || command == "int") {
    if (n != (command == "value" ? 4u : 5u)) return Usage();
    int32_t fallback = 0;
    if (command == "int" && !ParseInt(args[4], &fallback)) return Usage();
    Medium medium;
    SetupData data;
    if (!OpenAndLoad(args[1], &medium, &data)) return 1;
    if (command == "value") {
      std::cout << ReadSetupValue(data.SetupIni, args[2], args[3]) << "\n";
    } else {
      std::cout << ReadSetupInteger(data.SetupIni, args[2], args[3], fallback) << "\n";
    }
    return 0;
  }
  if (command == "image") {
    const int rc = RunImage(std::vector<std::string>(args.begin() + 1, args.end()));
    return rc == 2 ? Usage() : rc;
  }
  if (command == "plan") return RunPlan(std::vector<std::string>(args.begin() + 1, args.end()));
  if (command == "text") {
    std::string language;
    std::vector<std::string> rest;
    for (size_t i = 1; i < n; ++i) {
      if (args[i] == "--language") {
        if (++i == n) return Usage();
        language = args[i];
      } else {
        rest.push_back(args[i]);
      }
    }
    int32_t id = 0;
    if (rest.size() != 2 || !ParseInt(rest[1], &id) || id < 0) return Usage();
    Medium medium;
    SetupData data;
    if (!OpenAndLoad(rest[0], &medium, &data)) return 1;
    if (language.empty()) {
      if (data.Languages.empty()) {
        std::fprintf(stderr, "setupinf: SETUP.INF offers no language\n");
        return 1;
      }
      language = data.Languages.front();
    }
    TextCatalogue texts(data.SetupIni);
    texts.SetCurrentLanguage(language);
    std::cout << texts.LanguageText(id) << "\n";
    return 0;
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The arguments in UTF-8 from the wide command line: argv holds them in
  // the system's code page, which has no letters for many names.
  (void)argc, (void)argv;
  const std::vector<std::string> args = platform::win32::CommandLineArguments();
#else
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  return Run(args);
}
