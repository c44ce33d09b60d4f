#include "platform/text/utf8.h"

namespace text {
namespace {

// Windows-1252 at 0x80-0x9F; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

constexpr char32_t kEscape = 0xDC00;  // escaped byte b comes as kEscape + b

char32_t FromCp1252Byte(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b; }

// The length of the valid sequence at s[i] and its character; 0 when none.
size_t Decode(std::string_view s, size_t i, char32_t* c) {
  const auto at = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = at(i);
  if (b < 0x80) {
    *c = b;
    return 1;
  }
  size_t n;
  char32_t v;
  char32_t min;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2, v = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3, v = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4, v = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return 0;
    v = (v << 6) | (at(i + k) & 0x3F);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *c = v;
  return n;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c >= kEscape + 0x80 && c <= kEscape + 0xFF) {
    out += static_cast<char>(c - kEscape);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsUtf8(std::string_view bytes) {
  char32_t c;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Decode(bytes, i, &c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string FromCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char b : bytes) AppendUtf8(out, FromCp1252Byte(static_cast<unsigned char>(b)));
  return out;
}

std::string AsUtf8(std::string_view bytes) { return IsUtf8(bytes) ? std::string(bytes) : FromCp1252(bytes); }

std::string DecodeText(std::string_view bytes, bool* utf8) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const bool valid = IsUtf8(bytes);
  if (utf8) *utf8 = valid;
  return valid ? std::string(bytes) : FromCp1252(bytes);
}

size_t CutPoint(std::string_view s, size_t max) {
  if (s.size() <= max) return s.size();
  size_t cut = max;
  // Step back over continuation bytes to the start of the character that
  // the cut would split; a character that ends exactly at max stays.
  while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

char32_t Utf8Reader::Next() {
  char32_t c;
  const size_t n = Decode(m_s, m_at, &c);
  if (n == 0) return kEscape + static_cast<unsigned char>(m_s[m_at++]);
  m_at += n;
  return c;
}

std::u16string ToUtf16(std::string_view text) {
  const bool utf8 = IsUtf8(text);
  std::u16string out;
  out.reserve(text.size());
  const auto put = [&out](char32_t c) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  };
  if (!utf8) {
    for (char b : text) put(FromCp1252Byte(static_cast<unsigned char>(b)));
    return out;
  }
  for (Utf8Reader r(text); !r.AtEnd();) put(r.Next());
  return out;
}

std::string FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0x131) return c;  // dotless i has no capital of its own
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A: capital and small letters in pairs, the capital
    // first; the pairs change step at 0x139 and again at 0x14A and 0x179.
    const bool oddSmall = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool evenSmall = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((oddSmall && (c & 1)) || (evenSmall && !(c & 1))) return c - 1;
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;  // Greek small letters
  if (c == 0x3C2) return 0x3A3;                               // final sigma
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;  // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

std::string FoldName(std::string_view utf8) {
  std::string out(utf8);
  // Names are nearly always ASCII: fold in place, decode only from the
  // first byte beyond it.
  size_t i = 0;
  for (; i < out.size() && static_cast<unsigned char>(out[i]) < 0x80; ++i) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 32);
  }
  if (i == out.size()) return out;
  out.resize(i);
  for (Utf8Reader r(utf8.substr(i)); !r.AtEnd();) AppendUtf8(out, FoldCase(r.Next()));
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  // The ASCII start compares byte by byte.
  size_t i = 0;
  for (; i < a.size() && i < b.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) break;
    if ((x >= 'a' && x <= 'z' ? x - 32 : x) != (y >= 'a' && y <= 'z' ? y - 32 : y)) return false;
  }
  a.remove_prefix(i);
  b.remove_prefix(i);
  Utf8Reader ra(a);
  Utf8Reader rb(b);
  while (!ra.AtEnd() && !rb.AtEnd()) {
    if (FoldCase(ra.Next()) != FoldCase(rb.Next())) return false;
  }
  return ra.AtEnd() && rb.AtEnd();
}

}  // namespace text
