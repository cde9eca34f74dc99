// The framework's own looks: panel bevels and fill, bitmap button layout and
// the embossed disabled glyph.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/bitbtn_look.h"
#include "ui/panel_look.h"
#include "ui/recording_canvas.h"

namespace orvalis::ui {
namespace {

using ::testing::ElementsAre;

TEST(PanelFrameLook, RaisedBevelThenFillThenCaption) {
  RecordingCanvas canvas;
  PanelFrame p;
  p.width = 10;
  p.height = 6;
  p.color = 0x00FF00;
  p.caption = "P";
  PaintPanelFrame(canvas, p);
  EXPECT_THAT(canvas.Lines(),
              ElementsAre("line 0,5-0,0 pen=80000014", "line 0,0-9,0 pen=80000014", "line 9,0-9,5 pen=80000010",
                          "line 9,5--1,5 pen=80000010", "fill 1,1,9,5 brush=00FF00",
                          "drawtext 'P' 1,1,9,5 flags=25 font=Tahoma/-11"));
}

TEST(PanelFrameLook, LoweredInnerBevelInsideTheOuter) {
  RecordingCanvas canvas;
  PanelFrame p;
  p.width = 10;
  p.height = 10;
  p.inner = Bevel::Lowered;
  p.bevelWidth = 2;
  PaintPanelFrame(canvas, p);
  auto lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[8], "line 2,7-2,2 pen=80000010") << "lowered: shadow on the upper left";
  EXPECT_EQ(lines[16], "fill 4,4,6,6 brush=8000000F");
}

TEST(BitBtnLayout, GlyphAndCaptionCentredTogether) {
  Bitmap glyph(16, 16);
  struct Case {
    ButtonLayout layout;
    Point glyphAt;
    Rect text;
  };
  // 100 × 30 button, caption 30 × 13, spacing 4.
  const Case cases[] = {
      {ButtonLayout::GlyphLeft, {25, 7}, {45, 8, 75, 21}},
      {ButtonLayout::GlyphRight, {59, 7}, {25, 8, 55, 21}},
      {ButtonLayout::GlyphTop, {42, -1}, {35, 19, 65, 32}},
      {ButtonLayout::GlyphBottom, {42, 16}, {35, -1, 65, 12}},
  };
  for (const auto& c : cases) {
    BitBtnFace face;
    face.width = 100;
    face.height = 30;
    face.caption = "Caption";
    face.glyph = &glyph;
    face.layout = c.layout;
    BitBtnLayout l = LayoutBitBtn(face, {30, 13});
    EXPECT_EQ(l.glyph, c.glyphAt) << int(c.layout);
    EXPECT_EQ(l.text, c.text) << int(c.layout);
  }
}

TEST(BitBtnLook, PressedShiftsAndDisabledEmbosses) {
  Bitmap glyph(2, 2, 0xFF00FF);
  glyph.SetPixel(1, 0, 0x0000FF);
  BitBtnFace face;
  face.width = 40;
  face.height = 20;
  face.glyph = &glyph;
  face.pressed = true;
  face.enabled = false;
  RecordingCanvas canvas;
  PaintBitBtn(canvas, face);
  auto lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "frame 0,0,40,20 pressed");
  EXPECT_EQ(lines[1], "drawtransparent 20,10 3x3 key=FF00FF");
  const Bitmap& drawn = canvas.Commands()[1].bitmap;
  EXPECT_EQ(drawn.Pixel(1, 0), 0x808080u);
  EXPECT_EQ(drawn.Pixel(2, 1), 0xFFFFFFu);
  EXPECT_EQ(drawn.Pixel(0, 0), 0xFF00FFu);
}

}  // namespace
}  // namespace orvalis::ui
