// The date edit's window under Wine: typed digits, keys, the clipboard and
// focus changes reach the model; F4 opens the calendar below the field, kept
// inside the work area.
#include "controls/entry/pdateedit.h"

#include <gtest/gtest.h>

#include <memory>

#include "controls/dialogs/placement.h"
#include "controls/entry/tests/entry_edit_fixture.h"
#include "ui/clipboard.h"
#include "ui/form.h"

namespace orvalis::controls {
namespace {

class PDateEditTest : public EntryEditTest<PDateEdit> {
 protected:
  PDateEditTest() {
    formLeft_ = formTop_ = 40;
    editWidth_ = 120;
  }
  std::string Shown() { return ReadEdit(Handle()).text; }
  static double Day(int y, int m, int d) { return DayNumber(y, m, d).value_or(-1); }
};

TEST_F(PDateEditTest, FocusShowsBareDigitsAndLeavingShowsHyphens) {
  ::SetFocus(Handle());
  Type("120314");
  EXPECT_EQ(Shown(), "120314");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12));
  EXPECT_EQ(changes_, 1) << "the sixth digit makes the date";
  ::SetFocus(other_->Handle());
  EXPECT_EQ(Shown(), "12-03-2014");
  ::SetFocus(Handle());
  const EditState s = ReadEdit(Handle());
  EXPECT_EQ(s.text, "12032014");
  EXPECT_EQ(s.selEnd - s.selStart, 8) << "all selected on entry";
  Type(">");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 13));
  Type("\x1b");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12)) << "Escape restores the date of entry";
  EXPECT_EQ(changes_, 3);
}

// The date edit's own focus handling replaces the framework's events.
TEST_F(PDateEditTest, FocusRaisesNoEnterOrExitEvents) {
  int events = 0;
  edit_->OnEnter = [&](ui::Control&) { ++events; };
  edit_->OnExit = [&](ui::Control&) { ++events; };
  edit_->SetDate(Day(2014, 3, 12));
  Enter();
  EXPECT_EQ(Shown(), "12032014");
  Leave();
  EXPECT_EQ(Shown(), "12-03-2014");
  EXPECT_EQ(events, 0);
}

TEST_F(PDateEditTest, KeysAndClipboardMessagesGoThroughTheModel) {
  edit_->SetDate(Day(2014, 3, 5));
  ::SetFocus(Handle());
  ::SendMessageW(Handle(), EM_SETSEL, 0, 2);
  ::SendMessageW(Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), "05");
  EXPECT_EQ(Shown(), "032014");
  EXPECT_EQ(edit_->GetDate(), 0) << "month 20 is no date";
  // A pasted text keeps the digits that fit at the caret.
  ASSERT_TRUE(ui::WriteClipboardText(Handle(), "1x2"));
  ::SendMessageW(Handle(), EM_SETSEL, 0, 0);
  ::SendMessageW(Handle(), WM_CHAR, 22, 1);  // Ctrl+V: the EDIT sends WM_PASTE
  EXPECT_EQ(Shown(), "12032014");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12));
  ::SendMessageW(Handle(), EM_SETSEL, 0, 0);
  ::SendMessageW(Handle(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(Shown(), "2032014");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 2));
  ::SendMessageW(Handle(), EM_SETSEL, 1, 3);
  ::SendMessageW(Handle(), WM_CHAR, 3, 1);  // Ctrl+C
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), "03");
  EXPECT_EQ(changes_, 3);
}

TEST_F(PDateEditTest, F4OpensTheCalendarBelowTheFieldAndOnTheScreen) {
  const ui::Rect area = WorkArea(0);
  const struct {
    int x, y;
    bool belowField;
  } places[] = {{area.left + 40, area.top + 40, true}, {area.right - 60, area.bottom - 50, false}};
  for (const auto& p : places) {
    form_->SetBounds(p.x, p.y, 300, 120);
    ::SetFocus(Handle());
    ::SendMessageW(Handle(), WM_KEYDOWN, VK_F4, 1);
    ASSERT_TRUE(edit_->CalendarShown()) << p.x;
    RECT field, popup;
    ::GetWindowRect(Handle(), &field);
    ::GetWindowRect(edit_->CalendarHandle(), &popup);
    EXPECT_GT(popup.right - popup.left, 50);
    EXPECT_GE(popup.left, area.left);
    EXPECT_GE(popup.top, area.top);
    EXPECT_LE(popup.right, area.right) << p.x;
    EXPECT_LE(popup.bottom, area.bottom) << p.y;
    if (p.belowField) {
      EXPECT_EQ(popup.left, field.left);
      EXPECT_EQ(popup.top, field.bottom);
    }
    // Escape in the calendar closes it and gives the field the focus back.
    ::SendMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(edit_->CalendarShown());
    EXPECT_EQ(::GetFocus(), Handle());
  }
}

}  // namespace
}  // namespace orvalis::controls
