// wizardmeasure: what the Win32 window adds to a copy. Copies N files of 600
// bytes once through the engine alone and once through the real window (file
// label, meter, pending messages), best of three, and prints the difference
// per file; then times the window's share alone (the same calls without the
// copies), which copy times that vary from run to run cannot hide. Run under
// Wine with a display:
//
//   wizardmeasure [N]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "gui/win32/win32skin.h"
#include "install/installengine.h"
#include "platform/forwarding_platform.h"
#include "platform/this_process.h"
#include "setupdata/catalogue.h"
#include "setupdata/memini.h"

namespace {

class Silent : public MessagePresenter {
 public:
  int32_t Show(const char* Text, const char*, int32_t) override {
    last += std::string(Text) + "\n";
    return IDOK;
  }
  std::string last;
};

void WriteFile(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// One round of the window's share: a shown window on the copy page. Besides
// the whole, the round keeps apart what does not grow with the number of
// files: the first pass over pending messages, which paints the page just
// shown, and the meter's repaints (one per percent).
struct GuiShare {
  double seconds = 1e9;
  double firstPass = 0;
  double meter = 0;
  int meterPaints = 0;
};

bool GuiRound(platform::Platform& platform, int files, GuiShare* best) {
  Win32Skin skin(platform);
  Wizard wizard(platform, skin);
  if (!wizard.Start(CommandLine{}, nullptr)) return false;
  MainWindow& window = skin.Window();
  ShowWindow(window.Handle(), SW_SHOW);
  UpdateWindow(window.Handle());
  window.ShowPage(4);
  TKCProgress& meter = wizard.Meter();
  EventLoop& loop = wizard.Loop();
  meter.SetMaxValue(files);
  GuiShare round;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < files; ++i) {
    if (meter.SetUserValue(meter.UserValue() + 1)) {
      const auto paint = std::chrono::steady_clock::now();
      window.RepaintMeter();
      round.meter += Seconds(paint);
      ++round.meterPaints;
    }
    window.SetText(Control::LabelFile, "f" + std::to_string(i) + ".mac");
    const auto pass = std::chrono::steady_clock::now();
    loop.ProcessMessages();
    if (i == 0) round.firstPass = Seconds(pass);
  }
  round.seconds = Seconds(start);
  if (round.seconds < best->seconds) *best = round;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  auto real = platform::MakeProcessPlatform();
  const char* tmp = std::getenv("TEMP");
  const std::string root =
      std::string(tmp ? tmp : "C:\\windows\\temp") + "\\wizardmeasure-" + std::to_string(GetTickCount());
  const std::string medium = root + "\\d";
  for (int i = 0; i < files; ++i) {
    const std::string dir = medium + "\\files\\d" + std::to_string(i / 100);
    if (i % 100 == 0) real->MakeDirectories(dir);
    WriteFile(dir + "\\f" + std::to_string(i) + ".mac", std::string(600, 'x'));
  }
  const std::string texts =
      "[English]\r\nTxt_024=failed\r\nTxt_031=done\r\nTxt_063=a\r\nTxt_064=b\r\nTxt_065=c\r\n"
      "Txt_066=d\r\nTxt_067=e\r\nTxt_600=files\\;OUT\r\n";
  platform::ProgramAtPlatform platform(*real, medium + "\\SETUP.EXE");  // the program on the medium
  Silent presenter;
  SetMessagePresenter(&presenter);
  double engineSeconds = 1e9;
  double windowSeconds = 1e9;
  for (int round = 0; round < 3; ++round) {
    {
      const std::string target = root + "\\engine" + std::to_string(round);
      real->MakeDirectories(target);
      TMemIniFile ini(texts);
      TextCatalogue catalogue(ini);
      catalogue.SetCurrentLanguage("English");
      DirectEventLoop direct;
      NullProgressView view;
      InstallEngine engine(platform, direct, view, catalogue, medium, [] { return std::string(); });
      CopyRequest request;
      request.Sirel = true;
      request.SirelTargetBase = target;
      const auto start = std::chrono::steady_clock::now();
      engine.BuildCopyPlan(request);
      engineSeconds = std::min(engineSeconds, Seconds(start));
      if (engine.InstallAborted) return std::printf("engine copy failed\n"), 1;
    }
    {
      // The target is what the destination page offers: drive root + DefaultDir.
      const std::string subdir = root.substr(3) + "\\window" + std::to_string(round);
      real->MakeDirectories("C:\\" + subdir);
      WriteFile(medium + "\\SETUP.INF",
                "[BootSetup]\r\nDefaultDir=" + subdir + "\r\n[Languages]\r\n1=English\r\n" + texts);
      Win32Skin skin(platform);
      Wizard wizard(platform, skin);
      if (!wizard.Start(CommandLine{}, nullptr)) return std::printf("start-up failed\n"), 1;
      MainWindow& window = skin.Window();
      ShowWindow(window.Handle(), SW_SHOW);
      UpdateWindow(window.Handle());
      wizard.Form().DestinationPageAction();
      const std::vector<std::string>& offers = wizard.Form().Controls().Items(Control::drive_Combo);
      if (offers.empty()) return std::printf("no target offered for %s\n", subdir.c_str()), 1;
      window.ShowPage(4);
      const auto start = std::chrono::steady_clock::now();
      wizard.Form().CopyPageAction();
      windowSeconds = std::min(windowSeconds, Seconds(start));
      if (wizard.Form().InstallAborted()) return std::printf("window copy failed: %s\n", presenter.last.c_str()), 1;
    }
    // The closed window's quit message must not end the next round's copy.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // The window's own share, without the copies: per file the label, the
  // meter when its percentage changes, and the pass over pending messages,
  // as the copy loop asks for them.
  GuiShare gui;
  for (int round = 0; round < 3; ++round) {
    GuiRound(platform, files, &gui);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  SetMessagePresenter(nullptr);
  real->ShellOperation(platform::kFoDelete, root + std::string(1, '\0'), "",
                       platform::kFofNoConfirmation | platform::kFofNoErrorUi | platform::kFofSilent);
  std::printf("files %d: engine alone %.3f s, through the window %.3f s (best of 3)\n", files, engineSeconds,
              windowSeconds);
  std::printf("difference per file: %.1f us\n", (windowSeconds - engineSeconds) / files * 1e6);
  std::printf("the window's share alone: %.1f us per file (label, meter, pending messages; best of 3)\n",
              gui.seconds / files * 1e6);
  std::printf("  of which the first pass (the page painted) %.1f ms, %d meter repaints %.1f ms\n", gui.firstPass * 1e3,
              gui.meterPaints, gui.meter * 1e3);
  return 0;
}
