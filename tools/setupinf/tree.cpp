#include "tools/setupinf/tree.h"

#include "platform/platform.h"
#include "setupdata/textcase.h"
#include "stools/stools.h"

namespace {

void Walk(platform::Platform& platform, const std::string& dir, std::vector<TreeFile>* files,
          std::vector<std::string>* semicolonNames, int depth) {
  const std::string prefix = AddBackslash(dir);
  std::vector<std::string> subdirs;
  platform.FindEntries(prefix + "*.*", [&](const platform::FindData& d) {
    if (d.name == "." || d.name == "..") return true;
    const std::string path = prefix + d.name;
    if (semicolonNames && d.name.find(';') != std::string::npos) semicolonNames->push_back(path);
    if (d.attributes & platform::kAttrDirectory) {
      const uint32_t skip = platform::kAttrHidden | platform::kAttrSystem | platform::kAttrReparsePoint;
      if (!(d.attributes & skip)) subdirs.push_back(path);
    } else {
      files->push_back({path, d.size});
    }
    return true;
  });
  if (depth > 64) return;
  for (const std::string& sub : subdirs) Walk(platform, sub, files, semicolonNames, depth + 1);
}

}  // namespace

std::vector<TreeFile> WalkTree(platform::Platform& platform, const std::string& dir,
                               std::vector<std::string>* semicolonNames) {
  std::vector<TreeFile> files;
  Walk(platform, dir, &files, semicolonNames, 0);
  return files;
}

SearchGroupText SplitSearchGroup(const std::string& text) {
  const size_t p = text.find(';');
  if (p == std::string::npos) return {std::string(), text};
  return {text.substr(0, p), text.substr(p + 1)};
}

bool LiesInside(const std::string& path, const std::string& base) {
  const std::string b = RemoveBackslash(base);
  if (path.size() < b.size() || !SameTextNoCase(path.substr(0, b.size()), b)) return false;
  return path.size() == b.size() || path[b.size()] == '\\' || b.back() == '\\' ||
         (b.size() == 2 && b[1] == ':');
}
