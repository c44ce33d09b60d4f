// Builds copy plans from arbitrary SETUP.INF lists over arbitrary trees.
// The input is a SETUP.INF text; its lines "#f PATH" also create files on the
// medium first (PATH with "/" between folders). Whatever the input, the plan
// lists stay parallel, and a plan that passes the check copies only from the
// medium into its bases.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "platform/posix/posix_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"

namespace {

std::string g_root;

void MakeFile(const std::string& relative) {
  std::string path = g_root + "/d";
  std::string component;
  int depth = 0;
  for (size_t i = 0; i <= relative.size() && depth < 4; ++i) {
    const char c = i < relative.size() ? relative[i] : '/';
    if (c != '/') {
      if (c != '\0' && component.size() < 40) component += c;
      continue;
    }
    if (component.empty() || component == "." || component == "..") {
      component.clear();
      continue;
    }
    path += "/" + component;
    component.clear();
    ++depth;
    if (i < relative.size()) mkdir(path.c_str(), 0755);
  }
  if (depth > 0) std::ofstream(path) << "x";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (g_root.empty()) {
    char pattern[] = "/tmp/plan-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    g_root = pattern;
  }
  if (std::system(("rm -rf " + g_root + "/c " + g_root + "/d && mkdir -p " + g_root + "/c " +
                   g_root + "/d/m/sub " + g_root + "/d/m/.hid && touch " + g_root +
                   "/d/m/a.mac " + g_root + "/d/m/sub/b\\;c.mac && ln -s .. " + g_root +
                   "/d/m/sub/up").c_str()) != 0) {
    std::abort();
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream lines(text);
  std::string line;
  int made = 0;
  while (std::getline(lines, line) && made < 8) {
    if (line.rfind("#f ", 0) == 0) {
      MakeFile(line.substr(3));
      ++made;
    }
  }

  platform::posix::DriveTable drives({{'C', g_root + "/c", platform::kDriveFixed},
                                      {'D', g_root + "/d", platform::kDriveCdRom}});
  platform::posix::PosixPlatform platform(drives, g_root + "/d/m/SETUP.EXE");
  const TMemIniFile ini(text);
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage("L");
  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(platform, loop, view, texts, "D:\\m", [] { return std::string(); });
  CopyRequest request;
  request.Sirel = request.Beispiel = request.DXF = true;
  request.SirelTargetBase = "C:\\S";
  request.DxfTargetBase = "C:\\X";
  engine.PlanCopy(request);
  if (engine.SourceFileList.size() != engine.TargetFileList.size()) __builtin_trap();
  std::string why;
  if (engine.CheckPlan(&why) && engine.SourceFileList.size() <= 16) {
    engine.CopyPlannedFiles();
    // Nothing may have been written outside the target drive's two bases.
    if (std::system(("test -z \"$(find " + g_root + "/c -mindepth 1 -maxdepth 1 ! -iname s ! -iname x)\"").c_str()) != 0) {
      __builtin_trap();
    }
  }
  return 0;
}
