#include "navigate/navigate.h"

#include <gtest/gtest.h>

#include "tests/support/recording_canvas.h"

namespace {

class FakeHost : public NavigateHost {
 public:
  void Repaint() override { ++repaints; }
  void RepaintList(const graphics::Rect& area) override {
    listRepaints.push_back(std::to_string(area.top) + "-" + std::to_string(area.bottom));
  }
  void ChildrenChanged() override {}
  void PointerStateChanged() override {}
  void TimerChanged() override {}
  graphics::Canvas* MeasureCanvas() override { return &canvas; }

  RecordingCanvas canvas{6};
  int repaints = 0;
  std::vector<std::string> listRepaints;
};

class FakeNotebook : public TNotebook {
 public:
  int PageCount() const override { return 5; }
  void SetPageIndex(int Index) override { page = Index; }
  int page = 0;
};

class NavigateTest : public ::testing::Test {
 protected:
  NavigateTest() {
    nav.SetBounds(143, 400);
    nav.Loaded();
    nav.SetSelectLinear(false);
    for (int i = 0; i < 5; ++i) nav.AddLine("Step " + std::to_string(i), i);
    nav.SetNotebook(&notebook);
    nav.SetOnSelect([this](void*, int NewTab, bool& AllowChange) {
      offered.push_back(NewTab);
      AllowChange = allow;
    });
    nav.SetOnPageChanged([this](void*) { ++pageChanges; });
  }

