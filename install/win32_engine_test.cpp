// The engine's copy of the sample medium on the Win32 backend.
#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "install/eventloop.h"
#include "install/installengine.h"
#include "platform/win32/win32_platform.h"
#include "setupdata/catalogue.h"
#include "setupdata/setupfile.h"
#include "tests/support/recording_presenter.h"

namespace {

TEST(Win32EngineTest, CopiesTheSampleMediumArchiveOnly) {
  auto platform = platform::win32::MakeWin32Platform();
  // Wine shows the host's root as drive Z:.
  const char* sourceRoot = std::getenv("SETUP_SOURCE_ROOT");
  ASSERT_NE(sourceRoot, nullptr);
  std::string sample = std::string("Z:") + sourceRoot + "/examples/medium";
  std::replace(sample.begin(), sample.end(), '/', '\\');
  ASSERT_TRUE(platform->IsFile(sample + "\\SETUP.INF")) << sample;
  const char* tmp = std::getenv("TEMP");
  const std::string work =
      std::string(tmp ? tmp : "C:\\windows\\temp") + "\\setup-engine-" + std::to_string(std::rand());
  const uint32_t quiet = platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent;
  // A medium authored on Windows marks its hidden entries with the attribute,
  // not with a leading dot.
  const std::string medium = work + "\\medium";
  ASSERT_EQ(
      platform->ShellOperation(platform::kFoCopy, sample + std::string(1, '\0'), medium + std::string(1, '\0'), quiet),
      0);
  ASSERT_TRUE(platform->SetAttributes(medium + "\\macros\\.cache", platform::kAttrHidden | platform::kAttrDirectory));
  ASSERT_TRUE(platform->SetAttributes(medium + "\\macros\\.index", platform::kAttrHidden | platform::kAttrReadOnly));
  std::string text;
  ASSERT_TRUE(platform->ReadWholeFile(medium + "\\SETUP.INF", &text));
  const TMemIniFile ini(text);
  TextCatalogue texts(ini);
  texts.SetCurrentLanguage(LanguageList(ini).front());

  const std::string target = work + "\\target";
  DirectEventLoop loop;
  NullProgressView view;
  InstallEngine engine(*platform, loop, view, texts, medium, [] { return std::string("Setup"); });
  CopyRequest request;
  request.Sirel = request.Beispiel = request.DXF = true;
  request.SirelTargetBase = target + "\\SIREL";
  request.DxfTargetBase = target + "\\CAD";
  engine.BuildCopyPlan(request);
  EXPECT_FALSE(engine.InstallAborted);
  EXPECT_EQ(engine.SourceFileList.size(), 22u);
  for (const std::string& t : engine.TargetFileList) {
    EXPECT_EQ(platform->FileAttributes(t), 0x20u) << t;
  }
  EXPECT_TRUE(platform->IsFile(target + "\\SIREL\\MACROS\\draw\\text\\TITLE.MAC"));
  EXPECT_TRUE(platform->IsFile(target + "\\CAD\\DRAWINGS\\parts\\WASHER.DXF"));
  EXPECT_TRUE(platform->IsFile(target + "\\SIREL\\MACROS\\.index"));
  EXPECT_FALSE(platform->IsDirectory(target + "\\SIREL\\MACROS\\.cache"));

  // A folder where a file goes stops the run with the failure message; the
  // shell copies nothing into the folder.
  const std::string washer = target + "\\CAD\\DRAWINGS\\parts\\WASHER.DXF";
  ASSERT_TRUE(platform->RemoveFile(washer));
  ASSERT_TRUE(platform->MakeDirectories(washer));
  RecordingPresenter presenter;
  InstallEngine again(*platform, loop, view, texts, medium, [] { return std::string("Setup"); });
  again.BuildCopyPlan(request);
  EXPECT_TRUE(again.InstallAborted);
  EXPECT_EQ(presenter.messages.size(), 1u);
  EXPECT_FALSE(platform->IsFile(washer + "\\WASHER.DXF"));
  EXPECT_TRUE(platform->IsDirectory(washer));

  platform->SetAttributes(medium + "\\macros\\.index", platform::kAttrArchive);
  platform->ShellOperation(platform::kFoDelete, work + std::string(1, '\0'), "", quiet);
}

}  // namespace
