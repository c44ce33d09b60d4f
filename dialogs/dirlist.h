#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {
class Platform;
}

// The directory list of the chooser: the drive root, the directories down to
// the current one, the current one (selected), then its subdirectories
// sorted by name; all through the platform, so DOS paths and drives hold.
class DirectoryListModel {
 public:
  enum class Kind { kOpen, kCurrent, kClosed };
  struct Entry {
    std::string name;  // as shown ("C:\" for the root)
    std::string path;  // full directory name
    int depth = 0;
    Kind kind = Kind::kClosed;
  };

  // Starts at the process's current directory.
  explicit DirectoryListModel(platform::Platform& platform);

  const std::string& Directory() const { return m_directory; }
  // Enters a directory: an empty name or the current one does nothing.
  // False, with the list unchanged, when it cannot be entered.
  bool SetDirectory(const std::string& name);
  const std::vector<Entry>& Entries() const { return m_entries; }
  int SelectedIndex() const { return m_selected; }
  // Selects an entry; OnSelectionChanged runs when the selection changes.
  void Select(int index);
  // Makes the selected entry the current directory.
  bool OpenCurrent();

  std::function<void()> OnSelectionChanged;
  std::function<void()> OnChanged;  // entries rebuilt

 private:
  void Rebuild();

  platform::Platform& m_platform;
  std::string m_directory;
  std::vector<Entry> m_entries;
  int m_selected = 0;
};

// The drive box: the logical drives with their types.
struct DriveEntry {
  char letter;
  unsigned type;  // Windows drive type
};
std::vector<DriveEntry> DriveBoxEntries(platform::Platform& platform);

// The path label's text: shortened in the middle with "..." when
// measure(text) is wider than width.
std::string ShortenPath(const std::string& path, int width, const std::function<int(const std::string&)>& measure);
