// Image button: background choice by state, nine slices, glyph and caption layout.
#include "controls/basics/pimgbtn_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/basics/tests/recording_theme.h"
#include "ui/recording_canvas.h"

namespace orvalis::controls {
namespace {

using test::RecordingTheme;
using ::testing::ElementsAre;

TEST(ImageButtonBackground, FirstMatchWins) {
  ui::Bitmap up(4, 4), down(4, 4), disabled(4, 4), altUp(4, 4), altDown(4, 4), empty;
  struct Case {
    const char* what;
    bool enabled, pressed, alternate;
    const ui::Bitmap* disabledImage;
    const ui::Bitmap* downImage;
    const ui::Bitmap* altDownImage;
    const ui::Bitmap* expected;
  };
  const Case cases[] = {
      {"normal", true, false, false, &disabled, &down, &altDown, &up},
      {"pressed", true, true, false, &disabled, &down, &altDown, &down},
      {"pressed with an empty down image shows up", true, true, false, &disabled, &empty, &altDown, &up},
      {"disabled", false, false, false, &disabled, &down, &altDown, &disabled},
      {"disabled without its image falls through to the alternate", false, false, true, &empty, &down, &altDown,
       &altUp},
      {"disabled without its image falls through to normal", false, false, false, &empty, &down, &altDown, &up},
      {"alternate pressed", true, true, true, &disabled, &down, &altDown, &altDown},
      {"alternate pressed without its down image", true, true, true, &disabled, &down, &empty, &altUp},
  };
  for (const auto& c : cases) {
    ImageButtonFace f;
    f.enabled = c.enabled;
    f.pressed = c.pressed;
    f.alternate = c.alternate;
    f.glyphUp = &up;
    f.glyphDown = c.downImage;
    f.glyphDisabled = c.disabledImage;
    f.altGlyphUp = &altUp;
    f.altGlyphDown = c.altDownImage;
    EXPECT_EQ(ChooseBackground(f), c.expected) << c.what;
  }
  ImageButtonFace none;
  EXPECT_EQ(ChooseBackground(none), nullptr);
}

TEST(ImageButtonNineSlice, CornersKeptEdgesStretched) {
  auto pieces = NineSlice(6, 4, 30, 20);  // hw = 3, hh = 2
  const ui::Rect expected[9][2] = {
      {{0, 0, 3, 2}, {0, 0, 3, 2}},        {{0, 2, 3, 4}, {0, 18, 3, 20}},
      {{3, 0, 6, 2}, {27, 0, 30, 2}},      {{3, 2, 6, 4}, {27, 18, 30, 20}},
      {{0, 2, 3, 3}, {0, 2, 3, 18}},       {{3, 0, 4, 2}, {3, 0, 27, 2}},
      {{3, 2, 6, 3}, {27, 2, 30, 18}},     {{3, 2, 4, 4}, {3, 18, 27, 20}},
      {{3, 2, 4, 3}, {3, 2, 27, 18}},
  };
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(pieces[i].source, expected[i][0]) << "piece " << i;
    EXPECT_EQ(pieces[i].dest, expected[i][1]) << "piece " << i;
  }
}

TEST(ImageButtonPaint, OnePixelImageFillsThroughTheCentre) {
  ui::Bitmap dot(1, 1, 0x00FF00);
  ImageButtonFace f;
  f.width = 30;
  f.height = 12;
  f.glyphUp = &dot;
  f.stretchMode = stretchCenter;
  f.transparent = false;
  ui::RecordingCanvas canvas;
  NoTheme none;
  PaintImageButton(canvas, none, f);
  auto lines = canvas.Lines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[8], "copy 0,0,1,1 -> 0,0,30,12");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(canvas.Commands()[i].rect.Empty()) << "corner " << i;
}

TEST(ImageButtonPaint, TransparentSlicesReplaceTheKeyWithTheBrush) {
  ui::Bitmap image(4, 4, 0x00FF00);
  image.SetPixel(0, 3, 0xFF00FF);
  ImageButtonFace f;
  f.width = 20;
  f.height = 10;
  f.glyphUp = &image;
  f.stretchMode = stretchCenter;
  f.color = 0x123456;
  ui::RecordingCanvas canvas;
  NoTheme none;
  PaintImageButton(canvas, none, f);
  EXPECT_EQ(canvas.Lines()[0], "brushcopy 0,0,2,2 -> 0,0,2,2 key=FF00FF brush=123456");
  f.transparentMode = ui::TransparentMode::Fixed;
  f.transparentColor = 0x00FF00;
  canvas.Clear();
  PaintImageButton(canvas, none, f);
  EXPECT_EQ(canvas.Lines()[0], "brushcopy 0,0,2,2 -> 0,0,2,2 key=00FF00 brush=123456");
}

