#include "install/transaction.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "stools/stools.h"
#include "platform/text/utf8.h"

const char InstallTransaction::kBackupFolder[] = "_backup";
const char InstallTransaction::kNotRestoredList[] = "NOT-RESTORED.TXT";

namespace {

// The folder of a full path, without trailing backslash ("C:\" for a root entry).
std::string FolderOf(const std::string& path) {
  const size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return std::string();
  return cut <= 2 ? path.substr(0, 3) : path.substr(0, cut);
}

bool IsRoot(const std::string& dir) { return dir.size() <= 3; }

// Removes a file the run made, a read-only one included.
bool RemoveOwnFile(platform::Platform& platform, const std::string& path) {
  const uint32_t a = platform.FileAttributes(path);
  if (a == platform::kInvalidAttributes) return true;
  if (a & platform::kAttrReadOnly) platform.SetAttributes(path, platform::kAttrNormal);
  return platform.RemoveFile(path);
}

// Puts an old version back at its target, over whatever the run left there.
bool PutBack(platform::Platform& platform, const std::string& target, const std::string& backup) {
  // The run's file goes first, so the old one comes back under its own
  // spelling; should that fail, the old one replaces it in one step.
  if (platform.FileAttributes(target) != platform::kInvalidAttributes && !RemoveOwnFile(platform, target)) {
    return platform.MoveEntry(backup, target, true);
  }
  return platform.MoveEntry(backup, target, false);
}

// Every file below dir, as full paths, deepest folders last.
void ListFiles(platform::Platform& platform, const std::string& dir, std::vector<std::string>* files,
               std::vector<std::string>* folders) {
  std::vector<std::string> subdirs;
  platform.Enumerate(
      AddBackslash(dir) + "*.*",
      [&](const platform::FindData& d) {
        if (d.name == "." || d.name == "..") return true;
        const std::string full = AddBackslash(dir) + d.name;
        if ((d.attributes & platform::kAttrDirectory) && !(d.attributes & platform::kAttrReparsePoint)) {
          subdirs.push_back(full);
        } else {
          files->push_back(full);
        }
        return true;
      },
      platform::FindDetail::kBasic);
  for (const std::string& s : subdirs) {
    folders->push_back(s);
    ListFiles(platform, s, files, folders);
  }
}

// Removes the copy's temporary files that a killed run left in dir.
void RemoveTempFiles(platform::Platform& platform, const std::string& dir) {
  std::vector<std::string> temps;
  platform.Enumerate(
      AddBackslash(dir) + platform::kCopyTempPrefix + "*",
      [&](const platform::FindData& d) {
        if (!(d.attributes & platform::kAttrDirectory)) temps.push_back(AddBackslash(dir) + d.name);
        return true;
      },
      platform::FindDetail::kBasic);
  for (const std::string& t : temps) RemoveOwnFile(platform, t);
}

std::string RelativeTo(const std::string& path, const std::string& base) {
  const std::string b = AddBackslash(base);
  return path.size() > b.size() ? path.substr(b.size()) : std::string();
}

}  // namespace

std::string FoldPathCase(const std::string& path) { return text::FoldName(path); }

bool PathLiesIn(const std::string& path, const std::string& base) {
  if (path.empty() || base.empty() || path.size() < base.size()) return false;
  if (FoldPathCase(path.substr(0, base.size())) != FoldPathCase(base)) return false;
  return path.size() == base.size() || base.back() == '\\' || path[base.size()] == '\\';
}

InstallTransaction::InstallTransaction(platform::Platform& platform) : m_platform(platform), m_journal(platform) {}

std::string InstallTransaction::NowStamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char buffer[32] = "00000000-000000";
  if (local) std::strftime(buffer, sizeof(buffer), "%Y%m%d-%H%M%S", local);
  return buffer;
}

