#include "tools/setupinf/check.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <set>

#include "install/installengine.h"
#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "setupdata/setupvalue.h"
#include "platform/text/utf8.h"
#include "stools/stools.h"
#include "tools/setupinf/manifest.h"
#include "tools/setupinf/medium.h"
#include "tools/setupinf/plan.h"
#include "tools/setupinf/tree.h"

namespace {

class Checker {
 public:
  explicit Checker(Medium& medium) : m_medium(medium), m_platform(medium.platform()) {}

  std::vector<Finding> Run();
  std::string Encoding() const {
    if (!m_loaded) return std::string();
    return m_data.SetupIni.utf8() ? "UTF-8" : "Windows-1252";
  }

 private:
  void Error(int line, std::string text) { m_findings.push_back({true, line, std::move(text)}); }
  void Warning(int line, std::string text) { m_findings.push_back({false, line, std::move(text)}); }

  int LineOf(const std::string& section, const std::string& key) const {
    const TMemIniFile::Entry* e = m_data.SetupIni.FindEntry(section, key);
    return e ? e->lineNumber : 0;
  }
  bool IsReadSection(const std::string& name) const;
  void CheckLines();
  void CheckEncoding();
  void CheckLanguages();
  void CheckLanguage(const std::string& language);
  void CheckLists(const std::string& language);
  void CheckGroups(const std::string& language, int firstId, const char* base);
  // The whole plan of a language, checked as the wizard checks it.
  void CheckPlan(const std::string& language);
  // The medium path of a text relative to the program directory, or "" when
  // it leaves the medium.
  std::string MediumPath(const std::string& relative) const;
  bool LeavesBase(const std::string& relative) const;

