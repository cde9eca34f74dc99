// Formula line editor: stored forms read and written, the text shown for the
// tokens, caret positions, typing and keys, and the readable form.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "controls/entry/plineedit_model.h"

namespace orvalis::controls {
namespace {

class FakeClipboard : public FormulaClipboard {
 public:
  std::string text;
  std::string GetText() override { return text; }
  void SetText(const std::string& t) override { text = t; }
};

// A host that names each variable it sees "Var" + its number and gives new
// ones the items x and y; `refuse` turns new variables down.
struct Host {
  int seen = 0;
  int changes = 0;
  bool refuse = false;
  std::vector<bool> editFlags;
  void Attach(LineEditModel& m) {
    m.OnEditVar = [this](PVar& v, bool edit, std::int32_t, std::int32_t) {
      editFlags.push_back(edit);
      v.Caption = "Var" + std::to_string(++seen);
      v.Hint = v.Caption;
      if (edit && v.Kind == 0) v.Items = {"x", "y"};
      return !refuse;
    };
    m.OnChange = [this](LineEditModel&) { ++changes; };
  }
};

// Typed characters, with <name> for keys: del, ins, left, right, home, end, enter, f7, f10.
void Type(LineEditModel& m, std::string_view script) {
  FakeClipboard clip;
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '<') {
      m.KeyPress(script[i]);
      continue;
    }
    const std::size_t close = script.find('>', i);
    const std::string_view key = script.substr(i + 1, close - i - 1);
    i = close;
    const int vk = key == "del"     ? 0x2E
                   : key == "ins"   ? 0x2D
                   : key == "left"  ? 0x25
                   : key == "right" ? 0x27
                   : key == "home"  ? 0x24
                   : key == "end"   ? 0x23
                   : key == "enter" ? 0x0D
                   : key == "f7"    ? 0x76
                   : key == "f10"   ? 0x79
                                    : -1;
    ASSERT_NE(vk, -1) << key;
    m.KeyDown(vk, false, false, clip);
  }
}

TEST(LineEditStoredForm, LoadsAndWritesBackByteForByte) {
  struct Case {
    const char* stored;
    const char* tokens;  // after loading
    std::vector<std::vector<std::string>> items;
    std::vector<std::string> texts;  // text values of the text variables, in order
  };
  const Case cases[] = {
      {"V+V@~x@y@~~0001414243", "V+V", {{"x", "y"}, {}}, {"ABC"}},
      {"2*s(", "2*s(", {}, {}},
      {"V@~", "V", {{}}, {}},
      {"V*V@~@~a", "V*V", {{}, {"a"}}, {}},
      {"V!V@~a@@b@~~00010D0AFF00", "V!V", {{"a", "", "b"}, {}}, {std::string("\r\n\xFF\0", 4)}},
      {"V@~~0001", "V", {{}}, {""}},
      {"A+B-1.5", "A+B-1.5", {}, {}},
      {"1#$", "1#$", {}, {}},  // unknown characters stay
  };
  for (const auto& c : cases) {
    LineEditModel m;
    m.SetText(c.stored);
    EXPECT_EQ(m.Tokens(), c.tokens) << c.stored;
    ASSERT_EQ(m.VarCount(), c.items.size()) << c.stored;
    std::size_t text = 0;
    for (std::size_t i = 0; i < m.VarCount(); ++i) {
      if (m.Var(i).Kind == 1) {
        ASSERT_LT(text, c.texts.size()) << c.stored;
        EXPECT_EQ(m.Var(i).TextValue, c.texts[text++]) << c.stored;
      } else {
        EXPECT_EQ(m.Var(i).Items, c.items[i]) << c.stored;
      }
    }
    EXPECT_EQ(text, c.texts.size()) << c.stored;
    EXPECT_EQ(m.Text(), c.stored);
  }
}

TEST(LineEditStoredForm, MismatchedVariablesLoadEmptyAndAreNotAnnounced) {
  for (const char* stored : {"V+V@~x", "1@~x", "@~"}) {
    LineEditModel m;
    Host host;
    host.Attach(m);
    m.SetText("V@~old");
    m.SetText(stored);
    EXPECT_EQ(m.Text(), "") << stored;
    EXPECT_EQ(host.seen, 1) << stored << ": only the earlier form's variable was announced";
    EXPECT_EQ(host.changes, 0) << "loading is no user change";
  }
  LineEditModel m;
  Host host;
  host.Attach(m);
  m.SetText("V*V@~a@~~00014142");
  EXPECT_EQ(host.editFlags, (std::vector<bool>{false, false}));
  EXPECT_EQ(m.DisplayText(), "[Var1]*[Var2]");
}

TEST(LineEditDisplay, TokensShowAsWords) {
  struct Case {
    const char* tokens;
    const char* shown;
  };
  const Case cases[] = {
      {"2*s(", "2*sin("},
      {"c(t(a(b(r(l(d(e(", "cos(tan(atan(abs(sqrt(log(round(exp("},
      {"1?2:3&4|5", "1 then 2 else 3 and 4 or 5"},
      {"p*n!2", " Pi *n!\r\n2"},
      {"A+B*C", "{Turnover}+{Costs}*{C}"},
      {"#~", "#~"},
  };
  for (const auto& c : cases) {
    LineEditModel m;
    m.ConstList = {"Turnover", "Costs"};
    m.SetText(c.tokens);
    EXPECT_EQ(m.DisplayText(), c.shown) << c.tokens;
  }
}

