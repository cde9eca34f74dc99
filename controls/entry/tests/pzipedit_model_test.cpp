// Postcode edit: typing only at the end, the space outside the focus, the
// check that clears what cannot be a postcode, and the change events.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "controls/entry/pzipedit_model.h"
#include "controls/entry/tests/edit_script.h"

namespace orvalis::controls {
namespace {

using testing::RunScript;

TEST(ZipEditCheck, PartialAndWholeCodes) {
  struct Case {
    const char* text;
    std::optional<std::string> code;
  };
  const Case cases[] = {
      {"", ""},           {"12", "12"},           {"1234ab", "1234AB"}, {"12 34 a", "1234A"},
      {"1234 AB", "1234AB"}, {"12345", std::nullopt}, {"12AB", std::nullopt}, {"a", std::nullopt},
      {"1234ABC", std::nullopt}, {"1234A1", std::nullopt}, {"1234\xC3\x89", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPostcode(c.text), c.code) << c.text;
}

TEST(ZipEditCheck, ProgramTextIsCheckedWithoutEvent) {
  struct Case {
    const char* set;
    bool focused;
    const char* text;
  };
  const Case cases[] = {
      {"12345", false, ""},       {"1234ab", false, "1234 AB"}, {"1234 ab", true, "1234AB"},
      {"12 34", false, "1234"},   {"1234a", false, "1234 A"},   {"x", true, ""},
  };
  for (const auto& c : cases) {
    ZipEditModel m;
    int changes = 0;
    m.OnChange = [&](ZipEditModel&) { ++changes; };
    if (c.focused) m.Enter();
    m.SetText(c.set);
    EXPECT_EQ(m.Text(), c.text) << c.set;
    EXPECT_EQ(changes, 0) << c.set;
  }
}

TEST(ZipEditKeys, Sequences) {
  struct Case {
    const char* what;
    const char* start;   // set by the program before entering
    const char* script;  // after entering the field (all selected)
    const char* text;
    std::size_t anchor, caret;
    int changes;
    const char* unhandled = "";
  };
  const Case cases[] = {
      {"typing a whole code", "", "1234ab", "1234AB", 6, 6, 6},
      {"space after leaving", "", "1234ab<exit>", "1234 AB", 7, 7, 6},
      {"no space again on entering", "1234AB", "<exit><enter>", "1234AB", 0, 6, 0},
      {"letter first refused", "", "a1", "1", 1, 1, 1},
      {"fifth digit refused", "", "12345", "1234", 4, 4, 4},
      {"letter among the digits refused", "", "123a", "123", 3, 3, 3},
      {"third letter refused", "", "1234abc", "1234AB", 6, 6, 6},
      {"typing in the middle does nothing", "1234", "<sel:2,2>5<sel:2,2>a", "1234", 2, 2, 0},
      {"digit over the whole code starts again", "1234AB", "5", "5", 1, 1, 1},
      {"letter over the whole code refused", "1234AB", "c", "1234AB", 0, 6, 0},
      {"backspace at the end", "", "1234ab<bs>", "1234A", 5, 5, 7},
      {"backspace over the whole code", "1234AB", "<bs>", "", 0, 0, 1},
      {"backspace in the middle does nothing", "1234AB", "<sel:2,2><bs>", "1234AB", 2, 2, 0},
      {"backspace on nothing raises nothing", "", "<bs>", "", 0, 0, 0},
      {"delete empties a whole selection", "1234AB", "<del>", "", 0, 0, 1},
      {"delete never takes one character", "1234AB", "<sel:2,2><del>", "1234AB", 2, 2, 0},
      {"delete on nothing raises nothing", "", "<del>", "", 0, 0, 0},
      {"edits before escape", "1234AB", "<bs>56", "56", 2, 2, 3},
      {"escape after edits", "1234AB", "<bs>56<esc>", "1234AB", 0, 6, 4},
      {"escape without edits", "1234AB", "<esc>", "1234AB", 0, 6, 0},
      {"clipboard keys are the edit's", "12", "\x03\x16\x18", "12", 0, 2, 0, "!char!char!char"},
      {"paste a code", "", "<paste:1234ab>", "1234AB", 6, 6, 1},
      {"paste refuses letters among the digits", "", "<paste:12AB34>", "1234", 4, 4, 1},
      {"paste over the whole code", "1234AB", "<paste:5678 cd>", "5678CD", 6, 6, 1},
      {"paste of nothing usable", "12", "<sel:2,2><paste:xy>", "12", 2, 2, 0},
      {"paste in the middle", "1234", "<sel:2,2><paste:5>", "1234", 2, 2, 0},
      {"cut the letters", "1234AB", "<sel:4,6><cut>", "1234", 4, 4, 1},
      {"cut from the middle refused", "1234AB", "<sel:2,4><cut>", "1234AB", 2, 4, 0, "!cut"},
      {"clear all", "1234AB", "<clear>", "", 0, 0, 1},
      {"clear without a selection", "1234AB", "<sel:6,6><clear>", "1234AB", 6, 6, 0, "!clear"},
  };
  for (const auto& c : cases) {
    ZipEditModel m;
    m.SetText(c.start);
    int changes = 0;
    m.OnChange = [&](ZipEditModel& sender) {
      EXPECT_EQ(&sender, &m);
      ++changes;
    };
    m.Enter();
    EXPECT_EQ(RunScript(m, c.script), c.unhandled) << c.what;
    EXPECT_EQ(m.Text(), c.text) << c.what;
    EXPECT_EQ(m.Edit().Anchor(), c.anchor) << c.what;
    EXPECT_EQ(m.Edit().Caret(), c.caret) << c.what;
    EXPECT_EQ(changes, c.changes) << c.what;
  }

  ZipEditModel m;
  m.SetText("1234AB");
  m.Enter();
  m.SetSelection(4, 6);
  EXPECT_EQ(m.Copy(), "AB");
  EXPECT_EQ(m.Text(), "1234AB");
}

TEST(ZipEditChangeOnExit, ReportsOnLeavingOnlyARealChange) {
  const struct {
    const char* what;
    const char* start;
    const char* script;
    int changesBeforeExit;
    const char* script2;  // after the exit
    int changes;
  } cases[] = {
      {"typed code reported on exit", "", "1234ab", 0, "<exit>", 1},
      {"reported once for two exits", "", "12<exit><enter>", 1, "<exit>", 1},
      {"escape leaves nothing to report", "1234AB", "<bs><bs><esc>", 0, "<exit>", 0},
      {"typed back to the entry code", "1234AB", "<sel:6,6><bs>B", 0, "<exit>", 0},
      {"destroyed while focused", "", "5678", 0, "<destroy>", 1},
      {"paste reported on exit", "", "<paste:1234ab>", 0, "<exit>", 1},
  };
  for (const auto& c : cases) {
    ZipEditModel m;
    m.ChangeOnExit = true;
    m.SetText(c.start);
    int changes = 0;
    m.OnChange = [&](ZipEditModel&) { ++changes; };
    m.Enter();
    RunScript(m, c.script);
    EXPECT_EQ(changes, c.changesBeforeExit) << c.what;
    RunScript(m, c.script2);
    EXPECT_EQ(changes, c.changes) << c.what;
  }
}

}  // namespace
}  // namespace orvalis::controls
