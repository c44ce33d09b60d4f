#include "setup/loadmedium.h"

#include "install/sha256.h"
#include "platform/platform.h"

std::string LoadMedium(platform::Platform& platform, SetupData* data, std::optional<MediumManifest>* manifest) {
  manifest->reset();
  const SetupLoadResult loaded = LoadSetup(platform, data);
  if (loaded == SetupLoadResult::kMissing || loaded == SetupLoadResult::kUnreadable) {
    return StartupFailureText(loaded);
  }
  // A damaged SETUP.INF says so before anything read from it is judged.
  MediumManifest list;
  std::vector<MediumManifest::BadLine> bad;
  switch (ReadManifest(platform, data->SourceDir, &list, &bad)) {
    case ManifestRead::kAbsent: return StartupFailureText(loaded);
    case ManifestRead::kUnreadable: return "File SETUP.SUM cannot be read";
    case ManifestRead::kRead: break;
  }
  if (!bad.empty()) return "File SETUP.SUM is damaged (line " + std::to_string(bad.front().line) + ")";
  const std::string* digest = list.DigestOf("SETUP.INF");
  if (!digest) return "File SETUP.INF is not listed in SETUP.SUM";
  std::string text;
  if (!platform.ReadWholeFile(SetupFilePath(data->SourceDir), &text)) {
    return StartupFailureText(SetupLoadResult::kUnreadable);
  }
  if (Sha256::Of(text) != *digest) return "File SETUP.INF is damaged (it does not match SETUP.SUM)";
  if (loaded != SetupLoadResult::kLoaded) return StartupFailureText(loaded);
  *manifest = std::move(list);
  return std::string();
}
