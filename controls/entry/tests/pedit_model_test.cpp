// Masked edit rules driven by key scripts: mask input, backspace over literals,
// Escape, the exit check and when the change event comes.
#include "controls/entry/pedit_model.h"

#include <gtest/gtest.h>

namespace orvalis::controls {
namespace {

struct Outcome {
  std::string text;
  int selStart, selEnd, changes, complaints;
};

// Every character of `script` is a WM_CHAR, except commands in braces: {in}
// and {out} focus, {sel:a,b}, {text:...} as the host sets it, {paste:...},
// {cut}, {destroy}.
Outcome Run(PEditModel& m, std::string_view script) {
  Outcome o{"", 0, 0, 0, 0};
  m.OnChange = [&] { ++o.changes; };
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '{') {
      m.KeyPress(static_cast<unsigned char>(script[i]));
      continue;
    }
    const auto close = script.find('}', i);
    const std::string_view cmd = script.substr(i + 1, close - i - 1);
    i = close;
    const auto colon = cmd.find(':');
    const std::string_view name = cmd.substr(0, colon);
    const std::string_view arg = colon == std::string_view::npos ? "" : cmd.substr(colon + 1);
    if (name == "in") {
      m.Enter();
    } else if (name == "out") {
      o.complaints += m.Exit() ? 1 : 0;
    } else if (name == "sel") {
      const auto comma = arg.find(',');
      const int a = std::stoi(std::string(arg.substr(0, comma)));
      m.SetSelection(a, comma == std::string_view::npos ? a : std::stoi(std::string(arg.substr(comma + 1))));
    } else if (name == "text") {
      m.SetText(arg);
    } else if (name == "paste") {
      m.Paste(arg);
    } else if (name == "cut") {
      (void)m.Cut();
    } else if (name == "destroy") {
      m.Destroy();
    } else {
      ADD_FAILURE() << "unknown command " << name;
    }
  }
  o.text = m.Text();
  o.selStart = m.SelStart();
  o.selEnd = m.SelEnd();
  return o;
}

struct Case {
  const char* format;
  bool changeOnExit;
  const char* script;
  Outcome expected;
};

void Check(const Case& c) {
  PEditModel m;
  m.SetFormat(c.format);
  m.SetChangeOnExit(c.changeOnExit);
  const Outcome o = Run(m, c.script);
  const std::string what = std::string("format '") + c.format + "' script '" + c.script + "'";
  EXPECT_EQ(o.text, c.expected.text) << what;
  EXPECT_EQ(o.selStart, c.expected.selStart) << what;
  EXPECT_EQ(o.selEnd, c.expected.selEnd) << what;
  EXPECT_EQ(o.changes, c.expected.changes) << what;
  EXPECT_EQ(o.complaints, c.expected.complaints) << what;
}