  FakeHost host;
  TKelvaNavigate nav{&host};
  FakeNotebook notebook;
  std::vector<int> offered;
  bool allow = true;
  int pageChanges = 0;
};

TEST_F(NavigateTest, SelectionRules) {
  struct Case {
    const char* name;
    std::function<void(TKelvaNavigate&, bool&)> act;
    int itemIndex;
    std::vector<int> offered;
    int page;
  };
  const Case cases[] = {
      {"selectable step", [](TKelvaNavigate& n, bool&) { n.SetItemIndex(3); }, 3, {3}, 3},
      {"disabled step ignored", [](TKelvaNavigate& n, bool&) {
         n.SetItemEnabled(2, false);
         n.SetItemIndex(2);
       }, 0, {}, 0},
      {"refused by OnSelect", [](TKelvaNavigate& n, bool& allow) {
         allow = false;
         n.SetItemIndex(1);
       }, 0, {1}, 0},
      {"out of range ignored", [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(5);
         n.SetItemIndex(-1);
         n.SetItemEnabled(9, false);
       }, 0, {}, 0},
      {"next skips a disabled step", [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(1);
         n.SetItemEnabled(2, false);
         n.FList->SelectNext();
       }, 3, {1, 3}, 3},
      {"previous skips back", [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(3);
         n.SetItemEnabled(2, false);
         n.SetItemEnabled(1, false);
         n.FList->SelectPrevious();
       }, 0, {3, 0}, 0},
      {"current step disabled stays current", [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(2);
         n.SetItemEnabled(2, false);
       }, 2, {2}, 2},
      {"linear: beyond max+1 refused", [](TKelvaNavigate& n, bool&) {
         n.SetSelectLinear(true);
         n.SetItemIndex(1);
         n.FList->ListMouseDown(50, n.FList->FHeights.ItemTop(3) + 2);
         n.FList->ListMouseDown(50, n.FList->FHeights.ItemTop(2) + 2);
       }, 2, {1, 2}, 2},
  };
  for (const Case& c : cases) {
    FakeHost h;
    TKelvaNavigate n(&h);
    n.SetBounds(143, 400);
    n.SetSelectLinear(false);
    for (int i = 0; i < 5; ++i) n.AddLine("Step " + std::to_string(i));
    FakeNotebook book;
    n.SetNotebook(&book);
    std::vector<int> seen;
    bool allowChange = true;
    n.SetOnSelect([&](void*, int NewTab, bool& AllowChange) {
      seen.push_back(NewTab);
      AllowChange = allowChange;
    });
    c.act(n, allowChange);
    EXPECT_EQ(n.ItemIndex(), c.itemIndex) << c.name;
    EXPECT_EQ(seen, c.offered) << c.name;
    EXPECT_EQ(book.page, c.page) << c.name;
  }
}

TEST_F(NavigateTest, ButtonsFollowTheSelectableNeighbours) {
  EXPECT_FALSE(nav.FPrevButton.enabled);
  EXPECT_TRUE(nav.FNextButton.enabled);
  nav.SetItemEnabled(1, false);
  nav.SetItemEnabled(2, false);
  nav.SetItemEnabled(3, false);
  nav.SetItemEnabled(4, false);
  EXPECT_FALSE(nav.FNextButton.enabled);
  nav.SetItemEnabled(4, true);
  EXPECT_TRUE(nav.FNextButton.enabled);
  nav.FList->SelectNext();
  EXPECT_EQ(nav.ItemIndex(), 4);
  EXPECT_EQ(pageChanges, 1);
  EXPECT_TRUE(nav.FPrevButton.enabled);
  EXPECT_FALSE(nav.FNextButton.enabled);
  // Clearing and adding again: every step starts enabled.
  nav.ClearLines();
  for (int i = 0; i < 5; ++i) nav.AddLine("Again");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(nav.FList->FHeights.GetEnabled(i)) << i;
}

TEST_F(NavigateTest, KelvaLayoutAndSizeRules) {
  struct Expect {
    const char* name;
    const NavigateChild& child;
    graphics::Rect bounds;
  };
  const Expect expected[] = {
      {"logo", nav.FLogo, graphics::RectAt(20, 123, 84, 15)},
      {"up", nav.FUpButton, graphics::RectAt(36, 141, 97, 12)},
      {"box", nav.FScrollBox, graphics::RectAt(0, 153, 143, 204)},
      {"down", nav.FDownButton, graphics::RectAt(36, 357, 97, 12)},
      {"bracket left", nav.FBracketLeft, graphics::RectAt(36, 372, 4, 22)},
      {"bracket right", nav.FBracketRight, graphics::RectAt(115, 372, 4, 22)},
      {"previous", nav.FPrevButton, graphics::RectAt(37, 373, 27, 20)},
      {"next", nav.FNextButton, graphics::RectAt(91, 373, 27, 20)},
  };
  for (const Expect& e : expected) EXPECT_EQ(e.child.bounds, e.bounds) << e.name;
  EXPECT_FALSE(nav.FUpButton.visible);  // five short steps fit
  EXPECT_EQ(nav.FList->Top, 0);
  nav.SetBounds(200, 100);
  EXPECT_EQ(nav.Width, 143);
  EXPECT_EQ(nav.Height, 250);
  nav.SetPrevNextVisible(false);
  EXPECT_EQ(nav.FDownButton.bounds.top, 250 - 15);
}

TEST_F(NavigateTest, AutoScrollMovesEightPixelsAndEndsShort) {
  nav.SetBounds(143, 250);  // the box is 54 pixels high
  for (int i = 0; i < 3; ++i) nav.AddLine("More");
  ASSERT_TRUE(nav.FDownButton.visible);
  const int excess = nav.FList->Height - nav.ScrollBoxHeight();  // 8 steps of 29 = 232 - 54
  nav.StartAutoScroll(&nav.FDownButton);
  EXPECT_EQ(nav.FList->Top, -8);
  while (nav.FList->Top > -excess) nav.RepeatTimerTick();
  EXPECT_EQ(nav.FList->Top, -excess);
  EXPECT_EQ(excess % 8, 2) << "the last move is the short one";
  nav.RepeatTimerTick();
  EXPECT_EQ(nav.FList->Top, -excess);
  nav.StopAutoScroll();
  EXPECT_FALSE(nav.RepeatTimerEnabled());
  nav.ScrollUp();
  EXPECT_EQ(nav.FList->Top, -excess + 8);
  // Selecting the last step shows its last row at the bottom of the box.
  nav.FList->Top = 0;
  nav.SetItemIndex(7);
  EXPECT_EQ(nav.FList->Top, nav.ScrollBoxHeight() - nav.FList->FHeights.ItemBottom(7) - 1);
}

TEST_F(NavigateTest, HintsAndHover) {
  nav.SetHintNext("Next step");
  EXPECT_TRUE(nav.FNextButton.showHint);
  EXPECT_EQ(nav.HintNext(), "Next step");
  nav.SetHintNext("");
  EXPECT_TRUE(nav.FNextButton.parentShowHint);
  EXPECT_EQ(nav.GetButtonHint(7), "");

  nav.SetHints({"zero", "one"});
  nav.SetItemEnabled(2, false);
  std::vector<std::string> forwarded;
  nav.OnMouseMove = [&](void*, int, int X, int Y) {
    forwarded.push_back(std::to_string(X) + "," + std::to_string(Y));
  };
  host.listRepaints.clear();
  nav.FList->ListMouseMove(nav.FList.get(), 0, 50, 31);  // onto step 1
  EXPECT_EQ(nav.HintText(), "one");
  EXPECT_TRUE(nav.FList->HandCursor);
  EXPECT_EQ(host.listRepaints, (std::vector<std::string>{"29-51", "0-22"}));
  nav.FList->ListMouseMove(nav.FList.get(), 0, 50, 60);  // onto disabled step 2
  EXPECT_EQ(nav.HintText(), "");
  EXPECT_FALSE(nav.FList->HandCursor);
  nav.FList->MouseLeave();
  EXPECT_EQ(nav.FList->FHotIndex, -1);
  EXPECT_EQ(forwarded, (std::vector<std::string>{"50,184", "50,213", "-1,152"}));
}

TEST_F(NavigateTest, PaintsEachStepState) {
  nav.SetItemIndex(1);
  nav.SetItemEnabled(3, false);
  nav.FList->FHotIndex = 2;
  RecordingCanvas canvas;
  nav.Paint(canvas, graphics::Rect{0, 0, 143, 1000});
  const std::vector<std::string>& c = canvas.calls;
  auto has = [&c](const std::string& line) {
    return std::find(c.begin(), c.end(), line) != c.end();
  };
  // Step 0: other, selectable; step 1 current; step 2 hot; step 3 disabled.
  EXPECT_TRUE(has("fill 0,4-143,20 #d4d0c8"));
  EXPECT_TRUE(has("text 42,6 normal #000000 on #d4d0c8: Step 0"));
  EXPECT_TRUE(has("fill 0,33-143,49 #ffffff"));
  EXPECT_TRUE(has("text 42,35 bold #000000 on #ffffff: Step 1"));
  EXPECT_TRUE(has("line 39,30 35,30 35,51 39,51 #000000"));
  EXPECT_TRUE(has("text 42,64 normal #000000 on #ffffff: Step 2"));
  EXPECT_TRUE(has("text 42,93 normal #808080 on #d4d0c8: Step 3"));
  EXPECT_TRUE(has("line 39,88 35,88 35,109 39,109 #808080"));
  EXPECT_TRUE(has("fill 0,29-143,31 #d4d0c8"));
  EXPECT_TRUE(has("fill 0,48-143,50 #d4d0c8"));
  // A clip paints only the steps it meets.
  canvas.calls.clear();
  nav.Paint(canvas, graphics::Rect{0, 29, 143, 51});
  EXPECT_EQ(std::count_if(c.begin(), c.end(), [](const std::string& s) { return s.rfind("text", 0) == 0; }), 1);
}

}  // namespace
