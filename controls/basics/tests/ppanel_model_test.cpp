// Panel paint: the gradient colour rules, every draw mode's commands on a small
// panel, shadow, nails, position markers and the caption tab.
#include "controls/basics/ppanel_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/basics/tests/recording_theme.h"
#include "ui/recording_canvas.h"

namespace orvalis::controls {
namespace {

using test::RecordingTheme;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ui::RecordingCanvas;

struct GradientCase {
  const char* what;
  int pos1, pos2, width;
  double percent;
  ui::Color expected;
};

TEST(PanelGradientColor, FollowsStopsBlendZonesAndClamping) {
  // P black, C1 red 200, C2 blue 200: a blend's halfway point is easy to spot.
  const GradientCase cases[] = {
      {"30/70/20: P below the first zone", 30, 70, 20, 19.9, 0x000000},
      {"30/70/20: first zone starts at 20", 30, 70, 20, 20, 0x000000},
      {"30/70/20: first zone halfway", 30, 70, 20, 30, 0x000064},
      {"30/70/20: first zone three quarters", 30, 70, 20, 35, 0x000096},
      {"30/70/20: C1 from 40", 30, 70, 20, 40, 0x0000C8},
      {"30/70/20: C1 until 60", 30, 70, 20, 60, 0x0000C8},
      {"30/70/20: second zone halfway", 30, 70, 20, 70, 0x640064},
      {"30/70/20: C2 at 80", 30, 70, 20, 80, 0xC80000},
      {"30/70/20: C2 after 80", 30, 70, 20, 95, 0xC80000},
      {"all zero: two colours, start", 0, 0, 0, 0, 0x000000},
      {"all zero: two colours, quarter", 0, 0, 0, 25, 0x000032},
      {"all zero: two colours, end is C1", 0, 0, 0, 100, 0x0000C8},
      {"positions above 100 and below 0 clamp: P before 100", 150, -20, 0, 50, 0x000000},
      {"positions above 100 and below 0 clamp: C1 at 100", 150, -20, 0, 100, 0x0000C8},
      {"second below first is raised: P before", 60, 40, 0, 59, 0x000000},
      {"second below first is raised: C1 at the stop", 60, 40, 0, 60, 0x0000C8},
      {"second below first is raised: C2 after", 60, 40, 0, 61, 0xC80000},
      {"negative first clamps to 0: C1 at 0", -10, 50, 0, 0, 0x0000C8},
      {"negative first clamps to 0: second zone halfway", -10, 50, 0, 50, 0x640064},
      {"overlapping zones share the gap", 30, 40, 40, 30, 0x000064},
      {"overlapping zones: C1 at the meeting point", 30, 40, 40, 35, 0x0000C8},
      {"overlapping zones: second halfway", 30, 40, 40, 40, 0x640064},
      {"first zone cut by the first stop", 2, 30, 60, 2, 0x000064},
      {"second zone takes the rest", 2, 30, 60, 30, 0x640064},
  };
  for (const auto& c : cases) {
    PanelLook look;
    look.PanelColor = 0x000000;
    look.Gradient1Color = 0x0000C8;
    look.Gradient2Color = 0xC80000;
    look.Gradient1Pos = c.pos1;
    look.Gradient2Pos = c.pos2;
    look.GradientWidth = c.width;
    EXPECT_EQ(GradientColor(look, c.percent), c.expected) << c.what;
  }
}

TEST(PanelBlendColor, IntegerChannelsTowardZero) {
  EXPECT_EQ(BlendColor(0x0000FF, 0x000000, 1, 3), 0x0000AAu);
  EXPECT_EQ(BlendColor(0x000000, 0x0A0000, 1, 14), 0x000000u);
  EXPECT_EQ(BlendColor(0x000000, 0x0A0000, 3, 14), 0x020000u);
  EXPECT_EQ(BlendColor(0x102030, 0x405060, 0, 0), 0x102030u) << "an empty run keeps the start colour";
}

// A 20 × 10 panel without bevels, fill C0C0C0, box black, pen red.
PanelPaintInput SmallPanel(PPanelDM mode) {
  PanelPaintInput in;
  in.frame.width = 20;
  in.frame.height = 10;
  in.frame.outer = ui::Bevel::None;
  in.frame.color = 0xC0C0C0;
  in.client = {20, 10};
  in.look.DrawMode = mode;
  in.look.BorderSize = 1;
  in.look.BoxHeight = 2;
  in.look.PanelColor = 0x000000;
  in.look.PanelPenColor = 0x0000FF;
  in.look.Gradient1Color = 0x0000C8;
  in.look.Gradient2Color = 0x0A0000;
  return in;
}

std::vector<std::string> Paint(const PanelPaintInput& in) {
  RecordingCanvas canvas;
  RecordingTheme theme(false);
  PaintPanel(canvas, theme, in);
  return canvas.Lines();
}

std::vector<std::string> Only(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(out),
               [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  return out;
}

TEST(PanelPaint, BoxModesDrawTheirOwnShapes) {
  struct Case {
    const char* what;
    PPanelDM mode;
    int border;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"normal: the framework panel only", dmNormal, 1, {"fill 0,0,20,10 brush=C0C0C0"}},
      {"panel with one border: one outline in the pen colour filled with the box colour",
       dmPanel,
       1,
       {"fill 0,0,20,10 brush=C0C0C0", "roundrect 0,0,20,10 r2,2 pen=0000FF brush=000000"}},
      {"panel with two borders: outer filled with the pen colour",
       dmPanel,
       2,
       {"fill 0,0,20,10 brush=C0C0C0", "roundrect 0,0,20,10 r2,2 pen=0000FF brush=0000FF",
        "roundrect 1,1,19,9 r2,2 pen=0000FF brush=000000"}},
      {"panel without border: no outline", dmPanel, 0, {"fill 0,0,20,10 brush=C0C0C0"}},
      {"baseline: box fill and one line per border pixel from the bottom",
       dmBaseline,
       2,
       {"fill 0,0,20,10 brush=C0C0C0", "fill 0,0,20,10 brush=000000", "line 0,9-20,9 pen=0000FF",
        "line 0,8-20,8 pen=0000FF"}},
      {"gradient border: pen colour to box colour in integer steps",
       dmGradientBorder,
       3,
       {"fill 0,0,20,10 brush=C0C0C0", "roundrect 0,0,20,10 r2,2 pen=0000FF brush=0000FF",
        "roundrect 1,1,19,9 r2,2 pen=0000AA brush=0000AA", "roundrect 2,2,18,8 r2,2 pen=000055 brush=000055"}},
      {"diagonal modes have no step of their own", dmGradientDiagonal1, 1, {"fill 0,0,20,10 brush=C0C0C0"}},
  };
  for (const auto& c : cases) {
    PanelPaintInput in = SmallPanel(c.mode);
    in.look.BorderSize = c.border;
    EXPECT_THAT(Paint(in), ElementsAreArray(c.expected)) << c.what;
  }
}

TEST(PanelPaint, HorizontalGradientCapsAndColumns) {
  PanelPaintInput in = SmallPanel(dmGradientHorizontal);
  auto lines = Paint(in);
  // No framework fill: the gradient modes skip the standard panel painting.
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "roundrect 0,0,20,10 r2,2 pen=0000FF brush=000000");
  EXPECT_EQ(lines[1], "roundrect 0,0,6,10 r2,2 pen=0000FF brush=000000");
  EXPECT_EQ(lines[2], "roundrect 14,0,20,10 r2,2 pen=0000FF brush=0000C8");
  auto fills = Only(lines, "fill");
  // n = 20 - 2(2 + 1) - 1 = 13: columns 3 … 16 at j × 100 / 13 percent of black → red 200.
  ASSERT_EQ(fills.size(), 14u);
  EXPECT_EQ(fills[0], "fill 3,1,4,9 brush=000000");
  EXPECT_EQ(fills[1], "fill 4,1,5,9 brush=00000F");
  EXPECT_EQ(fills[13], "fill 16,1,17,9 brush=0000C8");
  EXPECT_TRUE(Only(lines, "line").empty()) << "no markers unless asked";
}

TEST(PanelPaint, GradientSizeMovesTheRunTowardTheFarEdge) {
  PanelPaintInput in = SmallPanel(dmGradientHorizontal);
  in.frame.width = 40;
  in.look.GradientSize = 10;
  // o = 40 - 10 - 2 = 28; n = 40 - 6 - 28 - 1 = 5: columns 31 … 36.
  auto fills = Only(Paint(in), "fill");
  ASSERT_EQ(fills.size(), 6u);
  EXPECT_EQ(fills.front(), "fill 31,1,32,9 brush=000000");
  EXPECT_EQ(fills.back(), "fill 36,1,37,9 brush=0000C8");
}

TEST(PanelPaint, VerticalGradientRunsDownTheRows) {
  PanelPaintInput in = SmallPanel(dmGradientVertical);
  in.frame.width = 10;
  in.frame.height = 20;
  auto lines = Paint(in);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "roundrect 0,0,10,6 r2,2 pen=0000FF brush=000000");
  EXPECT_EQ(lines[2], "roundrect 0,13,10,20 r2,2 pen=0000FF brush=0000C8");
  auto fills = Only(lines, "fill");
  ASSERT_EQ(fills.size(), 14u);
  EXPECT_EQ(fills[0], "fill 1,3,9,4 brush=000000");
  EXPECT_EQ(fills[13], "fill 1,16,9,17 brush=0000C8");
}

