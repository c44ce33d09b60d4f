#pragma once

#include <string>
#include <vector>

class TextCatalogue;
struct StoredTexts;
namespace platform {
class Platform;
}

// Undoes the install runs that a crash or a kill left unfinished, each with
// its message (and where old versions were kept, when not all came back).
void UndoInterruptedRuns(platform::Platform& platform, const TextCatalogue& texts, const std::string& caption);

// The message of a successful copy: text 31, and the backup folders that
// keep the user's changed files when there are any.
std::string DoneText(const StoredTexts& stored, const TextCatalogue& texts,
                     const std::vector<std::string>& keptBackups);
