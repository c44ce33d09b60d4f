#include "setupdata/memini.h"

#include <cstring>

#include "setupdata/textcase.h"

TMemIniFile::TMemIniFile(const std::string& text) {
  const size_t nul = text.find('\0');
  m_cutAtNul = nul != std::string::npos;
  const size_t end = m_cutAtNul ? nul : text.size();
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < end) {
    size_t stop = pos;
    while (stop < end && text[stop] != '\r' && text[stop] != '\n') ++stop;
    const std::string_view line(text.data() + pos, stop - pos);
    ++m_lineCount;
    if (stop < end && text[stop] == '\r' && stop + 1 < end && text[stop + 1] == '\n') ++stop;
    pos = stop + 1;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.size() >= 2 && line.back() == ']') {
      m_sections.push_back(Section{std::string(line.substr(1, line.size() - 2)), m_lineCount, {}});
      current = &m_sections.back();
      continue;
    }
    if (!current) continue;
    Entry entry;
    entry.line = std::string(line);
    entry.equals = entry.line.find('=');
    entry.lineNumber = m_lineCount;
    current->entries.push_back(std::move(entry));
  }
  if (m_cutAtNul || (end > 0 && text[end - 1] != '\n' && text[end - 1] != '\r')) {
    // the last line had no line end; it was counted above
  }
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) const {
  for (const Section& s : m_sections) {
    if (SameTextNoCase(s.name, name)) return &s;
  }
  return nullptr;
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(const std::string& Section,
                                                 const std::string& Key) const {
  const TMemIniFile::Section* section = FindSection(Section);
  if (!section) return nullptr;
  for (const Entry& e : section->entries) {
    if (e.equals != std::string::npos &&
        SameTextNoCase(std::string_view(e.line).substr(0, e.equals), Key)) {
      return &e;
    }
  }
  return nullptr;
}

std::string TMemIniFile::ReadString(const std::string& Section, const std::string& Key,
                                    const std::string& Default) const {
  const Entry* e = FindEntry(Section, Key);
  return e ? e->line.substr(e->equals + 1) : Default;
}
