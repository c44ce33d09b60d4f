#include "tools/setupinf/manifest.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <map>

#include "install/installengine.h"
#include "install/manifest.h"
#include "install/sha256.h"
#include "install/transaction.h"
#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/setupfile.h"
#include "stools/stools.h"
#include "tools/setupinf/medium.h"
#include "tools/setupinf/plan.h"
#include "tools/setupinf/tree.h"

namespace {

// The full DOS path of a path the list names.
std::string DosPathOf(const std::string& mediumDir, const std::string& relative) {
  std::string path = AddBackslash(mediumDir) + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// The SHA-256 of a file of the medium; false when it cannot be read.
bool DigestOfFile(platform::Platform& platform, const std::string& path, std::string* digest) {
  std::string data;
  if (!platform.ReadWholeFile(path, &data)) return false;
  *digest = Sha256::Of(data);
  return true;
}

// Writes text as the file path in one step: a temporary file beside it,
// made durable, then renamed over it.
bool WriteInOneStep(platform::Platform& platform, const std::string& path, const std::string& text) {
  const std::string temp = path + ".new";
  platform.RemoveFile(temp);
  const platform::AppendHandle h = platform.OpenAppend(temp);
  if (h == platform::kNoAppend) return false;
  const bool written = platform.Append(h, text, true);
  platform.CloseAppend(h);
  if (written && platform.MoveEntry(temp, path, true)) return true;
  platform.RemoveFile(temp);
  return false;
}

// Calls add for every file below dir, in hidden and system folders too,
// without entering links to folders.
void AddFilesBelow(platform::Platform& platform, const std::string& dir,
                   const std::function<void(const std::string&)>& add) {
  std::vector<std::string> subdirs;
  platform.Enumerate(AddBackslash(dir) + "*.*", [&](const platform::FindData& d) {
    const std::string path = AddBackslash(dir) + d.name;
    if (!(d.attributes & platform::kAttrDirectory)) {
      if (!(d.attributes & platform::kAttrDevice)) add(path);
    } else if (d.name != "." && d.name != ".." && !(d.attributes & platform::kAttrReparsePoint)) {
      subdirs.push_back(path);
    }
    return true;
  });
  for (const std::string& sub : subdirs) AddFilesBelow(platform, sub, add);
}

}  // namespace

std::vector<ListedFile> FilesToList(platform::Platform& platform, const SetupData& data,
                                    std::vector<std::string>* refusals) {
  const std::string mediumDir = platform.FullPath(AddBackslash(data.SourceDir));
  std::map<std::string, ListedFile> files;  // folded relative path -> file
  auto add = [&](const std::string& path, ListedFile::Role role) {
    const std::string full = platform.FullPath(path);
    const std::string relative = MediumRelativePath(full, mediumDir);
    if (relative.empty() || IsManifestPath(relative)) return;
    ListedFile& f = files[FoldPathCase(relative)];
    if (f.relative.empty() || role > f.role) f = {relative, full, role};
  };
  add(SetupFilePath(data.SourceDir), ListedFile::kSetupFile);
  for (const std::string& language : data.Languages) {
    TextCatalogue texts(data.SetupIni);
    texts.SetCurrentLanguage(language);
    const std::string licence = texts.LanguageText(1);
    if (!licence.empty()) add(AddBackslash(data.SourceDir) + licence, ListedFile::kLicence);
    WithFullPlan(platform, data, language, [&](const InstallEngine& engine) {
      for (const PlanProblem& p : engine.PlanProblems()) {
        if (refusals && std::find(refusals->begin(), refusals->end(), p.why) == refusals->end()) {
          refusals->push_back(p.why);
        }
      }
      for (const std::string& source : engine.SourceFileList) add(source, ListedFile::kPlanned);
    });
    // What one system hides another may not (a name with a leading dot on
    // Windows, a hidden attribute a Linux mount does not show): the files of
    // hidden folders in the search groups are listed too.
    for (const int first : {kSirelGroupsFirstId, kSampleGroupsFirstId, kDxfGroupsFirstId}) {
      for (int id = first; !texts.LanguageText(id).empty(); ++id) {
        const std::string root =
            platform.FullPath(AddBackslash(data.SourceDir) + SplitSearchGroup(texts.LanguageText(id)).dir);
        if (!LiesInside(root, mediumDir)) continue;
        AddFilesBelow(platform, root, [&](const std::string& path) { add(path, ListedFile::kPlanned); });
      }
    }
  }
  std::vector<ListedFile> list;
  for (auto& [key, file] : files) list.push_back(std::move(file));
  return list;
}

std::string SpeltOnMedium(platform::Platform& platform, const std::string& mediumDir, const std::string& relative) {
  std::string dir = AddBackslash(mediumDir);
  std::string spelt;
  for (size_t start = 0; start <= relative.size();) {
    const size_t end = std::min(relative.find('/', start), relative.size());
    const std::string name = relative.substr(start, end - start);
    // The resolver's choice: the exact spelling, else the byte-wise smallest
    // name that differs only in case.
    bool exact = false;
    std::string smallest;
    platform.Enumerate(
        dir + name,
        [&](const platform::FindData& d) {
          if (d.name == name) {
            exact = true;
          } else if (FoldPathCase(d.name) == FoldPathCase(name) && (smallest.empty() || d.name < smallest)) {
            smallest = d.name;
          }
          return true;
        },
        platform::FindDetail::kBasic);
    const std::string chosen = exact || smallest.empty() ? name : smallest;
    spelt += (spelt.empty() ? "" : "/") + chosen;
    dir += chosen + "\\";
    start = end + 1;
  }
  return spelt;
}

int RunManifest(Medium& medium, const SetupData& data) {
  platform::Platform& platform = medium.platform();
  std::vector<std::string> problems;
  std::vector<std::string> refusals;
  const std::vector<ListedFile> files = FilesToList(platform, data, &refusals);
  for (const std::string& why : refusals) problems.push_back("the plan is refused: " + why);
  const std::string mediumDir = platform.FullPath(AddBackslash(data.SourceDir));
  std::vector<MediumManifest::Entry> entries;
  for (const ListedFile& f : files) {
    const std::string relative = SpeltOnMedium(platform, mediumDir, f.relative);
    std::string digest;
    if (relative.find_first_of("\r\n") != std::string::npos) {
      problems.push_back("\"" + relative + "\" holds a line break and cannot be listed");
    } else if (!DigestOfFile(platform, f.path, &digest)) {
      problems.push_back("\"" + relative + "\" cannot be read");
    } else {
      entries.push_back({relative, digest});
    }
  }
  const std::string target = AddBackslash(data.SourceDir) + MediumManifest::kFileName;
  if (problems.empty() && !WriteInOneStep(platform, target, MediumManifest::Format(entries))) {
    problems.push_back(std::string(MediumManifest::kFileName) + " cannot be written");
  }
  if (!problems.empty()) {
    for (const std::string& p : problems) std::fprintf(stderr, "setupinf manifest: %s\n", p.c_str());
    std::fprintf(stderr, "setupinf manifest: %s is not written\n", MediumManifest::kFileName);
    return 1;
  }
  std::cout << MediumManifest::kFileName << ": " << entries.size() << " file(s) listed\n";
  return 0;
}

void CheckManifest(platform::Platform& platform, const SetupData& data, std::vector<Finding>* findings) {
  const std::string name = MediumManifest::kFileName;
  auto error = [&](const std::string& text) { findings->push_back({true, 0, text}); };
  MediumManifest manifest;
  std::vector<MediumManifest::BadLine> bad;
  switch (ReadManifest(platform, data.SourceDir, &manifest, &bad)) {
    case ManifestRead::kAbsent: return;
    case ManifestRead::kUnreadable: error(name + " cannot be read"); return;
    case ManifestRead::kRead: break;
  }
  for (const MediumManifest::BadLine& b : bad) error(name + " line " + std::to_string(b.line) + ": " + b.why);
  for (const MediumManifest::Entry& e : manifest.entries()) {
    const std::string path = DosPathOf(data.SourceDir, e.path);
    std::string digest;
    if (!platform.IsFile(path)) {
      error(name + " lists \"" + e.path + "\", which is not on the medium");
    } else if (!DigestOfFile(platform, path, &digest)) {
      error("\"" + e.path + "\" cannot be read");
    } else if (digest != e.digest) {
      error("\"" + e.path + "\" differs from its checksum in " + name + " (changed or damaged)");
    }
  }
  for (const ListedFile& f : FilesToList(platform, data)) {
    if (manifest.DigestOf(f.relative)) continue;
    switch (f.role) {
      case ListedFile::kSetupFile:
        error("\"" + f.relative + "\" is not listed in " + name + "; the wizard will not start");
        break;
      case ListedFile::kPlanned:
        error("\"" + f.relative + "\" can be copied by a plan but is not listed in " + name);
        break;
      case ListedFile::kLicence:
        findings->push_back({false, 0, "licence file \"" + f.relative + "\" is not listed in " + name});
        break;
    }
  }
}
