// Push button: hot/pressed state machine, painted state, grey glyphs and the
// themed paint's glyph placement.
#include "controls/basics/pbitbtn_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/basics/tests/recording_theme.h"
#include "ui/recording_canvas.h"

namespace orvalis::controls {
namespace {

using test::RecordingTheme;
using ::testing::ElementsAre;

class FakeButton final : public PushButtonHost {
 public:
  bool trackingWorks = true;
  int trackRequests = 0;
  int invalidations = 0;
  bool TrackMouseLeave() override {
    ++trackRequests;
    return trackingWorks;
  }
  void Invalidate() override { ++invalidations; }
};

enum Event { Down, Up, Move, Leave };

TEST(PushButtonStates, FollowTheMouse) {
  struct Case {
    const char* what;
    std::vector<Event> events;
    bool trackingWorks;
    int state;
    int invalidations;
    int trackRequests;
  };
  const Case cases[] = {
      {"starts normal", {}, true, 1, 0, 0},
      {"move over: hot once leave tracking is registered", {Move}, true, 2, 1, 1},
      {"move over without leave tracking: stays normal", {Move}, false, 1, 0, 1},
      {"moving while hot asks for tracking only once", {Move, Move, Move}, true, 2, 1, 1},
      {"press: pressed", {Move, Down}, true, 3, 2, 1},
      {"press and release: hot", {Move, Down, Up}, true, 2, 3, 1},
      {"press, drag out, release elsewhere: hot until the leave", {Down, Up}, true, 2, 2, 0},
      {"... and the leave makes it normal", {Down, Up, Leave}, true, 1, 3, 0},
      {"release without press changes nothing", {Up}, true, 1, 0, 0},
      {"moving while pressed keeps pressed", {Down, Move}, true, 3, 1, 0},
      {"leave while pressed: normal", {Down, Leave}, true, 1, 2, 0},
  };
  for (const auto& c : cases) {
    PushButtonStates states;
    FakeButton host;
    host.trackingWorks = c.trackingWorks;
    for (Event e : c.events) {
      switch (e) {
        case Down: states.MouseDown(host); break;
        case Up: states.MouseUp(host); break;
        case Move: states.MouseMove(host); break;
        case Leave: states.MouseLeave(host); break;
      }
    }
    EXPECT_EQ(states.State(), c.state) << c.what;
    EXPECT_EQ(host.invalidations, c.invalidations) << c.what;
    EXPECT_EQ(host.trackRequests, c.trackRequests) << c.what;
  }
}

TEST(PushButtonDrawingState, FocusAndDisabledLooks) {
  struct Case {
    int state;
    bool focused, gray;
    int expected;
  };
  const Case cases[] = {
      {1, false, false, 1}, {1, true, false, 5}, {2, true, false, 2}, {3, true, false, 3},
      {1, true, true, 4},   {2, false, true, 4}, {3, false, true, 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DrawingState(c.state, c.focused, c.gray), c.expected)
        << "state " << c.state << " focused " << c.focused << " gray " << c.gray;
}

TEST(MakeGrayGlyph, ThirdOfTheSumPlus96) {
  ui::Bitmap source(3, 2);
  source.SetPixel(0, 0, 0x000000);
  source.SetPixel(1, 0, 0xFFFFFF);
  source.SetPixel(2, 0, ui::Rgb(10, 20, 30));
  source.SetPixel(0, 1, ui::Rgb(255, 0, 0));
  source.SetPixel(1, 1, ui::Rgb(0, 0, 255));
  source.SetPixel(2, 1, ui::Rgb(1, 2, 1));
  ui::Bitmap gray = MakeGrayGlyph(source);
  ASSERT_EQ(gray.Width(), 3);
  ASSERT_EQ(gray.Height(), 2);
  EXPECT_EQ(gray.Pixel(0, 0), 0x606060u);  // 0 / 5 + 96
  EXPECT_EQ(gray.Pixel(1, 0), 0xF9F9F9u);  // 765 / 5 + 96 = 249, the lightest
  EXPECT_EQ(gray.Pixel(2, 0), 0x6C6C6Cu);  // 60 / 5 + 96 = 108
  EXPECT_EQ(gray.Pixel(0, 1), 0x939393u);  // 255 / 5 + 96 = 147, whichever channel
  EXPECT_EQ(gray.Pixel(1, 1), 0x939393u);
  EXPECT_EQ(gray.Pixel(2, 1), 0x606060u);  // 4 / 5 truncates to 0
}

ui::Bitmap Glyph16() {
  ui::Bitmap g(16, 16, 0xFF00FF);
  g.FillRect({4, 4, 12, 12}, 0x0000FF);
  return g;
}

TEST(ThemedButtonPaint, GlyphBesideTheCentredCaption) {
  struct Case {
    const char* what;
    ui::ButtonLayout layout;
    std::string caption;
    int x;
  };
  const Case cases[] = {
      {"left of the text, 2 pixels apart", ui::ButtonLayout::GlyphLeft, "OK", (75 - 20) / 2 - 16 - 2},
      {"right of the text, 2 pixels apart", ui::ButtonLayout::GlyphRight, "OK", (75 + 20) / 2 + 2},
      {"other layouts stay centred", ui::ButtonLayout::GlyphTop, "OK", (75 - 16) / 2},
      {"no caption: centred", ui::ButtonLayout::GlyphLeft, "", (75 - 16) / 2},
  };
  ui::Bitmap glyph = Glyph16();
  for (const auto& c : cases) {
    ThemedButtonFace face;
    face.width = 75;
    face.height = 25;
    face.caption = c.caption;
    face.glyph = &glyph;
    face.layout = c.layout;
    ui::RecordingCanvas canvas;
    RecordingTheme theme(true, 20);
    EXPECT_TRUE(PaintThemedButton(canvas, theme, face)) << c.what;
    ASSERT_EQ(canvas.Commands().size(), 1u) << c.what;
    EXPECT_EQ(canvas.Lines()[0], "drawtransparent " + std::to_string(c.x) + ",4 16x16 key=FF00FF") << c.what;
  }
}

TEST(ThemedButtonPaint, StateFocusAndCaptionThroughTheTheme) {
  ui::Bitmap glyph = Glyph16();
  ThemedButtonFace face;
  face.width = 75;
  face.height = 25;
  face.caption = "Install";
  face.glyph = &glyph;
  face.focused = true;
  ui::RecordingCanvas canvas;
  RecordingTheme theme(true, 30);
  PaintThemedButton(canvas, theme, face);
  EXPECT_THAT(theme.calls, ElementsAre("background 1,5,0", "width 1,5 'Install' flags=32",
                                       "text 1,5 'Install' 2,2,73,23 flags=37"));
}

TEST(ThemedButtonPaint, GrayedPaintsDisabledWithAGreyGlyph) {
  ui::Bitmap glyph = Glyph16();
  ThemedButtonFace face;
  face.width = 40;
  face.height = 24;
  face.glyph = &glyph;
  face.grayed = true;
  face.state = pbsHot;
  ui::RecordingCanvas canvas;
  RecordingTheme theme(true);
  PaintThemedButton(canvas, theme, face);
  EXPECT_THAT(theme.calls, ElementsAre("background 1,4,0"));
  ASSERT_EQ(canvas.Commands().size(), 1u);
  const auto& drawn = canvas.Commands()[0];
  // Magenta (255 + 255) / 5 + 96 = 198 is the key of the grey copy; red 255 / 5 + 96 = 147.
  EXPECT_EQ(drawn.Text(), "drawtransparent 12,4 16x16 key=C6C6C6");
  EXPECT_EQ(drawn.bitmap.Pixel(8, 8), 0x939393u);
}

TEST(ThemedButtonPaint, NormalWeightFontOnlyWhilePainting) {
  ui::Bitmap glyph = Glyph16();
  ThemedButtonFace face;
  face.width = 40;
  face.height = 24;
  face.glyph = &glyph;
  face.font.face = "Verdana";
  face.font.height = -13;
  face.font.style = ui::kBold | ui::kUnderline;
  ui::RecordingCanvas canvas;
  ui::Font before;
  before.face = "Before";
  canvas.SetFont(before);
  RecordingTheme theme(true);
  PaintThemedButton(canvas, theme, face);
  ASSERT_EQ(canvas.Commands().size(), 1u);
  const ui::Font& used = canvas.Commands()[0].font;
  EXPECT_EQ(used.face, "Verdana");
  EXPECT_EQ(used.height, -13);
  EXPECT_EQ(used.weight, 400);
  EXPECT_EQ(used.style, 0) << "bold and underline are dropped";
  EXPECT_EQ(canvas.GetFont().face, "Before");
}

TEST(ThemedButtonPaint, WithoutThemeNothingIsDrawn) {
  ui::Bitmap glyph = Glyph16();
  ThemedButtonFace face;
  face.width = 40;
  face.height = 24;
  face.glyph = &glyph;
  face.caption = "Go";
  ui::RecordingCanvas canvas;
  NoTheme none;
  EXPECT_FALSE(PaintThemedButton(canvas, none, face));
  EXPECT_TRUE(canvas.Commands().empty());
}

}  // namespace
}  // namespace orvalis::controls
