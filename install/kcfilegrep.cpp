#include "install/kcfilegrep.h"

#include <algorithm>
#include <thread>

#include "install/datepattern.h"
#include "install/eventloop.h"
#include "platform/filetime.h"

// The worker of a threaded search: it asks the GUI thread to run the search
// and waits. owner is cleared when the component goes away first, so a
// request served after that runs nothing.
struct TKCFileGrep::Worker {
  std::atomic<TKCFileGrep*> owner{nullptr};
  std::atomic<bool> terminated{false};
};

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::vector<std::string> SplitAt(const std::string& text, char delimiter) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(delimiter, start);
    pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return pieces;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

}  // namespace

TKCFileGrep::TKCFileGrep(platform::Platform& platform, EventLoop& loop)
    : m_platform(platform), m_loop(loop), m_locale(platform.LocaleDates()) {
  if (m_locale.longDateFormat.empty()) m_locale.longDateFormat = "mmmm d, yyyy";
}

TKCFileGrep::~TKCFileGrep() {
  Cancel();
  m_outStringList = nullptr;
  if (m_worker) {
    // The worker still waits for the GUI thread, which is this one: joining
    // would never return. Its request will find no owner and run nothing.
    m_worker->owner = nullptr;
    m_worker.reset();
    if (m_thread.joinable()) m_thread.detach();
  } else if (m_thread.joinable()) {
    m_thread.join();
  }
  for (std::thread& t : m_finishedThreads) {
    if (t.joinable()) t.join();
  }
}

void TKCFileGrep::Notification(TKCListBox* Removed) {
  if (Removed && Removed == m_outStringList) m_outStringList = nullptr;
}

void TKCFileGrep::SetThreadPriority(TThreadPriority Value) {
  const bool changed = Value != m_priority;
  m_priority = Value;
  if (m_worker && changed) m_platform.SetThreadPriority(m_thread, Value);
}

void TKCFileGrep::Cancel() {
  m_stopRequest = true;
  if (m_worker) m_worker->terminated = true;
}

bool TKCFileGrep::StopCheck() const {
  return (m_worker && m_worker->terminated) || m_loop.Terminating() || m_stopRequest;
}

void TKCFileGrep::Search() {
  if (m_worker) return;
  m_resultList.clear();
  m_unreadable.clear();
  if (!ThreadedSearch) {
    Run();
    return;
  }
  // The previous worker has served its request; it only has to return. From
  // inside its own request (an end event that starts the next search) it
  // cannot return yet: it is joined later instead of waited for now.
  if (m_thread.joinable()) {
    if (m_running) {
      m_finishedThreads.push_back(std::move(m_thread));
    } else {
      m_thread.join();
    }
  }
  if (!m_running) {
    for (std::thread& t : m_finishedThreads) t.join();
    m_finishedThreads.clear();
  }
  auto worker = std::make_shared<Worker>();
  worker->owner = this;
  m_worker = worker;
  EventLoop* loop = &m_loop;
  m_thread = std::thread([worker, loop] {
    loop->Synchronize([worker] {
      if (TKCFileGrep* owner = worker->owner.load()) owner->Run();
    });
  });
  m_platform.SetThreadPriority(m_thread, m_priority);
}

void TKCFileGrep::Run() {
  struct Running {
    bool& flag;
    bool before;
    explicit Running(bool& f) : flag(f), before(f) { flag = true; }
    ~Running() { flag = before; }
  } running(m_running);
  std::string content = Content;
  if (!CaseSensitiveContent) {
    for (char& c : content) c = UpperAscii(c);
  }
  std::vector<std::string> masks = SplitAt(FileMasks, ';');
  if (masks.size() > kMaxMasks) masks.resize(kMaxMasks);

  for (const std::string& piece : SplitAt(Dirs, ';')) {
    if (m_worker && StopCheck()) continue;
    SearchDirectory(piece, masks, content);
  }
  if (m_worker) {
    m_worker->terminated = true;
    m_worker.reset();
  }
  if (m_stopRequest) {
    if (OnCancel) OnCancel(this);
  } else if (OnFinished) {
    OnFinished(this);
  }
  m_stopRequest = false;
}

void TKCFileGrep::SearchDirectory(const std::string& D, const std::vector<std::string>& masks,
                                  const std::string& content) {
  m_loop.ProcessMessages();
  const std::string P = (!IsBlank(D) && D.back() == '\\') ? D : D + '\\';
  if (OnDirChange) OnDirChange(this, P);

  // Hidden, system and volume entries are not entered, and neither are links
  // to directories: a link may lead back up the tree.
  constexpr uint32_t kSkipped =
      platform::kAttrHidden | platform::kAttrSystem | platform::kAttrVolume | platform::kAttrReparsePoint;
  const auto enterable = [](const platform::FindData& entry) {
    return (entry.attributes & platform::kAttrDirectory) && !(entry.attributes & kSkipped) && entry.name != "." &&
           entry.name != "..";
  };
  // A "*.*" pass sees every entry; its subdirectories serve the walk below,
  // which saves enumerating the directory a second time.
  std::vector<std::string> subdirs;
  bool subdirsKnown = false;
  const platform::FindDetail detail = NeedsDetail() ? platform::FindDetail::kFull : platform::FindDetail::kBasic;
  for (const std::string& mask : masks) {
    const bool everything = mask == "*.*" || mask == "*";
    bool stopped = false;
    const platform::FindResult listed = m_platform.Enumerate(
        P + mask,
        [&](const platform::FindData& entry) {
          if (StopCheck()) {
            stopped = true;
            return false;
          }
          if (everything && !subdirsKnown && enterable(entry)) subdirs.push_back(entry.name);
          if (OnFileChange) OnFileChange(this, entry.name);
          if (Accepts(entry, P, content)) {
            const std::string record = BuildRecord(P, entry);
            if (OnFound) OnFound(this, record);
            if (m_outStringList) m_outStringList->AddItem(record);
            m_resultList.push_back(record);
          }
          return true;
        },
        detail);
    if (listed == platform::FindResult::kFailed && m_unreadable.empty()) m_unreadable = P;
    if (stopped) return;
    subdirsKnown = subdirsKnown || everything;
  }
  if (StopCheck() || !RecurseSubDirs) return;

  if (!subdirsKnown) {
    const platform::FindResult listed = m_platform.Enumerate(
        P + "*.*",
        [&](const platform::FindData& entry) {
          if (enterable(entry)) subdirs.push_back(entry.name);
          return true;
        },
        platform::FindDetail::kBasic);
    if (listed == platform::FindResult::kFailed && m_unreadable.empty()) m_unreadable = P;
  }
  for (const std::string& name : subdirs) {
    SearchDirectory(P + name, masks, content);
    if (StopCheck()) return;
  }
}