TEST(MaskedEdit, TypedKeysArePlacedByTheMask) {
  const Case cases[] = {
      {"0000 AA", false, "{in}1234ab", {"1234 AB", 7, 7, 6, 0}},
      {"00-00", false, "5", {"5", 1, 1, 1, 0}},
      {"00-00", false, "57", {"57", 2, 2, 2, 0}},
      {"00-00", false, "571", {"57-1", 4, 4, 3, 0}},
      {"00-00", false, "5x", {"5", 1, 1, 1, 0}},              // a letter at a digit position
      {"00-00", false, "57123", {"57-12", 5, 5, 4, 0}},       // the mask is full
      {"00-00", false, "{text:12-34}{sel:2}9", {"12-94", 4, 4, 2, 0}},  // caret before a literal
      {"00-00", false, "{text:12-34}{sel:0}9", {"92-34", 1, 1, 2, 0}},  // typing overwrites
      {"00-00", false, "{text:12-34}{sel:0}1", {"12-34", 1, 1, 1, 0}},  // same character: no change
      {"00-00", false, "{text:12-34}{sel:0,5}7", {"72-34", 1, 1, 2, 0}},  // a selection is not replaced
      {"aa", false, "Ab1", {"ab", 2, 2, 2, 0}},
      {"(000)", false, "12", {"(12", 3, 3, 2, 0}},
      {"€ 00", false, "5", {"€ 5", 3, 3, 1, 0}},                // a literal beyond ASCII
      {"00-00", false, "{text:12-34-56}{sel:8}1", {"12-34-56", 8, 8, 1, 0}},  // pasted past the mask
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, BackspaceAtTheEndTakesTheLiteralsBeforeIt) {
  const Case cases[] = {
      {"00-00", false, "{text:57-}{sel:3}\b", {"57", 2, 2, 2, 0}},
      {"00-00", false, "571\b", {"57", 2, 2, 4, 0}},
      {"(000)", false, "1\b", {"", 0, 0, 2, 0}},              // down to an empty text
      {"00-00", false, "\b", {"", 0, 0, 0, 0}},               // nothing to remove
      {"00-00", false, "{text:12-34}{sel:2}\b", {"12-34", 2, 2, 1, 0}},  // elsewhere it is refused
      {"00", false, "{text:12345}{sel:5}\b", {"1234", 4, 4, 2, 0}},  // longer than the mask: one only
      {"", false, "{text:ab}{sel:2}\b", {"ab", 2, 2, 1, 0}},  // free input: the edit's own key
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, PasteReplacesTheSelectionAndIsCheckedOnExit) {
  const Case cases[] = {
      {"00-00", false, "{text:12-34}{sel:1,4}{paste:9x}{out}", {"19x4", 4, 4, 2, 1}},
      {"00-00", false, "{paste:12-34\r\nmore}{out}", {"12-34", 5, 5, 1, 0}},
      {"00-00", false, "{text:12-34}{sel:2,5}{cut}{out}", {"12", 2, 2, 2, 1}},
      {"00-00", false, "{text:12-34}{sel:2}{cut}", {"12-34", 2, 2, 1, 0}},  // nothing selected
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, LeavingAnIncompleteFieldComplainsAndPutsTheCaretAtTheEnd) {
  const Case cases[] = {
      {"00-00", false, "{text:57-}{sel:0,2}{out}", {"57-", 3, 3, 1, 1}},
      {"00-00", false, "{in}{out}", {"", 0, 0, 0, 0}},
      {"00-00", false, "{in}1234{out}", {"12-34", 5, 5, 4, 0}},
      {"AA", false, "{text:ab}{out}", {"ab", 2, 2, 1, 1}},  // letters must have the mask's case
      {"", false, "{text:57-}{out}", {"57-", 0, 0, 1, 0}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, EscapeRestoresTheEntryTextWithOneChangeEvent) {
  const Case cases[] = {
      {"00-00", false, "{in}12\x1b", {"", 0, 0, 3, 0}},
      {"00-00", false, "{text:12-34}{in}{sel:5}\b\b9\x1b", {"12-34", 0, 5, 5, 0}},
      {"", false, "{text:ab}{in}\x1b", {"ab", 0, 0, 1, 0}},  // unchanged: nothing happens
      {"00-00", true, "{in}12\x1b{out}", {"", 0, 0, 0, 0}},
      {"00-00", true, "{in}12{out}{in}3\x1b{out}", {"12", 2, 2, 1, 2}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, ChangeOnExitReportsOnceOnLeavingEnterOrDestroy) {
  const Case cases[] = {
      {"00-00", true, "{in}1234", {"12-34", 5, 5, 0, 0}},
      {"00-00", true, "{in}1234{out}", {"12-34", 5, 5, 1, 0}},
      {"00-00", true, "{in}1234{out}{in}{out}", {"12-34", 5, 5, 1, 0}},
      {"00-00", true, "{in}12\r\r34{out}", {"12-34", 5, 5, 2, 0}},
      {"", true, "{in}{paste:abc}\r", {"abc", 3, 3, 1, 0}},
      {"00-00", true, "{in}57{out}", {"57", 2, 2, 1, 1}},  // reported even when incomplete
      {"00-00", true, "{in}12{destroy}{destroy}", {"12", 2, 2, 1, 0}},
      {"00-00", false, "{in}12{destroy}", {"12", 2, 2, 2, 0}},
  };
  for (const auto& c : cases) Check(c);
}

TEST(MaskedEdit, OnlyAMaskTakesOverKeys) {
  PEditModel free;
  EXPECT_FALSE(free.KeyPress('a'));
  EXPECT_TRUE(free.KeyPress(27)) << "Escape is always consumed";
  EXPECT_FALSE(free.KeyDown(46));
  PEditModel masked;
  masked.SetFormat("00");
  EXPECT_TRUE(masked.KeyPress('a'));
  EXPECT_TRUE(masked.KeyDown(46)) << "Delete is suppressed";
  EXPECT_FALSE(masked.KeyDown(37));
  for (const char32_t clipboardKey : {3, 22, 24}) EXPECT_FALSE(masked.KeyPress(clipboardKey)) << static_cast<int>(clipboardKey);
}

TEST(MaskedEdit, FirstCapitalUpperCasesTheFirstCharacterOnExit) {
  const std::pair<const char*, const char*> cases[] = {
      {"a", "A"}, {"abc", "Abc"}, {"élan", "Élan"}, {"1ab", "1ab"}, {"", ""}};
  for (const auto& [typed, shown] : cases) {
    PEditModel m;
    m.SetFirstCapital(true);
    m.SetText(typed);
    EXPECT_FALSE(m.Exit());
    EXPECT_EQ(m.Text(), shown);
  }
}

TEST(MaskedEdit, AutoHintFollowsTheText) {
  PEditModel m;
  EXPECT_FALSE(m.MouseMove().has_value());
  m.SetAutoHint(true);
  m.SetText("abc");
  auto update = m.MouseMove();
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(update->hint, "abc");
  EXPECT_TRUE(update->show);
  EXPECT_FALSE(m.MouseMove().has_value()) << "unchanged";
  m.SetText("");
  update = m.MouseMove();
  ASSERT_TRUE(update.has_value());
  EXPECT_FALSE(update->show);
}

TEST(MaskedEdit, FitsAndComplaintTexts) {
  EXPECT_TRUE(TextFitsMask("", "00"));
  EXPECT_TRUE(TextFitsMask("x", ""));
  EXPECT_TRUE(TextFitsMask("12/34", "00-00"));
  EXPECT_FALSE(TextFitsMask("12-3", "00-00"));
  EXPECT_FALSE(TextFitsMask("1a-34", "00-00"));
  EXPECT_EQ(MaskComplaint("NLD"),
            "De invoer voldoet niet aan het gevraagde format. Vul het volledige veld of wis de invoer");
  EXPECT_NE(MaskComplaint("ENG"), MaskComplaint("NLD"));
}

}  // namespace
}  // namespace orvalis::controls