void InstallTransaction::Begin(const std::vector<std::string>& bases, const std::vector<std::string>& targets,
                               const std::string& stamp) {
  m_backupDirs.clear();
  m_baseOrder.clear();
  m_replaced.clear();
  m_lastDir.clear();
  std::vector<JournalEntry> header;
  for (const std::string& b : bases) {
    const std::string base = RemoveBackslash(m_platform.FullPath(b));
    const std::string key = FoldPathCase(base);
    if (base.empty() || m_backupDirs.count(key)) continue;
    // A folder of its own for this run, where no planned target lies and no
    // earlier run's folder stands.
    std::string root = AddBackslash(base) + kBackupFolder;
    for (int n = 2; std::any_of(targets.begin(), targets.end(),
                                [&](const std::string& t) { return PathLiesIn(m_platform.FullPath(t), root); });
         ++n) {
      root = AddBackslash(base) + kBackupFolder + "-" + std::to_string(n);
    }
    std::string dir = root + "\\" + stamp;
    for (int n = 2; m_platform.FileAttributes(dir) != platform::kInvalidAttributes; ++n) {
      dir = root + "\\" + stamp + "-" + std::to_string(n);
    }
    m_backupDirs[key] = dir;
    m_baseOrder.push_back(key);
    header.push_back({JournalEntry::kBase, base, dir});
  }
  const std::string state = m_platform.StateDirectory();
  std::string path;
  if (!state.empty()) {
    path = AddBackslash(state) + RunJournal::kFilePrefix + stamp;
    for (int n = 2; m_platform.FileAttributes(path + ".jnl") != platform::kInvalidAttributes; ++n) {
      path = AddBackslash(state) + RunJournal::kFilePrefix + stamp + "-" + std::to_string(n);
    }
    path += ".jnl";
  }
  // Without a state folder the run still rolls back by itself; only a killed
  // run is then not undone at the next start (its old versions stay in the
  // backup folder).
  m_journal.Open(path, header);
}

bool InstallTransaction::MakeFolders(const std::string& dir) {
  std::vector<std::string> missing;
  for (std::string d = dir; !d.empty() && !m_platform.IsDirectory(d); d = FolderOf(d)) {
    if (m_platform.FileAttributes(d) != platform::kInvalidAttributes) return false;  // a file
    missing.push_back(d);
    if (IsRoot(d)) break;
  }
  if (missing.empty()) return true;
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) m_journal.Add(JournalEntry::kFolder, *it);
  return m_platform.MakeDirectories(dir);
}

bool InstallTransaction::Prepare(const std::string& target, const std::string& base, std::string* why) {
  const std::string full = m_platform.FullPath(target);
  const std::string dir = FolderOf(full);
  *why = "the target's folder cannot be made";
  if (dir != m_lastDir) {
    if (!MakeFolders(dir)) return false;
    m_lastDir = dir;
  }
  const uint32_t a = m_platform.FileAttributes(full);
  if (a == platform::kInvalidAttributes) {
    m_journal.Add(JournalEntry::kNewFile, full);
    return true;
  }
  if (a & platform::kAttrDirectory) {
    *why = "a folder stands where the file goes";
    return false;
  }
  *why = "the file there cannot be set aside";
  const std::string fullBase = RemoveBackslash(m_platform.FullPath(base));
  const auto found = m_backupDirs.find(FoldPathCase(fullBase));
  if (found == m_backupDirs.end()) return false;
  const std::string backup = AddBackslash(found->second) + RelativeTo(full, fullBase);
  // The old version keeps its own spelling when it comes back.
  std::string old = m_platform.RealPath(full);
  if (old.empty()) old = full;
  if (!MakeFolders(FolderOf(backup))) return false;
  m_lastDir.clear();
  m_journal.Add(JournalEntry::kReplaced, old, backup);
  if (!m_platform.MoveEntry(old, backup, false)) return false;
  m_replaced.emplace_back(full, backup);
  return true;
}

bool InstallTransaction::Commit(std::vector<std::string>* kept) {
  std::set<std::string> volumes;
  for (const auto& [key, dir] : m_backupDirs) {
    if (!volumes.insert(key.substr(0, 2)).second) continue;
    if (!m_platform.FlushVolume(key)) return false;
  }
  if (!m_journal.Commit()) return false;
  for (const auto& [target, backup] : m_replaced) {
    if (m_platform.SameContent(target, backup)) RemoveOwnFile(m_platform, backup);
  }
  // The run's backup folders and their subfolders that are now empty go;
  // deepest first, as the journal names them in creation order.
  const std::vector<JournalEntry>& entries = m_journal.entries();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->kind != JournalEntry::kFolder) continue;
    for (const auto& [key, dir] : m_backupDirs) {
      if (PathLiesIn(it->path, FolderOf(dir))) m_platform.RemoveDirectory(it->path);
    }
  }
  kept->clear();
  for (const std::string& key : m_baseOrder) {
    if (m_platform.IsDirectory(m_backupDirs[key])) kept->push_back(m_backupDirs[key]);
  }
  m_journal.Discard();
  return true;
}

RollbackReport InstallTransaction::Rollback() {
  RollbackReport report = Undo(m_platform, m_journal.entries());
  m_journal.Discard();
  m_replaced.clear();
  m_lastDir.clear();
  return report;
}

