// The date edit's window under Wine: typed digits, keys, the clipboard and
// focus changes reach the model; F4 opens the calendar below the field, kept
// inside the work area.
#include "controls/pdateedit.h"

#include <gtest/gtest.h>

#include <memory>

#include "controls/edit_view.h"
#include "controls/placement.h"
#include "ui/form.h"

namespace orvalis::controls {
namespace {

class PDateEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(40, 40, 300, 120);
    edit_ = std::make_unique<PDateEdit>();
    edit_->SetName("DateEdit");
    edit_->SetParent(form_.get());
    edit_->SetBounds(8, 8, 120, 22);
    edit_->OnChange = [this](PDateEdit&) { ++changes_; };
    other_ = std::make_unique<ui::EditBox>();
    other_->SetParent(form_.get());
    other_->SetBounds(8, 40, 120, 22);
    form_->Show();
    edit_->Loaded();
  }
  void TearDown() override {
    edit_.reset();
    other_.reset();
    form_.reset();
  }

  HWND Edit() { return edit_->Handle(); }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) ::SendMessageW(Edit(), WM_CHAR, static_cast<unsigned char>(*k), 1);
  }
  std::string Shown() { return ReadEdit(Edit()).text; }
  static double Day(int y, int m, int d) { return DayNumber(y, m, d).value_or(-1); }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PDateEdit> edit_;
  std::unique_ptr<ui::EditBox> other_;
  int changes_ = 0;
};

TEST_F(PDateEditTest, FocusShowsBareDigitsAndLeavingShowsHyphens) {
  ::SetFocus(Edit());
  Type("120314");
  EXPECT_EQ(Shown(), "120314");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12));
  EXPECT_EQ(changes_, 1) << "the sixth digit makes the date";
  ::SetFocus(other_->Handle());
  EXPECT_EQ(Shown(), "12-03-2014");
  ::SetFocus(Edit());
  const EditState s = ReadEdit(Edit());
  EXPECT_EQ(s.text, "12032014");
  EXPECT_EQ(s.selEnd - s.selStart, 8) << "all selected on entry";
  Type(">");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 13));
  Type("\x1b");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12)) << "Escape restores the date of entry";
  EXPECT_EQ(changes_, 3);
}

TEST_F(PDateEditTest, KeysAndClipboardMessagesGoThroughTheModel) {
  edit_->SetDate(Day(2014, 3, 5));
  ::SetFocus(Edit());
  ::SendMessageW(Edit(), EM_SETSEL, 0, 2);
  ::SendMessageW(Edit(), WM_CUT, 0, 0);
  EXPECT_EQ(ReadClipboardText(Edit()).value_or(""), "05");
  EXPECT_EQ(Shown(), "032014");
  EXPECT_EQ(edit_->GetDate(), 0) << "month 20 is no date";
  // A pasted text keeps the digits that fit at the caret.
  ASSERT_TRUE(WriteClipboardText(Edit(), "1x2"));
  ::SendMessageW(Edit(), EM_SETSEL, 0, 0);
  ::SendMessageW(Edit(), WM_CHAR, 22, 1);  // Ctrl+V: the EDIT sends WM_PASTE
  EXPECT_EQ(Shown(), "12032014");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 12));
  ::SendMessageW(Edit(), EM_SETSEL, 0, 0);
  ::SendMessageW(Edit(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(Shown(), "2032014");
  EXPECT_EQ(edit_->GetDate(), Day(2014, 3, 2));
  ::SendMessageW(Edit(), EM_SETSEL, 1, 3);
  ::SendMessageW(Edit(), WM_CHAR, 3, 1);  // Ctrl+C
  EXPECT_EQ(ReadClipboardText(Edit()).value_or(""), "03");
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
    ::SetFocus(Edit());
    ::SendMessageW(Edit(), WM_KEYDOWN, VK_F4, 1);
    ASSERT_TRUE(edit_->CalendarShown()) << p.x;
    RECT field, popup;
    ::GetWindowRect(Edit(), &field);
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
    EXPECT_EQ(::GetFocus(), Edit());
  }
}

}  // namespace
}  // namespace orvalis::controls
