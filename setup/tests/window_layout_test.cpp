// Layout rules of the setup windows.
#include "setup/window_layout.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(WindowLayout, MainDialogFollowsTheProductTextHeight) {
  // A 53-pixel text as designed, and a taller one after fitting.
  MainDialogLayout designed = LayoutMainDialog(53);
  EXPECT_EQ(designed.rtfBoxHeight, 69);
  EXPECT_EQ(designed.setupBoxTop, 129);
  EXPECT_EQ(designed.buttonTop, 210);
  EXPECT_EQ(designed.versionTop, 214);  // (25 - 17) / 2 below the buttons' top
  EXPECT_EQ(designed.clientHeight, 243);
  MainDialogLayout fitted = LayoutMainDialog(130);
  EXPECT_EQ(fitted.setupBoxTop - designed.setupBoxTop, 77);
  EXPECT_EQ(fitted.clientHeight - designed.clientHeight, 77);
}

TEST(WindowLayout, OptionsDialogStacksOnlyWhatIsVisible) {
  struct Case {
    bool files, options;
    std::array<bool, 5> visible;
    std::array<int, 5> tops;
    int optionsHeight, filesTop, optionsTop, buttonTop, clientHeight;
  };
  const Case cases[] = {
      // Shortcut boxes shown.
      {true, true, {true, true, true, true, false}, {6, 27, 48, 69, 0}, 92, 53, 274, 374, 407},
      // The shortcut note instead of the boxes.
      {true, true, {true, true, false, false, true}, {6, 27, 0, 0, 48}, 111, 53, 274, 393, 426},
      // No optional files: the options directly below the header.
      {false, true, {true, true, false, false, false}, {6, 27, 0, 0, 0}, 50, 0, 53, 111, 144},
      // Unattended with nothing to choose: only the buttons.
      {false, false, {true, true, false, false, false}, {6, 27, 0, 0, 0}, 50, 0, 0, 53, 86},
  };
  for (const auto& c : cases) {
    OptionsDialogLayout l = LayoutOptionsDialog(c.files, c.options, c.visible);
    EXPECT_EQ(l.optionTops, c.tops);
    EXPECT_EQ(l.optionsHeight, c.optionsHeight);
    EXPECT_EQ(l.filesTop, c.filesTop);
    EXPECT_EQ(l.optionsTop, c.optionsTop);
    EXPECT_EQ(l.buttonTop, c.buttonTop);
    EXPECT_EQ(l.clientHeight, c.clientHeight);
  }
}

TEST(WindowLayout, LanguageDialogShowsEveryItemAboveTheButtons) {
  LanguageDialogLayout l = LayoutLanguageDialog(2);
  EXPECT_EQ(l.listHeight, 40);
  EXPECT_EQ(l.buttonTop, 76);
  EXPECT_EQ(l.clientWidth, 284);
  EXPECT_EQ(l.clientHeight, 109);
}

}  // namespace
}  // namespace orvalis