TEST(LineEditDisplay, CaretAndTokenPositions) {
  LineEditModel m;
  m.OnEditVar = [](PVar& v, bool, std::int32_t, std::int32_t) {
    v.Caption = v.Kind == 1 ? "\xC3\xA9\xF0\x9F\x98\x80" : "ab";  // one unit, then a surrogate pair
    return true;
  };
  m.SetText("2*s(V!V@~@~~0001");
  // Shown: "2" "*" "sin" "(" "[ab]" "\r\n" "[é😀]"; UTF-16 ends 1 2 5 6 10 12 17.
  ASSERT_EQ(m.DisplayText(), "2*sin([ab]\r\n[\xC3\xA9\xF0\x9F\x98\x80]");
  struct Case {
    std::size_t pos, cursor, token;
  };
  const Case cases[] = {{0, 0, 0},  {1, 1, 1},  {3, 3, 2},  {5, 3, 3},  {6, 4, 4},
                        {9, 5, 4},  {10, 5, 5}, {12, 6, 6}, {16, 7, 6}, {17, 7, 7}, {99, 7, 7}};
  for (const auto& c : cases) {
    EXPECT_EQ(m.CursorFromDisplay(c.pos), c.cursor) << c.pos;
    EXPECT_EQ(m.TokenAtDisplay(c.pos), c.token) << c.pos;
  }
  for (const auto& [cursor, caret] : std::vector<std::pair<std::size_t, std::size_t>>{
           {0, 0}, {3, 5}, {5, 10}, {6, 12}, {7, 17}, {50, 17}}) {
    m.SetCursor(cursor);
    EXPECT_EQ(m.DisplayCaret(), caret) << cursor;
  }
}

TEST(LineEditTyping, KeysEditTheTokens) {
  struct Case {
    const char* script;
    const char* tokens;
    std::size_t cursor;
  };
  const Case cases[] = {
      {"2*s(", "2*s(", 4},
      {"S", "s", 1},
      {"1,5", "1.5", 3},
      {"v[]\"", "", 0},  // no OnEditVar: nothing to create
      {"cxvr", "cr", 2},  // C, X, V, R typed without Ctrl
      {"12\b", "1", 1},
      {"\b", "", 0},
      {"12<home>\b", "12", 0},
      {"12<del>", "12", 2},
      {"12<home><del>", "2", 0},
      {"123<left><left>\b", "23", 0},
      {"1<enter>2", "1!2", 3},
      {"12<home><right><right><right>3", "123", 3},
      {"12<home><end>3", "123", 3},
      {"12<home><ins>", "12", 0},  // plain Insert deletes nothing
      {"<f7><f10>", "", 0},
  };
  for (const auto& c : cases) {
    LineEditModel m;
    Type(m, c.script);
    EXPECT_EQ(m.Tokens(), c.tokens) << c.script;
    EXPECT_EQ(m.Cursor(), c.cursor) << c.script;
  }
}

TEST(LineEditTyping, NewVariablesKeepTokenOrder) {
  LineEditModel m;
  Host host;
  host.Attach(m);
  m.CaretScreenPos = [] { return ScreenPoint{40, 50}; };
  std::vector<std::pair<int, int>> asked;
  auto named = m.OnEditVar;
  m.OnEditVar = [&](PVar& v, bool edit, std::int32_t x, std::int32_t y) {
    asked.emplace_back(x, y);
    return named(v, edit, x, y);
  };
  Type(m, "1+v<home>\"*");
  EXPECT_EQ(m.Text(), "V*1+V@~~0001@~x@y");
  EXPECT_EQ(m.DisplayText(), "[Var2]*1+[Var1]");
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{40, 50}, {40, 50}}));
  EXPECT_EQ(host.changes, 5);

  host.refuse = true;
  Type(m, "<end><f10>");
  EXPECT_EQ(m.Tokens(), "V*1+V") << "a refused variable is not inserted";

  Type(m, "\b");  // the last "V" and its variable go together
  EXPECT_EQ(m.Text(), "V*1+@~~0001");
  Type(m, "<home><del>");
  EXPECT_EQ(m.Text(), "*1+");
}

TEST(LineEditTyping, LockedRefusesEditsButNotDelete) {
  LineEditModel m;
  FakeClipboard clip;
  m.SetText("12");
  m.Locked = true;
  Type(m, "3\b");
  EXPECT_EQ(m.Tokens(), "12");
  clip.text = "9";
  m.KeyDown('X', true, false, clip);
  m.KeyDown(0x2D, false, true, clip);  // Shift+Insert
  EXPECT_EQ(m.Tokens(), "12");
  Type(m, "<home><del>");
  EXPECT_EQ(m.Tokens(), "2");
}

