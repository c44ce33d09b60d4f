#include "setup/installlog.h"

#include <cstdio>
#include <ctime>

InstallLog::~InstallLog() {
  if (m_file != platform::kNoAppend) m_platform.CloseAppend(m_file);
}

bool InstallLog::Open(const std::string& path) {
  m_file = m_platform.OpenAppend(path);
  return m_file != platform::kNoAppend;
}

std::string InstallLog::Timestamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (!local) return "";
  const std::tm localCopy = *local;  // gmtime may reuse the same storage
  const std::tm* utc = std::gmtime(&now);
  return utc ? FormatTimestamp(localCopy, *utc) : "";
}

// The offset is worked out from the two times rather than taken from
// strftime's %z, which the Windows C library writes as the zone's name.
std::string InstallLog::FormatTimestamp(const std::tm& local, const std::tm& utc) {
  char buffer[40] = "";
  if (!std::strftime(buffer, sizeof(buffer), "%Y-%m-%dT%H:%M:%S", &local)) return "";
  // The two lie at most a day apart; across a year's end the later one is
  // the one in the later year.
  int days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
  const long seconds = days * 86400L + (local.tm_hour - utc.tm_hour) * 3600L + (local.tm_min - utc.tm_min) * 60L;
  const long minutes = (seconds < 0 ? -seconds : seconds) / 60;
  char offset[16];
  std::snprintf(offset, sizeof(offset), "%c%02ld:%02ld", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return buffer + std::string(offset);
}

void InstallLog::Info(const std::string& event, const std::vector<std::string>& fields) {
  Write("info", event, fields);
}

void InstallLog::Error(const std::string& event, const std::vector<std::string>& fields) {
  Write("error", event, fields);
}

void InstallLog::Write(const char* level, const std::string& event, const std::vector<std::string>& fields) {
  if (m_file == platform::kNoAppend) return;
  std::string line = Timestamp() + '\t' + level + '\t' + event;
  for (std::string f : fields) {
    for (char& c : f) {
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    line += '\t' + f;
  }
  m_platform.Append(m_file, line + '\n', false);
}
