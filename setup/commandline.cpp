#include "setup/commandline.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}

enum class Option { kSilent, kAccept, kHelp, kLanguage, kComponents, kSirel, kDxf, kLog };

struct Name {
  const char* windows;  // after the slash, lower case
  const char* gnu;      // after the two dashes
  Option option;
  bool takesValue;
};

const Name kNames[] = {
    {"s", "silent", Option::kSilent, false},
    {"acceptlicense", "accept-license", Option::kAccept, false},
    {"?", "help", Option::kHelp, false},
    {"help", nullptr, Option::kHelp, false},
    {"lang", "language", Option::kLanguage, true},
    {"components", "components", Option::kComponents, true},
    {"sirel", "sirel", Option::kSirel, true},
    {"dxf", "dxf", Option::kDxf, true},
    {"log", "log", Option::kLog, true},
};

bool SetComponents(const std::string& list, CommandLine* out, std::string* error) {
  out->macros = out->sample = out->dxf = false;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string item = Lower(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item == "macros") {
      out->macros = true;
    } else if (item == "sample") {
      out->sample = true;
    } else if (item == "dxf") {
      out->dxf = true;
    } else if (!item.empty()) {
      *error = "unknown component \"" + item + "\" (known: macros, sample, dxf)";
      return false;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (!out->macros && !out->sample && !out->dxf) {
    *error = "the component list names no component (known: macros, sample, dxf)";
    return false;
  }
  out->hasComponents = true;
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error) {
  *out = CommandLine();
  for (const std::string& a : args) out->text += (out->text.empty() ? "" : " ") + a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool gnu = arg.size() > 2 && arg.compare(0, 2, "--") == 0;
    const bool windows = !gnu && arg.size() > 1 && arg[0] == '/';
    if (!gnu && !windows) {
      *error = "unexpected argument \"" + arg + "\" (options start with / or --)";
      return false;
    }
    const std::string body = arg.substr(gnu ? 2 : 1);
    const size_t equals = body.find('=');
    const std::string name = Lower(body.substr(0, equals));
    const Name* found = nullptr;
    for (const Name& n : kNames) {
      if (gnu ? (n.gnu && name == n.gnu) : name == n.windows) found = &n;
    }
    if (!found) {
      *error = "unknown option \"" + arg + "\" (see " + (gnu ? "--help" : "/?") + ")";
      return false;
    }
    std::string value;
    if (found->takesValue) {
      if (equals != std::string::npos) {
        value = body.substr(equals + 1);
      } else if (gnu && i + 1 < args.size()) {
        value = args[++i];
      } else {
        *error = "option \"" + arg + "\" needs a value";
        return false;
      }
      if (value.empty()) {
        *error = "option \"" + arg + "\" needs a value";
        return false;
      }
    } else if (equals != std::string::npos) {
      *error = "option \"" + body.substr(0, equals) + "\" takes no value";
      return false;
    }
    switch (found->option) {
      case Option::kSilent: out->silent = true; break;
      case Option::kAccept: out->acceptLicense = true; break;
      case Option::kHelp: out->help = true; break;
      case Option::kLanguage:
        out->hasLanguage = true;
        out->language = value;
        break;
      case Option::kComponents:
        if (!SetComponents(value, out, error)) return false;
        break;
      case Option::kSirel:
        out->hasSirel = true;
        out->sirel = value;
        break;
      case Option::kDxf:
        out->hasDxfTarget = true;
        out->dxfTarget = value;
        break;
      case Option::kLog:
        out->hasLog = true;
        out->log = value;
        break;
    }
  }
  return true;
}

std::string UsageText() {
  return "Usage: setup [options]\n"
         "  /S, --silent               install without a window and without any message box\n"
         "  /ACCEPTLICENSE, --accept-license\n"
         "                             accept the licence (needed with /S)\n"
         "  /LANG=NAME, --language=NAME\n"
         "                             a language of SETUP.INF (default: the first)\n"
         "  /COMPONENTS=LIST, --components=LIST\n"
         "                             comma list of macros, sample, dxf (default: macros)\n"
         "  /SIREL=PATH, --sirel=PATH  target of the macro library and the sample project\n"
         "  /DXF=PATH, --dxf=PATH      target of the DXF drawings\n"
         "  /LOG=FILE, --log=FILE      write a log of the run\n"
         "  /?, /HELP, --help          this text\n"
         "Exit codes: 0 installed; 1 bad command line; 2 SETUP.INF missing or unusable;\n"
         "  3 licence not accepted; 4 target invalid or plan refused; 5 not enough space;\n"
         "  6 copy failed (rolled back); 7 abandoned by the user.\n";
}
