// Pop-up menu captions and placement.
#include "ui/popup_menu_rules.h"

#include <gtest/gtest.h>

namespace orvalis::ui {
namespace {

TEST(PopupMenuRules, EveryAmpersandOfACaptionIsShownLiterally) {
  const std::pair<const char*, const char*> cases[] = {
      {"Save & close", "Save && close"},
      {"A&B", "A&&B"},
      {"A&&B", "A&&B"},
      {"end&", "end&&"},
      {"&", "&&"},
      {"&&&", "&&&&"},
      {"&&&x", "&&&&x"},
      {"no ampersand", "no ampersand"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(LiteralMenuCaption(in), out) << in;
}

TEST(PopupMenuRules, TheAnchorIsTheBottomEdgeAtTheAlignedSide) {
  struct Case { int width, height, alignment, x, y; };
  const Case cases[] = {
      {29, 21, kPopupAlignLeft, 0, 21},   {29, 21, kPopupAlignRight, 28, 21},
      {30, 21, kPopupAlignCenter, 15, 21}, {29, 21, kPopupAlignCenter, 14, 21},  // 14.5 → 14
      {31, 10, kPopupAlignCenter, 16, 10}, {1, 1, kPopupAlignCenter, 0, 1},      // 15.5 → 16, 0.5 → 0
  };
  for (const auto& c : cases) {
    PopupPoint p = PopupAnchor(c.width, c.height, c.alignment);
    EXPECT_EQ(p.x, c.x) << c.width << " " << c.alignment;
    EXPECT_EQ(p.y, c.y) << c.width << " " << c.alignment;
  }
}

TEST(PopupMenuRules, TheExclusionCoversTheControlOnTheAlignedSide) {
  PopupPoint anchor{100, 200};
  EXPECT_EQ(PopupExclusion(anchor, 29, 21, kPopupAlignLeft), (PopupRect{100, 179, 129, 200}));
  EXPECT_EQ(PopupExclusion(anchor, 29, 21, kPopupAlignRight), (PopupRect{71, 179, 100, 200}));
  EXPECT_EQ(PopupExclusion(anchor, 29, 21, kPopupAlignCenter), (PopupRect{86, 179, 114, 200}));
}

TEST(PopupMenuRules, TrackFlagsFollowAlignmentAndExclusion) {
  EXPECT_EQ(PopupTrackFlags(kPopupAlignLeft, true), 0x140u);
  EXPECT_EQ(PopupTrackFlags(kPopupAlignRight, true), 0x148u);
  EXPECT_EQ(PopupTrackFlags(kPopupAlignCenter, true), 0x144u);
  EXPECT_EQ(PopupTrackFlags(kPopupAlignCenter, false), 0x104u);
  EXPECT_EQ(PopupTrackFlags(kPopupAlignLeft, false), 0x100u);
}

}  // namespace
}  // namespace orvalis::ui
