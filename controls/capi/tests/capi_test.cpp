// The C interface as a host uses it: controls on a plain window of the host,
// handles of the wrong class and null handles, the text buffers, and events
// that reach the host's callback with its context; and what its guards log of
// an exception they stop.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#define ORVALIS_CONTROLS_STATIC  // linked in, not imported
#include "orvalis_controls.h"

#include <commctrl.h>

#include "controls/capi/capi.h"
#include "win/tests/debug_capture.h"

namespace {

class CInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(host_); }

  HWND host_ = nullptr;
};

TEST_F(CInterfaceTest, WrongOrMissingHandlesAndShortBuffersGiveNeutralResults) {
  EXPECT_EQ(PNumEdit_Create(nullptr, "Lost", 0, 0, 100, 22), nullptr);
  OrvalisControl* number = PNumEdit_Create(host_, "Number", 8, 8, 120, 22);
  ASSERT_NE(number, nullptr);
  HWND edit = PControl_Handle(number);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(::GetAncestor(edit, GA_ROOT), host_);
  EXPECT_EQ(::GetParent(::GetParent(edit)), host_);  // through the site window

  PNumEdit_SetDecimalLen(number, 2);
  PNumEdit_SetValue(number, 12.5);
  EXPECT_DOUBLE_EQ(PNumEdit_GetValue(number), 12.5);

  char buffer[8];
  std::strcpy(buffer, "xxxxxxx");
  EXPECT_EQ(PZipEdit_GetValue(number, buffer, sizeof buffer), 0) << "a number edit is no postcode edit";
  EXPECT_STREQ(buffer, "");
  PZipEdit_SetValue(number, "1234AB");
  EXPECT_DOUBLE_EQ(PNumEdit_GetValue(number), 12.5);
  EXPECT_DOUBLE_EQ(PNumEdit_GetValue(nullptr), 0.0);
  EXPECT_EQ(PControl_GetVisible(nullptr), 0);

  PNumEdit_SetPrefix(number, "EUR \xE2\x82\xAC");  // seven bytes
  EXPECT_EQ(PNumEdit_GetPrefix(number, nullptr, 0), 7);
  std::strcpy(buffer, "xxxxxxx");
  EXPECT_EQ(PNumEdit_GetPrefix(number, buffer, 4), 7);
  EXPECT_STREQ(buffer, "EUR");
  EXPECT_EQ(PNumEdit_GetPrefix(number, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "EUR \xE2\x82\xAC");

  PControl_SetBounds(number, 20, 30, 150, 24);
  RECT r{};
  ::GetWindowRect(edit, &r);
  ::MapWindowPoints(nullptr, host_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 150);

  OrvalisControl* rich = PRichEdit_Create(host_, "Rich", 8, 60, 200, 60);
  PControl_SetColor(rich, 0x00123456);  // the text's background
  EXPECT_EQ(PRichEdit_GetColor(rich), 0x00123456u);
  EXPECT_EQ(PControl_GetColor(rich), 0x00123456u);
  PControl_Destroy(rich);

  PControl_Destroy(number);
  EXPECT_FALSE(::IsWindow(edit));
  PControl_Destroy(nullptr);
}

struct Calls {
  int count = 0;
  OrvalisControl* control = nullptr;
  std::string link;
};

void ORVALIS_CALL Count(void* context, OrvalisControl* control) {
  auto* calls = static_cast<Calls*>(context);
  ++calls->count;
  calls->control = control;
}

TEST_F(CInterfaceTest, EventsReachTheCallbackWithItsContextUntilRemoved) {
  OrvalisControl* postcode = PZipEdit_Create(host_, "Postcode", 8, 8, 120, 22);
  ASSERT_NE(postcode, nullptr);
  Calls calls;
  PZipEdit_SetOnChange(postcode, Count, &calls);
  HWND edit = PControl_Handle(postcode);
  PControl_SetFocus(postcode);
  ::SendMessageW(edit, WM_CHAR, '1', 0);
  EXPECT_EQ(calls.count, 1);
  EXPECT_EQ(calls.control, postcode);
  char text[16];
  PZipEdit_GetValue(postcode, text, sizeof text);
  EXPECT_STREQ(text, "1");

  PZipEdit_SetOnChange(postcode, nullptr, nullptr);
  ::SendMessageW(edit, WM_CHAR, '2', 0);
  EXPECT_EQ(calls.count, 1);
  PZipEdit_GetValue(postcode, text, sizeof text);
  EXPECT_STREQ(text, "12");
  PControl_Destroy(postcode);
}

TEST_F(CInterfaceTest, TreeItemsBelongToTheirOwnTree) {
  OrvalisControl* tree = PTreeView_Create(host_, "Tree", 8, 8, 200, 150);
  OrvalisControl* other = PTreeView_Create(host_, "Other", 210, 8, 100, 150);
  ASSERT_NE(tree, nullptr);
  ASSERT_NE(other, nullptr);
  OrvalisTreeItem* root = PTreeView_GetRoot(tree);
  OrvalisTreeItem* fruit = PTreeItem_AddChild(root, "Fruit", 1);
  OrvalisTreeItem* apple = PTreeItem_AddChild(fruit, "Apple", 2);
  PTreeItem_SetTag(apple, "AP");
  EXPECT_EQ(PTreeItem_GetParent(apple), fruit);
  EXPECT_EQ(PTreeItem_GetChild(fruit, 0), apple);
  EXPECT_EQ(PTreeItem_GetChild(fruit, 1), nullptr);
  EXPECT_EQ(PTreeItem_AddChild(nullptr, "x", 0), nullptr);

  PTreeView_CreateNodes(other, root);  // another tree's item: refused
  EXPECT_EQ(::SendMessageW(PControl_Handle(other), TVM_GETCOUNT, 0, 0), 0);
  PControl_SetColor(tree, 0x00C0FFEE);  // the tree's own background, through the common call
  EXPECT_EQ(::SendMessageW(PControl_Handle(tree), TVM_GETBKCOLOR, 0, 0), 0x00C0FFEE);
  EXPECT_EQ(PControl_GetColor(tree), 0x00C0FFEEu);
  PTreeView_CreateNodes(tree, root);
  PTreeView_SetTag(tree, "ap");
  EXPECT_EQ(PTreeView_GetSelectedItem(tree), apple);
  EXPECT_EQ(PTreeView_GetData(tree), 2);
  PControl_Destroy(other);
  PControl_Destroy(tree);
}

// A control whose every call fails, to show what the guards do with an exception.
class Refusing final : public orvalis::ui::GraphicControl {
 public:
  void SetColor(orvalis::ui::Color) override { throw std::runtime_error("colour refused"); }
  [[nodiscard]] orvalis::ui::Color GetColor() const override { throw std::runtime_error("no colour"); }
  void SetEnabled(bool) override { throw std::runtime_error("stays as it is"); }
  void SetBounds(int, int, int, int) override { throw std::runtime_error("no room"); }
  void Paint(orvalis::ui::Canvas&) override {}
};

TEST(CInterfaceGuards, AnExceptionTheyStopIsLoggedWithTheFunctionAndTheControl) {
  OrvalisControl handle;
  handle.site = std::make_unique<orvalis::capi::Site>();
  auto refusing = std::make_unique<Refusing>();
  refusing->SetName("Weigeraar");
  handle.site->SetChild(refusing.get());
  handle.control = std::move(refusing);
  const struct {
    const char* function;
    std::function<void()> call;
    const char* text;
  } cases[] = {
      {"PControl_SetColor", [&] { PControl_SetColor(&handle, 0x00123456); }, "colour refused"},
      {"PControl_GetColor", [&] { EXPECT_EQ(PControl_GetColor(&handle), 0u) << "the neutral result"; }, "no colour"},
      {"PControl_SetEnabled", [&] { PControl_SetEnabled(&handle, 0); }, "stays as it is"},
      {"PControl_SetBounds", [&] { PControl_SetBounds(&handle, 1, 2, 30, 40); }, "no room"},
  };
  for (const auto& c : cases) {
    orvalis::win::DebugCapture capture;
    c.call();
    const std::string line = std::string("orvalis: ") + c.function + " of \"Weigeraar\": " + c.text;
    EXPECT_NE(capture.Text().find(line), std::string::npos) << capture.Text();
  }
}

}  // namespace
