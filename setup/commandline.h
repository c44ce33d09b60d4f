#pragma once

#include <string>
#include <vector>

// The exit codes of both programs, with the window and without it.
enum ExitCode : int {
  kExitInstalled = 0,
  kExitCommandLine = 1,  // a bad command line, or a log that cannot be opened
  kExitSetupInf = 2,     // SETUP.INF missing or unusable
  kExitLicence = 3,      // the licence was not accepted
  kExitTarget = 4,       // a target invalid, or the plan refused
  kExitSpace = 5,        // not enough space on a target drive
  kExitCopyFailed = 6,   // a copy failed; the run was rolled back
  kExitAbandoned = 7,    // cancelled on the first page, or the window closed
};

// What the command line asks for. Every option has a Windows form and a GNU
// form (/LANG=NAME, --language=NAME or --language NAME); names are matched
// without regard to case.
struct CommandLine {
  bool silent = false;         // /S, --silent
  bool acceptLicense = false;  // /ACCEPTLICENSE, --accept-license
  bool help = false;           // /?, /HELP, --help
  bool hasLanguage = false;
  std::string language;        // /LANG=, --language=
  bool hasComponents = false;  // /COMPONENTS=, --components=
  bool macros = false;
  bool sample = false;
  bool dxf = false;
  bool hasSirel = false;
  std::string sirel;  // /SIREL=, --sirel=
  bool hasDxfTarget = false;
  std::string dxfTarget;  // /DXF=, --dxf=
  bool hasLog = false;
  std::string log;   // /LOG=, --log=
  std::string text;  // the arguments as given, joined by blanks
};

// Reads the arguments after the program name. False with a one-line
// message in *error for an unknown option, a missing or empty value, or a
// component list that names anything but macros, sample and dxf.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error);

// The usage, options and exit codes, for /? and --help.
std::string UsageText();