TEST(PanelPaint, HeaderSquaresItsLowerEndsAndWritesTheCaptionInside) {
  PanelPaintInput in = SmallPanel(dmHeader);
  in.frame.caption = "Hi";
  auto lines = Paint(in);
  std::vector<std::string> head(lines.begin(), lines.begin() + 8);
  EXPECT_THAT(head, ElementsAre("fill 0,0,20,10 brush=C0C0C0", "drawtext 'Hi' 0,0,20,10 flags=25 font=Tahoma/-11",
                                "roundrect 0,0,20,10 r2,2 pen=0000FF brush=000000",
                                "roundrect 0,0,6,10 r2,2 pen=0000FF brush=000000",
                                "rectangle 1,8,6,11 pen=000000 brush=000000",
                                "roundrect 14,0,20,10 r2,2 pen=0000FF brush=0A0000",
                                "rectangle 14,8,19,10 pen=0A0000 brush=0A0000",
                                "rectangle 0,8,1,10 pen=0000FF brush=0000FF"));
  EXPECT_EQ(lines[8], "rectangle 19,8,20,10 pen=0000FF brush=0000FF");
  auto fills = Only(std::vector<std::string>(lines.begin() + 1, lines.end()), "fill");
  // n = 14: blue 0 → 10 in integer steps.
  ASSERT_EQ(fills.size(), 15u);
  EXPECT_EQ(fills[2], "fill 5,1,6,10 brush=010000");
  EXPECT_EQ(fills[14], "fill 17,1,18,10 brush=0A0000");
  EXPECT_EQ(lines.back(), "drawtext 'Hi' 10,1,20,10 flags=24 font=Tahoma/-11");
  EXPECT_TRUE(Only(lines, "text").empty()) << "a header never draws the caption tab";
}

