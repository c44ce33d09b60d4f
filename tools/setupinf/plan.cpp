#include "tools/setupinf/plan.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "setupdata/catalogue.h"
#include "tools/setupinf/medium.h"

#ifndef _WIN32
#include "platform/posix/host_files.h"
#endif

namespace {

constexpr char kPlanUsage[] =
    "usage: setupinf plan MEDIUM --components LIST --sirel DIR --dxf DIR"
    " [--language NAME] [--drive X=HOSTDIR ...]\n";

int Usage(const std::string& why) {
  std::fprintf(stderr, "setupinf plan: %s\n%s", why.c_str(), kPlanUsage);
  return 2;
}

}  // namespace

int RunPlan(const std::vector<std::string>& args) {
  std::string mediumDir;
  std::string components;
  bool haveComponents = false;
  std::string sirel;
  std::string dxf;
  std::string language;
  std::vector<platform::posix::Drive> drives;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--components" && hasValue) {
      components = args[++i];
      haveComponents = true;
    } else if (a == "--sirel" && hasValue) {
      sirel = args[++i];
    } else if (a == "--dxf" && hasValue) {
      dxf = args[++i];
    } else if (a == "--language" && hasValue) {
      language = args[++i];
    } else if (a == "--drive" && hasValue) {
      const std::string mapping = args[++i];
      const char letter = mapping.empty() ? '\0' : mapping[0];
      if (mapping.size() < 3 || mapping[1] != '=' || !std::isalpha(static_cast<unsigned char>(letter))) {
        return Usage("--drive takes X=HOSTDIR");
      }
#ifdef _WIN32
      std::fprintf(stderr, "setupinf plan: --drive tables are for the Linux build\n");
      return 2;
#else
      const std::string root = platform::posix::RealHostDirectory(mapping.substr(2));
      if (root.empty()) {
        std::fprintf(stderr, "setupinf plan: drive folder not found: %s\n", mapping.c_str() + 2);
        return 1;
      }
      drives.push_back({static_cast<char>(std::toupper(letter)), root, platform::kDriveFixed});
#endif
    } else if (!a.empty() && a[0] != '-' && mediumDir.empty()) {
      mediumDir = a;
    } else {
      return Usage("unexpected argument " + a);
    }
  }
  if (mediumDir.empty() || !haveComponents) return Usage("MEDIUM and --components are needed");

  CopyRequest request;
  size_t start = 0;
  while (start <= components.size() && !components.empty()) {
    const size_t end = std::min(components.find(',', start), components.size());
    const std::string name = components.substr(start, end - start);
    if (name == "macros") {
      request.Sirel = true;
    } else if (name == "sample") {
      request.Beispiel = true;
    } else if (name == "dxf") {
      request.DXF = true;
    } else {
      return Usage("unknown component \"" + name + "\" (macros, sample, dxf)");
    }
    start = end + 1;
  }
  if ((request.Sirel || request.Beispiel) && sirel.empty()) return Usage("--sirel DIR is needed");
  if (request.DXF && dxf.empty()) return Usage("--dxf DIR is needed");
  request.SirelTargetBase = sirel;
  request.DxfTargetBase = dxf;

  Medium medium;
  std::string error;
  if (!medium.Open(mediumDir, &error, drives.empty() ? nullptr : &drives)) {
    std::fprintf(stderr, "setupinf plan: %s\n", error.c_str());
    return 1;
  }
  SetupData data;
  const SetupLoadResult result = medium.Load(&data);
  if (result != SetupLoadResult::kLoaded) {
    std::fprintf(stderr, "setupinf plan: %s\n", StartupFailureText(result).c_str());
    return 1;
  }
  TextCatalogue texts(data.SetupIni);
  texts.SetCurrentLanguage(language.empty() ? data.Languages.front() : language);

  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(medium.platform(), loop, view, texts, data.SourceDir, [] { return std::string(); });
  engine.PlanCopy(request);
  std::string why;
  if (!engine.CheckPlan(&why)) {
    std::fprintf(stderr, "setupinf plan: refused: %s\n", why.c_str());
    return 1;
  }
  for (size_t i = 0; i < engine.SourceFileList.size(); ++i) {
    std::cout << engine.SourceFileList[i] << '\t' << engine.TargetFileList[i] << '\n';
  }
  return 0;
}

void WithFullPlan(platform::Platform& platform, const SetupData& data, const std::string& language,
                  const std::function<void(const InstallEngine&)>& visit) {
  TextCatalogue texts(data.SetupIni);
  texts.SetCurrentLanguage(language);
  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(platform, loop, view, texts, data.SourceDir, [] { return std::string(); });
  CopyRequest request;
  request.Sirel = request.Beispiel = request.DXF = true;
  request.SirelTargetBase = "C:\\SIREL";
  request.DxfTargetBase = "C:\\DXF";
  engine.PlanCopy(request);
  visit(engine);
}
