#include "install/journal.h"

#include <cstdio>

const char RunJournal::kHeader[] = "SETUP-JOURNAL 1";
const char RunJournal::kFilePrefix[] = "run-";

namespace {

const char* const kKindNames[] = {"base", "dir", "new", "old", "commit"};

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '%' || u == 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof(hex), "%%%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

RunJournal::~RunJournal() {
  if (m_file != platform::kNoAppend) m_platform.CloseAppend(m_file);
}

std::string RunJournal::Format(const JournalEntry& entry) {
  std::string line = kKindNames[entry.kind];
  if (entry.kind != JournalEntry::kCommit) line += '\t' + Escape(entry.path);
  if (entry.kind == JournalEntry::kBase || entry.kind == JournalEntry::kReplaced) {
    line += '\t' + Escape(entry.backup);
  }
  return line + '\n';
}

bool RunJournal::Parse(const std::string& text, std::vector<JournalEntry>* entries) {
  entries->clear();
  size_t start = 0;
  bool header = false;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    // A last line without its end was cut by the crash: it is not taken.
    if (end == std::string::npos) break;
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!header) {
      if (line != kHeader) return false;
      header = true;
      continue;
    }
    std::vector<std::string> fields;
    for (size_t p = 0;;) {
      const size_t tab = line.find('\t', p);
      fields.push_back(line.substr(p, tab == std::string::npos ? std::string::npos : tab - p));
      if (tab == std::string::npos) break;
      p = tab + 1;
    }
    JournalEntry e;
    bool known = false;
    for (int k = JournalEntry::kBase; k <= JournalEntry::kCommit; ++k) {
      if (fields[0] == kKindNames[k]) {
        e.kind = static_cast<JournalEntry::Kind>(k);
        known = true;
      }
    }
    if (!known) continue;
    const size_t wanted = e.kind == JournalEntry::kCommit                                        ? 1
                          : (e.kind == JournalEntry::kBase || e.kind == JournalEntry::kReplaced) ? 3
                                                                                                 : 2;
    if (fields.size() < wanted) continue;
    if (wanted > 1) e.path = Unescape(fields[1]);
    if (wanted > 2) e.backup = Unescape(fields[2]);
    entries->push_back(std::move(e));
  }
  return header;
}

bool RunJournal::Open(const std::string& path, const std::vector<JournalEntry>& bases) {
  m_entries = bases;
  m_path.clear();
  if (path.empty()) return false;
  m_file = m_platform.OpenAppend(path);
  if (m_file == platform::kNoAppend) return false;
  std::string text = std::string(kHeader) + '\n';
  for (const JournalEntry& e : bases) text += Format(e);
  if (!m_platform.Append(m_file, text, true)) {
    m_platform.CloseAppend(m_file);
    m_file = platform::kNoAppend;
    m_platform.RemoveFile(path);
    return false;
  }
  m_path = path;
  return true;
}

void RunJournal::Add(JournalEntry::Kind kind, const std::string& path, const std::string& backup) {
  m_entries.push_back({kind, path, backup});
  // Written at once (not buffered here), so a killed process loses nothing of
  // it; the system writes it out with the rest.
  if (m_file != platform::kNoAppend) m_platform.Append(m_file, Format(m_entries.back()), false);
}

bool RunJournal::Commit() {
  m_entries.push_back({JournalEntry::kCommit, {}, {}});
  if (m_file == platform::kNoAppend) return true;
  return m_platform.Append(m_file, Format(m_entries.back()), true);
}

void RunJournal::Discard() {
  if (m_file != platform::kNoAppend) {
    m_platform.CloseAppend(m_file);
    m_file = platform::kNoAppend;
  }
  if (!m_path.empty()) m_platform.RemoveFile(m_path);
  m_path.clear();
}
