// The formula line editor's window under Wine: real key and mouse messages
// reach the model, the window shows the display text with the caret between
// tokens, and the clipboard and the host's variable editor are wired up.
#include <gtest/gtest.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/entry/edit_view.h"
#include "controls/entry/plineedit.h"
#include "ui/clipboard.h"
#include "ui/form.h"

namespace orvalis::controls {
namespace {

class PLineEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<ui::Form>();
    form_->SetBounds(0, 0, 360, 160);
    edit_ = std::make_unique<PLineEdit>();
    edit_->SetName("LineEdit");
    edit_->SetParent(form_.get());
    edit_->SetBounds(8, 8, 300, 80);
    edit_->ConstList() = {"Turnover", "Costs"};
    edit_->OnChange = [this](PLineEdit&) { ++changes_; };
    form_->Show();
    edit_->Loaded();
  }
  void TearDown() override {
    SetModifiers(false, false);
    edit_.reset();
    form_.reset();
  }

  // A host that names each variable "Var" + a number, gives new ones the
  // items x and y and appends z to one it edits.
  void AttachHost() {
    edit_->SetOnEditVar([this](PLineEdit&, PVar& var, bool edit, std::int32_t left, std::int32_t top) {
      calls_.push_back({edit, POINT{left, top}});
      if (!edit || var.Caption.empty()) {
        var.Caption = "Var" + std::to_string(++named_);
        var.Hint = "about " + var.Caption;
        if (edit) var.Items = {"x", "y"};
      } else {
        var.Items.push_back("z");
      }
      return !refuse_;
    });
  }

  HWND Handle() { return edit_->Handle(); }
  // Characters as WM_CHAR; <name> for a WM_KEYDOWN of a key.
  void Type(const std::string& script) {
    for (std::size_t i = 0; i < script.size(); ++i) {
      if (script[i] != '<') {
        ::SendMessageW(Handle(), WM_CHAR, static_cast<unsigned char>(script[i]), 1);
        continue;
      }
      const std::size_t close = script.find('>', i);
      const std::string key = script.substr(i + 1, close - i - 1);
      i = close;
      const int vk = key == "left" ? VK_LEFT : key == "home" ? VK_HOME : key == "end" ? VK_END
                   : key == "enter" ? VK_RETURN : key == "del" ? VK_DELETE : key == "f7" ? VK_F7 : 0;
      ASSERT_NE(vk, 0) << key;
      ::SendMessageW(Handle(), WM_KEYDOWN, WPARAM(vk), 1);
    }
  }
  // The thread's key state, as GetKeyState sees it while a message is handled.
  static void SetModifiers(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }
  EditState Shown() { return ReadEdit(Handle()); }
  int Caret() {
    DWORD start = 0;
    ::SendMessageW(Handle(), EM_GETSEL, WPARAM(&start), 0);
    return int(start);
  }
  LPARAM ClientPosOf(int displayIndex) {
    return ::SendMessageW(Handle(), EM_POSFROMCHAR, WPARAM(displayIndex), 0);
  }

  struct Call {
    bool edit;
    POINT at;
  };
  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<PLineEdit> edit_;
  int changes_ = 0;
  int named_ = 0;
  bool refuse_ = false;
  std::vector<Call> calls_;
};

TEST_F(PLineEditTest, TypedCharactersAndKeysEditTheTokens) {
  const struct {
    const char* script;
    const char* shown;
    const char* stored;
    int caret;  // in the window, UTF-16 units
    int changes;
  } cases[] = {
      {"2*s(", "2*sin(", "2*s(", 6, 4},
      {"1,5<enter>P", "1.5\r\n Pi ", "1.5!p", 9, 5},
      {"12<left><left>3<end>\b", "31", "31", 2, 4},
      {"a?b:c<home><del>", " then abs else cos", "?b:c", 0, 6},
      {"7v\"[]", "7", "7", 1, 1},               // no variable editor: nothing inserted
      {"<left>\b<del>", "", "", 0, 0},          // nothing before or after the caret
  };
  for (const auto& c : cases) {
    edit_->SetText("");
    changes_ = 0;
    Type(c.script);
    EXPECT_EQ(Shown().text, c.shown) << c.script;
    EXPECT_EQ(edit_->Text(), c.stored) << c.script;
    EXPECT_EQ(Caret(), c.caret) << c.script;
    EXPECT_EQ(changes_, c.changes) << c.script;
  }
  // A constant shows its name, and one past the list its letter.
  edit_->SetText("A-B*C");
  EXPECT_EQ(Shown().text, "{Turnover}-{Costs}*{C}");
  // SelStart inside a word moves the caret to the end of its token.
  edit_->SetSelStart(3);
  EXPECT_EQ(edit_->SelStart(), 10);
  EXPECT_EQ(edit_->Model().Cursor(), 1u);
}

