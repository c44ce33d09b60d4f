// Builds copy plans from arbitrary SETUP.INF lists over arbitrary trees held
// in memory. The input is a SETUP.INF text; some of its lines also shape the
// drives first (PATH with "/" or "\" between folders, on D: unless it starts
// with a drive letter such as "C:"; the medium is D:\m):
//   #f PATH          a file
//   #l PATH TARGET   a link to the DOS path TARGET, taken relative to the
//                    link's folder unless it is a full path
//   #p PATH          a device entry (a FIFO, say)
// Whatever the input, the plan lists stay parallel, and a plan that passes
// the check reads only from the medium and changes nothing outside its two
// bases.
#include <cstdint>
#include <sstream>
#include <string>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "platform/memory/memory_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"
#include "stools/stools.h"

namespace {

using platform::MemoryPlatform;

// The failure message of a refused copy says nothing a fuzzer needs.
class SilentPresenter : public MessagePresenter {
 public:
  int32_t Show(const char*, const char*, int32_t) override { return IDOK; }
};
SilentPresenter g_presenter;

// A DOS path of the input's PATH: at most four components of at most 40
// bytes, without "." and "..".
std::string DosPathOf(const std::string& written) {
  std::string path = "D:";
  size_t i = 0;
  if (written.size() >= 2 && written[1] == ':') {
    path = written.substr(0, 2);
    i = 2;
  }
  std::string component;
  int depth = 0;
  for (; i <= written.size() && depth < 4; ++i) {
    const char c = i < written.size() ? written[i] : '/';
    if (c != '/' && c != '\\') {
      if (c != '\0' && component.size() < 40) component += c;
      continue;
    }
    if (!component.empty() && component != "." && component != "..") {
      path += "\\" + component;
      ++depth;
    }
    component.clear();
  }
  return depth > 0 ? path : std::string();
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// True when path is base or lies below it; letter case does not count.
bool LiesIn(const std::string& path, const std::string& base) {
  if (base.empty() || path.size() < base.size()) return false;
  for (size_t i = 0; i < base.size(); ++i) {
    if (Upper(path[i]) != Upper(base[i])) return false;
  }
  return path.size() == base.size() || base.back() == '\\' || path[base.size()] == '\\';
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  SetMessagePresenter(&g_presenter);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  MemoryPlatform platform("D:\\m\\SETUP.EXE");
  platform.AddFile("D:\\m\\SETUP.INF", text);
  platform.AddFile("D:\\m\\a.mac", "x");
  platform.AddFile("D:\\m\\sub\\b;c.mac", "x");
  platform.AddFolder("D:\\m\\.hid", platform::kAttrHidden);
  platform.AddLink("D:\\m\\sub\\up", "..");
  std::istringstream lines(text);
  std::string line;
  int made = 0;
  while (std::getline(lines, line) && made < 16) {
    if (line.size() < 4 || line[0] != '#' || line[2] != ' ') continue;
    std::string rest = line.substr(3);
    if (line[1] == 'f') {
      platform.AddFile(DosPathOf(rest), "x");
    } else if (line[1] == 'p') {
      platform.AddDevice(DosPathOf(rest));
    } else if (line[1] == 'l') {
      const size_t blank = rest.find(' ');
      if (blank == std::string::npos) continue;
      platform.AddLink(DosPathOf(rest.substr(0, blank)), rest.substr(blank + 1, 200));
    } else {
      continue;
    }
    ++made;
  }

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
  if (!engine.CheckPlan(&why) || engine.SourceFileList.size() > 64) return 0;

  const std::string medium = platform.RealPath("D:\\m");
  for (const std::string& source : engine.SourceFileList) {
    // A source no walk can resolve (a link loop) reads nothing at all.
    const std::string real = platform.RealPath(source);
    if (!real.empty() && !LiesIn(real, medium)) __builtin_trap();
  }
  // The bases take the copies and their old versions, and the folders on
  // the way to a base are made; the state folder takes the journal.
  const std::string kept[3] = {platform.RealPath(request.SirelTargetBase), platform.RealPath(request.DxfTargetBase),
                               platform.StateDirectory()};
  platform.ClearChanges();
  engine.CopyPlannedFiles();
  for (const std::string& changed : platform.Changes()) {
    bool allowed = false;
    for (const std::string& k : kept) allowed = allowed || LiesIn(changed, k) || LiesIn(k, changed);
    if (!allowed) __builtin_trap();
  }
  return 0;
}
