// The tagged check list's window under Wine: its items in the LISTBOX, checks
// toggled by Space and by clicks on the box (not the caption), and Tags.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/lists/pchecklistbox.h"
#include "ui/form.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

class PCheckListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 300, 200);
    list_ = std::make_unique<PCheckListBox>();
    list_->SetName("TagCheck");
    list_->SetParent(form_.get());
    list_->SetBounds(8, 8, 160, 80);
    list_->AddTag("a", "1");
    list_->AddTag("b", "2");
    list_->AddTag("c", "11");
    list_->OnClickCheck = [this](PCheckListBox&, int index) { clicks_ += std::to_string(index); };
    form_->Show();
    list_->Loaded();
  }
  void TearDown() override {
    list_.reset();
    form_.reset();
  }

  HWND Handle() { return list_->Handle(); }
  // The middle of item `index` at x.
  LPARAM At(int index, int x) {
    RECT r{};
    ::SendMessageW(Handle(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM(x, (r.top + r.bottom) / 2);
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PCheckListBox> list_;
  std::string clicks_;
};

TEST_F(PCheckListBoxTest, SpaceAndClicksOnTheBoxToggle) {
  ASSERT_EQ(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0), 3);
  wchar_t text[8] = {};
  ::SendMessageW(Handle(), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(win::Narrow(text), "c");

  enum Action { Space, BoxClick, CaptionClick, BoxDoubleClick };
  const struct {
    Action action;
    int item;
    const char* tags;
    const char* clicks;
  } steps[] = {
      {BoxClick, 2, "11", "2"},       {CaptionClick, 0, "11", "2"},    {Space, 0, "1\n11", "20"},
      {BoxClick, 1, "1\n2\n11", "201"}, {BoxDoubleClick, 1, "1\n2\n11", "20111"}, {Space, 2, "1\n2", "201112"},
  };
  for (const auto& s : steps) {
    const LPARAM box = At(s.item, 5), caption = At(s.item, 80);
    switch (s.action) {
      case Space:
        ::SendMessageW(Handle(), LB_SETCURSEL, WPARAM(s.item), 0);
        ::SendMessageW(Handle(), WM_CHAR, L' ', 1);
        break;
      case BoxClick:
      case CaptionClick:
        ::SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, s.action == BoxClick ? box : caption);
        ::SendMessageW(Handle(), WM_LBUTTONUP, 0, s.action == BoxClick ? box : caption);
        break;
      case BoxDoubleClick:
        ::SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, box);
        ::SendMessageW(Handle(), WM_LBUTTONUP, 0, box);
        ::SendMessageW(Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, box);
        ::SendMessageW(Handle(), WM_LBUTTONUP, 0, box);
        break;
    }
    EXPECT_EQ(list_->GetTags(), s.tags) << s.item;
    EXPECT_EQ(clicks_, s.clicks) << s.item;
  }

  list_->SetEnabled(false);
  ::SendMessageW(Handle(), WM_CHAR, L' ', 1);
  EXPECT_EQ(list_->GetTags(), "1\n2");
}

TEST_F(PCheckListBoxTest, TagsSetterChecksWholeTagsAndKeepsStepWithTheItems) {
  list_->SetTags("1");
  EXPECT_TRUE(list_->Checked(0));
  EXPECT_FALSE(list_->Checked(2)) << "\"1\" is part of \"11\", not the whole tag";
  list_->SetTags("11\n2");
  EXPECT_EQ(list_->GetTags(), "2\n11");
  EXPECT_EQ(clicks_, "") << "the setter raises no click event";

  list_->Add("untagged");
  EXPECT_EQ(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list_->GetTags(), "");
  EXPECT_FALSE(list_->AddTag("d", "4"));
  list_->SetTags("1");
  EXPECT_FALSE(list_->Checked(0)) << "out of step: SetTags changes nothing";
  list_->Clear();
  EXPECT_EQ(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(list_->AddTag("a", "1"));
}

}  // namespace
}  // namespace orvalis::controls
