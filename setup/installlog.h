#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

// The log of a run (/LOG=FILE): UTF-8, one event a line,
// "timestamp<TAB>level<TAB>event<TAB>fields..." with the local time in
// ISO 8601 and its offset. Tabs and line breaks inside a field are written
// as blanks, so each event stays one line.
class InstallLog {
 public:
  explicit InstallLog(platform::Platform& platform) : m_platform(platform) {}
  ~InstallLog();
  InstallLog(const InstallLog&) = delete;
  InstallLog& operator=(const InstallLog&) = delete;

  // Opens (appends to) the file; false when it cannot be opened.
  bool Open(const std::string& path);
  bool IsOpen() const { return m_file != platform::kNoAppend; }
  void Info(const std::string& event, const std::vector<std::string>& fields = {});
  void Error(const std::string& event, const std::vector<std::string>& fields = {});

  // "2026-12-08T23:41:05+01:00"
  static std::string Timestamp();
  // The same from a local time and the UTC time of the same moment.
  static std::string FormatTimestamp(const std::tm& local, const std::tm& utc);

 private:
  void Write(const char* level, const std::string& event, const std::vector<std::string>& fields);

  platform::Platform& m_platform;
  platform::AppendHandle m_file = platform::kNoAppend;
};
