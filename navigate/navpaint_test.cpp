// The side-bar drawn whole on a recording canvas: which pictures, edges and
// list calls each state gives, at the places the layout puts them.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "navigate/navigate.h"
#include "tests/support/recording_navigate_host.h"

namespace {

// The next button lies at 91,373 (27 x 20); its glyph is centred at 96,376.
constexpr int kOverNextX = 100;
constexpr int kOverNextY = 380;

struct PaintCase {
  const char* name;
  std::function<void(TKelvaNavigate&)> arrange;
  std::vector<std::string> drawn;   // calls that must be among those made
  std::vector<std::string> absent;  // beginnings no call may have
  graphics::Rect update{0, 0, 143, 400};
};

TEST(NavigatePaintTest, EachStateDrawsItsParts) {
  const auto more = [](TKelvaNavigate& n) {
    for (int i = 5; i < 8; ++i) n.AddLine("Step " + std::to_string(i));
  };
  const PaintCase cases[] = {
      {"five steps fit",
       [](TKelvaNavigate&) {},
       {"picture KELVA15 20,123", "picture BR_LEFT 36,372", "picture BR_RIGHT 115,372",
        "picture AR_LEFT 42,376 disabled", "picture AR_RIGHT 96,376", "clip 0,153-143,357",
        "fill 0,153-143,155 #d4d0c8", "text 42,159 bold #000000 on #ffffff: Step 0", "noclip"},
       {"picture AR_TOP", "picture AR_BOTTOM", "line 91,", "fill 40,157-41,158"}},
      {"with the keyboard focus: a dotted frame round the current step",
       [](TKelvaNavigate& n) { n.SetFocused(true); },
       {"fill 40,157-41,158 #000000", "fill 42,157-43,158 #000000", "fill 140,157-141,158 #000000"},
       {}},
      {"eight steps need the arrows", more, {"picture AR_TOP 79,144", "picture AR_BOTTOM 79,360"}, {}},
      {"scrolled by eight pixels",
       [&more](TKelvaNavigate& n) {
         more(n);
         n.ScrollDown();
       },
       {"clip 0,153-143,357", "fill 0,145-143,147 #d4d0c8", "text 42,151 bold #000000 on #ffffff: Step 0"},
       {}},
      {"next under the pointer: raised edge",
       [](TKelvaNavigate& n) { n.MouseMove(kOverNextX, kOverNextY, 0); },
       {"picture AR_RIGHT 96,376", "line 91,392 91,373 117,373 #ffffff", "line 91,392 117,392 117,372 #808080"},
       {}},
      {"next held down: sunken edge, glyph moved",
       [](TKelvaNavigate& n) {
         n.MouseMove(kOverNextX, kOverNextY, 0);
         n.MouseDown(kOverNextX, kOverNextY, true);
       },
       {"picture AR_RIGHT 97,377", "line 91,392 91,373 117,373 #808080", "line 91,392 117,392 117,372 #ffffff"},
       {}},
      {"a middle step enables previous",
       [](TKelvaNavigate& n) { n.SetItemIndex(2); },
       {"picture AR_LEFT 42,376", "picture AR_RIGHT 96,376"},
       {}},
      {"the last step disables next",
       [](TKelvaNavigate& n) { n.SetItemIndex(4); },
       {"picture AR_LEFT 42,376", "picture AR_RIGHT 96,376 disabled"},
       {}},
      {"without previous/next",
       [](TKelvaNavigate& n) { n.SetPrevNextVisible(false); },
       {"picture KELVA15 20,123"},
       {"picture AR_LEFT", "picture AR_RIGHT", "picture BR_"}},
      {"logo hidden", [](TKelvaNavigate& n) { n.SetKelvaVisible(false); }, {}, {"picture KELVA15"}},
      {"an update above the box leaves the list alone",
       [](TKelvaNavigate&) {},
       {"picture KELVA15 20,123"},
       {"clip", "fill", "text", "noclip"},
       graphics::Rect{0, 0, 143, 150}},
  };
  for (const PaintCase& c : cases) {
    RecordingNavigateHost host;
    TKelvaNavigate nav(&host);
    nav.SetBounds(143, 400);
    nav.Loaded();
    nav.SetSelectLinear(false);
    for (int i = 0; i < 5; ++i) nav.AddLine("Step " + std::to_string(i));
    c.arrange(nav);
    RecordingCanvas canvas;
    nav.Paint(canvas, c.update);
    const std::vector<std::string>& calls = canvas.calls;
    for (const std::string& line : c.drawn) {
      EXPECT_NE(std::find(calls.begin(), calls.end(), line), calls.end()) << c.name << ": " << line;
    }
    for (const std::string& start : c.absent) {
      for (const std::string& call : calls) EXPECT_NE(call.rfind(start, 0), 0u) << c.name << ": " << call;
    }
    // The list is drawn only inside its box: the clip comes first, noclip last.
    const auto clip =
        std::find_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("clip", 0) == 0; });
    if (clip != calls.end()) {
      EXPECT_EQ(calls.back(), "noclip") << c.name;
      EXPECT_TRUE(std::none_of(calls.begin(), clip, [](const std::string& s) { return s.rfind("text", 0) == 0; }))
          << c.name;
    }
  }
}

}  // namespace