TEST(ImageButtonPaint, StretchModes) {
  ui::Bitmap image(10, 8, 0x00FF00);
  ImageButtonFace f;
  f.width = 40;
  f.height = 20;
  f.glyphUp = &image;
  f.transparent = false;
  ui::RecordingCanvas canvas;
  NoTheme none;
  f.stretchMode = stretchNone;
  PaintImageButton(canvas, none, f);
  f.stretchMode = stretchTotal;
  PaintImageButton(canvas, none, f);
  EXPECT_THAT(canvas.Lines(), ElementsAre("draw 0,0 10x8 opaque", "stretch 10x8 -> 0,0,40,20 opaque"));
}

TEST(ImageButtonPaint, GlyphAndCaptionLayout) {
  ui::Bitmap image(30, 16, 0x00FF00);
  ui::Bitmap glyph(8, 8, 0xFF00FF);
  struct Case {
    const char* what;
    PImgStretchMode mode;
    bool pressed;
    std::string caption;
    ui::Alignment alignment;
    std::vector<std::string> tail;
  };
  // Captions measure 6 pixels a character and 13 high.
  const Case cases[] = {
      {"stretchNone centres on the image, not the control", stretchNone, false, "", ui::Alignment::Center,
       {"draw 11,4 8x8 transparent=FF00FF"}},
      {"right alignment without caption", stretchTotal, false, "", ui::Alignment::RightJustify,
       {"draw 52,11 8x8 transparent=FF00FF"}},
      {"left alignment is centred as well", stretchTotal, false, "", ui::Alignment::LeftJustify,
       {"draw 26,11 8x8 transparent=FF00FF"}},
      {"caption with glyph: glyph left of the text", stretchTotal, false, "Go", ui::Alignment::Center,
       {"text 29,8 'Go' font=Tahoma/-11 brush=none", "draw 19,11 8x8 transparent=FF00FF"}},
      {"pressed: one pixel right and down", stretchTotal, true, "Go", ui::Alignment::Center,
       {"text 30,9 'Go' font=Tahoma/-11 brush=none", "draw 20,12 8x8 transparent=FF00FF"}},
  };
  for (const auto& c : cases) {
    ImageButtonFace f;
    f.width = 60;
    f.height = 30;
    f.glyphUp = &image;
    f.glyphDown = &image;
    f.glyph = &glyph;
    f.stretchMode = c.mode;
    f.pressed = c.pressed;
    f.caption = c.caption;
    f.alignment = c.alignment;
    ui::RecordingCanvas canvas;
    NoTheme none;
    PaintImageButton(canvas, none, f);
    auto lines = canvas.Lines();
    ASSERT_EQ(lines.size(), 1 + c.tail.size()) << c.what;
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), c.tail) << c.what;
  }
}

TEST(ImageButtonPaint, DisabledGlyphIsGrey) {
  ui::Bitmap glyph(4, 4, 0x0000FF);
  ImageButtonFace f;
  f.glyph = &glyph;
  f.enabled = false;
  ui::RecordingCanvas canvas;
  NoTheme none;
  PaintImageButton(canvas, none, f);
  ASSERT_EQ(canvas.Commands().size(), 1u);
  EXPECT_EQ(canvas.Commands()[0].bitmap.Pixel(1, 1), 0x939393u);
  EXPECT_TRUE(canvas.Commands()[0].bitmap.transparent);
}

TEST(ImageButtonPaint, ThemedLookDrawsOnlyThePart) {
  ui::Bitmap image(4, 4);
  ImageButtonFace f;
  f.glyphUp = &image;
  f.glyph = &image;
  f.caption = "x";
  f.themePart = 7;
  f.pressed = true;
  ui::RecordingCanvas canvas;
  RecordingTheme theme(true);
  PaintImageButton(canvas, theme, f);
  EXPECT_TRUE(canvas.Commands().empty());
  EXPECT_THAT(theme.calls, ElementsAre("part 7,3,0"));
}

}  // namespace
}  // namespace orvalis::controls
