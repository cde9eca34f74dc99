// Choice control: button and editor layout at 96 and 120 pixels per inch, and
// the selection rules.
#include <gtest/gtest.h>

#include <vector>

#include "controls/lists/pchoice_model.h"

namespace orvalis::controls {
namespace {

std::vector<int> Tops(const ChoiceLayout& l) {
  std::vector<int> v;
  for (const auto& b : l.buttons) v.push_back(b.top);
  return v;
}
std::vector<int> Lefts(const ChoiceLayout& l) {
  std::vector<int> v;
  for (const auto& b : l.buttons) v.push_back(b.left);
  return v;
}

TEST(ChoiceLayout, ButtonsAtBothResolutions) {
  struct Case {
    int dpi;
    bool horizontal;
    bool inverted;
    std::vector<int> tops;
    std::vector<int> lefts;
    int width;
    int autoHeight;
  };
  const Case cases[] = {
      {96, false, false, {1, 21, 41}, {0, 0, 0}, 300, 61},
      {96, false, true, {41, 21, 1}, {0, 0, 0}, 300, 61},
      {120, false, false, {1, 26, 51}, {0, 0, 0}, 300, 76},
      {120, false, true, {51, 26, 1}, {0, 0, 0}, 300, 76},
      {96, true, false, {0, 0, 0}, {0, 100, 200}, 100, 50},
      {96, true, true, {0, 0, 0}, {200, 100, 0}, 100, 50},
      {120, true, false, {0, 0, 0}, {0, 100, 200}, 100, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " h" << c.horizontal << " i" << c.inverted);
    const auto l = LayoutChoice({.lines = 3, .width = 300, .height = 50, .dpi = c.dpi, .horizontal = c.horizontal,
                                 .inverted = c.inverted});
    EXPECT_EQ(Tops(l), c.tops);
    EXPECT_EQ(Lefts(l), c.lefts);
    for (const auto& b : l.buttons) EXPECT_EQ(b.width, c.width);
    EXPECT_EQ(ChoiceAutoHeight(3, c.horizontal, 50, c.dpi), c.autoHeight);
  }
  EXPECT_TRUE(LayoutChoice({.lines = 0, .width = 300, .hasOther = true}).buttons.empty());
}

TEST(ChoiceLayout, OtherEditorBesideOrBelowTheLastChoice) {
  struct Case {
    int dpi;
    bool horizontal;
    OType type;
    int textWidth;
    bool beside;
    ChoiceRect other;
    int lastWidth;
  };
  const Case cases[] = {
      // Room to the right: 300 - 0 - 40 - 30 >= 20.
      {96, false, OType::otPNumEdit, 40, true, {69, 41, 231, 21}, 68},
      {120, false, OType::otPNumEdit, 40, true, {69, 51, 231, 26}, 68},
      // Exactly 20 left over is still beside; one pixel more goes below.
      {96, false, OType::otPEdit, 250, true, {279, 41, 21, 21}, 278},
      {96, false, OType::otPEdit, 251, false, {19, 60, 281, 21}, 300},
      {120, false, OType::otPEdit, 251, false, {19, 70, 281, 26}, 300},
      // Memo and rich text fill the rest of the height.
      {96, false, OType::otPMemo, 251, false, {19, 60, 281, 140}, 300},
      {96, false, OType::otPRichEdit, 40, true, {69, 41, 231, 159}, 68},
      // Horizontal, last button at 200: 300 - 200 - 60 - 30 < 20.
      {96, true, OType::otPEdit, 60, false, {219, 19, 81, 21}, 100},
      {96, true, OType::otPEdit, 30, true, {259, 0, 41, 21}, 58},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " w" << c.textWidth << " type" << static_cast<int>(c.type));
    const auto l = LayoutChoice({.lines = 3, .width = 300, .height = 200, .dpi = c.dpi, .horizontal = c.horizontal,
                                 .hasOther = true, .otherType = c.type, .lastTextWidth = c.textWidth});
    ASSERT_TRUE(l.hasOther);
    EXPECT_EQ(l.otherBeside, c.beside);
    EXPECT_EQ(l.other, c.other);
    EXPECT_EQ(l.buttons.back().width, c.lastWidth);
  }
}

TEST(ChoiceLayout, TooSmallAControlGivesNoNegativeEditorSize) {
  const auto l = LayoutChoice({.lines = 3, .width = 10, .height = 30, .hasOther = true, .otherType = OType::otPMemo,
                               .lastTextWidth = 40});
  EXPECT_EQ(l.other, (ChoiceRect{19, 60, 0, 0}));
}

TEST(ChoiceModel, SelectionAndOtherEditor) {
  ChoiceModel m;
  int changes = 0;
  m.OnChange = [&](ChoiceModel&) { ++changes; };
  m.SetLines({{"One", 1}, {"Two", 2}, {"Other", 3}});
  m.SetOtherIsActive(true);
  m.SetOtherText("42");

  for (int index : {-1, 3, 7}) {
    m.SetListIndex(index);
    EXPECT_EQ(m.CheckedIndex(), -1) << index;
    EXPECT_EQ(m.ListIndex(), index);
    EXPECT_FALSE(m.OtherVisible());
  }
  m.Click(1);
  EXPECT_FALSE(m.OtherVisible());
  m.Click(2);
  EXPECT_TRUE(m.OtherVisible());
  m.Click(2);  // already selected: no change
  EXPECT_EQ(changes, 2);

  m.SetOtherType(OType::otPMemo);
  EXPECT_EQ(m.OtherText(), "42");
  m.OtherEdited("43");
  EXPECT_EQ(m.OtherText(), "43");
  EXPECT_EQ(changes, 3);
  m.SetOtherIsActive(false);
  EXPECT_FALSE(m.OtherVisible());
}

TEST(ChoiceModel, DeleteKeepsTheSelectedLine) {
  struct Case {
    int selected;
    std::intptr_t tag;
    bool deleted;
    int after;
    std::size_t lines;
  };
  const Case cases[] = {
      {2, 9, false, 2, 3},  // no line carries the tag
      {2, 1, true, 1, 2},   // a line before the selection
      {0, 3, true, 0, 2},   // a line after it
      {1, 2, true, -1, 2},  // the selected line itself
  };
  for (const auto& c : cases) {
    ChoiceModel m;
    m.SetLines({{"One", 1}, {"Two", 2}, {"Three", 3}});
    m.SetListIndex(c.selected);
    EXPECT_EQ(m.Delete(c.tag), c.deleted) << c.tag;
    EXPECT_EQ(m.ListIndex(), c.after) << c.tag;
    EXPECT_EQ(m.Lines().size(), c.lines) << c.tag;
  }
}

TEST(ChoiceOtherText, HostTextsForNumberAndDateEditors) {
  const struct {
    const char* text;
    char decimalSign;
    double value;
  } numbers[] = {
      {"1.234,5 EUR", ',', 1234.5}, {"-12,25", ',', -12.25}, {"12.5", '.', 12.5},
      {"12 %", ',', 12},           {"", ',', 0},            {"abc", ',', 0},
  };
  for (const auto& c : numbers) EXPECT_DOUBLE_EQ(OtherNumberValue(c.text, c.decimalSign), c.value) << c.text;

  const struct {
    const char* text;
    const char* digits;
  } dates[] = {
      {"1-2-2024", "01022024"}, {"31/12/99", "311299"}, {"05022024", "05022024"}, {"", ""}, {"1-2-3-4", "010234"},
  };
  for (const auto& c : dates) EXPECT_EQ(OtherDateDigits(c.text), c.digits) << c.text;
}

}  // namespace
}  // namespace orvalis::controls
