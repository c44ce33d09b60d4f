#include "setupdata/catalogue.h"

#include <cstdio>

#include "setupdata/format.h"
#include "setupdata/memini.h"
#include "setupdata/setupvalue.h"

std::string TextKey(int id) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "Txt_%03d", id);
  return buffer;
}

std::string LanguageSectionName(const TMemIniFile& SetupIni, const std::string& entry) {
  return SetupIni.Cut(entry, kMaxLanguageName);
}

void TextCatalogue::SetCurrentLanguage(const std::string& entry) {
  m_currentLanguage = LanguageSectionName(*m_ini, entry);
}

std::string TextCatalogue::LanguageText(int Id) const { return ReadSetupValue(*m_ini, m_currentLanguage, TextKey(Id)); }

std::string TextCatalogue::TextOrBuiltIn(int Id) const {
  std::string text = LanguageText(Id);
  if (text.empty()) {
    if (const char* builtIn = BuiltInText(Id)) text = builtIn;
  }
  return text;
}

const char* BuiltInText(int id) {
  switch (id) {
    case kSpaceShortText:
      return "There is not enough free space on drive %s: the installation needs %s MB, %s MB are "
             "free. Choose another target directory.";
    case kRestoreIncompleteText:
      return "The previous state could not be restored completely. The old versions of the files "
             "that could not be put back are kept in %s; %s lists them.";
    case kInterruptedUndoneText:
      return "An interrupted installation into %s was found and undone; the files it had changed "
             "are restored.";
    case kChangedFilesKeptText: return "The files you had changed are kept in %s.";
    case kOutsideMediumText: return "%s lies outside the medium. The installation stops; nothing was changed.";
    case kNotRegularFileText:
      return "%s on the medium is not a regular file. The installation stops; nothing was changed.";
    case kUnreadableFolderText:
      return "The folder %s on the medium cannot be read. The installation stops; nothing was "
             "changed.";
    case kSameTargetText:
      return "%s and %s would be installed as the same file. The installation stops; nothing was "
             "changed.";
    case kOutsideTargetText:
      return "%s lies outside its target directory. The installation stops; nothing was changed.";
    default: return nullptr;
  }
}

const std::vector<TextIdInfo>& TextIds() {
  static const std::vector<TextIdInfo> kIds = {
      {1, -1, "licence file name"},
      {2, -1, "accept button"},
      {4, -1, "label next to the language list"},
      {5, 1, "first page text (product name)"},
      {6, 1, "first page text (product name)"},
      {15, 1, "destination page heading (product name)"},
      {17, -1, "destination page text"},
      {18, -1, "selection page text"},
      {19, -1, "message: no drive holds the default directory"},
      {20, -1, "Sirel target label"},
      {21, -1, "DXF target label"},
      {22, -1, "chooser caption for the Sirel target"},
      {23, -1, "chooser caption for the DXF target"},
      {24, -1, "message: a file cannot be copied"},
      {25, 2, "abort message (product name twice)"},
      {30, -1, "copy page line above the file name"},
      {31, -1, "message: installation complete"},
      {34, -1, "copy page heading"},
      {35, -1, "first page heading"},
      {kSpaceShortText, 3, "message: not enough free space (drive, MB needed, MB free)"},
      {kRestoreIncompleteText, 2, "message: previous state not restored completely (folder, list file)"},
      {kInterruptedUndoneText, 1, "message: interrupted installation undone (target folder)"},
      {kChangedFilesKeptText, 1, "message: changed files kept (folder)"},
      {kOutsideMediumText, 1, "message: path outside the medium (path)"},
      {kNotRegularFileText, 1, "message: not a regular file on the medium (path)"},
      {kUnreadableFolderText, 1, "message: folder on the medium cannot be read (folder)"},
      {kSameTargetText, 2, "message: two files with the same target (two paths)"},
      {kOutsideTargetText, 1, "message: path outside its target directory (path)"},
      {60, -1, "browse buttons"},
      {61, 1, "version pattern (version)"},
      {63, -1, "step 0"},
      {64, -1, "step 1, licence page heading"},
      {65, -1, "step 2, selection page heading"},
      {66, -1, "step 3"},
      {67, -1, "step 4"},
      {68, -1, "macros check box"},
      {69, -1, "sample project check box"},
      {70, -1, "DXF check box"},
      {72, -1, "window title prefix"},
      {73, -1, "product name"},
      {74, -1, "cancel button"},
      {75, -1, "hint of the next-step button"},
      {76, -1, "hint of the previous-step button"},
      {78, -1, "chooser default button"},
      {79, 1, "title pattern (prefix and product name)"},
      {80, -1, "title suffix"},
      {99, -1, "application title prefix"},
  };
  return kIds;
}

StoredTexts ReadStoredTexts(const TextCatalogue& t) {
  StoredTexts s;
  s.WindowTitlePrefix = t.LanguageText(72);
  s.ProductName = t.LanguageText(73);
  s.CancelCaption = t.LanguageText(74);
  s.NextStepHint = t.LanguageText(75);
  s.PreviousStepHint = t.LanguageText(76);
  s.DefaultButtonCaption = t.LanguageText(78);
  s.NoDriveMessage = t.LanguageText(19);
  s.SirelBrowseTitle = t.LanguageText(22);
  s.DxfBrowseTitle = t.LanguageText(23);
  s.DoneMessage = t.LanguageText(31);
  s.VersionPattern = t.LanguageText(61);
  s.TitleSuffix = t.LanguageText(80);
  s.AbortMessagePattern = t.LanguageText(25);
  return s;
}

std::string WindowCaption(const StoredTexts& s) { return s.WindowTitlePrefix + s.ProductName + s.TitleSuffix; }

std::string TitleBanner(const StoredTexts& s, const std::string& SetupVersion) {
  return s.ProductName + " " + Format(s.VersionPattern, {SetupVersion});
}

std::string MessageCaption(const StoredTexts& s) { return s.ProductName + s.TitleSuffix; }

std::string ApplicationTitle(const std::string& AppTitlePrefix, const StoredTexts& s) {
  return AppTitlePrefix + s.TitleSuffix;
}

std::string AbortMessage(const StoredTexts& s) { return Format(s.AbortMessagePattern, {s.ProductName, s.ProductName}); }
