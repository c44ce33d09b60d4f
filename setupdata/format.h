#pragma once

#include <string>
#include <vector>

// Formats a pattern of SETUP.INF with string arguments: "%s" takes the next
// argument, "%%" gives "%"; an index ("%1:s"), a left-justify "-", a width and
// a precision ("%-10.3s") work as in the toolkit's format function.
//
// A pattern that cannot be formatted with strings (another conversion such as
// "%d", a "*" width, a lone "%" at the end, or more "%s" than arguments) never
// reads past its arguments: each faulty placeholder is copied as written and
// the result is false. *out always receives the text.
bool FormatPattern(const std::string& pattern, const std::vector<std::string>& args, std::string* out);

// FormatPattern's text, whether or not every placeholder fitted.
std::string Format(const std::string& pattern, const std::vector<std::string>& args);
