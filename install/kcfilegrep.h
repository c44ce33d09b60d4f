#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "install/enumset.h"
#include "install/kcdatetime.h"
#include "install/kcsysinfo.h"
#include "platform/platform.h"

class EventLoop;

enum TKCFileGrepAttribute { fmReadOnly, fmArchive, fmAnyfile, fmSystem, fmHidden };
using TKCFileGrepAttributes = EnumSet<TKCFileGrepAttribute>;

enum TKCReturnValue {
  rvDir,
  rvFilename,
  rvAttr,
  rvSize,
  rvCreateDate,
  rvLastAccessDate,
  rvLastModifiedDate,
};
using TKCReturnValues = EnumSet<TKCReturnValue>;

enum TKCLookFor {
  lfCreateAfter,
  lfCreateBefore,
  lfAccessedAfter,
  lfAccessedBefore,
  lfModifiedAfter,
  lfModifiedBefore,
};
using TKCLookFors = EnumSet<TKCLookFor>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A list the search appends its records to (the list box of OutStringList).
class TKCListBox {
 public:
  virtual ~TKCListBox() = default;
  virtual void AddItem(const std::string& Item) = 0;
};

using TNotifyEvent = std::function<void(void* Sender)>;
using TKCFoundEvent = std::function<void(void* Sender, const std::string& found)>;
using TKCFileChangeEvent = std::function<void(void* Sender, const std::string& name)>;

// The recursive file search: walks the directories of Dirs, tests every entry
// that a mask of FileMasks enumerates against the filters and reports each
// accepted one as a delimited record. Every search and all its events run on
// the GUI thread; a threaded search only lets a worker thread ask for it.
class TKCFileGrep : public TKCCustomComponent {
 public:
  // At most this many masks of FileMasks take part; further ones are ignored.
  static constexpr size_t kMaxMasks = 100;

  TKCFileGrep(platform::Platform& platform, EventLoop& loop);
  ~TKCFileGrep() override;
  TKCFileGrep(const TKCFileGrep&) = delete;
  TKCFileGrep& operator=(const TKCFileGrep&) = delete;

  std::string FileMasks;
  std::string Dirs;
  TKCFileGrepAttributes Attributes = {fmAnyfile};
  int32_t MinSize = 0;
  int32_t MaxSize = 0;
  std::string Content;
  bool CaseSensitiveContent = true;
  bool ThreadedSearch = true;
  bool RecurseSubDirs = true;
  TKCReturnValues ReturnValues = {rvDir, rvFilename};
  char ReturnDelimiter = ';';
  TKCLookFors LookForDates;

  TNotifyEvent OnFinished;
  TNotifyEvent OnCancel;
  TKCFoundEvent OnFound;
  TKCFileChangeEvent OnDirChange;
  TKCFileChangeEvent OnFileChange;

  // The date bounds: the component owns them; a write copies the value.
  const TKCDateTime& CreatedAfter() const { return m_dates[lfCreateAfter]; }
  const TKCDateTime& CreatedBefore() const { return m_dates[lfCreateBefore]; }
  const TKCDateTime& AccessedAfter() const { return m_dates[lfAccessedAfter]; }
  const TKCDateTime& AccessedBefore() const { return m_dates[lfAccessedBefore]; }
  const TKCDateTime& ModifiedAfter() const { return m_dates[lfModifiedAfter]; }
  const TKCDateTime& ModifiedBefore() const { return m_dates[lfModifiedBefore]; }
  void SetDateBound(TKCLookFor which, const TKCDateTime& Value) { m_dates[which].Assign(Value); }

  TKCListBox* OutStringList() const { return m_outStringList; }
  void SetOutStringList(TKCListBox* List) { m_outStringList = List; }
  // The removal notification: a list box being destroyed is forgotten.
  void Notification(TKCListBox* Removed);

  TThreadPriority ThreadPriority() const { return m_priority; }
  // Stores the priority; a pending worker takes it at once.
  void SetThreadPriority(TThreadPriority Value);

  // Runs one search with the current properties (see the class comment).
  // Ignored while a threaded search is pending.
  void Search();
  // Asks the running or pending search to stop at its next check.
  void Cancel();

  const std::vector<std::string>& ResultList() const { return m_resultList; }
  // The first folder of the last search that could not be listed completely
  // (no permission, a read error); empty when every folder was read.
  const std::string& UnreadableFolder() const { return m_unreadable; }
  // True while a threaded search waits for the GUI thread.
  bool WorkerPending() const { return m_worker != nullptr; }

 private:
  struct Worker;

  void Run();
  bool StopCheck() const;
  // Whether the filters or the records need more of an entry than its name.
  bool NeedsDetail() const;
  void SearchDirectory(const std::string& D, const std::vector<std::string>& masks, const std::string& content);
  bool Accepts(const platform::FindData& entry, const std::string& P, const std::string& content);
  bool ContentMatches(const std::string& path, const std::string& content);
  std::string BuildRecord(const std::string& P, const platform::FindData& entry);

  platform::Platform& m_platform;
  EventLoop& m_loop;
  TKCDateTime m_dates[6];
  TKCListBox* m_outStringList = nullptr;
  TThreadPriority m_priority = tpIdle;
  std::vector<std::string> m_resultList;
  std::string m_unreadable;
  // True while Run executes; a search started from an end event then cannot
  // wait for the worker that is still waiting for this thread.
  bool m_running = false;
  std::vector<std::thread> m_finishedThreads;
  std::atomic<bool> m_stopRequest{false};
  std::shared_ptr<Worker> m_worker;
  std::thread m_thread;
  platform::LocaleDateData m_locale;
  std::string m_fileData;  // reused by the content test
};