bool TKCFileGrep::NeedsDetail() const {
  const bool anyAttributes = Attributes.Contains(fmAnyfile) || Attributes.Empty();
  const TKCReturnValues plain = {rvDir, rvFilename};
  return !anyAttributes || MinSize > 0 || MaxSize != 0 || !LookForDates.Empty() ||
         (ReturnValues.bits() & ~plain.bits()) != 0;
}

bool TKCFileGrep::Accepts(const platform::FindData& entry, const std::string& P, const std::string& content) {
  // Sizes compare whole: a file of 2 GiB or more must not fall out of a plan.
  const int64_t size = static_cast<int64_t>(entry.fullSize);
  if (size < MinSize || (MaxSize != 0 && size > MaxSize)) return false;
  if (entry.name == "." || entry.name == "..") return false;

  if (!Attributes.Contains(fmAnyfile)) {
    uint32_t mask = 0;
    if (Attributes.Contains(fmReadOnly)) mask |= platform::kAttrReadOnly;
    if (Attributes.Contains(fmHidden)) mask |= platform::kAttrHidden;
    if (Attributes.Contains(fmSystem)) mask |= platform::kAttrSystem;
    if (Attributes.Contains(fmArchive)) mask |= platform::kAttrArchive;
    if ((entry.attributes & mask) != mask) return false;
  }

  if (!LookForDates.Empty()) {
    const platform::FileTime times[3] = {m_platform.ToLocalFileTime(entry.creation),
                                         m_platform.ToLocalFileTime(entry.lastAccess),
                                         m_platform.ToLocalFileTime(entry.lastWrite)};
    for (int flag = lfCreateAfter; flag <= lfModifiedBefore; ++flag) {
      const TKCDateTime& bound = m_dates[flag];
      if (!LookForDates.Contains(static_cast<TKCLookFor>(flag)) || bound.Value() <= 0) continue;
      const int64_t at = FileTimeToDateTimeMilliseconds(times[flag / 2]);
      const int64_t limit = DateTimeToMilliseconds(bound.Value());
      const bool after = flag % 2 == 0;
      if (after ? at < limit : at > limit) return false;
    }
  }

  return content.empty() || ContentMatches(P + entry.name, content);
}

bool TKCFileGrep::ContentMatches(const std::string& path, const std::string& content) {
  if (!m_platform.ReadWholeFile(path, &m_fileData) || m_fileData.empty()) return false;
  // Every start position is tried in turn, which finds the same matches as
  // restarting one byte after the start of a broken partial match.
  const bool fold = !CaseSensitiveContent;
  const auto it = std::search(
      m_fileData.begin(), m_fileData.end(), content.begin(), content.end(),
      [fold](char fileByte, char contentByte) { return (fold ? UpperAscii(fileByte) : fileByte) == contentByte; });
  return it != m_fileData.end();
}

std::string TKCFileGrep::BuildRecord(const std::string& P, const platform::FindData& entry) {
  std::string record;
  const auto part = [&](const std::string& text) {
    record += text;
    record += ReturnDelimiter;
  };
  const auto date = [&](platform::FileTime utc) {
    const platform::SystemTime local = platform::FileTimeToSystemTime(m_platform.ToLocalFileTime(utc));
    part(FormatDatePattern(m_locale.longDateFormat, local, m_locale));
  };
  if (ReturnValues.Contains(rvDir)) part(P);
  if (ReturnValues.Contains(rvFilename)) part(entry.name);
  if (ReturnValues.Contains(rvSize)) part(std::to_string(static_cast<int32_t>(entry.size)));
  if (ReturnValues.Contains(rvCreateDate)) date(entry.creation);
  if (ReturnValues.Contains(rvLastAccessDate)) date(entry.lastAccess);
  if (ReturnValues.Contains(rvLastModifiedDate)) date(entry.lastWrite);
  if (ReturnValues.Contains(rvAttr)) {
    static const struct {
      uint32_t bit;
      char letter;
    } kLetters[] = {{platform::kAttrReadOnly, 'r'}, {platform::kAttrArchive, 'a'},   {platform::kAttrSystem, 's'},
                    {platform::kAttrVolume, 'v'},   {platform::kAttrDirectory, 'd'}, {platform::kAttrHidden, 'h'}};
    for (const auto& l : kLetters) {
      if (entry.attributes & l.bit) record += l.letter;
    }
  }
  return record;
}
