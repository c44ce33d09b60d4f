#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The in-memory copy of SETUP.INF: sections in file order, each with its
// lines as written, in UTF-8. Built once, never written.
class TMemIniFile {
 public:
  // One line of a section, with its 1-based line number in the file.
  struct Entry {
    std::string line;
    size_t equals = std::string::npos;  // position of the first "=", npos when none
    int lineNumber = 0;
  };
  struct Section {
    std::string name;
    int lineNumber = 0;  // line of the header
    std::vector<Entry> entries;
  };

  TMemIniFile() = default;
  // Reads the text of the file: a NUL byte ends it; it is decoded once (UTF-8
  // when valid as a whole, a byte-order mark skipped, else Windows-1252);
  // lines end at CR LF, CR or LF; empty lines and lines starting with ";" are
  // skipped; "[name]" opens a section; any other line belongs to the open
  // section (lines before the first header are dropped).
  explicit TMemIniFile(const std::string& text);

  // Whether the file was UTF-8 (else Windows-1252).
  bool utf8() const { return m_utf8; }
  // Lengths and cuts count the file's own text: characters of a
  // Windows-1252 file, bytes of a UTF-8 one (a cut never splits a
  // character).
  size_t Length(std::string_view value) const;
  std::string Cut(std::string value, size_t max) const;

  const std::vector<Section>& sections() const { return m_sections; }
  // Number of lines the text had up to a NUL byte; whether a NUL cut it.
  int lineCount() const { return m_lineCount; }
  bool cutAtNul() const { return m_cutAtNul; }

  // The first section whose name matches without regard to case, or nullptr.
  const Section* FindSection(const std::string& name) const;
  // The value of the first entry with "=" whose name matches Key without
  // regard to case, in the first section named Section; Default otherwise.
  std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const;
  // As ReadString, but also reports the entry found (nullptr when none).
  const Entry* FindEntry(const std::string& Section, const std::string& Key) const;

 private:
  std::vector<Section> m_sections;
  int m_lineCount = 0;
  bool m_cutAtNul = false;
  bool m_utf8 = true;
};
