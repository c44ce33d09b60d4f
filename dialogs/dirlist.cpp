#include "dialogs/dirlist.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/text/utf8.h"

DirectoryListModel::DirectoryListModel(platform::Platform& platform) : m_platform(platform) {
  m_directory = m_platform.CurrentDirectory();
  Rebuild();
}

bool DirectoryListModel::SetDirectory(const std::string& name) {
  if (name.empty()) return true;
  const std::string full = m_platform.FullPath(name);
  if (full.empty()) return false;
  if (text::SameName(full, m_directory)) return true;
  if (!m_platform.IsDirectory(full)) return false;
  m_directory = full;
  Rebuild();
  return true;
}

void DirectoryListModel::Select(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size()) || index == m_selected) return;
  m_selected = index;
  if (OnSelectionChanged) OnSelectionChanged();
}

bool DirectoryListModel::OpenCurrent() {
  if (m_selected < 0 || m_selected >= static_cast<int>(m_entries.size())) return false;
  return SetDirectory(m_entries[static_cast<size_t>(m_selected)].path);
}

void DirectoryListModel::Rebuild() {
  m_entries.clear();
  // "C:\a\b": the root, then a, then b (current).
  const std::string root = m_directory.substr(0, 3);
  std::vector<std::string> parts;
  size_t start = 3;
  while (start < m_directory.size()) {
    const size_t end = std::min(m_directory.find('\\', start), m_directory.size());
    parts.push_back(m_directory.substr(start, end - start));
    start = end + 1;
  }
  m_entries.push_back({root, root, 0, parts.empty() ? Kind::kCurrent : Kind::kOpen});
  std::string path = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    path = i == 0 ? root + parts[i] : path + "\\" + parts[i];
    m_entries.push_back(
        {parts[i], path, static_cast<int>(i) + 1, i + 1 == parts.size() ? Kind::kCurrent : Kind::kOpen});
  }
  m_selected = static_cast<int>(m_entries.size()) - 1;
  std::vector<std::string> subdirs;
  const std::string prefix = m_directory.back() == '\\' ? m_directory : m_directory + "\\";
  m_platform.FindEntries(prefix + "*.*", [&](const platform::FindData& d) {
    if ((d.attributes & platform::kAttrDirectory) && d.name != "." && d.name != "..") {
      subdirs.push_back(d.name);
    }
    return true;
  });
  std::sort(subdirs.begin(), subdirs.end(),
            [](const std::string& a, const std::string& b) { return text::FoldName(a) < text::FoldName(b); });
  for (const std::string& s : subdirs) {
    m_entries.push_back({s, prefix + s, static_cast<int>(parts.size()) + 1, Kind::kClosed});
  }
  if (OnChanged) OnChanged();
}

std::vector<DriveEntry> DriveBoxEntries(platform::Platform& platform) {
  std::vector<DriveEntry> drives;
  char buffer[255] = {};
  const uint32_t count = platform.LogicalDriveStrings(254, buffer);
  if (count == 0 || count > 254) return drives;
  for (uint32_t p = 0; p + 1 < count; p += 4) {
    drives.push_back({buffer[p], platform.DriveTypeOf(std::string(buffer + p, 3))});
  }
  return drives;
}

std::string ShortenPath(const std::string& path, int width, const std::function<int(const std::string&)>& measure) {
  if (measure(path) <= width || path.size() < 8) return path;
  // Keep the drive and as much of the end as fits: "C:\...\deep\folder".
  const std::string head = path.substr(0, 3) + "...";
  for (size_t cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
    const std::string candidate = head + path.substr(cut);
    if (measure(candidate) <= width) return candidate;
  }
  return head + path.substr(path.rfind('\\'));
}