RollbackReport InstallTransaction::Undo(platform::Platform& platform, const std::vector<JournalEntry>& entries) {
  RollbackReport report;
  const bool committed = std::any_of(entries.begin(), entries.end(),
                                     [](const JournalEntry& e) { return e.kind == JournalEntry::kCommit; });
  // Temporary files of a copy that was cut off.
  std::set<std::string> dirs;
  for (const JournalEntry& e : entries) {
    if (e.kind == JournalEntry::kNewFile || e.kind == JournalEntry::kReplaced) dirs.insert(FolderOf(e.path));
  }
  for (const std::string& d : dirs) RemoveTempFiles(platform, d);
  if (committed) return report;

  std::set<std::string> handled;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->kind == JournalEntry::kNewFile) {
      const bool there = platform.FileAttributes(it->path) != platform::kInvalidAttributes;
      if (!RemoveOwnFile(platform, it->path)) {
        report.notRestored.push_back({it->path, {}});
      } else if (there) {
        report.steps.push_back("removed " + it->path);
      }
    } else if (it->kind == JournalEntry::kReplaced) {
      handled.insert(FoldPathCase(it->backup));
      if (platform.FileAttributes(it->backup) == platform::kInvalidAttributes) continue;
      if (!PutBack(platform, it->path, it->backup)) {
        report.notRestored.push_back({it->path, it->backup});
      } else {
        report.steps.push_back("restored " + it->path);
      }
    }
  }
  // Old versions whose entries were lost (a power cut) are found in the
  // backup folders by their relative paths.
  std::vector<std::pair<std::string, std::string>> bases;  // base, backup folder
  for (const JournalEntry& e : entries) {
    if (e.kind == JournalEntry::kBase) bases.emplace_back(e.path, e.backup);
  }
  for (const auto& [base, backupDir] : bases) {
    std::vector<std::string> files;
    std::vector<std::string> folders;
    ListFiles(platform, backupDir, &files, &folders);
    for (const std::string& f : files) {
      if (handled.count(FoldPathCase(f))) continue;
      const std::string target = AddBackslash(base) + RelativeTo(f, backupDir);
      if (!PutBack(platform, target, f)) {
        report.notRestored.push_back({target, f});
      } else {
        report.steps.push_back("restored " + target);
      }
    }
  }
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->kind == JournalEntry::kFolder && platform.RemoveDirectory(it->path)) {
      report.steps.push_back("removed folder " + it->path);
    }
  }
  for (const auto& [base, backupDir] : bases) {
    if (platform.RemoveDirectory(backupDir)) platform.RemoveDirectory(FolderOf(backupDir));
  }

  if (!report.complete()) {
    // Say where each old version that could not be put back now lies.
    for (const RollbackReport::Left& l : report.notRestored) {
      if (l.backup.empty()) continue;
      for (const auto& [base, backupDir] : bases) {
        if (PathLiesIn(l.backup, backupDir)) report.keptIn = backupDir;
      }
    }
    if (report.keptIn.empty() && !bases.empty()) report.keptIn = bases.front().second;
    platform.MakeDirectories(report.keptIn);
    report.listFile = AddBackslash(report.keptIn) + kNotRestoredList;
    std::string text;
    for (const RollbackReport::Left& l : report.notRestored) {
      text += l.target + (l.backup.empty() ? std::string("\t(could not be removed)") : "\t" + l.backup) + "\r\n";
    }
    const platform::AppendHandle h = platform.OpenAppend(report.listFile);
    if (h == platform::kNoAppend || !platform.Append(h, text, true)) report.listFile.clear();
    platform.CloseAppend(h);
  }
  return report;
}

std::vector<RecoveredRun> InstallTransaction::RecoverInterruptedRuns(platform::Platform& platform) {
  std::vector<RecoveredRun> runs;
  const std::string state = platform.StateDirectory();
  if (state.empty()) return runs;
  std::vector<std::string> journals;
  platform.Enumerate(AddBackslash(state) + RunJournal::kFilePrefix + "*.jnl", [&](const platform::FindData& d) {
    if (!(d.attributes & platform::kAttrDirectory)) journals.push_back(AddBackslash(state) + d.name);
    return true;
  });
  std::sort(journals.begin(), journals.end());
  for (auto it = journals.rbegin(); it != journals.rend(); ++it) {
    std::string text;
    std::vector<JournalEntry> entries;
    if (!platform.ReadWholeFile(*it, &text) || !RunJournal::Parse(text, &entries)) continue;
    // A journal that another install holds open belongs to a run in progress.
    const platform::AppendHandle hold = platform.OpenAppend(*it);
    if (hold == platform::kNoAppend) continue;
    RecoveredRun run;
    const bool committed = std::any_of(entries.begin(), entries.end(),
                                       [](const JournalEntry& e) { return e.kind == JournalEntry::kCommit; });
    for (const JournalEntry& e : entries) {
      if (e.kind == JournalEntry::kBase) run.bases.push_back(e.path);
    }
    run.report = Undo(platform, entries);
    platform.CloseAppend(hold);
    platform.RemoveFile(*it);
    if (!committed) runs.push_back(std::move(run));
  }
  return runs;
}
