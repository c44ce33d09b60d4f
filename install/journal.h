#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// One change an install run made, in the order it was made.
struct JournalEntry {
  enum Kind {
    kBase,      // a target base and the folder its old versions go to
    kFolder,    // a folder the run created
    kNewFile,   // a file the run created where none was
    kReplaced,  // a file the run replaced; its old version is at `backup`
    kCommit,    // the run succeeded: nothing is to be undone
  };
  Kind kind = kFolder;
  std::string path;
  std::string backup;
};

// The journal of an install run: kept in memory for the run's own rollback
// and, when a place for it exists, appended to a file that the next start
// reads to undo a run that was killed. Each entry is written before the
// change it announces, so a killed run leaves no change the journal does not
// name. The header (the bases and their backup folders) is made durable
// before the first change; the later entries need not be, because an old
// version lies in its backup folder under its own relative path and is found
// there even when its entry was lost.
class RunJournal {
 public:
  explicit RunJournal(platform::Platform& platform) : m_platform(platform) {}
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  // Starts the file at path with the base entries, durably. False when the
  // file cannot be written; the journal then lives in memory only.
  bool Open(const std::string& path, const std::vector<JournalEntry>& bases);
  void Add(JournalEntry::Kind kind, const std::string& path, const std::string& backup = {});
  // Writes the commit mark durably.
  bool Commit();
  // Closes and removes the file.
  void Discard();

  const std::vector<JournalEntry>& entries() const { return m_entries; }
  const std::string& path() const { return m_path; }

  // The text form: a header line, then one entry a line, fields separated by
  // tabs, control characters and '%' written as %XX.
  static std::string Format(const JournalEntry& entry);
  // Reads a journal file's text; false when it is not a journal.
  static bool Parse(const std::string& text, std::vector<JournalEntry>* entries);
  static const char kHeader[];
  // Name of a run's journal file in the state folder: prefix + stamp + ".jnl".
  static const char kFilePrefix[];

 private:
  platform::Platform& m_platform;
  std::vector<JournalEntry> m_entries;
  std::string m_path;
  platform::AppendHandle m_file = platform::kNoAppend;
};
