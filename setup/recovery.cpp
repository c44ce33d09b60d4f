#include "setup/recovery.h"

#include "install/transaction.h"
#include "setupdata/catalogue.h"
#include "setupdata/format.h"
#include "stools/stools.h"

namespace {

std::string JoinList(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& i : items) joined += (joined.empty() ? "" : ", ") + i;
  return joined;
}

}  // namespace

void UndoInterruptedRuns(platform::Platform& platform, const TextCatalogue& texts, const std::string& caption) {
  for (const RecoveredRun& run : InstallTransaction::RecoverInterruptedRuns(platform)) {
    ShowMsgBox(caption, Format(texts.TextOrBuiltIn(kInterruptedUndoneText), {JoinList(run.bases)}), MB_ICONINFORMATION);
    if (!run.report.complete()) {
      ShowMsgBox(caption, Format(texts.TextOrBuiltIn(kRestoreIncompleteText), {run.report.keptIn, run.report.listFile}),
                 MB_ICONINFORMATION);
    }
  }
}

std::string DoneText(const StoredTexts& stored, const TextCatalogue& texts,
                     const std::vector<std::string>& keptBackups) {
  if (keptBackups.empty()) return stored.DoneMessage;
  return stored.DoneMessage + "\n\n" + Format(texts.TextOrBuiltIn(kChangedFilesKeptText), {JoinList(keptBackups)});
}
