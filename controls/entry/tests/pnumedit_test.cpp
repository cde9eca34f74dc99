// The number and postcode edits' windows under Wine: typed characters, keys,
// the clipboard and focus changes reach the models, and their text and
// selection reach the EDIT window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/entry/pnumedit.h"
#include "controls/entry/pzipedit.h"
#include "controls/entry/tests/entry_edit_fixture.h"
#include "ui/clipboard.h"

namespace orvalis::controls {
namespace {

using PNumEditTest = EntryEditTest<PNumEdit>;
using PZipEditTest = EntryEditTest<PZipEdit>;

TEST_F(PNumEditTest, FocusShowsTheBareFormAndTypedKeysSetTheValue) {
  const struct {
    int decimals;
    bool hex;
    const char* keys;
    const char* focused;
    double value;
    const char* unfocused;
    int changes;
  } cases[] = {
      {2, false, "1234567,891", "1234567,89", 1234567.89, "1.234.567,89 EUR", 9},
      {2, false, "12-", "-12", -12, "-12 EUR", 3},
      {0, false, "12,5", "125", 125, "125 EUR", 3},  // no decimals: the sign is refused
      {0, true, "af", "AF", 175, "AF EUR", 2},
  };
  edit_->SetSuffix("EUR");
  for (const auto& c : cases) {
    edit_->SetDecimalLen(c.decimals);
    edit_->SetType(c.hex ? PNumEdit_Type::pntHexadecimal : PNumEdit_Type::pntNumeric);
    edit_->SetValue(0);
    changes_ = 0;
    Enter();
    EXPECT_EQ(Shown().text, "0") << c.keys;
    EXPECT_EQ(Shown().selEnd, 1) << "all selected on entry";
    Type(c.keys);
    EXPECT_EQ(Shown().text, c.focused) << c.keys;
    EXPECT_EQ(Shown().selStart, static_cast<int>(std::string(c.focused).size())) << c.keys;
    EXPECT_DOUBLE_EQ(edit_->GetValue(), c.value) << c.keys;
    EXPECT_EQ(changes_, c.changes) << c.keys;
    Leave();
    EXPECT_EQ(Shown().text, c.unfocused) << c.keys;
  }
}

TEST_F(PNumEditTest, KeyDownKeepsTheCaretBehindTheSignAndTheFractionApart) {
  edit_->SetDecimalLen(2);
  edit_->SetLength(3);
  edit_->SetValue(-123.45);
  Enter();
  Key(VK_HOME);
  EXPECT_EQ(Shown().selStart, 1);
  EXPECT_EQ(Shown().selEnd, 1);
  ::SendMessageW(Handle(), EM_SETSEL, 4, 4);
  Key(VK_DELETE);  // joining "45" to the integer part would make five digits
  EXPECT_EQ(Shown().text, "-123,45");
  ::SendMessageW(Handle(), EM_SETSEL, 7, 7);
  ::SendMessageW(Handle(), WM_CHAR, '\b', 1);
  EXPECT_EQ(Shown().text, "-123,4");
  EXPECT_DOUBLE_EQ(edit_->GetValue(), -123.4);
}

TEST_F(PNumEditTest, PrefixLabelShowsOnlyOutsideTheField) {
  edit_->SetPrefix("Fl");
  HWND label = ::FindWindowExW(Handle(), nullptr, L"STATIC", nullptr);
  ASSERT_NE(label, nullptr);
  wchar_t caption[8] = {};
  ::GetWindowTextW(label, caption, 8);
  EXPECT_STREQ(caption, L"Fl");
  EXPECT_TRUE(::IsWindowVisible(label));
  Enter();
  EXPECT_FALSE(::IsWindowVisible(label));
  Leave();
  EXPECT_TRUE(::IsWindowVisible(label));
}

TEST_F(PNumEditTest, PasteEscapeAndChangeOnExit) {
  edit_->SetDecimalLen(2);
  edit_->SetValue(5);
  Enter();
  ASSERT_TRUE(ui::WriteClipboardText(Handle(), "1.234,56"));
  ::SendMessageW(Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(Shown().text, "1234,56");
  EXPECT_DOUBLE_EQ(edit_->GetValue(), 1234.56);
  EXPECT_EQ(changes_, 1);
  ::SendMessageW(Handle(), WM_COPY, 0, 0);  // nothing selected: the clipboard keeps its text
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), "1.234,56");

