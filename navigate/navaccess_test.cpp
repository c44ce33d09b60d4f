// What assistive technology is told of the side-bar: parts, steps, the part
// and step under a point, and pressing a button.
#include "navigate/navaccess.h"

#include <gtest/gtest.h>

#include "tests/support/recording_navigate_host.h"

namespace {

struct SideBar {
  SideBar() : nav(&host) {
    nav.SetBounds(143, 400);
    nav.Loaded();
    nav.SetSelectLinear(false);
    for (int i = 0; i < 5; ++i) nav.AddLine(i == 2 ? "Two\rlines" : "Step " + std::to_string(i));
    nav.SetHintPrevious("Previous step");
    nav.SetHintNext("Next step");
    nav.SetItemEnabled(4, false);
  }
  RecordingNavigateHost host;
  TKelvaNavigate nav;
};

TEST(NavigateAccessTest, PartsAndStepsAsAScreenReaderSeesThem) {
  SideBar s;
  using navaccess::Role;
  const struct {
    Role role;
    const char* name;
    bool visible;
    bool enabled;
  } parts[] = {{Role::kButton, "", false, true},
               {Role::kList, "Steps", true, true},
               {Role::kButton, "", false, true},
               {Role::kButton, "Previous step", true, false},  // on the first step
               {Role::kButton, "Next step", true, true}};
  for (int i = 0; i < navaccess::kPartCount; ++i) {
    SCOPED_TRACE(i);
    const navaccess::Node n = navaccess::Part(s.nav, i);
    EXPECT_EQ(n.role, parts[i].role);
    EXPECT_EQ(n.name, parts[i].name);
    EXPECT_EQ(n.visible, parts[i].visible);
    EXPECT_EQ(n.enabled, parts[i].enabled);
  }
  ASSERT_EQ(navaccess::StepCount(s.nav), 5);
  const navaccess::Node two = navaccess::Step(s.nav, 2);
  EXPECT_EQ(two.name, "Two lines");
  EXPECT_EQ(two.role, Role::kListItem);
  EXPECT_TRUE(navaccess::Step(s.nav, 0).selected);
  EXPECT_FALSE(two.selected);
  EXPECT_FALSE(navaccess::Step(s.nav, 4).selectable);
  EXPECT_FALSE(navaccess::Step(s.nav, 4).enabled);
  // Points: the middle of each step and of the next button.
  for (int i = 0; i < 5; ++i) {
    const graphics::Rect r = navaccess::Step(s.nav, i).bounds;
    EXPECT_EQ(navaccess::StepAt(s.nav, (r.left + r.right) / 2, (r.top + r.bottom) / 2), i);
    EXPECT_EQ(navaccess::PartAt(s.nav, (r.left + r.right) / 2, (r.top + r.bottom) / 2), navaccess::kListPart);
  }
  const graphics::Rect next = navaccess::Part(s.nav, 4).bounds;
  EXPECT_EQ(navaccess::PartAt(s.nav, next.left + 2, next.top + 2), 4);
  EXPECT_EQ(navaccess::StepAt(s.nav, next.left + 2, next.top + 2), -1);
}

TEST(NavigateAccessTest, PressingAButtonClicksItUnlessItCannotBe) {
  SideBar s;
  EXPECT_FALSE(navaccess::Press(s.nav, 3));  // previous, on the first step
  EXPECT_FALSE(navaccess::Press(s.nav, navaccess::kListPart));
  EXPECT_TRUE(navaccess::Press(s.nav, 4));
  EXPECT_EQ(s.nav.ItemIndex(), 1);
  EXPECT_TRUE(navaccess::Step(s.nav, 1).selected);
  EXPECT_TRUE(navaccess::Press(s.nav, 3));
  EXPECT_EQ(s.nav.ItemIndex(), 0);
}

}  // namespace
