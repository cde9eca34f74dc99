// Colour selection rules: the custom-colour text, which colours count as known,
// how the dialog opens for each flag, and the colour after the dialog.
#include "controls/dialogs/color_choice.h"

#include <gtest/gtest.h>

namespace orvalis::controls {
namespace {

TEST(CustomColors, DefaultListFillsTheSlotsAndWritesBackUnchanged) {
  auto slots = CustomColorSlots(kDefaultCustomColors);
  EXPECT_EQ(slots[0], 0x000000u);
  EXPECT_EQ(slots[1], 0x800000u);
  EXPECT_EQ(slots[7], 0xC0C0C0u);
  EXPECT_EQ(slots[15], 0xFFFFFFu);
  EXPECT_EQ(CustomColorText(slots), kDefaultCustomColors);
}

TEST(CustomColors, SlotsFollowTheLetterAndShortValuesGetLeadingZeros) {
  auto slots = CustomColorSlots("colorc=80\nColorA=123456\r\nJunk=000000\r\nColorQ=000000\r\nColorB=12345678\r\n");
  EXPECT_EQ(slots[0], 0x123456u);
  EXPECT_EQ(slots[1], 0x123456u) << "only six characters are read";
  EXPECT_EQ(slots[2], 0x80u);
  for (std::size_t i = 3; i < 16; ++i) EXPECT_EQ(slots[i], 0xFFFFFFu) << i;
  EXPECT_EQ(CustomColorText(slots).substr(0, 45), "ColorA=123456\r\nColorB=123456\r\nColorC=000080\r\n");
}

TEST(CustomColors, KnownColorsAreBasicOnesOrAnyLinesValue) {
  const char* custom = "ColorA=ABCDEF\r\nXyzzyZ=00001\r\nColorB=1234";
  const std::pair<ui::Color, bool> cases[] = {
      {0x8080FF, true},  {0x400040, true}, {0xFFFFFF, true},  {0xABCDEF, true},
      {0x000001, true},  // the name in front is not looked at
      {0x001234, true},  {0x123456, false}, {0xFEFEFE, false},
  };
  for (auto [rgb, known] : cases) EXPECT_EQ(IsKnownColor(rgb, custom), known) << std::hex << rgb;
  EXPECT_EQ(BasicColors().size(), 48u);
}

TEST(ColorDialog, OpensByFlagsAndWhetherTheColourIsKnown) {
  const char* custom = "ColorA=ABCDEF";
  struct Case {
    unsigned flags;
    ui::Color color, rgb;
    bool fullOpen, preventFullOpen;
    ui::Color start;
  } cases[] = {
      // flags 0: never openable by the user; an unknown colour opens full anyway
      {0, 0x0000FF, 0x0000FF, false, true, 0x0000FF},
      {0, 0x123456, 0x123456, true, true, 0x123456},
      // flag 1: compact for a known colour (basic or custom), full for any other
      {1, 0x0000FF, 0x0000FF, false, false, 0x0000FF},
      {1, 0xABCDEF, 0xABCDEF, false, false, 0xABCDEF},
      {1, 0x123456, 0x123456, true, false, 0x123456},
      // flag 2: always full
      {2, 0x0000FF, 0x0000FF, true, true, 0x0000FF},
      {3, 0xABCDEF, 0xABCDEF, true, false, 0xABCDEF},
      // flag 4: the window colour starts at black; other colours start as they are
      {4, kWindowColorRef, 0xFFFFFF, false, true, 0x000000},
      {4, 0x123456, 0x123456, true, true, 0x123456},
      {0, kWindowColorRef, 0xFFFFFF, false, true, 0xFFFFFF},
      {4, ui::SystemColor(15), 0xD4D0C8, true, true, 0xD4D0C8},
  };
  for (const auto& c : cases) {
    ColorDialogStart s = StartColorDialog(c.color, c.rgb, c.flags, custom);
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " colour " << std::hex << c.color);
    EXPECT_EQ(s.fullOpen, c.fullOpen);
    EXPECT_EQ(s.preventFullOpen, c.preventFullOpen);
    EXPECT_EQ(s.start, c.start);
  }
}

TEST(ColorDialog, ResultKeepsTheCallersValueUnlessAnotherColourIsConfirmed) {
  struct Case {
    const char* what;
    unsigned flags;
    ui::Color color, rgb;
    bool confirmed;
    ui::Color chosen, expected;
  } cases[] = {
      {"cancelled", 0, 0x123456, 0x123456, false, 0x00FF00, 0x123456},
      {"confirmed another colour", 0, 0x123456, 0x123456, true, 0x00FF00, 0x00FF00},
      {"same colour keeps a system reference", 0, ui::SystemColor(15), 0xD4D0C8, true, 0xD4D0C8,
       ui::SystemColor(15)},
      {"black without flag 4", 0, 0x123456, 0x123456, true, 0, 0},
      {"flag 4, black means none", 4, kWindowColorRef, 0xFFFFFF, true, 0, kWindowColorRef},
      {"flag 4, black from a colour", 4, 0x123456, 0x123456, true, 0, kWindowColorRef},
      {"flag 4, another colour", 4, kWindowColorRef, 0xFFFFFF, true, 0x00FF00, 0x00FF00},
      {"flag 4, cancelled", 4, kWindowColorRef, 0xFFFFFF, false, 0, kWindowColorRef},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ColorAfterDialog(c.color, c.rgb, c.flags, c.confirmed, c.chosen), c.expected) << c.what;
}

}  // namespace
}  // namespace orvalis::controls