  Medium& m_medium;
  platform::Platform& m_platform;
  bool m_loaded = false;
  SetupData m_data;
  std::vector<Finding> m_findings;
  std::set<std::string> m_reportedSemicolons;
  std::set<std::string> m_reportedPlanProblems;
};

bool Checker::IsReadSection(const std::string& name) const {
  if (text::SameName(name, "BootSetup") || text::SameName(name, "Languages")) return true;
  for (const std::string& l : m_data.Languages) {
    if (text::SameName(name, LanguageSectionName(m_data.SetupIni, l))) return true;
  }
  return false;
}

std::string Checker::MediumPath(const std::string& relative) const {
  const std::string full = m_platform.FullPath(AddBackslash(m_data.SourceDir) + relative);
  return LiesInside(full, m_data.SourceDir) ? full : std::string();
}

bool Checker::LeavesBase(const std::string& relative) const {
  // Any base will do: the target path is the base followed by the text.
  const std::string base = "C:\\BASE\\";
  return !LiesInside(m_platform.FullPath(base + relative), base);
}

void Checker::CheckLines() {
  const TMemIniFile& ini = m_data.SetupIni;
  if (ini.cutAtNul()) {
    Error(ini.lineCount(), "a NUL byte ends the text here; nothing after it is read");
  }
  std::map<std::string, int> firstHeader;
  for (const TMemIniFile::Section& s : ini.sections()) {
    const auto [it, fresh] = firstHeader.emplace(text::FoldName(s.name), s.lineNumber);
    if (!fresh) {
      const std::string text = "section [" + s.name + "] occurs again (first at line " + std::to_string(it->second) +
                               "); this one is never read";
      if (IsReadSection(s.name)) {
        Error(s.lineNumber, text);
      } else {
        Warning(s.lineNumber, text);
      }
      continue;
    }
    if (!IsReadSection(s.name)) continue;
    for (const TMemIniFile::Entry& e : s.entries) {
      if (e.equals == std::string::npos) {
        Warning(e.lineNumber, "\"" + e.line + "\" has no \"=\" and is ignored");
        continue;
      }
      const std::string name = e.line.substr(0, e.equals);
      if (!name.empty() && (name.front() == ' ' || name.back() == ' ' || name.front() == '\t' || name.back() == '\t')) {
        Error(e.lineNumber, "key \"" + name + "\" has a blank before \"=\" or at its start and is never matched");
      }
      if (ini.Length(std::string_view(e.line).substr(e.equals + 1)) > kMaxSetupValue) {
        Warning(e.lineNumber, "value of " + name + " is longer than 255 characters and is cut");
      }
    }
  }
}

void Checker::CheckLanguages() {
  const TMemIniFile& ini = m_data.SetupIni;
  const TMemIniFile::Section* languages = ini.FindSection("Languages");
  if (!languages) {
    Error(0, "section [Languages] is missing; no language can be chosen");
    return;
  }
  if (m_data.Languages.empty()) {
    Error(languages->lineNumber, "[Languages] offers no language (key 1 is missing or empty)");
    return;
  }
  if (m_data.Languages.size() > kMaxLanguages) {
    Error(languages->lineNumber, "[Languages] offers more than 253 languages");
  }
  // Keys after the first gap are never read.
  const size_t count = m_data.Languages.size();
  for (const TMemIniFile::Entry& e : languages->entries) {
    if (e.equals == std::string::npos) continue;
    int32_t n = 0;
    const std::string key = e.line.substr(0, e.equals);
    if (ParseSetupInteger(key, &n) && n > static_cast<int32_t>(count + 1) &&
        key.find_first_not_of("0123456789") == std::string::npos) {
      Error(e.lineNumber,
            "language key " + key + " follows a gap after key " + std::to_string(count) + " and is never read");
    }
  }
  for (const std::string& language : m_data.Languages) {
    const std::string name = LanguageSectionName(m_data.SetupIni, language);
    if (!ini.FindSection(name)) {
      Error(LineOf("Languages", "1"), "language \"" + name + "\" has no section [" + name + "]");
    }
  }
}

void Checker::CheckLanguage(const std::string& language) {
  TextCatalogue texts(m_data.SetupIni);
  texts.SetCurrentLanguage(language);
  const std::string section = texts.CurrentLanguage();
  if (!m_data.SetupIni.FindSection(section)) return;
  for (const TextIdInfo& info : TextIds()) {
    const std::string value = texts.LanguageText(info.id);
    const int line = LineOf(section, TextKey(info.id));
    if (value.empty()) {
      Warning(line, "[" + section + "] " + TextKey(info.id) + " (" + info.feeds + ") is missing or empty" +
                        (BuiltInText(info.id) ? "; the built-in English text is used" : ""));
      continue;
    }
    if (info.patternArgs > 0) {
      std::string out;
      if (!FormatPattern(value, std::vector<std::string>(static_cast<size_t>(info.patternArgs), "x"), &out)) {
        Error(line, "[" + section + "] " + TextKey(info.id) + " \"" + value + "\" cannot be formatted with " +
                        std::to_string(info.patternArgs) + " string argument(s)");
      }
    }
  }
  const std::string licence = texts.LanguageText(1);
  if (!licence.empty()) {
    const std::string path = MediumPath(licence);
    if (path.empty() || !m_platform.IsFile(path)) {
      Error(LineOf(section, TextKey(1)), "[" + section + "] licence file \"" + licence + "\" is not on the medium");
    }
  }
  CheckLists(section);
}

void Checker::CheckLists(const std::string& section) {
  TextCatalogue texts(m_data.SetupIni);
  texts.SetCurrentLanguage(section);
  static const int kFirstIds[] = {kFixedListFirstId, kSirelGroupsFirstId, kSampleGroupsFirstId, kDxfGroupsFirstId};
  for (size_t r = 0; r + 1 < std::size(kFirstIds); ++r) {
    int id = kFirstIds[r];
    while (!texts.LanguageText(id).empty()) ++id;
    if (id > kFirstIds[r + 1]) {
      Error(LineOf(section, TextKey(kFirstIds[r + 1])), "[" + section + "] the list from " + TextKey(kFirstIds[r]) +
                                                            " runs on into " + TextKey(kFirstIds[r + 1]) +
                                                            "; leave a gap before it");
    }
  }
  for (int id = kFixedListFirstId;; ++id) {
    const std::string t = texts.LanguageText(id);
    if (t.empty()) break;
    const int line = LineOf(section, TextKey(id));
    const std::string path = MediumPath(t);
    if (t.find(';') != std::string::npos) {
      Error(line, "[" + section + "] " + TextKey(id) + " \"" + t + "\": a \";\" in a medium path cannot be copied");
    } else if (path.empty()) {
      Error(line, "[" + section + "] " + TextKey(id) + " \"" + t + "\" lies outside the medium");
    } else if (!m_platform.IsFile(path)) {
      Error(line, "[" + section + "] " + TextKey(id) + " file \"" + t + "\" is not on the medium");
    }
    if (LeavesBase(t)) {
      Error(line, "[" + section + "] " + TextKey(id) + " \"" + t + "\" would be copied outside the Sirel target");
    }
  }
  CheckGroups(section, kSirelGroupsFirstId, "Sirel");
  CheckGroups(section, kSampleGroupsFirstId, "Sirel");
  CheckGroups(section, kDxfGroupsFirstId, "DXF");
}

void Checker::CheckGroups(const std::string& section, int firstId, const char* base) {
  TextCatalogue texts(m_data.SetupIni);
  texts.SetCurrentLanguage(section);
  for (int id = firstId;; ++id) {
    const std::string t = texts.LanguageText(id);
    if (t.empty()) break;
    const int line = LineOf(section, TextKey(id));
    const SearchGroupText group = SplitSearchGroup(t);
    const std::string root = MediumPath(group.dir);
    const std::string where = "[" + section + "] " + TextKey(id) + " \"" + t + "\"";
    if (root.empty()) {
      Error(line, where + ": the source folder lies outside the medium");
    } else if (!m_platform.IsDirectory(root)) {
      Error(line, where + ": the source folder \"" + group.dir + "\" is not on the medium");
    } else {
      std::vector<std::string> semicolons;
      WalkTree(m_platform, root, &semicolons);
      for (const std::string& name : semicolons) {
        if (m_reportedSemicolons.insert(name).second) {
          Error(line, where + ": \"" + name + "\" holds a \";\" and cannot be copied");
        }
      }
    }
    if (group.dir.empty()) {
      Warning(line, where + ": no source folder; the whole medium is copied");
    }
    if (LeavesBase(group.subdir + "\\x")) {
      Error(line, where + ": the target folder \"" + group.subdir + "\" leaves the " + base + " target");
    }
  }
}

void Checker::CheckPlan(const std::string& language) {
  WithFullPlan(m_platform, m_data, language, [&](const InstallEngine& engine) {
    for (const PlanProblem& p : engine.PlanProblems()) {
      const std::string text = "the plan is refused: " + p.why;
      // The same medium problem shows once, not once per language.
      if (m_reportedPlanProblems.insert(text).second) Error(0, "[" + language + "] " + text);
    }
  });
}

void Checker::CheckEncoding() {
  if (m_data.SetupIni.utf8()) return;
  // Not UTF-8 as a whole, yet holding UTF-8 sequences: most likely a UTF-8
  // file with one stray byte, which reads as Windows-1252 throughout.
  std::string raw;
  if (!m_platform.ReadWholeFile(SetupFilePath(m_data.SourceDir), &raw)) return;
  raw = raw.substr(0, raw.find('\0'));
  bool utf8Sequence = false;
  int line = 1;
  int firstBadLine = 0;
  for (text::Utf8Reader r(raw); !r.AtEnd();) {
    const char32_t c = r.Next();
    if (c == U'\n') ++line;
    if (c >= 0xDC80 && c <= 0xDCFF) {
      if (!firstBadLine) firstBadLine = line;
    } else if (c >= 0x80) {
      utf8Sequence = true;
    }
  }
  if (utf8Sequence) {
    Warning(firstBadLine,
            "SETUP.INF is not valid UTF-8 from here on, so the whole file is read as Windows-1252: "
            "its UTF-8 characters will show as pairs such as \"\xC3\x83\xC2\xBC\"");
  }
}

std::vector<Finding> Checker::Run() {
  const SetupLoadResult result = m_medium.Load(&m_data);
  if (result == SetupLoadResult::kMissing || result == SetupLoadResult::kUnreadable) {
    Error(0, StartupFailureText(result));
    return m_findings;
  }
  m_loaded = true;
  CheckEncoding();
  if (!m_data.SetupIni.FindSection("BootSetup")) {
    Error(0, "section [BootSetup] is missing");
  } else {
    const std::string version = ReadSetupValue(m_data.SetupIni, "BootSetup", "Version");
    if (m_data.SetupIni.Length(version) > kMaxVersionLength) {
      Warning(
          LineOf("BootSetup", "Version"),
          "Version \"" + version + "\" is longer than 10 characters and shows as \"" + m_data.Boot.SetupVersion + "\"");
    }
    if (m_data.Boot.DefaultTargetSubdir.empty()) {
      Warning(LineOf("BootSetup", "DefaultDir"), "DefaultDir is empty: every writable drive root is offered");
    }
  }
  CheckLines();
  CheckLanguages();
  for (const std::string& language : m_data.Languages) CheckLanguage(language);
  for (const std::string& language : m_data.Languages) CheckPlan(language);
  CheckManifest(m_platform, m_data, &m_findings);

  // Text ids present in one language and missing in another. Each section's
  // ids are collected once, so a huge file costs one pass per language.
  std::vector<std::string> sections;
  std::vector<std::map<int, int>> idsOf;  // per section: id -> line of its first non-empty text
  for (const std::string& language : m_data.Languages) {
    const std::string name = LanguageSectionName(m_data.SetupIni, language);
    const TMemIniFile::Section* s = m_data.SetupIni.FindSection(name);
    if (!s || std::find(sections.begin(), sections.end(), name) != sections.end()) continue;
    sections.push_back(name);
    std::map<int, int> ids;
    std::set<std::string> seenKeys;
    for (const TMemIniFile::Entry& e : s->entries) {
      if (e.equals == std::string::npos || e.equals <= 4) continue;
      const std::string key = text::FoldName(std::string_view(e.line).substr(0, e.equals));
      if (key.compare(0, 4, "TXT_") != 0 || !seenKeys.insert(key).second) continue;
      const std::string digits = key.substr(4);
      if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6) continue;
      if (CleanSetupValue(m_data.SetupIni, e.line.substr(e.equals + 1)).empty()) continue;
      ids.emplace(std::stoi(digits), e.lineNumber);
    }
    idsOf.push_back(std::move(ids));
  }
  std::map<int, std::pair<size_t, int>> firstHolder;  // id -> (section, line)
  for (size_t a = sections.size(); a-- > 0;) {
    for (const auto& [id, line] : idsOf[a]) firstHolder[id] = {a, line};
  }
  for (const auto& [id, holder] : firstHolder) {
    for (size_t b = 0; b < sections.size(); ++b) {
      if (!idsOf[b].count(id)) {
        Warning(holder.second,
                TextKey(id) + " is in [" + sections[holder.first] + "] but missing in [" + sections[b] + "]");
      }
    }
  }
  std::stable_sort(m_findings.begin(), m_findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return m_findings;
}

}  // namespace

std::vector<Finding> CheckMedium(Medium& medium, std::string* encoding) {
  Checker checker(medium);
  std::vector<Finding> findings = checker.Run();
  if (encoding) *encoding = checker.Encoding();
  return findings;
}

std::string FormatFinding(const Finding& f) {
  std::string text = f.error ? "error: " : "warning: ";
  if (f.line > 0) text += "line " + std::to_string(f.line) + ": ";
  return text + f.text;
}

int ReportFindings(const std::vector<Finding>& findings, std::ostream& out, const std::string& encoding) {
  int errors = 0;
  int warnings = 0;
  for (const Finding& f : findings) {
    out << FormatFinding(f) << "\n";
    (f.error ? errors : warnings)++;
  }
  if (!encoding.empty()) out << "SETUP.INF: read as " << encoding << "\n";
  out << "SETUP.INF: " << errors << " error(s), " << warnings << " warning(s)\n";
  return errors;
}
