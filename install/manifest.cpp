#include "install/manifest.h"

#include <algorithm>

#include "install/transaction.h"
#include "stools/stools.h"

const char MediumManifest::kFileName[] = "SETUP.SUM";

namespace {

constexpr size_t kDigestLength = 64;

bool IsHexDigest(const std::string& text) {
  return text.size() == kDigestLength && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// A path as the list may name it: relative, "/" between names, no empty,
// "." or ".." name, no backslash.
bool IsListablePath(const std::string& path) {
  if (path.empty() || path.find('\\') != std::string::npos) return false;
  for (size_t start = 0; start <= path.size();) {
    const size_t end = std::min(path.find('/', start), path.size());
    const std::string name = path.substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return false;
    start = end + 1;
  }
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

}  // namespace

MediumManifest MediumManifest::Parse(const std::string& text, std::vector<BadLine>* bad) {
  MediumManifest manifest;
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // "  " marks text mode, " *" binary mode; the digest is the same.
    if (line.size() < kDigestLength + 3 || !IsHexDigest(line.substr(0, kDigestLength)) || line[kDigestLength] != ' ' ||
        (line[kDigestLength + 1] != ' ' && line[kDigestLength + 1] != '*')) {
      bad->push_back({number, "not a checksum line (64 hex digits, two blanks, a path)"});
      continue;
    }
    const std::string path = line.substr(kDigestLength + 2);
    if (!IsListablePath(path)) {
      bad->push_back({number, "\"" + path + "\" is not a path relative to the medium with / between names"});
      continue;
    }
    const auto [at, fresh] = manifest.m_index.emplace(FoldPathCase(path), manifest.m_entries.size());
    if (!fresh) {
      bad->push_back({number, "\"" + path + "\" is listed a second time"});
      continue;
    }
    manifest.m_entries.push_back({path, Lower(line.substr(0, kDigestLength))});
  }
  return manifest;
}

std::string MediumManifest::Format(std::vector<Entry> entries) {
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
  std::string text;
  for (const Entry& e : entries) text += e.digest + "  " + e.path + "\n";
  return text;
}

const std::string* MediumManifest::DigestOf(const std::string& relative) const {
  const auto found = m_index.find(FoldPathCase(relative));
  return found == m_index.end() ? nullptr : &m_entries[found->second].digest;
}

ManifestRead ReadManifest(platform::Platform& platform, const std::string& sourceDir, MediumManifest* manifest,
                          std::vector<MediumManifest::BadLine>* bad) {
  const std::string path = AddBackslash(sourceDir) + MediumManifest::kFileName;
  if (platform.FileAttributes(path) == platform::kInvalidAttributes) return ManifestRead::kAbsent;
  std::string text;
  if (!platform.ReadWholeFile(path, &text)) return ManifestRead::kUnreadable;
  *manifest = MediumManifest::Parse(text, bad);
  return ManifestRead::kRead;
}

std::string MediumRelativePath(const std::string& fullPath, const std::string& mediumDir) {
  const std::string prefix = AddBackslash(mediumDir);
  if (fullPath.size() <= prefix.size() || FoldPathCase(fullPath.substr(0, prefix.size())) != FoldPathCase(prefix)) {
    return std::string();
  }
  std::string relative;
  for (size_t start = prefix.size(); start <= fullPath.size();) {
    const size_t end = std::min(fullPath.find('\\', start), fullPath.size());
    const std::string name = fullPath.substr(start, end - start);
    if (!name.empty() && name != ".") relative += (relative.empty() ? "" : "/") + name;
    start = end + 1;
  }
  return relative;
}

bool IsManifestPath(const std::string& relative) {
  return FoldPathCase(relative) == FoldPathCase(MediumManifest::kFileName);
}
