#include "install/spacecheck.h"

#include <map>
#include <set>

#include "install/transaction.h"

namespace {

constexpr uint64_t kMegabyte = uint64_t{1} << 20;

uint64_t RoundUp(uint64_t bytes, uint64_t unit) { return unit == 0 ? bytes : (bytes + unit - 1) / unit * unit; }

std::string FolderOf(const std::string& path) {
  const size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

std::string MegabytesUp(uint64_t bytes) { return std::to_string((bytes + kMegabyte - 1) / kMegabyte); }
std::string MegabytesDown(uint64_t bytes) { return std::to_string(bytes / kMegabyte); }

bool CheckSpace(platform::Platform& platform, const std::vector<std::string>& sources,
                const std::vector<std::string>& targets, SpaceShortage* shortage, std::vector<DriveSpace>* checked) {
  struct Drive {
    std::string probe;  // a target on it, to ask the platform
    uint64_t free = 0;
    uint64_t unit = 0;
    uint64_t need = 0;
    uint64_t largest = 0;
    bool known = false;
  };
  std::map<std::string, Drive> drives;
  std::set<std::string> folders;
  for (size_t i = 0; i < sources.size() && i < targets.size(); ++i) {
    const std::string target = platform.FullPath(targets[i]);
    if (target.size() < 2) continue;
    const std::string letter = FoldPathCase(target.substr(0, 2));
    Drive& d = drives[letter];
    if (!d.known) {
      d.known = true;
      // A drive whose space cannot be read is not held against the plan.
      if (!platform.DiskSpace(target, &d.free, &d.unit)) d.free = UINT64_MAX;
    }
    uint64_t size = 0;
    platform.FileSizeOf(sources[i], &size);
    d.need += RoundUp(size, d.unit);
    if (size > d.largest) d.largest = size;
    // Each folder the copy must create takes a unit.
    for (std::string f = FolderOf(target); f.size() > 2 && folders.insert(FoldPathCase(f)).second; f = FolderOf(f)) {
      if (platform.IsDirectory(f)) break;
      d.need += d.unit;
    }
  }
  bool enough = true;
  if (checked) checked->clear();
  for (auto& [letter, d] : drives) {
    const uint64_t need = d.need + RoundUp(d.largest, d.unit);
    if (checked) checked->push_back({letter, need, d.free});
    if (need > d.free && enough) {
      *shortage = {letter, need, d.free};
      enough = false;
    }
  }
  return enough;
}
