#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class Medium;

// One finding of the check.
struct Finding {
  bool error = false;
  int line = 0;  // 0 when the finding has no line
  std::string text;
};

// Reads SETUP.INF of the medium as the wizard does and reports what would go
// wrong for the user, or what the author most likely did not mean.
// *encoding (when given) names how SETUP.INF was read: "UTF-8" or
// "Windows-1252" (empty when it could not be read).
std::vector<Finding> CheckMedium(Medium& medium, std::string* encoding = nullptr);

// "error: line 12: text" / "warning: text".
std::string FormatFinding(const Finding& finding);

// Writes every finding, one a line, then (when given) how the file was read
// ("SETUP.INF: read as UTF-8") and the count line ("SETUP.INF: 1 error(s),
// 0 warning(s)"); returns the number of errors.
int ReportFindings(const std::vector<Finding>& findings, std::ostream& out, const std::string& encoding = "");
