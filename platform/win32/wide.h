#pragma once

// Text inside the program is UTF-8; the wide calls of Windows take UTF-16 in
// wchar_t, which is 16 bits there. These are the two steps at that boundary,
// over the one converter of platform/text.
#include <string>
#include <string_view>

#include "platform/text/utf8.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide calls of Windows take UTF-16");

// UTF-8 (bytes that are not valid UTF-8 read as Windows-1252) to UTF-16.
inline std::wstring Wide(std::string_view utf8) {
  const std::u16string utf16 = text::ToUtf16(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

// UTF-16 as the system gives it to UTF-8; an unpaired surrogate becomes U+FFFD.
inline std::string Utf8(std::wstring_view wide) { return text::FromUtf16(std::u16string(wide.begin(), wide.end())); }

}  // namespace platform::win32
