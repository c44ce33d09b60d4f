#pragma once

#include <string>
#include <vector>

class TMemIniFile;

// The key of a text id: "Txt_" and the id with at least three digits.
std::string TextKey(int id);

// Longest language name that counts; longer list entries are cut.
constexpr size_t kMaxLanguageName = 40;

// The section name a language list entry stands for: its first 40
// characters of the file's own text.
std::string LanguageSectionName(const TMemIniFile& SetupIni, const std::string& entry);

// Texts of the current language, read from the section named by it.
class TextCatalogue {
 public:
  explicit TextCatalogue(const TMemIniFile& SetupIni) : m_ini(&SetupIni) {}

  // Takes the language section name of a list entry as CurrentLanguage.
  void SetCurrentLanguage(const std::string& entry);
  const std::string& CurrentLanguage() const { return m_currentLanguage; }

  // ReadSetupValue(CurrentLanguage, TextKey(Id)); "" when missing.
  std::string LanguageText(int Id) const;

  // LanguageText(Id), or BuiltInText(Id) when that is empty and the id has one.
  std::string TextOrBuiltIn(int Id) const;

 private:
  const TMemIniFile* m_ini;
  std::string m_currentLanguage;
};

// Every single text id the wizard reads, with what it feeds.
struct TextIdInfo {
  int id;
  int patternArgs;  // string arguments of a pattern; -1 for a plain text
  const char* feeds;
};
const std::vector<TextIdInfo>& TextIds();

// Messages of the copy run. Each has a built-in English text, used when the
// language section lacks it or leaves it empty; the comment names the
// pattern's arguments in order.
constexpr int kSpaceShortText = 40;         // drive letter, MB needed, MB free
constexpr int kRestoreIncompleteText = 41;  // folder of the old versions, list file
constexpr int kInterruptedUndoneText = 42;  // target folder
constexpr int kChangedFilesKeptText = 43;   // folder
constexpr int kOutsideMediumText = 44;      // medium path
constexpr int kNotRegularFileText = 45;     // medium path
constexpr int kUnreadableFolderText = 46;   // medium folder
constexpr int kSameTargetText = 47;         // two medium paths
constexpr int kOutsideTargetText = 48;      // target path

// The built-in English text of an id; nullptr for an id without one.
const char* BuiltInText(int id);

// First ids of the lists (read upward to the first missing or empty text).
constexpr int kFixedListFirstId = 500;
constexpr int kSirelGroupsFirstId = 600;
constexpr int kSampleGroupsFirstId = 700;
constexpr int kDxfGroupsFirstId = 800;

// Texts the main window keeps from the last binding.
struct StoredTexts {
  std::string WindowTitlePrefix;     // 72
  std::string ProductName;           // 73
  std::string CancelCaption;         // 74
  std::string NextStepHint;          // 75
  std::string PreviousStepHint;      // 76
  std::string DefaultButtonCaption;  // 78
  std::string NoDriveMessage;        // 19
  std::string SirelBrowseTitle;      // 22
  std::string DxfBrowseTitle;        // 23
  std::string DoneMessage;           // 31
  std::string VersionPattern;        // 61
  std::string TitleSuffix;           // 80
  std::string AbortMessagePattern;   // 25
};

// Reads every stored text in the order of the binding: 72, 73, 74, 75, 76,
// 78, then 19, 22, 23, 31, 61, 80, then 25.
StoredTexts ReadStoredTexts(const TextCatalogue& texts);

// Strings composed from the stored texts.
std::string WindowCaption(const StoredTexts& s);
std::string TitleBanner(const StoredTexts& s, const std::string& SetupVersion);
std::string MessageCaption(const StoredTexts& s);
std::string ApplicationTitle(const std::string& AppTitlePrefix, const StoredTexts& s);
std::string AbortMessage(const StoredTexts& s);
