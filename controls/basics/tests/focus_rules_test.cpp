// Check box and radio button focus captions and hot boxes; label link hover.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/basics/pcheckbox_model.h"
#include "controls/basics/plabel_model.h"
#include "controls/basics/pradiobutton_model.h"
#include "ui/canvas.h"

namespace orvalis::controls {
namespace {

TEST(CheckBoxCaption, ArrowWhileFocusedWhenThereIsNoText) {
  struct Case {
    const char* what;
    std::string caption;
    bool themed;
    bool captionLeft;
    std::optional<std::string> onEnter;
  };
  const Case cases[] = {
      {"classic, empty, caption right of the box", "", false, false, "< "},
      {"classic, empty, caption left of the box", "", false, true, " >"},
      {"themed, empty: no arrow", "", true, false, std::nullopt},
      {"themed, single space: arrow", " ", true, false, "< "},
      {"classic, single space: arrow", " ", false, true, " >"},
      {"text stays", "Custom", false, false, std::nullopt},
      {"two spaces stay", "  ", false, false, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckBoxEnterCaption(c.caption, c.themed, c.captionLeft), c.onEnter) << c.what;
}

TEST(CheckBoxCaption, ArrowsGoOnExit) {
  struct Case {
    std::string caption;
    std::optional<std::string> onExit;
  };
  const Case cases[] = {
      {" >", ""}, {"< ", ""}, {">", std::nullopt}, {"< x", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckBoxExitCaption(c.caption), c.onExit) << "'" << c.caption << "'";
}

TEST(CheckBoxHotBox, StatesAndSizeFlags) {
  EXPECT_EQ(CheckBoxHotState(CheckState::Unchecked), 2);
  EXPECT_EQ(CheckBoxHotState(CheckState::Checked), 6);
  EXPECT_EQ(CheckBoxHotState(CheckState::Grayed), 10);
  EXPECT_EQ(RadioHotState(false), 2);
  EXPECT_EQ(RadioHotState(true), 6);
  EXPECT_EQ(BoxSizeFlags(true), 2) << "caption left: box at the right edge";
  EXPECT_EQ(BoxSizeFlags(false), 1);
}

TEST(RadioButtonCaption, OneTrailingSpaceOnEnter) {
  struct Case {
    std::string caption;
    std::optional<std::string> onEnter;
  };
  const Case cases[] = {
      {"Network", "Network "}, {"Network ", std::nullopt}, {"", std::nullopt}, {" ", std::nullopt}, {"a", "a "},
  };
  for (const auto& c : cases) EXPECT_EQ(RadioEnterCaption(c.caption), c.onEnter) << "'" << c.caption << "'";
  // Entering twice: the second time the caption already ends in a space.
  std::string caption = "Local";
  for (int i = 0; i < 2; ++i)
    if (auto next = RadioEnterCaption(caption)) caption = *next;
  EXPECT_EQ(caption, "Local ");
}

class FakeLabel final : public LinkHost {
 public:
  std::uint8_t style = 0;
  std::vector<int> cursors;
  std::uint8_t FontStyle() const override { return style; }
  void SetFontStyle(std::uint8_t s) override { style = s; }
  void SetScreenCursor(int c) override { cursors.push_back(c); }
};

TEST(LabelLink, UnderlineAndHandWhileHovering) {
  struct Case {
    const char* what;
    std::string link;
    std::uint8_t styleBefore;
    std::uint8_t styleInside;
    std::uint8_t styleAfter;
    std::vector<int> cursors;
  };
  const Case cases[] = {
      {"link: underlined and hand, then back", "https://x", ui::kBold, ui::kBold | ui::kUnderline, ui::kBold,
       {crHandPoint, crDefault}},
      {"no link: nothing changes", "", ui::kUnderline, ui::kUnderline, ui::kUnderline, {}},
      {"an underlined link font loses the underline on leaving", "mailto:a", ui::kUnderline, ui::kUnderline, 0,
       {crHandPoint, crDefault}},
  };
  for (const auto& c : cases) {
    FakeLabel label;
    label.style = c.styleBefore;
    LinkMouseEnter(c.link, label);
    EXPECT_EQ(label.style, c.styleInside) << c.what;
    LinkMouseLeave(c.link, label);
    EXPECT_EQ(label.style, c.styleAfter) << c.what;
    EXPECT_EQ(label.cursors, c.cursors) << c.what;
  }
}

TEST(LabelLink, ClickResetsTheCursor) {
  FakeLabel label;
  LinkMouseEnter("x", label);
  LinkClick(label);
  EXPECT_EQ(label.cursors, (std::vector<int>{crHandPoint, crDefault}));
}

}  // namespace
}  // namespace orvalis::controls
