#include "setup/choices.h"

#include "install/installengine.h"
#include "platform/platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/setupfile.h"
#include "setupdata/memini.h"
#include "setupdata/setupvalue.h"
#include "platform/text/utf8.h"
#include "stools/stools.h"

namespace {

constexpr char kFileName[] = "setup.ini";

std::string ComponentList(const Choices& c) {
  std::string list;
  for (const auto& [on, name] :
       {std::pair<bool, const char*>{c.macros, "macros"}, {c.sample, "sample"}, {c.dxf, "dxf"}}) {
    if (on) list += (list.empty() ? "" : ",") + std::string(name);
  }
  return list;
}

// One line of the file: no line break may get into a value.
std::string Clean(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return value;
}

}  // namespace

std::string ProductKey(const SetupData& data) {
  const std::string first = data.Languages.empty() ? std::string() : data.Languages.front();
  return data.Boot.DefaultTargetSubdir + "|" +
         ReadSetupValue(data.SetupIni, LanguageSectionName(data.SetupIni, first), "Txt_073");
}

Choices ChoicesOf(const CommandLine& options) {
  Choices c;
  if (options.hasLanguage) c.language = options.language;
  c.hasComponents = options.hasComponents;
  c.macros = options.macros;
  c.sample = options.sample;
  c.dxf = options.dxf;
  if (options.hasSirel) c.sirel = options.sirel;
  if (options.hasDxfTarget) c.dxfTarget = options.dxfTarget;
  return c;
}

Choices ChoicesOfRequest(const std::string& language, const CopyRequest& request) {
  Choices c;
  c.language = language;
  c.hasComponents = true;
  c.macros = request.Sirel;
  c.sample = request.Beispiel;
  c.dxf = request.DXF;
  if (request.Sirel || request.Beispiel) c.sirel = request.SirelTargetBase;
  if (request.DXF) c.dxfTarget = request.DxfTargetBase;
  return c;
}

Choices Overlay(const Choices& base, const Choices& over) {
  Choices c = base;
  if (!over.language.empty()) c.language = over.language;
  if (over.hasComponents) {
    c.hasComponents = true;
    c.macros = over.macros;
    c.sample = over.sample;
    c.dxf = over.dxf;
  }
  if (!over.sirel.empty()) c.sirel = over.sirel;
  if (!over.dxfTarget.empty()) c.dxfTarget = over.dxfTarget;
  return c;
}

RememberedChoices::RememberedChoices(platform::Platform& platform, std::string product)
    : m_platform(platform), m_product(std::move(product)) {}

std::string RememberedChoices::Path() const {
  const std::string dir = m_platform.SettingsDirectory();
  return dir.empty() ? std::string() : AddBackslash(dir) + kFileName;
}

Choices RememberedChoices::Read(const TMemIniFile& ini, const std::string& product) {
  Choices c;
  if (!ini.FindSection(product)) return c;
  c.language = ReadSetupValue(ini, product, "Language");
  CommandLine parsed;
  std::string error;
  const std::string list = ReadSetupValue(ini, product, "Components");
  if (!list.empty() && ParseCommandLine({"/COMPONENTS=" + list}, &parsed, &error)) {
    c.hasComponents = true;
    c.macros = parsed.macros;
    c.sample = parsed.sample;
    c.dxf = parsed.dxf;
  }
  c.sirel = ReadSetupValue(ini, product, "Sirel");
  c.dxfTarget = ReadSetupValue(ini, product, "Dxf");
  return c;
}

Choices RememberedChoices::Load(bool* damaged) const {
  if (damaged) *damaged = false;
  const std::string path = Path();
  std::string text;
  if (path.empty() || !m_platform.IsFile(path)) return Choices();
  // A settings file is text: one that holds a zero byte is not ours.
  if (!m_platform.ReadWholeFile(path, &text) || text.find('\0') != std::string::npos) {
    if (damaged) *damaged = true;
    return Choices();
  }
  return Read(TMemIniFile(text), m_product);
}

std::string RememberedChoices::Replaced(const std::string& text, const std::string& product, const Choices& choices) {
  // Every other section is kept as it stands, line by line.
  std::string kept;
  bool inProduct = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      inProduct = text::SameName(line.substr(1, line.size() - 2), product);
    }
    if (!inProduct) kept += line + "\r\n";
  }
  std::string section = "[" + Clean(product) + "]\r\n";
  section += "Language=" + Clean(choices.language) + "\r\n";
  section += "Components=" + ComponentList(choices) + "\r\n";
  section += "Sirel=" + Clean(choices.sirel) + "\r\n";
  section += "Dxf=" + Clean(choices.dxfTarget) + "\r\n";
  return kept + section;
}

bool RememberedChoices::Save(const Choices& choices) const {
  const std::string path = Path();
  if (path.empty()) return false;
  std::string text;
  if (m_platform.IsFile(path) && (!m_platform.ReadWholeFile(path, &text) || text.find('\0') != std::string::npos)) {
    text.clear();  // a damaged file is replaced
  }
  // Written beside the file and put in its place in one step.
  const std::string temp = path + ".new";
  m_platform.RemoveFile(temp);
  const platform::AppendHandle h = m_platform.OpenAppend(temp);
  if (h == platform::kNoAppend) return false;
  const bool written = m_platform.Append(h, Replaced(text, m_product, choices), true);
  m_platform.CloseAppend(h);
  if (!written || !m_platform.MoveEntry(temp, path, true)) {
    m_platform.RemoveFile(temp);
    return false;
  }
  return true;
}
