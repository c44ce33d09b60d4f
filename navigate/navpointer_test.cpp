// The pointer over the whole side-bar: the part under a point, its hint and
// cursor, presses and releases, and the repeat timer of the arrows.
#include <functional>

#include <gtest/gtest.h>

#include "navigate/navigate.h"
#include "tests/support/recording_navigate_host.h"

namespace {

// Points of the 143 x 400 side-bar (five steps of 22 pixels from y = 153;
// previous at 37,373 and next at 91,373, 27 x 20; the logo at 20,123).
constexpr int kStepX = 60;
int StepY(int index) { return 153 + 29 * index + 5; }
constexpr int kPrevX = 45;
constexpr int kNextX = 100;
constexpr int kButtonY = 380;

class NavigatePointerTest : public ::testing::Test {
 protected:
  NavigatePointerTest() {
    nav.SetBounds(143, 400);
    nav.Loaded();
    nav.SetSelectLinear(false);
    for (int i = 0; i < 5; ++i) nav.AddLine("Step " + std::to_string(i));
    nav.SetOnSelect([this](void*, int tab, bool&) { offered.push_back(tab); });
  }
  void AddThreeMore() {
    for (int i = 5; i < 8; ++i) nav.AddLine("Step " + std::to_string(i));
  }

  RecordingNavigateHost host;
  TKelvaNavigate nav{&host};
  std::vector<int> offered;
};

TEST_F(NavigatePointerTest, PartUnderAPoint) {
  struct Case {
    const char* name;
    int x, y;
    NavigatePart part;
  };
  const Case fit[] = {
      {"logo", 60, 130, NavigatePart::kLogo},
      {"left of the logo", 10, 130, NavigatePart::kNone},
      {"a step", kStepX, StepY(0), NavigatePart::kList},
      {"the gap after a step", kStepX, 153 + 24, NavigatePart::kList},
      {"the box below the list", kStepX, 153 + 145 + 5, NavigatePart::kScrollBox},
      {"next, enabled", kNextX, kButtonY, NavigatePart::kNext},
      {"previous, disabled", kPrevX, kButtonY, NavigatePart::kNone},
      {"a bracket", 37, 385, NavigatePart::kNone},
      {"the hidden up arrow", 60, 145, NavigatePart::kNone},
  };
  for (const Case& c : fit) EXPECT_EQ(nav.PartAt(c.x, c.y), c.part) << c.name;
  AddThreeMore();
  EXPECT_EQ(nav.PartAt(60, 145), NavigatePart::kUp) << "up arrow once the steps overflow";
  EXPECT_EQ(nav.PartAt(60, 360), NavigatePart::kDown) << "down arrow once the steps overflow";
}

TEST_F(NavigatePointerTest, HintAndCursorAtAPoint) {
  nav.SetHints({"zero", "one", "two"});
  nav.SetItemEnabled(2, false);
  struct Case {
    const char* name;
    std::function<void(TKelvaNavigate&)> arrange;
    int x, y;
    std::string hint;
    bool hand;
  };
  const Case cases[] = {
      {"next with its own hint", [](TKelvaNavigate& n) { n.SetHintNext("Next step"); }, kNextX, kButtonY, "Next step",
       true},
      {"own hint with the side-bar's hints off",
       [](TKelvaNavigate& n) {
         n.SetShowHint(false);
         n.SetHintNext("Next step");
       },
       kNextX, kButtonY, "Next step", true},
      {"next without a hint", [](TKelvaNavigate& n) { n.SetHintNext(""); }, kNextX, kButtonY, "", true},
      {"previous while disabled", [](TKelvaNavigate& n) { n.SetHintPrevious("Back"); }, kPrevX, kButtonY, "", false},
      {"a choosable step", [](TKelvaNavigate& n) { n.MouseMove(kStepX, StepY(1), 0); }, kStepX, StepY(1), "one", true},
      {"a step with the side-bar's hints off",
       [](TKelvaNavigate& n) {
         n.MouseMove(kStepX, StepY(1), 0);
         n.SetShowHint(false);
       },
       kStepX, StepY(1), "", true},
      {"a disabled step", [](TKelvaNavigate& n) { n.MouseMove(kStepX, StepY(2), 0); }, kStepX, StepY(2), "", false},
      {"the logo", [](TKelvaNavigate&) {}, 60, 130, "", false},
  };
  for (const Case& c : cases) {
    nav.SetShowHint(true);
    c.arrange(nav);
    EXPECT_EQ(nav.HintAt(c.x, c.y), c.hint) << c.name;
    EXPECT_EQ(nav.HandCursorAt(c.x, c.y), c.hand) << c.name;
  }
}

TEST_F(NavigatePointerTest, PressesAndReleases) {
  struct Case {
    const char* name;
    std::function<void(TKelvaNavigate&)> act;
    std::vector<int> offered;
  };
  const Case cases[] = {
      {"primary press and release on next",
       [](TKelvaNavigate& n) {
         n.MouseDown(kNextX, kButtonY, true);
         n.MouseUp(kNextX + 3, kButtonY + 2);
       },
       {1}},
      {"released away from next",
       [](TKelvaNavigate& n) {
         n.MouseDown(kNextX, kButtonY, true);
         n.MouseUp(kNextX, 300);
       },
       {}},
      {"secondary press on next",
       [](TKelvaNavigate& n) {
         n.MouseDown(kNextX, kButtonY, false);
         n.MouseUp(kNextX, kButtonY);
       },
       {}},
      {"any button on a step selects it", [](TKelvaNavigate& n) { n.MouseDown(kStepX, StepY(3), false); }, {3}},
      {"a press on the gap", [](TKelvaNavigate& n) { n.MouseDown(kStepX, 153 + 24, true); }, {}},
      {"previous after a step",
       [](TKelvaNavigate& n) {
         n.MouseDown(kStepX, StepY(2), true);
         n.MouseDown(kPrevX, kButtonY, true);
         n.MouseUp(kPrevX, kButtonY);
       },
       {2, 1}},
  };
  for (const Case& c : cases) {
    offered.clear();
    nav.SetItemIndex(0);
    offered.clear();
    c.act(nav);
    EXPECT_EQ(offered, c.offered) << c.name;
    EXPECT_EQ(nav.PressedPart(), NavigatePart::kNone) << c.name;
  }
  nav.MouseDown(kNextX, kButtonY, true);
  EXPECT_EQ(nav.PressedPart(), NavigatePart::kNext) << "held until released";
}

TEST_F(NavigatePointerTest, ArrowsScrollWhileThePointerRests) {
  AddThreeMore();  // the box holds 204 of 232 pixels
  const auto top = [this] { return nav.List().Bounds().top; };
  nav.MouseMove(60, 360, 0);  // onto the down arrow
  EXPECT_EQ(top(), -8);
  EXPECT_TRUE(nav.RepeatTimerEnabled());
  nav.RepeatTimerTick();
  EXPECT_EQ(top(), -16);
  nav.MouseMove(61, 361, 0);  // still on it: no new start
  EXPECT_EQ(top(), -16);
  nav.MouseMove(60, 130, 0);  // off it
  EXPECT_FALSE(nav.RepeatTimerEnabled());
  nav.MouseMove(60, 145, 0);  // onto the up arrow
  EXPECT_EQ(top(), -8);
  nav.MouseDown(60, 145, true);  // a click scrolls once more
  nav.MouseUp(60, 145);
  EXPECT_EQ(top(), 0);
  nav.MouseLeave();
  EXPECT_FALSE(nav.RepeatTimerEnabled());
  EXPECT_GE(host.timerChanges, 3);
}

}  // namespace
