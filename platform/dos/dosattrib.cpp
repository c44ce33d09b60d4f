#include "platform/dos/dosattrib.h"

#include <cstring>
#include <string_view>

namespace platform::dos {
namespace {

// Samba (3.5 on) stores an NDR-encoded xattr_DOSATTRIB, laid out as:
//   the attribute word as hex text, NUL-terminated, no length, no padding
//     (empty for versions 4 and 5, which carry the word only in binary);
//   uint16 version;
//   the xattr_DosInfo union. It is declared switch_type(uint16) and not
//     nodiscriminant, so it starts with its own uint16 copy of the version
//     (the level), and outside NDR64 a union adds no alignment of its own;
//   the record of that version, a struct aligned to 4: its widest members
//     are uint32, and udlong/NTTIME are written as two uint32 and align to 4.
// All integers are little-endian and aligned to their size counted from the
// start of the blob, padding with zeros. After "0x20\0" (5 bytes) one pad byte
// puts the version at 6, the level at 8 and the record at 12; after an empty
// text the version is at 2, the level at 4 and the record at 8.
struct RecordLayout {
  size_t size;           // bytes of the fixed part of the record
  size_t attribOffset;   // where the attribute word sits in it
  bool checkValidFlags;  // attrib counts only if bit 0 of valid_flags is set
};

// Indexed by version - 1. NTTIME and udlong fields take 8 bytes.
constexpr RecordLayout kRecords[] = {
    // 1: attrib, ea_size, size, alloc_size, create_time, change_time
    {40, 0, false},
    // 2: flags, attrib, ea_size, size, alloc_size, create_time, change_time,
    //    write_time, then a NUL-terminated name this code has no use for
    {52, 4, false},
    // 3: valid_flags, attrib, ea_size, size, alloc_size, create_time,
    //    change_time; Samba takes attrib here whatever valid_flags say
    {44, 4, false},
    // 4: valid_flags, attrib, itime, create_time
    {24, 4, true},
    // 5: valid_flags, attrib, create_time
    {16, 4, true},
};

constexpr uint32_t kAttribValid = 0x1;

size_t AlignUp(size_t offset, size_t alignment) { return (offset + alignment - 1) / alignment * alignment; }

uint32_t LoadLittleEndian(const unsigned char* bytes, size_t count) {
  uint32_t value = 0;
  for (size_t i = count; i > 0; --i) {
    value = (value << 8) | bytes[i - 1];
  }
  return value;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses "0x<hex digits>" whose value fits 32 bits.
bool ParseHexText(std::string_view text, uint32_t* value) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return false;
  }
  uint64_t result = 0;
  for (size_t i = 2; i < text.size(); ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0) {
      return false;
    }
    result = result * 16 + static_cast<uint64_t>(digit);
    if (result > UINT32_MAX) {
      return false;
    }
  }
  *value = static_cast<uint32_t>(result);
  return true;
}

// Reads the attribute word from the binary part that starts at `offset`, just
// behind the text's NUL. False when there is no complete record of a known
// version or its valid_flags say the word is not set.
bool ReadRecordAttrib(const unsigned char* data, size_t length, size_t offset, uint32_t* attributes) {
  offset = AlignUp(offset, 2);
  if (offset > length || length - offset < 4) {
    return false;
  }
  const uint32_t version = LoadLittleEndian(data + offset, 2);
  const uint32_t level = LoadLittleEndian(data + offset + 2, 2);
  if (version < 1 || version > 5 || level != version) {
    return false;
  }
  const RecordLayout& record = kRecords[version - 1];
  offset = AlignUp(offset + 4, 4);
  if (offset > length || length - offset < record.size) {
    return false;
  }
  const unsigned char* fields = data + offset;
  if (record.checkValidFlags && (LoadLittleEndian(fields, 4) & kAttribValid) == 0) {
    return false;
  }
  *attributes = LoadLittleEndian(fields + record.attribOffset, 4);
  return true;
}

}  // namespace

std::string FormatDosAttrib(uint32_t attributes) {
  static const char kDigits[] = "0123456789abcdef";
  char reversed[8];
  size_t count = 0;
  do {
    reversed[count++] = kDigits[attributes & 0xf];
    attributes >>= 4;
  } while (attributes != 0);
  std::string text = "0x";
  while (count > 0) {
    text += reversed[--count];
  }
  text += '\0';
  return text;
}

bool ParseDosAttrib(const char* data, size_t length, uint32_t* attributes) {
  if (data == nullptr || length == 0) {
    return false;
  }
  const auto* nul = static_cast<const char*>(std::memchr(data, '\0', length));
  const size_t textLength = nul != nullptr ? static_cast<size_t>(nul - data) : length;
  // A usable record wins; the text serves plain values, records that are
  // short or of an unknown version, and records that leave attrib unset.
  if (textLength + 1 < length &&
      ReadRecordAttrib(reinterpret_cast<const unsigned char*>(data), length, textLength + 1, attributes)) {
    return true;
  }
  return ParseHexText(std::string_view(data, textLength), attributes);
}

}  // namespace platform::dos