TEST(LineEditClipboard, KeysAndMessages) {
  LineEditModel m;
  Host host;
  host.Attach(m);
  FakeClipboard clip;
  m.SetText("V+1@~a");
  EXPECT_TRUE(m.KeyDown('C', true, false, clip));
  EXPECT_EQ(clip.text, "V+1@~a");
  m.KeyDown('X', true, false, clip);
  EXPECT_EQ(m.Text(), "");
  EXPECT_EQ(clip.text, "V+1@~a");
  m.KeyDown('V', true, false, clip);
  EXPECT_EQ(m.Text(), "V+1@~a");
  EXPECT_EQ(m.DisplayText(), "[Var2]+1") << "pasted variables are announced";
  EXPECT_EQ(host.changes, 2);
  m.KeyDown('R', true, false, clip);
  EXPECT_EQ(clip.text, "[A]+1\r\n[A] Var2");
  EXPECT_FALSE(m.KeyDown('C', false, false, clip)) << "C without Ctrl is left to typing";
  EXPECT_FALSE(m.KeyDown(0x26, false, false, clip)) << "Up is left to the memo";
  EXPECT_FALSE(m.KeyDown(0x2E, true, false, clip)) << "Ctrl+Delete is no listed key";
  m.Locked = true;
  clip.text = "7-2";
  m.Paste(clip);  // WM_PASTE skips the locked test
  EXPECT_EQ(m.Text(), "7-2");
}

TEST(LineEditConstants, InsertOnlyCodesOfTheirOwn) {
  LineEditModel m;
  m.ConstList = {"Turnover", "Costs"};
  EXPECT_TRUE(m.InsertConst(0));
  EXPECT_TRUE(m.InsertConst(2));
  EXPECT_FALSE(m.InsertConst(21)) << "the variable token";
  EXPECT_FALSE(m.InsertConst(26));
  EXPECT_FALSE(m.InsertConst(-1));
  EXPECT_EQ(m.Tokens(), "AC");
  EXPECT_EQ(m.DisplayText(), "{Turnover}{C}");
  LineEditModel back;
  back.SetText(m.Text());
  EXPECT_EQ(back.Text(), "AC");
}

TEST(LineEditReadable, LettersFollowHints) {
  EXPECT_EQ(VariableLetter(0), "A");
  EXPECT_EQ(VariableLetter(25), "Z");
  EXPECT_EQ(VariableLetter(26), "AA");
  EXPECT_EQ(VariableLetter(27), "AB");
  EXPECT_EQ(VariableLetter(51), "AZ");
  EXPECT_EQ(VariableLetter(52), "BA");
  EXPECT_EQ(VariableLetter(701), "ZZ");
  EXPECT_EQ(VariableLetter(702), "AAA");

  LineEditModel m;
  const std::vector<std::string> hints = {"Price", "Qty\nper box", "Price"};
  std::size_t next = 0;
  m.OnEditVar = [&](PVar& v, bool, std::int32_t, std::int32_t) {
    v.Hint = hints[next++];
    return true;
  };
  m.SetText("V*V!V@~@~@~");
  EXPECT_EQ(m.ReadableForm(), "[A]*[B]\r\n[A]\r\n[A] Price\r\n[B] Qty\n    per box");

  std::string many;
  for (int i = 0; i < 28; ++i) many += "V";
  for (int i = 0; i < 28; ++i) many += "@~";
  LineEditModel big;
  int n = 0;
  big.OnEditVar = [&](PVar& v, bool, std::int32_t, std::int32_t) {
    v.Hint = "h" + std::to_string(n++);
    return true;
  };
  big.SetText(many);
  const std::string readable = big.ReadableForm();
  EXPECT_EQ(readable.substr(0, 5 * 3), "[A][B][C][D][E]");
  EXPECT_NE(readable.find("[Z][AA][AB]\r\n"), std::string::npos);
  const std::string tail = "\r\n[AA] h26\r\n[AB] h27";
  ASSERT_GT(readable.size(), tail.size());
  EXPECT_EQ(readable.substr(readable.size() - tail.size()), tail);
}

TEST(LineEditScrolling, LinesAndRowsDecideTheScrollBar) {
  LineEditModel m;
  EXPECT_TRUE(m.DisplayLines().empty());
  m.SetText("1!s!");
  EXPECT_EQ(m.DisplayLines(), (std::vector<std::string>{"1", "sin", ""}));
  const struct {
    std::vector<int> widths;
    int clientWidth;
    bool needed;
  } cases[] = {
      {{10, 10}, 100, false},   // two rows of 10 in 30
      {{10, 10, 0}, 100, true},  // the third row reaches the height
      {{150}, 100, false},       // one wrapped line: two rows
      {{250}, 100, true},        // three rows
      {{250}, 0, false},         // no client width
  };
  for (const auto& c : cases)
    EXPECT_EQ(NeedsVerticalScroll(c.widths, 10, c.clientWidth, 30), c.needed) << c.widths.size() << " " << c.clientWidth;
}

}  // namespace
}  // namespace orvalis::controls
