#pragma once

#include <string>
#include <string_view>

// Text inside the program is UTF-8. Bytes from outside that are not valid
// UTF-8 as a whole (a SETUP.INF or licence saved on a Western Windows
// machine) are read as Windows-1252.
namespace text {

// True when the bytes are valid UTF-8 as a whole: no stray continuation
// bytes, no cut sequences, no overlong forms, no surrogates, nothing past
// U+10FFFF.
bool IsUtf8(std::string_view bytes);

// Each byte as its Windows-1252 character, in UTF-8. The five bytes the code
// page leaves undefined become the control characters of the same number.
std::string FromCp1252(std::string_view bytes);

// Valid UTF-8 as it is, anything else read as Windows-1252.
std::string AsUtf8(std::string_view bytes);

// The text of a file in UTF-8: a UTF-8 byte-order mark is skipped; the rest
// is taken as UTF-8 when it is valid UTF-8 as a whole, else as
// Windows-1252. utf8 (when given) tells which of the two it was.
std::string DecodeText(std::string_view bytes, bool* utf8 = nullptr);

// The longest length of at most max bytes that does not end inside a UTF-8
// character of s (s itself when it is short enough).
size_t CutPoint(std::string_view s, size_t max);

// UTF-8 to UTF-16 and back, for the wide calls of Windows. Bytes that are not
// valid UTF-8 are read as Windows-1252; an unpaired surrogate becomes U+FFFD.
std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);

// The characters of a UTF-8 text one by one; a byte that does not start a
// valid sequence comes as itself plus 0xDC00 (so it compares as that byte).
class Utf8Reader {
 public:
  explicit Utf8Reader(std::string_view s) : m_s(s) {}
  bool AtEnd() const { return m_at >= m_s.size(); }
  size_t Rest() const { return m_s.size() - m_at; }  // bytes not read yet
  char32_t Next();

 private:
  std::string_view m_s;
  size_t m_at = 0;
};

// A character's capital form, as Windows folds names: the Latin letters of
// ASCII, Latin-1 and Latin Extended-A, Greek and Cyrillic.
char32_t FoldCase(char32_t c);

// A name with every character folded (the key under which names that differ
// only in case meet), and the comparison it gives.
std::string FoldName(std::string_view utf8);
bool SameName(std::string_view a, std::string_view b);

// One character as UTF-8 (an escaped byte as that byte).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace text
