#pragma once

#include <string_view>

// Comparison of 8-bit names without regard to case, as the system's Western
// code page (Windows-1252) folds letters: a-z, the accented letters
// 0xE0-0xFE (but 0xF7) onto 0xC0-0xDE, and the pairs 0x9A/0x8A, 0x9C/0x8C,
// 0x9E/0x8E, 0xFF/0x9F.
char FoldCase1252(char c);
bool SameTextNoCase(std::string_view a, std::string_view b);
