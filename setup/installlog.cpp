#include "setup/installlog.h"

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
  char buffer[40] = "";
  if (!local || !std::strftime(buffer, sizeof(buffer), "%Y-%m-%dT%H:%M:%S%z", local)) return "";
  std::string text = buffer;
  // strftime gives the offset as +hhmm; ISO 8601 writes +hh:mm.
  if (text.size() >= 5) text.insert(text.size() - 2, ":");
  return text;
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