TEST(PanelPaint, HeaderWithoutBorderUsesFillColoursAsPens) {
  PanelPaintInput in = SmallPanel(dmHeader);
  in.look.BorderSize = 0;
  auto lines = Paint(in);
  EXPECT_EQ(lines[1], "roundrect 0,0,4,10 r2,2 pen=000000 brush=000000");
  EXPECT_EQ(lines[3], "roundrect 16,0,20,10 r2,2 pen=0A0000 brush=0A0000");
}

TEST(PanelPaint, CardRoundsOnlyItsUpperCornersAndUnderlines) {
  PanelPaintInput in = SmallPanel(dmCard);
  auto lines = Paint(in);
  EXPECT_EQ(lines[1], "roundrect 0,0,4,12 r2,2 pen=0000FF brush=000000");
  EXPECT_EQ(lines[2], "roundrect 16,0,20,12 r2,2 pen=0000FF brush=0A0000");
  EXPECT_EQ(Only(lines, "fill").size(), 1u + 15u);
  EXPECT_EQ(lines.back(), "line 0,9-19,9 pen=0000FF");
}

TEST(PanelPaint, ShadowComesFirstAndShrinksTheBox) {
  PanelPaintInput in = SmallPanel(dmPanel);
  in.look.ShadowWidth = 3;
  in.look.ShadowColor = 0x808080;
  in.look.ShadowPenColor = 0x404040;
  EXPECT_THAT(Paint(in), ElementsAre("fill 0,0,20,10 brush=C0C0C0", "roundrect 3,3,20,10 r2,2 pen=404040 brush=808080",
                                     "roundrect 0,0,17,7 r2,2 pen=0000FF brush=000000"));
}

