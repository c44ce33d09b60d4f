#include "navigate/navigate.h"

#include <gtest/gtest.h>

#include "tests/support/recording_canvas.h"
#include "tests/support/recording_navigate_host.h"

namespace {

using FakeHost = RecordingNavigateHost;

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
      {"disabled step ignored",
       [](TKelvaNavigate& n, bool&) {
         n.SetItemEnabled(2, false);
         n.SetItemIndex(2);
       },
       0,
       {},
       0},
      {"refused by OnSelect",
       [](TKelvaNavigate& n, bool& allow) {
         allow = false;
         n.SetItemIndex(1);
       },
       0,
       {1},
       0},
      {"out of range ignored",
       [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(5);
         n.SetItemIndex(-1);
         n.SetItemEnabled(9, false);
       },
       0,
       {},
       0},
      {"next skips a disabled step",
       [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(1);
         n.SetItemEnabled(2, false);
         n.List().SelectNext();
       },
       3,
       {1, 3},
       3},
      {"previous skips back",
       [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(3);
         n.SetItemEnabled(2, false);
         n.SetItemEnabled(1, false);
         n.List().SelectPrevious();
       },
       0,
       {3, 0},
       0},
      {"current step disabled stays current",
       [](TKelvaNavigate& n, bool&) {
         n.SetItemIndex(2);
         n.SetItemEnabled(2, false);
       },
       2,
       {2},
       2},
      {"linear: beyond max+1 refused",
       [](TKelvaNavigate& n, bool&) {
         n.SetSelectLinear(true);
         n.SetItemIndex(1);
         n.List().ListMouseDown(50, n.List().Heights().ItemTop(3) + 2);
         n.List().ListMouseDown(50, n.List().Heights().ItemTop(2) + 2);
       },
       2,
       {1, 2},
       2},
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
  const NavigateChild& prev = nav.Child(NavigatePart::kPrev);
  const NavigateChild& next = nav.Child(NavigatePart::kNext);
  EXPECT_FALSE(prev.enabled);
  EXPECT_TRUE(next.enabled);
  nav.SetItemEnabled(1, false);
  nav.SetItemEnabled(2, false);
  nav.SetItemEnabled(3, false);
  nav.SetItemEnabled(4, false);
  EXPECT_FALSE(next.enabled);
  nav.SetItemEnabled(4, true);
  EXPECT_TRUE(next.enabled);
  nav.List().SelectNext();
  EXPECT_EQ(nav.ItemIndex(), 4);
  EXPECT_EQ(pageChanges, 1);
  EXPECT_TRUE(prev.enabled);
  EXPECT_FALSE(next.enabled);
  // Clearing and adding again: every step starts enabled.
  nav.ClearLines();
  for (int i = 0; i < 5; ++i) nav.AddLine("Again");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(nav.List().Heights().GetEnabled(i)) << i;
}

TEST_F(NavigateTest, KelvaLayoutAndSizeRules) {
  struct Expect {
    const char* name;
    NavigatePart part;
    graphics::Rect bounds;
  };
  const Expect expected[] = {
      {"logo", NavigatePart::kLogo, graphics::RectAt(20, 123, 84, 15)},
      {"up", NavigatePart::kUp, graphics::RectAt(36, 141, 97, 12)},
      {"box", NavigatePart::kScrollBox, graphics::RectAt(0, 153, 143, 204)},
      {"down", NavigatePart::kDown, graphics::RectAt(36, 357, 97, 12)},
      {"bracket left", NavigatePart::kBracketLeft, graphics::RectAt(36, 372, 4, 22)},
      {"bracket right", NavigatePart::kBracketRight, graphics::RectAt(115, 372, 4, 22)},
      {"previous", NavigatePart::kPrev, graphics::RectAt(37, 373, 27, 20)},
      {"next", NavigatePart::kNext, graphics::RectAt(91, 373, 27, 20)},
  };
  for (const Expect& e : expected) EXPECT_EQ(nav.Child(e.part).bounds, e.bounds) << e.name;
  EXPECT_FALSE(nav.Child(NavigatePart::kUp).visible);  // five short steps fit
  EXPECT_EQ(nav.List().Bounds().top, 0);
  nav.SetBounds(200, 100);
  EXPECT_EQ(nav.Width(), 143);
  EXPECT_EQ(nav.Height(), 250);
  nav.SetPrevNextVisible(false);
  EXPECT_EQ(nav.Child(NavigatePart::kDown).bounds.top, 250 - 15);
}

