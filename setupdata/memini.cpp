#include "setupdata/memini.h"

#include <cstring>

#include "platform/text/utf8.h"

TMemIniFile::TMemIniFile(const std::string& file) {
  const size_t nul = file.find('\0');
  m_cutAtNul = nul != std::string::npos;
  const std::string text = text::DecodeText(std::string_view(file).substr(0, nul), &m_utf8);
  const size_t end = text.size();
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
}

size_t TMemIniFile::Length(std::string_view value) const {
  if (m_utf8) return value.size();
  size_t n = 0;
  for (text::Utf8Reader r(value); !r.AtEnd(); r.Next()) ++n;
  return n;
}

std::string TMemIniFile::Cut(std::string value, size_t max) const {
  if (m_utf8) {
    value.resize(text::CutPoint(value, max));
    return value;
  }
  text::Utf8Reader r(value);
  for (size_t n = 0; n < max && !r.AtEnd(); ++n) r.Next();
  value.resize(value.size() - r.Rest());
  return value;
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) const {
  for (const Section& s : m_sections) {
    if (text::SameName(s.name, name)) return &s;
  }
  return nullptr;
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(const std::string& Section, const std::string& Key) const {
  const TMemIniFile::Section* section = FindSection(Section);
  if (!section) return nullptr;
  for (const Entry& e : section->entries) {
    if (e.equals != std::string::npos && text::SameName(std::string_view(e.line).substr(0, e.equals), Key)) {
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