TEST(PanelPaint, PositionMarkersAtUnclampedStops) {
  PanelPaintInput in = SmallPanel(dmGradientHorizontal);
  in.look.GradientPositions = true;
  in.look.Gradient1Pos = 30;
  in.look.Gradient2Pos = 150;
  auto lines = Only(Paint(in), "line");
  ASSERT_EQ(lines.size(), 30u) << "15 strokes per marker";
  EXPECT_EQ(lines[0], "line 6,1-10,5 pen=000000");
  EXPECT_EQ(lines[15], "line 30,1-34,5 pen=000000");
}

TEST(PanelPositionMarker, ThumbStrokes) {
  RecordingCanvas canvas;
  DrawPositionMarker(canvas, 10, 20);
  EXPECT_THAT(canvas.Lines(),
              ElementsAre("line 10,13-14,17 pen=000000", "line 14,17-14,20 pen=000000", "line 14,20-6,20 pen=000000",
                          "line 6,20-6,17 pen=000000", "line 6,17-10,13 pen=000000", "line 10,14-7,17 pen=FFFFFF",
                          "line 7,17-7,19 pen=FFFFFF", "line 10,14-13,17 pen=808080", "line 13,17-13,19 pen=808080",
                          "line 13,19-6,19 pen=808080", "line 8,18-8,16 pen=C0C0C0", "line 9,18-9,15 pen=C0C0C0",
                          "line 10,18-10,14 pen=C0C0C0", "line 11,18-11,15 pen=C0C0C0", "line 12,18-12,16 pen=C0C0C0"));
}

TEST(PanelNail, ShadedHeadShrinksTowardTheHighlightThenSlot) {
  RecordingCanvas canvas;
  DrawNail(canvas, 0x000000, 4, 4, 12, 12);
  EXPECT_THAT(canvas.Lines(),
              ElementsAre("ellipse 4,4,12,12 pen=none brush=000000", "ellipse 4,4,10,10 pen=none brush=3F3F3F",
                          "ellipse 5,5,9,9 pen=none brush=7F7F7F", "ellipse 6,6,8,8 pen=none brush=BFBFBF",
                          "line 6,7-9,4 pen=000000", "line 6,8-10,4 pen=000000", "line 7,8-10,5 pen=FFFFFF"));
}

TEST(PanelNail, SizeOneDrawsOnlyTheSlot) {
  PanelPaintInput in = SmallPanel(dmPanel);
  in.look.NailSize = 1;
  in.look.NailColor = 0x102030;
  auto lines = Paint(in);
  EXPECT_TRUE(Only(lines, "ellipse").empty());
  auto slots = Only(lines, "line");
  ASSERT_EQ(slots.size(), 12u) << "three strokes at each of four corners";
  EXPECT_EQ(slots[0], "line 2,-3--1,-1 pen=102030");
  EXPECT_EQ(slots[2], "line 3,-2-0,0 pen=FFFFFF");
  // Lower-right corner square from (20 - 0 - 1 - 0, 10 - 1 - 0 - 0) = (19, 9).
  EXPECT_EQ(slots[9], "line 20,6-18,8 pen=102030");
}

TEST(PanelNail, CornersStayInsideTheShadow) {
  PanelPaintInput in = SmallPanel(dmPanel);
  in.frame.width = in.client.cx = 60;
  in.frame.height = in.client.cy = 40;
  in.look.NailSize = 6;
  in.look.ShadowWidth = 4;
  auto heads = Only(Paint(in), "ellipse");
  ASSERT_EQ(heads.size(), 12u);
  EXPECT_EQ(heads[0].substr(0, 17), "ellipse 3,3,9,9 p");
  EXPECT_EQ(heads[3].substr(0, 20), "ellipse 3,27,9,33 pe");
  EXPECT_EQ(heads[6].substr(0, 20), "ellipse 47,3,53,9 pe");
  EXPECT_EQ(heads[9].substr(0, 22), "ellipse 47,27,53,33 pe");
}

