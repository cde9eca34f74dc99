// The choice control's window under Wine: the radio buttons stand where the
// layout puts them, a click moves ListIndex and reports it once, and the
// "other" editor stands beside or under the last choice, shows only while
// that choice is selected and hands its text to OtherText.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/lists/pchoice.h"
#include "controls/basics/pradiobutton.h"
#include "ui/form.h"

namespace orvalis::controls {
namespace {

class PChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 400, 200);
    choice_ = std::make_unique<PChoice>();
    choice_->SetName("Choice");
    choice_->SetParent(form_.get());
    choice_->SetBounds(8, 8, 300, 100);
    choice_->OnChange = [this](PChoice&) { ++changes_; };
    choice_->SetLines({{"One", 1}, {"Two", 2}, {"Other", 3}});
    form_->Show();
    choice_->Loaded();
  }
  void TearDown() override {
    choice_.reset();
    form_.reset();
  }

  void Click(int i) { ::SendMessageW(choice_->Button(i)->Handle(), BM_CLICK, 0, 0); }
  // The window's own rectangle in the control's client coordinates.
  static RECT Placed(ui::WinControl& c) {
    RECT r;
    ::GetWindowRect(c.Handle(), &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(c.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::vector<int> Checked() {
    std::vector<int> v;
    for (int i = 0; i < choice_->ButtonCount(); ++i)
      v.push_back(int(::SendMessageW(choice_->Button(i)->Handle(), BM_GETCHECK, 0, 0)));
    return v;
  }
  bool OtherShown() {
    ui::WinControl* other = choice_->OtherEditorControl();
    return other != nullptr && ::IsWindowVisible(other->Handle()) != FALSE;
  }

  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PChoice> choice_;
  int changes_ = 0;
};

TEST_F(PChoiceTest, ButtonsArePlacedNamedAndCheckedFromTheLines) {
  const int dpi = PChoice::ScreenDpi();
  const struct {
    bool horizontal;
    bool inverted;
    std::vector<int> lefts;
    std::vector<int> tops;
    int width;
  } cases[] = {
      {false, false, {0, 0, 0}, {ScaleTo(1, dpi), ScaleTo(21, dpi), ScaleTo(41, dpi)}, 300},
      {false, true, {0, 0, 0}, {ScaleTo(41, dpi), ScaleTo(21, dpi), ScaleTo(1, dpi)}, 300},
      {true, false, {0, 100, 200}, {0, 0, 0}, 100},
      {true, true, {200, 100, 0}, {0, 0, 0}, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "horizontal " << c.horizontal << " inverted " << c.inverted);
    choice_->SetHorizontal(c.horizontal);
    choice_->SetInvertedList(c.inverted);
    ASSERT_EQ(choice_->ButtonCount(), 3);
    for (int i = 0; i < 3; ++i) {
      PRadioButton& b = *choice_->Button(i);
      const RECT r = Placed(b);
      EXPECT_EQ(r.left, c.lefts[i]) << i;
      EXPECT_EQ(r.top, c.tops[i]) << i;
      EXPECT_EQ(r.right - r.left, c.width) << i;
      EXPECT_EQ(b.Name(), "Choice_" + std::to_string(i));
    }
    EXPECT_EQ(Checked(), (std::vector<int>{1, 0, 0}));
  }
  EXPECT_EQ(choice_->AutoHeight(), 100);  // horizontal: the height stays
  choice_->SetHorizontal(false);
  EXPECT_EQ(choice_->AutoHeight(), ScaleTo(61, dpi));
  // A selection outside the lines leaves no button checked.
  choice_->SetListIndex(-1);
  EXPECT_EQ(Checked(), (std::vector<int>{0, 0, 0}));
  choice_->SetListIndex(1);
  EXPECT_EQ(Checked(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(changes_, 0);  // the host's own settings are no changes
}

TEST_F(PChoiceTest, ClicksMoveListIndexAndReportEachMoveOnce) {
  const struct {
    int click;
    int listIndex;
    int changes;
  } steps[] = {{1, 1, 1}, {1, 1, 1}, {2, 2, 2}, {0, 0, 3}};
  for (const auto& s : steps) {
    Click(s.click);
    EXPECT_EQ(choice_->ListIndex(), s.listIndex) << s.click;
    EXPECT_EQ(changes_, s.changes) << s.click;
  }
  EXPECT_EQ(Checked(), (std::vector<int>{1, 0, 0}));
}

TEST_F(PChoiceTest, OtherEditorFollowsTheLastChoice) {
  choice_->SetOtherType(OType::otPNumEdit);
  choice_->SetOtherIsActive(true);
  ASSERT_NE(choice_->OtherEditorControl(), nullptr);
  EXPECT_EQ(choice_->OtherEditorControl()->Name(), "Choice_Other");

  // Beside a short last line, under a long one (indented by 19).
  const struct {
    const char* last;
    bool beside;
  } cases[] = {{"Other", true}, {"Another choice with a caption far too long to leave the editor room", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.last);
    choice_->SetLines({{"One", 1}, {"Two", 2}, {c.last, 3}});
    const RECT last = Placed(*choice_->Button(2));
    const RECT other = Placed(*choice_->OtherEditorControl());
    if (c.beside) {
      EXPECT_EQ(other.top, last.top);
      EXPECT_EQ(other.left, last.right + 1);
    } else {
      EXPECT_EQ(other.top, last.bottom + 2);
      EXPECT_EQ(other.left, last.left + 19);
    }
    EXPECT_EQ(other.right, 300);
  }

  // Shown only while the last choice is selected.
  const struct {
    int click;
    bool shown;
  } steps[] = {{1, false}, {2, true}, {0, false}, {2, true}};
  EXPECT_FALSE(OtherShown());
  for (const auto& s : steps) {
    Click(s.click);
    EXPECT_EQ(OtherShown(), s.shown) << s.click;
  }

  // Typed text becomes OtherText and is reported; a new kind keeps it.
  changes_ = 0;
  HWND edit = choice_->OtherEditorControl()->Handle();
  ::SetFocus(edit);
  for (const char ch : {'4', '2'}) ::SendMessageW(edit, WM_CHAR, WPARAM(ch), 1);
  EXPECT_EQ(choice_->OtherText(), "42");
  EXPECT_EQ(changes_, 2);
  choice_->SetOtherType(OType::otPEdit);
  EXPECT_EQ(choice_->OtherEditorControl()->Text(), "42");
  EXPECT_EQ(choice_->OtherText(), "42");
  choice_->SetOtherText("7");
  EXPECT_EQ(choice_->OtherEditorControl()->Text(), "7");
  EXPECT_EQ(changes_, 2);  // set by the host: no change event
  EXPECT_TRUE(OtherShown());
  choice_->SetOtherIsActive(false);
  EXPECT_EQ(choice_->OtherEditorControl(), nullptr);
}

}  // namespace
}  // namespace orvalis::controls
