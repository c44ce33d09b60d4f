#include "tools/setupinf/tree.h"

#include "install/eventloop.h"
#include "install/kcfilegrep.h"
#include "platform/platform.h"
#include "platform/text/utf8.h"
#include "stools/stools.h"

std::vector<TreeFile> WalkTree(platform::Platform& platform, const std::string& dir,
                               std::vector<std::string>* semicolonNames) {
  // The wizard's own search, so the tool sees exactly the files it would copy.
  DirectEventLoop loop;
  TKCFileGrep grep(platform, loop);
  grep.ThreadedSearch = false;
  grep.FileMasks = "*.*";
  grep.ReturnValues = {rvDir, rvFilename, rvSize, rvAttr};
  grep.ReturnDelimiter = '\0';
  std::vector<TreeFile> files;
  grep.OnFound = [&](void*, const std::string& record) {
    // dir NUL name NUL size NUL attribute letters
    const size_t a = record.find('\0');
    const size_t b = record.find('\0', a + 1);
    const size_t c = record.find('\0', b + 1);
    const std::string name = record.substr(a + 1, b - a - 1);
    const std::string path = record.substr(0, a) + name;
    if (semicolonNames && name.find(';') != std::string::npos) semicolonNames->push_back(path);
    if (record.find('d', c + 1) == std::string::npos) {
      const int32_t size = static_cast<int32_t>(std::stol(record.substr(b + 1, c - b - 1)));
      files.push_back({path, static_cast<uint32_t>(size)});
    }
  };
  grep.Dirs = dir;
  grep.Search();
  return files;
}

SearchGroupText SplitSearchGroup(const std::string& text) {
  const size_t p = text.find(';');
  if (p == std::string::npos) return {std::string(), text};
  return {text.substr(0, p), text.substr(p + 1)};
}

bool LiesInside(const std::string& path, const std::string& base) {
  const std::string b = RemoveBackslash(base);
  if (path.size() < b.size() || !text::SameName(path.substr(0, b.size()), b)) return false;
  return path.size() == b.size() || path[b.size()] == '\\' || b.back() == '\\' || (b.size() == 2 && b[1] == ':');
}