TEST_F(PLineEditTest, ClipboardCarriesTheStoredForm) {
  AttachHost();
  const std::string stored = "V+V*A@~x@y@~~0001414243";
  edit_->SetText(stored);
  EXPECT_EQ(Shown().text, "[Var1]+[Var2]*{Turnover}");
  EXPECT_EQ(changes_, 0);
  ::SendMessageW(Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), stored);

  // Ctrl+X as the keyboard sends it: the key, then its control character.
  SetModifiers(true, false);
  ::SendMessageW(Handle(), WM_KEYDOWN, 'X', 1);
  ::SendMessageW(Handle(), WM_CHAR, 0x18, 1);
  SetModifiers(false, false);
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), stored);
  EXPECT_EQ(Shown().text, "");
  EXPECT_EQ(changes_, 1);

  ::SendMessageW(Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit_->Text(), stored);
  EXPECT_EQ(Shown().text, "[Var3]+[Var4]*{Turnover}");
  EXPECT_EQ(changes_, 2);

  // Ctrl+R puts the readable form there, one letter per hint.
  const std::string readable = "[A]+[B]*{Turnover}\r\n[A] about Var3\r\n[B] about Var4";
  SetModifiers(true, false);
  ::SendMessageW(Handle(), WM_KEYDOWN, 'R', 1);
  SetModifiers(false, false);
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), readable);
  // A plain C types the letter "c" (cos) and copies nothing.
  Type("<end>c");
  EXPECT_EQ(edit_->Text(), "V+V*Ac@~x@y@~~0001414243");
  EXPECT_EQ(ui::ReadClipboardText(Handle()).value_or(""), readable);
}

TEST_F(PLineEditTest, VariablesAreMadeAndEditedThroughOnEditVar) {
  AttachHost();
  Type("2*v");
  EXPECT_EQ(Shown().text, "2*[Var1]");
  EXPECT_EQ(edit_->Text(), "2*V@~x@y");
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_TRUE(calls_[0].edit);
  // The host's editor opens at the last character before the caret, on the screen.
  POINT star{GET_X_LPARAM(ClientPosOf(1)), GET_Y_LPARAM(ClientPosOf(1))};
  ::ClientToScreen(Handle(), &star);
  EXPECT_EQ(calls_[0].at.x, star.x);
  EXPECT_EQ(calls_[0].at.y, star.y);

  // F10 arrives as a system key and starts a variable too; refused, it goes.
  refuse_ = true;
  ::SendMessageW(Handle(), WM_SYSKEYDOWN, VK_F10, 1);
  EXPECT_EQ(calls_.size(), 2u);
  EXPECT_EQ(edit_->Text(), "2*V@~x@y");
  refuse_ = false;
  Type("+<f7>");
  EXPECT_EQ(edit_->Text(), "2*V+V@~x@y@~~0001");
  EXPECT_EQ(Shown().text, "2*[Var1]+[Var3]");

  // A double click inside [Var1]: the click puts the caret after its token,
  // the double click asks the host to edit that variable.
  const LPARAM inside = ClientPosOf(4);
  changes_ = 0;
  ::SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
  ::SendMessageW(Handle(), WM_LBUTTONUP, 0, inside);
  EXPECT_EQ(edit_->Model().Cursor(), 3u);
  EXPECT_EQ(Caret(), 8);
  ASSERT_TRUE(edit_->CanEdit());
  ::SendMessageW(Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
  ::SendMessageW(Handle(), WM_LBUTTONUP, 0, inside);
  ASSERT_EQ(calls_.size(), 4u);
  EXPECT_TRUE(calls_[3].edit);
  EXPECT_EQ(edit_->Text(), "2*V+V@~x@y@z@~~0001");
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(Shown().selStart, Shown().selEnd) << "no word selected";

  // The pointer over a variable shows its hint; elsewhere there is none.
  ::SendMessageW(Handle(), WM_MOUSEMOVE, 0, inside);
  EXPECT_EQ(edit_->Hint(), "about Var1");
  EXPECT_TRUE(edit_->ShowHint());
  ::SendMessageW(Handle(), WM_MOUSEMOVE, 0, ClientPosOf(0));
  EXPECT_EQ(edit_->Hint(), "");
  EXPECT_FALSE(edit_->ShowHint());

  // Backspace takes the variable with its token.
  Type("\b");
  EXPECT_EQ(edit_->Text(), "2*+V@~~0001");
}

TEST_F(PLineEditTest, ScrollBarOnlyWhenTheRowsFillTheWindow) {
  const auto scrollBar = [this] { return (::GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_FALSE(scrollBar());
  Type("1<enter>2<enter>3<enter>4<enter>5<enter>6<enter>7");
  EXPECT_TRUE(scrollBar());
  edit_->SetText("1+2");
  EXPECT_FALSE(scrollBar());
}

TEST_F(PLineEditTest, ContextRequestsMoveTheCaretUnlessLocked) {
  std::vector<POINT> requests;
  edit_->OnContextPopup = [&requests](PLineEdit&, POINT at, bool& handled) {
    requests.push_back(at);
    handled = true;  // no menu, which would wait for a click
  };
  edit_->SetText("1+s");
  POINT onSin{GET_X_LPARAM(ClientPosOf(3)), GET_Y_LPARAM(ClientPosOf(3))};
  POINT screen = onSin;
  ::ClientToScreen(Handle(), &screen);
  ::SendMessageW(Handle(), WM_CONTEXTMENU, WPARAM(Handle()), MAKELPARAM(screen.x, screen.y));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].x, onSin.x);
  EXPECT_EQ(edit_->Model().Cursor(), 3u) << "the caret follows the mouse to the token";

  // From the keyboard the request comes at the caret, which stays.
  Type("<home>");
  ::SendMessageW(Handle(), WM_CONTEXTMENU, WPARAM(Handle()), -1);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(edit_->Model().Cursor(), 0u);
  const POINT caret = edit_->CursorPos();
  POINT client = caret;
  ::ScreenToClient(Handle(), &client);
  EXPECT_EQ(requests[1].x, client.x);

  edit_->SetLocked(true);
  ::SendMessageW(Handle(), WM_CONTEXTMENU, WPARAM(Handle()), MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(requests.size(), 2u);
  EXPECT_EQ(edit_->Model().Cursor(), 0u);
}

}  // namespace
}  // namespace orvalis::controls
