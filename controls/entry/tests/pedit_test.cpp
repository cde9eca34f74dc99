// The masked edit's window under Wine: typed characters, keys, the clipboard
// and focus changes reach the model, and its text and caret reach the EDIT.
#include "controls/entry/pedit.h"

#include <gtest/gtest.h>

#include <memory>

#include "controls/entry/tests/entry_edit_fixture.h"
#include "ui/clipboard.h"

namespace orvalis::controls {
namespace {

class PEditTest : public EntryEditTest<PEdit> {
 protected:
  PEditTest() { editWidth_ = 120; }
};

TEST_F(PEditTest, TypedCharactersGoThroughTheMask) {
  const struct {
    const char* mask;
    const char* keys;
    const char* text;
    int changes;
  } cases[] = {
      {"0000 AA", "1234ab", "1234 AB", 6},
      {"0000 AA", "12x3", "123", 3},     // the letter is refused
      {"00-00", "571\b", "57", 4},       // backspace takes the hyphen too
      {"", "Ab", "Ab", 2},               // free input: the EDIT types itself
  };
  for (const auto& c : cases) {
    edit_->SetValue("");
    edit_->SetFormat(c.mask);
    changes_ = 0;
    Type(c.keys);
    const EditState s = Shown();
    EXPECT_EQ(s.text, c.text) << c.mask << " " << c.keys;
    EXPECT_EQ(edit_->GetValue(), c.text);
    EXPECT_EQ(s.selStart, static_cast<int>(std::string(c.text).size())) << "caret at the end";
    EXPECT_EQ(changes_, c.changes) << c.mask << " " << c.keys;
  }
}

TEST_F(PEditTest, DeleteIsSuppressedOnlyUnderAMask) {
  for (const char* mask : {"00-00", ""}) {
    edit_->SetFormat(mask);
    edit_->SetValue("12-34");
    ::SendMessageW(Handle(), EM_SETSEL, 0, 0);
    ::SendMessageW(Handle(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(Shown().text, *mask ? "12-34" : "2-34") << mask;
    EXPECT_EQ(edit_->GetValue(), Shown().text) << mask;
  }
}

TEST_F(PEditTest, PasteAndCutUseTheClipboard) {
  edit_->SetFormat("00-00");
  ASSERT_TRUE(ui::WriteClipboardText(Handle(), "12-34\r\nrest"));
  ::SendMessageW(Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(Shown().text, "12-34") << "the first line only";
  ::SendMessageW(Handle(), EM_SETSEL, 3, 5);
  ::SendMessageW(Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(Shown().text, "12-");
  EXPECT_EQ(edit_->GetValue(), "12-");
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), "34");
  // Ctrl+V as a typed character keeps its effect: the EDIT sends WM_PASTE.
  ::SendMessageW(Handle(), WM_CHAR, 22, 1);
  EXPECT_EQ(Shown().text, "12-34");
}

TEST_F(PEditTest, FocusChangesRunEntryExitAndTheDeferredChange) {
  edit_->SetFormat("00-00");
  edit_->SetChangeOnExit(true);
  int exits = 0;
  edit_->OnExit = [&](ui::Control&) { ++exits; };
  ::SetFocus(Handle());
  changes_ = 0;
  Type("1234");
  EXPECT_EQ(changes_, 0) << "typing waits for the exit";
  ::SetFocus(other_->Handle());
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(edit_->GetValue(), "12-34");

  // Escape restores the text of entry.
  ::SetFocus(Handle());
  ::SendMessageW(Handle(), EM_SETSEL, 5, 5);
  Type("\b\b9");
  EXPECT_EQ(Shown().text, "12-9");
  Type("\x1b");
  EXPECT_EQ(Shown().text, "12-34");
  EXPECT_EQ(Shown().selEnd - Shown().selStart, 5) << "all selected";
  ::SetFocus(other_->Handle());
  EXPECT_EQ(changes_, 1) << "nothing changed since the last report";
}

TEST_F(PEditTest, LeavingAnIncompleteFieldAsksForTheComplaint) {
  edit_->SetFormat("00-00");
  ::SetFocus(Handle());
  Type("57");
  ::SendMessageW(Handle(), EM_SETSEL, 0, 0);
  ::SetFocus(other_->Handle());
  MSG msg{};
  EXPECT_TRUE(::PeekMessageW(&msg, Handle(), WM_APP, 0xBFFF, PM_REMOVE)) << "complaint posted";
  EXPECT_EQ(Shown().selStart, 2) << "caret at the end";

  edit_->SetValue("");
  ::SetFocus(Handle());
  ::SetFocus(other_->Handle());
  EXPECT_FALSE(::PeekMessageW(&msg, Handle(), WM_APP, 0xBFFF, PM_REMOVE)) << "an empty field fits";
}

}  // namespace
}  // namespace orvalis::controls
