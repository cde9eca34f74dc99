// Number edit: display and bare texts, the keys that keep the text a number,
// parsing back into the value and when the change event is raised.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "controls/entry/pnumedit_model.h"
#include "controls/entry/tests/edit_script.h"

namespace orvalis::controls {
namespace {

using testing::RunScript;

TEST(NumEditFormat, DisplayAndBareTexts) {
  struct Case {
    double value;
    int decimals;
    bool hex;
    bool keepZeros;
    char thousandSign;
    const char* text;
  };
  const Case cases[] = {
      {1234567.891, 2, false, false, '.', "1.234.567,89"},
      {1234567.891, 2, false, false, '\0', "1234567,89"},
      {12.5, 2, false, false, '.', "12,5"},
      {12, 2, false, false, '.', "12"},
      {12, 2, false, true, '.', "12,00"},
      {-0.05, 2, false, false, '.', "-0,05"},
      {-0.5, 2, false, true, '.', "-0,50"},
      {0, 2, false, true, '.', "0,00"},
      {-123, 0, false, false, '.', "-123"},
      {-1234, 0, false, false, '.', "-1.234"},
      {-123456, 0, false, false, '.', "-123.456"},
      {999.996, 2, false, false, '.', "1.000"},
      // Too large for a 64-bit scaled integer: decimals go, on both sides of zero.
      {-1e19, 2, false, false, '.', "-10.000.000.000.000.000.000"},
      {1e19, 2, false, false, '\0', "10000000000000000000"},
      {-0x1p62, 2, false, true, '\0', "-4611686018427387904"},
      {-9.3e18, 0, false, false, '\0', "-9300000000000000000"},
      {123456789012.34, 2, false, false, '\0', "123456789012,34"},
      {-0x1p70, 2, false, false, '.', "-1.180.591.620.717.411.303.424"},
      {0x1p70 + 0x1p18, 0, true, false, '\0', "400000000000040000"},
      {175, 0, true, false, '\0', "AF"},
      {-255, 0, true, false, '\0', "-FF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatNumber(c.value, c.decimals, c.hex, c.keepZeros, ',', c.thousandSign), c.text) << c.value;
}

TEST(NumEditFormat, PrefixSuffixZeroAndFocus) {
  NumEditModel m;
  m.SetDecimalLen(2);
  m.SetValue(1234567.891);
  m.SetPrefix("EUR");
  m.SetSuffix("net");
  EXPECT_EQ(m.Text(), "1.234.567,89 net");
  EXPECT_EQ(m.PrefixLabel(), std::optional<std::string>("EUR"));
  m.Enter();
  EXPECT_EQ(m.Text(), "1234567,89");
  EXPECT_EQ(m.Edit().SelStart(), 0u);
  EXPECT_EQ(m.Edit().SelEnd(), m.Text().size());
  EXPECT_EQ(m.PrefixLabel(), std::nullopt) << "the label hides while focused";
  m.Exit();
  m.SetPrefix("");
  EXPECT_EQ(m.PrefixLabel(), std::nullopt) << "an emptied prefix leaves no stale label";

  NumEditModel zero;
  zero.SetMinimalZero(false);
  EXPECT_EQ(zero.Text(), "");
  zero.SetMinimalZero(true);
  EXPECT_EQ(zero.Text(), "0");

  NumEditModel hex;
  hex.SetDecimalLen(2);
  hex.SetType(PNumEdit_Type::pntHexadecimal);
  hex.SetValue(175.75);
  EXPECT_EQ(hex.Text(), "B0") << "no decimals in hexadecimal mode";
}

TEST(NumEditFormat, NonFiniteValuesAreRefused) {
  NumEditModel m;
  m.SetValue(5);
  m.SetValue(std::numeric_limits<double>::quiet_NaN());
  m.SetValue(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(m.Value(), 5);
  EXPECT_EQ(m.Text(), "5");
}

struct Config {
  int length = 8;
  int decimals = 2;
  bool mayNegative = true;
  bool hex = false;
  bool changeOnExit = false;
  char negSign = '-';
};

struct KeyCase {
  const char* what;
  Config config;
  double start;
  const char* script;  // after entering the field (all selected)
  const char* text;
  std::size_t anchor, caret;
  double value;
  int changes;
  const char* unhandled = "";
};

void RunCases(const KeyCase* begin, const KeyCase* end) {
  for (const KeyCase* c = begin; c != end; ++c) {
    NumEditModel m;
    m.SetLength(c->config.length);
    m.SetDecimalLen(c->config.decimals);
    m.SetMayNegative(c->config.mayNegative);
    m.SetNegSign(c->config.negSign);
    if (c->config.hex) m.SetType(PNumEdit_Type::pntHexadecimal);
    m.ChangeOnExit = c->config.changeOnExit;
    m.SetValue(c->start);
    int changes = 0;
    m.OnChange = [&](NumEditModel& sender) {
      EXPECT_EQ(&sender, &m);
      ++changes;
    };
    m.Enter();
    EXPECT_EQ(RunScript(m, c->script), c->unhandled) << c->what;
    EXPECT_EQ(m.Text(), c->text) << c->what;
    EXPECT_EQ(m.Edit().Anchor(), c->anchor) << c->what;
    EXPECT_EQ(m.Edit().Caret(), c->caret) << c->what;
    EXPECT_DOUBLE_EQ(m.Value(), c->value) << c->what;
    EXPECT_EQ(changes, c->changes) << c->what;
  }
}

TEST(NumEditKeys, DigitsAndDecimalSign) {
  const Config len3{.length = 3};
  const KeyCase cases[] = {
      {"fourth integer digit refused", len3, 0, "1234", "123", 3, 3, 123, 3},
      {"comma and two decimals after a full integer part", len3, 0, "123,45", "123,45", 6, 6, 123.45, 5},
      {"the thousands sign types the decimal sign", len3, 0, "123.45", "123,45", 6, 6, 123.45, 5},
      {"third decimal refused", {}, 0, "1,234", "1,23", 4, 4, 1.23, 3},
      {"second decimal sign refused", {}, 0, "1,2,", "1,2", 3, 3, 1.2, 2},
      {"decimal sign too far from the end", {}, 12345, "<sel:1,1>,", "12345", 1, 1, 12345, 0},
      {"decimal sign at the caret", {}, 12345, "<sel:3,3>,", "123,45", 4, 4, 123.45, 1},
      {"no decimals configured: the sign is refused", {.decimals = 0}, 0, "1,5", "15", 2, 2, 15, 2},
      {"caret in a full integer part", len3, 123.4, "<sel:1,1>9", "123,4", 1, 1, 123.4, 0},
      {"caret at the start of a full integer part with room in the fraction", len3, 123.4, "<sel:0,0>9",
       "123,4", 0, 0, 123.4, 0},
      {"digit in the fraction", len3, 123.4, "<sel:5,5>9", "123,49", 6, 6, 123.49, 1},
      {"digit over a selection containing the decimal sign would overflow", len3, 123.45, "<sel:3,4>9",
       "123,45", 3, 4, 123.45, 0},
      {"digit over a selection", {}, 123.45, "<sel:0,3>9", "9,45", 1, 1, 9.45, 1},
      {"letters refused outside hexadecimal mode", {}, 0, "1a", "1", 1, 1, 1, 1},
      {"hexadecimal a, f", {.hex = true}, 0, "af", "AF", 2, 2, 175, 2},
      {"hexadecimal: no decimal sign, no g", {.hex = true}, 0, "a,g", "A", 1, 1, 10, 1},
  };
  RunCases(std::begin(cases), std::end(cases));
}

TEST(NumEditKeys, Sign) {
  const KeyCase cases[] = {
      {"sign once", {}, 12, "<sel:2,2>-", "-12", 3, 3, -12, 1},
      {"sign twice", {}, 12, "<sel:2,2>--", "12", 2, 2, 12, 2},
      {"sign not allowed", {.mayNegative = false}, 12, "<sel:2,2>-", "12", 2, 2, 12, 0},
      {"sign not allowed but still removed", {.mayNegative = false}, -12, "<sel:3,3>-", "12", 2, 2, 12, 1},
      {"sign over a whole selection", {}, 12, "-5", "-5", 2, 2, -5, 2},
      {"digit at the sign goes after it", {}, -12, "<sel:0,0>5", "-512", 2, 2, -512, 1},
      {"decimal sign at the sign goes after it", {}, -12, "<sel:0,0>,", "-,12", 2, 2, -0.12, 1},
      {"the sign does not count as a digit", {.length = 2}, -12, "<sel:3,3>3", "-12", 3, 3, -12, 0},
      {"another sign key", {.negSign = 'm'}, 12, "<sel:2,2>m", "-12", 3, 3, -12, 1},
      {"home stops after the sign", {}, -12, "<sel:3,3><home>", "-12", 1, 1, -12, 0},
      {"shift+home selects up to the sign", {}, -12, "<sel:3,3><shome>", "-12", 3, 1, -12, 0},
      {"home without a sign is the edit's", {}, 12, "<sel:2,2><home>", "12", 2, 2, 12, 0, "!home"},
      {"left stops at the sign", {}, -12, "<sel:1,1><left>", "-12", 1, 1, -12, 0},
      {"left past the sign is the edit's", {}, -12, "<sel:2,2><left>", "-12", 2, 2, -12, 0, "!left"},
  };
  RunCases(std::begin(cases), std::end(cases));
}

TEST(NumEditKeys, BackspaceAndDelete) {
  const Config len3{.length = 3};
  const KeyCase cases[] = {
      {"backspace joining a too long fraction refused", len3, 123.45, "<sel:4,4><bs>", "123,45", 4, 4, 123.45, 0},
      {"backspace back to the integer part", len3, 123.45, "<sel:6,6><bs><bs><bs>", "123", 3, 3, 123, 2},
      {"backspace joining when it fits", len3, 12.5, "<sel:3,3><bs>", "125", 2, 2, 125, 1},
      {"backspace over a selection", {}, 1234, "<bs>", "", 0, 0, 0, 1},
      {"backspace at the start", {}, 12, "<sel:0,0><bs>", "12", 0, 0, 12, 0},
      {"delete before the decimal sign refused", len3, 123.45, "<sel:3,3><del>", "123,45", 3, 3, 123.45, 0},
      {"delete the decimal sign when it fits", len3, 12.5, "<sel:2,2><del>", "125", 2, 2, 125, 1},
      {"delete the sign", {}, -12, "<sel:0,0><del>", "12", 0, 0, 12, 1},
      {"delete at the end, then leave", {}, 1234.5, "<sel:6,6><del><exit>", "1.234,5", 7, 7, 1234.5, 0},
  };
  RunCases(std::begin(cases), std::end(cases));
}

TEST(NumEditKeys, EscapeAndChangeOnExit) {
  const Config onExit{.changeOnExit = true};
  const KeyCase cases[] = {
      {"escape restores the value of entry", {}, 12, "34<esc>", "12", 0, 2, 12, 3},
      {"escape without edits", {}, 12, "<esc>", "12", 0, 2, 12, 0},
      {"clipboard keys are the edit's", {}, 12, "\x03\x16\x18", "12", 0, 2, 12, 0, "!char!char!char"},
      {"change on exit: none while typing", onExit, 12, "34", "34", 2, 2, 34, 0},
      {"change on exit: one on leaving", onExit, 12, "34<exit>", "34", 2, 2, 34, 1},
      {"change on exit: none after escape", onExit, 12, "34<esc><exit>", "12", 2, 2, 12, 0},
      {"change on exit: none for a value the program set", onExit, 12, "<exit><destroy>", "12", 2, 2, 12, 0},
      {"change on exit: destruction reports a pending change", onExit, 12, "7<destroy>", "7", 1, 1, 7, 1},
      {"change on exit: reported once", onExit, 12, "7<exit><destroy>", "7", 1, 1, 7, 1},
  };
  RunCases(std::begin(cases), std::end(cases));
}

TEST(NumEditClipboard, PasteCutClear) {
  const Config len3{.length = 3};
  const KeyCase cases[] = {
      {"paste into a selection", {}, 123.45, "<sel:0,3><paste:98>", "98,45", 2, 2, 98.45, 1},
      {"paste a grouped number", {}, 0, "<paste:1.234,56>", "1234,56", 7, 7, 1234.56, 1},
      {"paste with the thousands sign only", {}, 0, "<paste:12.5>", "12,5", 4, 4, 12.5, 1},
      {"paste stops at a full integer part", len3, 0, "<paste:12345>", "123", 3, 3, 123, 1},
      {"paste of nothing usable keeps the value", {}, 1.234, "<sel:4,4><paste:x\xC3\xA9>", "1,23", 4, 4, 1.234, 0},
      {"cut the fraction", len3, 123.45, "<sel:4,6><cut>", "123,", 4, 4, 123, 1},
      {"cut joining a too long fraction refused", len3, 123.45, "<sel:2,4><cut>", "123,45", 2, 4, 123.45, 0,
       "!cut"},
      {"clear a selection", {}, 123.45, "<sel:0,2><clear>", "3,45", 0, 0, 3.45, 1},
      {"clear without a selection", {}, 12, "<sel:1,1><clear>", "12", 1, 1, 12, 0, "!clear"},
  };
  RunCases(std::begin(cases), std::end(cases));

  NumEditModel m;
  m.SetValue(123.4);
  m.SetDecimalLen(2);
  m.Enter();
  m.SetSelection(1, 4);
  EXPECT_EQ(m.Copy(), "23,");
  EXPECT_EQ(m.Cut(), std::optional<std::string>("23,"));
  EXPECT_DOUBLE_EQ(m.Value(), 14);
}

}  // namespace
}  // namespace orvalis::controls
