// The tagged combo box's window under Wine: the model's items and selection in
// the COMBOBOX, and selections made by keys reaching Tag, the hint and events.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/lists/pcombobox.h"
#include "ui/form.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

class PComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 300, 200);
    combo_ = std::make_unique<PComboBox>();
    combo_->SetName("TagCombo");
    combo_->SetParent(form_.get());
    combo_->SetBounds(8, 8, 160, 21);
    combo_->AddTag("Alpha", "A1", std::string("first"));
    combo_->AddTag("Beta", "B2", std::string("second"));
    combo_->AddTag("Gamma", "C3", std::string());
    combo_->OnClick = [this](ui::Control&) { events_ += "click "; };
    combo_->OnChange = [this](PComboBox& c) { events_ += "change:" + c.GetTag() + " "; };
    form_->Show();
    combo_->Loaded();
  }
  void TearDown() override {
    combo_.reset();
    form_.reset();
  }

  HWND Handle() { return combo_->Handle(); }
  int WindowIndex() { return int(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }
  std::string WindowItem(int i) {
    wchar_t text[64] = {};
    ::SendMessageW(Handle(), CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    return win::Narrow(text);
  }
  void Key(int vk) {
    ::SendMessageW(Handle(), WM_KEYDOWN, WPARAM(vk), 1);
    ::SendMessageW(Handle(), WM_KEYUP, WPARAM(vk), 0xC0000001);
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PComboBox> combo_;
  std::string events_;
};

TEST_F(PComboBoxTest, SetTagSelectsTheWholeTagIgnoringCaseInTheWindow) {
  const struct {
    const char* tag;
    int index;
    const char* read;
  } cases[] = {{"b2", 1, "B2"}, {"C3", 2, "C3"}, {"B", 0, "A1"}, {"zz", 0, "A1"}, {"c3", 2, "C3"}};
  for (const auto& c : cases) {
    combo_->SetTag(c.tag);
    EXPECT_EQ(WindowIndex(), c.index) << c.tag;
    EXPECT_EQ(combo_->GetTag(), c.read) << c.tag;
  }
  EXPECT_EQ(events_, "") << "setters raise no events";
}

TEST_F(PComboBoxTest, KeysSelectAndTheHintFollowsTheItem) {
  combo_->SetPItemIndex(0);
  EXPECT_TRUE(combo_->ShowHint());
  EXPECT_EQ(combo_->Hint(), "first");
  const struct {
    int key;
    const char* tag;
    bool showHint;
    const char* hint;
  } steps[] = {{VK_DOWN, "B2", true, "second"}, {VK_DOWN, "C3", false, nullptr}, {VK_HOME, "A1", true, "first"}};
  for (const auto& s : steps) {
    Key(s.key);
    EXPECT_EQ(combo_->GetTag(), s.tag);
    EXPECT_EQ(combo_->ShowHint(), s.showHint) << s.tag;
    if (s.hint) {
      EXPECT_EQ(combo_->Hint(), s.hint);
    }
  }
  EXPECT_EQ(events_, "click change:B2 click change:C3 click change:A1 ");
  // A position set on the window itself is what Tag reads.
  ::SendMessageW(Handle(), CB_SETCURSEL, 1, 0);
  EXPECT_EQ(combo_->GetTag(), "B2");
  EXPECT_EQ(combo_->Hint(), "second");
}

TEST_F(PComboBoxTest, EditsOfTheListReachTheWindow) {
  combo_->SetTag("C3");
  ASSERT_TRUE(combo_->Delete(std::string_view("B2")));
  EXPECT_EQ(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(WindowItem(1), "Gamma");
  EXPECT_EQ(WindowIndex(), 1);  // still on Gamma
  ASSERT_TRUE(combo_->InsertTag(0, "Zero", "Z0", "zero"));
  ASSERT_TRUE(combo_->Rename(std::string_view("a1"), "Aleph"));
  EXPECT_EQ(WindowItem(0) + "," + WindowItem(1) + "," + WindowItem(2), "Zero,Aleph,Gamma");
  EXPECT_EQ(WindowIndex(), 2);
  combo_->Add("Plain", 7);
  EXPECT_FALSE(combo_->AddTag("Late", "L9"));  // out of step: nothing added
  EXPECT_EQ(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0), 4);
  combo_->SetData(7);
  EXPECT_EQ(WindowIndex(), 3);
  EXPECT_EQ(::SendMessageW(Handle(), CB_GETITEMDATA, 3, 0), 7);

  PComboBox copy;
  copy.SetParent(form_.get());
  copy.Assign(*combo_);
  EXPECT_EQ(::SendMessageW(copy.Handle(), CB_GETCOUNT, 0, 0), 4);
  combo_->Clear();
  EXPECT_EQ(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(WindowIndex(), -1);
}

}  // namespace
}  // namespace orvalis::controls