TEST_F(NavigateTest, AutoScrollMovesEightPixelsAndEndsShort) {
  nav.SetBounds(143, 250);  // the box is 54 pixels high
  for (int i = 0; i < 3; ++i) nav.AddLine("More");
  ASSERT_TRUE(nav.Child(NavigatePart::kDown).visible);
  const auto top = [this] { return nav.List().Bounds().top; };
  const int excess = nav.List().Bounds().height() - nav.ScrollBoxHeight();  // 8 steps of 29 = 232 - 54
  nav.StartAutoScroll(NavigatePart::kDown);
  EXPECT_EQ(top(), -8);
  while (top() > -excess) nav.RepeatTimerTick();
  EXPECT_EQ(top(), -excess);
  EXPECT_EQ(excess % 8, 2) << "the last move is the short one";
  nav.RepeatTimerTick();
  EXPECT_EQ(top(), -excess);
  nav.StopAutoScroll();
  EXPECT_FALSE(nav.RepeatTimerEnabled());
  nav.ScrollUp();
  EXPECT_EQ(top(), -excess + 8);
  // Selecting the last step shows its last row at the bottom of the box.
  while (top() < 0) nav.ScrollUp();
  nav.SetItemIndex(7);
  EXPECT_EQ(top(), nav.ScrollBoxHeight() - nav.List().Heights().ItemBottom(7) - 1);
}

TEST_F(NavigateTest, HintsAndHover) {
  const NavigateChild& next = nav.Child(NavigatePart::kNext);
  nav.SetHintNext("Next step");
  EXPECT_TRUE(next.showHint);
  EXPECT_EQ(nav.HintNext(), "Next step");
  nav.SetHintNext("");
  EXPECT_TRUE(next.parentShowHint);
  EXPECT_EQ(nav.GetButtonHint(7), "");

  nav.SetHints({"zero", "one"});
  nav.SetItemEnabled(2, false);
  std::vector<std::string> forwarded;
  nav.SetOnMouseMove(
      [&](void*, int, int X, int Y) { forwarded.push_back(std::to_string(X) + "," + std::to_string(Y)); });
  host.listRepaints.clear();
  nav.MouseMove(50, 153 + 31, 0);  // onto step 1
  EXPECT_EQ(nav.HintText(), "one");
  EXPECT_TRUE(nav.List().HandCursor());
  EXPECT_EQ(host.listRepaints, (std::vector<std::string>{"182-204", "153-175"}));
  nav.MouseMove(50, 153 + 60, 0);  // onto disabled step 2
  EXPECT_EQ(nav.HintText(), "");
  EXPECT_FALSE(nav.List().HandCursor());
  nav.MouseLeave();
  EXPECT_EQ(nav.List().HotIndex(), -1);
  EXPECT_EQ(forwarded, (std::vector<std::string>{"50,184", "50,213", "-1,152"}));
}

TEST_F(NavigateTest, PaintsEachStepState) {
  nav.SetItemIndex(1);
  nav.SetItemEnabled(3, false);
  nav.MouseMove(50, nav.ListOrigin().y + nav.List().Heights().ItemTop(2) + 2, 0);
  ASSERT_EQ(nav.List().HotIndex(), 2);
  RecordingCanvas canvas;
  nav.List().Paint(canvas, graphics::Rect{0, 0, 143, 1000});
  const std::vector<std::string>& c = canvas.calls;
  auto has = [&c](const std::string& line) { return std::find(c.begin(), c.end(), line) != c.end(); };
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
  nav.List().Paint(canvas, graphics::Rect{0, 29, 143, 51});
  EXPECT_EQ(std::count_if(c.begin(), c.end(), [](const std::string& s) { return s.rfind("text", 0) == 0; }), 1);
}

}  // namespace
