#pragma once

#include <map>
#include <string>
#include <vector>

#include "install/journal.h"
#include "platform/platform.h"

// What undoing a run could not do: old versions that could not be put back
// (they stay where they were set aside) and files of the run that could not
// be removed. listFile names them, one a line, when there are any.
struct RollbackReport {
  struct Left {
    std::string target;
    std::string backup;  // empty for a new file that could not be removed
  };
  std::vector<Left> notRestored;
  std::string keptIn;    // the backup folder that holds what was not put back
  std::string listFile;  // the list of what was not put back, in keptIn
  // What was done, in order: "removed PATH", "restored PATH", "removed folder PATH".
  std::vector<std::string> steps;
  bool complete() const { return notRestored.empty(); }
};

// An interrupted run found and undone at start.
struct RecoveredRun {
  std::vector<std::string> bases;
  RollbackReport report;
};

// The install as a transaction. Before each file is copied, Prepare creates
// its missing folders and sets an existing target aside into the run's
// backup folder under its target base (a rename on the same volume), each
// change announced in the journal first. Commit makes the new files durable
// and keeps only the old versions whose content differs from the new one;
// Rollback puts the previous tree back.
class InstallTransaction {
 public:
  // Name of the folder under a target base that holds old versions.
  static const char kBackupFolder[];
  // Name of the list of old versions a rollback could not put back.
  static const char kNotRestoredList[];

  explicit InstallTransaction(platform::Platform& platform);
  InstallTransaction(const InstallTransaction&) = delete;
  InstallTransaction& operator=(const InstallTransaction&) = delete;

  // Opens the journal for a run into these bases. targets are the planned
  // targets: no backup folder is placed where one of them would lie.
  void Begin(const std::vector<std::string>& bases, const std::vector<std::string>& targets, const std::string& stamp);
  // Makes the target's folder and sets an existing target aside. False when
  // either fails (the journal already names what was done).
  bool Prepare(const std::string& target, const std::string& base, std::string* why);
  // Flushes the target volumes, marks the run done and drops the old
  // versions equal to their new files. False when the data cannot be made
  // durable; the run must then be rolled back. *kept receives the backup
  // folders that remain.
  bool Commit(std::vector<std::string>* kept);
  RollbackReport Rollback();

  bool Journaled() const { return !m_journal.path().empty(); }

  // Undoes the changes of a journal's entries (nothing when it holds a
  // commit mark); used by Rollback and by the recovery at start.
  static RollbackReport Undo(platform::Platform& platform, const std::vector<JournalEntry>& entries);
  // Finds the journals of runs that were killed, in the state folder, and
  // undoes each. A journal still held by a running install is left alone.
  static std::vector<RecoveredRun> RecoverInterruptedRuns(platform::Platform& platform);
  // "yyyymmdd-hhmmss" of the local time now.
  static std::string NowStamp();

 private:
  // Creates the missing folders of dir, each announced in the journal.
  bool MakeFolders(const std::string& dir);

  platform::Platform& m_platform;
  RunJournal m_journal;
  std::map<std::string, std::string> m_backupDirs;              // folded full base -> backup folder
  std::vector<std::string> m_baseOrder;                         // the folded bases in plan order
  std::vector<std::pair<std::string, std::string>> m_replaced;  // target, backup
  std::string m_lastDir;
};

// A full path folded the way the platform matches names: letters without
// regard to case (text::FoldName).
std::string FoldPathCase(const std::string& path);
// True when the full path lies in base or below it, names matched as the
// platform matches them.
bool PathLiesIn(const std::string& path, const std::string& base);