TEST(PanelCaptionTab, SquaresTheCornersThatTouchTheBox) {
  struct Case {
    const char* what;
    int width;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"tab narrower than the panel: upper-right squared",
       100,
       {"roundrect 0,0,38,26 r6,6 pen=0000FF brush=0000FF", "rectangle 0,21,5,26 pen=0000FF brush=0000FF",
        "rectangle 33,0,38,5 pen=0000FF brush=0000FF", "text 10,6 'Tab' font=Tahoma/-11 brush=0000FF"}},
      {"tab cut to the panel's width: lower-right squared",
       30,
       {"roundrect 0,0,30,26 r6,6 pen=0000FF brush=0000FF", "rectangle 0,21,5,26 pen=0000FF brush=0000FF",
        "rectangle 25,21,30,26 pen=0000FF brush=0000FF", "text 10,6 'Tab' font=Tahoma/-11 brush=0000FF"}},
  };
  for (const auto& c : cases) {
    PanelPaintInput in = SmallPanel(dmPanel);
    in.look.BorderSize = 0;
    in.look.BoxHeight = 6;
    in.frame.width = in.client.cx = c.width;
    in.frame.height = in.client.cy = 50;
    in.frame.caption = "Tab";
    auto lines = Paint(in);
    ASSERT_EQ(lines.size(), 6u) << c.what;
    EXPECT_EQ(lines[1].substr(0, 14), "drawtext 'Tab'") << "the framework caption comes first";
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 2, lines.end()), ElementsAreArray(c.expected)) << c.what;
  }
}

TEST(PanelCaptionTab, RaisedToTheBoxHeight) {
  PanelPaintInput in = SmallPanel(dmPanel);
  in.look.BorderSize = 0;
  in.look.BoxHeight = 40;
  in.frame.width = in.client.cx = 100;
  in.frame.height = in.client.cy = 60;
  in.frame.caption = "A";
  auto lines = Paint(in);
  EXPECT_EQ(lines[2], "roundrect 0,0,40,40 r40,40 pen=0000FF brush=0000FF");
  EXPECT_EQ(lines.back(), "text 10,10 'A' font=Tahoma/-11 brush=0000FF");
}

TEST(PanelCaptionTab, NormalModeDrawsNoTab) {
  PanelPaintInput in = SmallPanel(dmNormal);
  in.frame.caption = "Title";
  EXPECT_THAT(Paint(in), ElementsAre("fill 0,0,20,10 brush=C0C0C0", "drawtext 'Title' 0,0,20,10 flags=25 font=Tahoma/-11"));
}

TEST(PanelPaint, ThemedLookDrawsOnlyThroughTheTheme) {
  PanelPaintInput in = SmallPanel(dmHeader);
  in.look.ShadowWidth = 3;
  in.look.NailSize = 6;
  in.look.ThemePart = 5;
  in.look.ThemeState = 2;
  in.frame.caption = "Back";
  RecordingCanvas canvas;
  RecordingTheme theme(true);
  PaintPanel(canvas, theme, in);
  EXPECT_TRUE(canvas.Lines().empty());
  EXPECT_THAT(theme.calls, ElementsAre("background 5,2,0", "text 5,2 'Back' 10,1,20,10 flags=36"));
}

TEST(PanelPaint, FailedThemeFallsBackToTheClassicLook) {
  PanelPaintInput in = SmallPanel(dmPanel);
  RecordingCanvas canvas;
  RecordingTheme theme(false);
  PaintPanel(canvas, theme, in);
  EXPECT_THAT(theme.calls, ElementsAre("background 0,0,0"));
  EXPECT_EQ(canvas.Lines().size(), 2u);
}

TEST(PanelPaint, RestoresPenAndBrush) {
  PanelPaintInput in = SmallPanel(dmGradientHorizontal);
  in.look.NailSize = 4;
  in.frame.caption = "x";
  RecordingCanvas canvas;
  canvas.SetPen(ui::Pen{0x123456, 1, ui::PenStyle::Solid});
  canvas.SetBrush(ui::Brush{0x654321, ui::BrushStyle::Solid});
  RecordingTheme theme(false);
  PaintPanel(canvas, theme, in);
  EXPECT_EQ(canvas.GetPen().color, 0x123456u);
  EXPECT_EQ(canvas.GetBrush().color, 0x654321u);
}

}  // namespace
}  // namespace orvalis::controls
