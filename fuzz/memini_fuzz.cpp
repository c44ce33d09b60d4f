// Feeds arbitrary bytes to the SETUP.INF reader and everything start-up and
// the binding read from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text/utf8.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "setupdata/memini.h"
#include "setupdata/setupfile.h"
#include "setupdata/setupvalue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const TMemIniFile ini(text);
  const BootSetup boot = ReadBootSetup(ini);
  // Everything read is UTF-8, and no cut is longer than the file's own text
  // allows.
  if (ini.Length(boot.SetupVersion) > kMaxVersionLength || !text::IsUtf8(boot.SetupVersion)) __builtin_trap();
  const std::vector<std::string> languages = LanguageList(ini);
  if (languages.size() > kMaxLanguages + 1) __builtin_trap();
  TextCatalogue texts(ini);
  for (size_t i = 0; i < languages.size() && i < 4; ++i) {
    texts.SetCurrentLanguage(languages[i]);
    for (const TextIdInfo& info : TextIds()) {
      const std::string value = texts.LanguageText(info.id);
      if (ini.Length(value) > kMaxSetupValue || !text::IsUtf8(value)) __builtin_trap();
      std::string out;
      FormatPattern(value, {"a", "b"}, &out);
    }
    const StoredTexts stored = ReadStoredTexts(texts);
    TitleBanner(stored, boot.SetupVersion);
    AbortMessage(stored);
    for (int id = kFixedListFirstId; id < kFixedListFirstId + 50; ++id) {
      if (texts.LanguageText(id).empty()) break;
    }
  }
  return 0;
}
