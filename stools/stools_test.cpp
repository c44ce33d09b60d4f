#include "stools/stools.h"

#include <gtest/gtest.h>

#include "tests/support/recording_presenter.h"

namespace {

TEST(StoolsTest, AddAndRemoveBackslash) {
  struct Case {
    const char* path;
    const char* added;
    const char* removed;
  };
  const Case cases[] = {
      {"", "\\", ""},
      {"C:", "C:\\", "C:"},
      {"C:\\", "C:\\", "C:"},
      {"C:\\SIREL", "C:\\SIREL\\", "C:\\SIREL"},
      {"C:\\SIREL\\\\", "C:\\SIREL\\\\", "C:\\SIREL\\"},
      {"\\\\server\\share", "\\\\server\\share\\", "\\\\server\\share"},
      {"a/", "a/\\", "a/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddBackslash(c.path), c.added) << c.path;
    EXPECT_EQ(RemoveBackslash(c.path), c.removed) << c.path;
  }
  // A drive root loses its backslash and gets it back.
  EXPECT_EQ(AddBackslash(RemoveBackslash("E:\\")), "E:\\");
}

TEST(StoolsTest, ShowMsgBoxPassesTextAndCaptionAndCutsAt255) {
  RecordingPresenter presenter;
  const std::string exact(255, 'c');
  const std::string longer = std::string(254, 't') + "xyz";
  struct Case {
    std::string caption;
    std::string text;
    std::string shownCaption;
    std::string shownText;
  };
  const Case cases[] = {
      {"Error", "File SETUP.INF not found", "Error", "File SETUP.INF not found"},
      {exact, exact, exact, exact},
      {longer, longer, longer.substr(0, 255), longer.substr(0, 255)},
      {std::string("ab\0cd", 5), std::string("x\0y", 3), "ab", "x"},
  };
  for (const Case& c : cases) {
    presenter.messages.clear();
    EXPECT_EQ(ShowMsgBox(c.caption, c.text, MB_ICONINFORMATION), IDOK);
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].caption, c.shownCaption) << c.caption.size();
    EXPECT_EQ(presenter.messages[0].text, c.shownText) << c.text.size();
    EXPECT_EQ(presenter.messages[0].flags, MB_ICONINFORMATION);
  }
}

}  // namespace
