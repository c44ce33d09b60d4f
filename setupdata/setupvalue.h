#pragma once

#include <cstdint>
#include <string>

class TMemIniFile;

// The one way texts are read from SETUP.INF: the raw value cut to 255
// characters of the file's own text (see TMemIniFile::Cut),
// then one leading and one trailing double quote removed. A missing section,
// a missing key and an empty value all read as "".
std::string ReadSetupValue(const TMemIniFile& ini, const std::string& Section, const std::string& Key);

// What ReadSetupValue makes of a raw value of ini: cut to 255 characters of
// the file's own text, then one leading and one trailing double quote removed.
std::string CleanSetupValue(const TMemIniFile& ini, std::string raw);

// Integer read: a leading "0x"/"0X" counts as "$"; blanks, one sign, then
// decimal digits or hexadecimal ones after "$", "x" or "X". Anything else, no
// digits, or a value outside the signed 32-bit range gives Default.
int32_t ReadSetupInteger(const TMemIniFile& ini, const std::string& Section, const std::string& Key, int32_t Default);

// The conversion of ReadSetupInteger on a raw text. False when it fails.
bool ParseSetupInteger(const std::string& text, int32_t* value);

// Longest value ReadSetupValue returns.
constexpr size_t kMaxSetupValue = 255;