  // A dialog would take Escape for itself; the field asks for it.
  MSG escape{Handle(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  EXPECT_TRUE(::SendMessageW(Handle(), WM_GETDLGCODE, VK_ESCAPE, LPARAM(&escape)) & DLGC_WANTMESSAGE);
  ::SendMessageW(Handle(), WM_CHAR, 27, 1);
  EXPECT_EQ(Shown().text, "5");
  EXPECT_DOUBLE_EQ(edit_->GetValue(), 5);
  EXPECT_EQ(changes_, 2);
  Leave();

  edit_->SetChangeOnExit(true);
  changes_ = 0;
  Enter();
  Type("77");
  EXPECT_EQ(changes_, 0);
  Leave();
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(Shown().text, "77");
  Enter();
  Leave();
  EXPECT_EQ(changes_, 1) << "nothing changed since";

  Enter();
  Type("8");
  edit_.reset();  // a host deleting the focused field still hears of the edit
  EXPECT_EQ(changes_, 2);
}

// The host's key event sees a key before the field's rules and may swallow
// it; in a dialog it also hears the keys the dialog takes for itself (Enter,
// Tab), each key once.
TEST_F(PNumEditTest, KeyDownEventSeesEveryKeyOnceInADialogToo) {
  std::vector<unsigned> keys;
  edit_->OnKeyDown = [&](PNumEdit&, unsigned& key, unsigned shift) {
    keys.push_back(key);
    EXPECT_EQ(shift, 0u);
    if (key == VK_DELETE) key = 0;
  };
  Enter();
  Type("12");
  ::SendMessageW(Handle(), EM_SETSEL, 0, 0);
  Key(VK_DELETE);
  EXPECT_EQ(Shown().text, "12") << "a swallowed Delete deletes nothing";
  EXPECT_EQ(keys, std::vector<unsigned>{VK_DELETE});

  keys.clear();
  // As the form's own loop does it: every message through the dialog manager.
  const auto press = [&](UINT key) {
    ::PostMessageW(Handle(), WM_KEYDOWN, key, 1);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (::IsDialogMessageW(form_->Handle(), &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  };
  press(VK_RETURN);
  press('3');
  press(VK_TAB);
  EXPECT_EQ(keys, (std::vector<unsigned>{VK_RETURN, '3', VK_TAB}));
  EXPECT_EQ(::GetFocus(), other_->Handle()) << "the dialog still took Tab";
}

TEST_F(PNumEditTest, WheelAndFocusEvents) {
  std::vector<std::string> heard;
  edit_->OnMouseWheel = [&](PNumEdit&, int delta) { heard.push_back("wheel " + std::to_string(delta)); };
  edit_->OnMouseWheelDown = [&](PNumEdit&) { heard.push_back("down"); };
  edit_->OnMouseWheelUp = [&](PNumEdit&) { heard.push_back("up"); };
  edit_->OnEnter = [&](ui::Control&) { heard.push_back("enter"); };
  edit_->OnExit = [&](ui::Control&) { heard.push_back("exit"); };
  ::SendMessageW(Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  ::SendMessageW(Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(2 * WHEEL_DELTA)), 0);
  Enter();
  Leave();
  EXPECT_EQ(heard, (std::vector<std::string>{"wheel -120", "down", "wheel 240", "up", "enter", "exit"}));
}

// The postcode edit's own focus handling replaces the framework's events.
TEST_F(PZipEditTest, FocusRaisesNoEnterOrExitEvents) {
  int events = 0;
  edit_->OnEnter = [&](ui::Control&) { ++events; };
  edit_->OnExit = [&](ui::Control&) { ++events; };
  edit_->SetValue("1234AB");
  Enter();
  EXPECT_EQ(Shown().text, "1234AB");
  Leave();
  EXPECT_EQ(Shown().text, "1234 AB");
  EXPECT_EQ(events, 0);
}

TEST_F(PZipEditTest, TypedPastedAndEscapedCodes) {
  const struct {
    const char* keys;   // typed, or pasted after '|'
    const char* focused;
    const char* unfocused;
    int changes;
  } cases[] = {
      {"1234ab", "1234AB", "1234 AB", 6},
      {"a12345", "1234", "1234", 4},  // a leading letter and a fifth digit are refused
      {"|1234ab", "1234AB", "1234 AB", 1},
      {"|12AB34", "1234", "1234", 1},
  };
  for (const auto& c : cases) {
    edit_->SetValue("");
    changes_ = 0;
    Enter();
    if (c.keys[0] == '|') {
      ASSERT_TRUE(ui::WriteClipboardText(Handle(), c.keys + 1));
      ::SendMessageW(Handle(), WM_PASTE, 0, 0);
    } else {
      Type(c.keys);
    }
    EXPECT_EQ(Shown().text, c.focused) << c.keys;
    EXPECT_EQ(changes_, c.changes) << c.keys;
    Leave();
    EXPECT_EQ(Shown().text, c.unfocused) << c.keys;
  }

  Enter();
  EXPECT_EQ(Shown().text, "1234");
  ::SendMessageW(Handle(), EM_SETSEL, 4, 4);
  Type("\b\b");
  Key(VK_DELETE);  // never deletes single characters
  EXPECT_EQ(Shown().text, "12");
  ::SendMessageW(Handle(), WM_CHAR, 27, 1);
  EXPECT_EQ(Shown().text, "1234");
  EXPECT_EQ(Shown().selEnd, 4);

  edit_->SetChangeOnExit(true);
  changes_ = 0;
  Type("5678ab");
  EXPECT_EQ(changes_, 0);
  Leave();
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(edit_->GetValue(), "5678 AB");
}

}  // namespace
}  // namespace orvalis::controls
