#include "tools/setupinf/show.h"

#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "stools/stools.h"
#include "tools/setupinf/medium.h"
#include "tools/setupinf/tree.h"

namespace {

struct Component {
  const char* name;
  std::vector<TreeFile> files;
};

void AddGroups(platform::Platform& platform, const TextCatalogue& texts, const std::string& sourceDir, int firstId,
               std::vector<TreeFile>* files) {
  for (int id = firstId;; ++id) {
    const std::string t = texts.LanguageText(id);
    if (t.empty()) break;
    const SearchGroupText group = SplitSearchGroup(t);
    const std::string root = platform.FullPath(AddBackslash(sourceDir) + group.dir);
    if (!LiesInside(root, sourceDir)) continue;
    for (TreeFile& f : WalkTree(platform, root)) files->push_back(std::move(f));
  }
}

}  // namespace

int ShowMedium(Medium& medium, const SetupData& data, std::ostream& out) {
  platform::Platform& platform = medium.platform();
  out << "Medium:       " << medium.hostDir() << " (as " << data.SourceDir << "\\)\n";
  out << "Version:      " << data.Boot.SetupVersion << "\n";
  out << "DefaultPath:  " << data.Boot.DefaultBrowsePath << "\n";
  out << "DefaultDir:   " << data.Boot.DefaultTargetSubdir << "\n";
  out << "TotalFileSize " << data.Boot.TotalFileSize << ", ReqSpace " << data.Boot.ReqSpace << "\n";
  out << "Languages:    ";
  for (size_t i = 0; i < data.Languages.size(); ++i) out << (i ? ", " : "") << data.Languages[i];
  out << "\n";
  if (data.Languages.empty()) return 1;

  TextCatalogue texts(data.SetupIni);
  texts.SetCurrentLanguage(data.Languages.front());
  Component components[3] = {{"macros", {}}, {"sample", {}}, {"dxf", {}}};
  for (int id = kFixedListFirstId;; ++id) {
    const std::string t = texts.LanguageText(id);
    if (t.empty()) break;
    const std::string path = platform.FullPath(AddBackslash(data.SourceDir) + t);
    uint64_t size = 0;
    platform.FileSizeOf(path, &size);
    components[0].files.push_back({path, size});
  }
  AddGroups(platform, texts, data.SourceDir, kSirelGroupsFirstId, &components[0].files);
  AddGroups(platform, texts, data.SourceDir, kSampleGroupsFirstId, &components[1].files);
  AddGroups(platform, texts, data.SourceDir, kDxfGroupsFirstId, &components[2].files);

  uint64_t total = 0;
  for (const Component& c : components) {
    uint64_t bytes = 0;
    for (const TreeFile& f : c.files) bytes += f.size;
    total += bytes;
    out << "Component " << c.name << ": " << c.files.size() << " file(s), " << bytes << " bytes\n";
    for (const TreeFile& f : c.files) out << "  " << f.path << "  " << f.size << "\n";
  }
  out << "All components: " << total << " bytes\n";
  return 0;
}
