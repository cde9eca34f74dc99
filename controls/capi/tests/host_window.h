// The host's side of the tests: a plain window of class STATIC that the
// controls are put on, the message pump, the user's keys and mouse as the
// system delivers them, and what the screen shows.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "capi_table.h"

namespace orvalis::capi_test {

// Pumps the thread's messages until `done` holds or the deadline passes; true
// when it holds. Never a fixed sleep: it returns as soon as the state is there.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000);
// Handles what is queued now, input included.
void Pump();

// Keys through the system's input queue (SendInput) to the focused window, with
// Ctrl and Shift held as asked; returns once the queue has handled them.
void Press(UINT virtualKey, bool ctrl = false, bool shift = false);
// Characters typed into the focused window `window` through the system's
// input queue: the layout's key for each (key down, the translated WM_CHAR,
// key up), or the keyboard's Unicode packet for one no key gives; returns once
// handled.
void Type(HWND window, std::string_view utf8);
// Mouse buttons posted to the window at a client point (move, down, up), as
// the system posts them to the window under the pointer.
void Click(HWND window, int x, int y);
void RightClick(HWND window, int x, int y);
// Down, up, double-click, up: what the system posts for a double click.
void DoubleClick(HWND window, int x, int y);
// The wheel turned over the window: posted with the screen point of its centre.
void Wheel(HWND window, int delta);

[[nodiscard]] std::wstring Wide(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view wide);
// The window's own text, as UTF-8.
[[nodiscard]] std::string WindowText(HWND window);
// The framework's windows carry their designer name as a property; the
// descendant of `root` with that name, or null. Pumps first: a control frees
// the windows it replaced from its queue.
[[nodiscard]] HWND FindByName(HWND root, std::string_view name);
[[nodiscard]] HWND FindByClass(HWND root, const wchar_t* className);
// The text the framework's tool tip holds for a control's window, or
// "(no tool)" when the window is no tool of it.
[[nodiscard]] std::string HintOf(HWND window);
// A visible top-level window of this thread that is not `except` and was not
// in `before`: a dialog that a call opened.
[[nodiscard]] HWND NewTopWindow(const std::vector<HWND>& before);
[[nodiscard]] std::vector<HWND> TopWindows();

// While `call` runs a modal loop, `answer` gets the first new top-level window
// of the thread (a dialog), once; a window still open at the deadline is
// closed so the call returns. True when a window was answered.
bool AnswerDialog(const std::function<void()>& call, const std::function<void(HWND dialog)>& answer,
                  int milliseconds = 10000);

// The client area of a window as painted now (children included), pixel by pixel.
class Shot {
 public:
  explicit Shot(HWND window);
  [[nodiscard]] COLORREF At(int x, int y) const;
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  // Pixels in the rectangle for which `pick` holds.
  [[nodiscard]] int Count(RECT area, const std::function<bool(COLORREF)>& pick) const;
  // Columns and rows of the pixels that differ from `background`; empty when none.
  [[nodiscard]] RECT Ink(COLORREF background) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

// Whether two pictures of a window differ anywhere.
[[nodiscard]] bool Differ(const Shot& a, const Shot& b);

// Turns the visual styles of one window off (a class list naming no class) or
// back on, as a host may; a control's LoadTheme then opens its theme again.
void StylesOf(HWND window, bool on);

// A text read through one of the interface's text functions, as a host does:
// its length first, then into a buffer of that size. The leading arguments
// come before the buffer and its size.
template <typename F, typename... Leading>
std::string Read(F& function, Leading... leading) {
  const int length = function(leading..., nullptr, 0);
  if (length <= 0) return "";
  std::string text(std::size_t(length) + 1, '\x7F');
  const int again = function(leading..., text.data(), length + 1);
  EXPECT_EQ(again, length) << "the length asked first and the length read differ";
  EXPECT_EQ(text[std::size_t(length)], '\0') << "the text is NUL-terminated";
  text.resize(std::size_t(length));
  return text;
}

// What an event brought: how often it came, the control and the values.
struct Recorder {
  int calls = 0;
  OrvalisControl* control = nullptr;
  int value = 0;
  std::string text;
};
void ORVALIS_CALL Record(void* context, OrvalisControl* control);
void ORVALIS_CALL RecordValue(void* context, OrvalisControl* control, int value);
void ORVALIS_CALL RecordLink(void* context, OrvalisControl* control, const char* link, int object);

// Controls on a plain window of the host. Every test skips when the module's
// functions cannot soundly be called (see CallsRefused).
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes a control with one of the interface's creators on the host window
  // and destroys it after the test.
  template <typename Creator>
  OrvalisControl* Make(Creator& create, const char* name, int x, int y, int width, int height) {
    OrvalisControl* control = create(host_, name, x, y, width, height);
    EXPECT_NE(control, nullptr) << create.name;
    if (control) made_.push_back(control);
    return control;
  }
  // Destroys one made control now.
  void Destroy(OrvalisControl* control);
  // The window a control's user actions go to: the control's own window.
  [[nodiscard]] HWND Window(OrvalisControl* control) { return api.PControl_Handle(control); }
  // A plain EDIT of the host to take the focus away from a control.
  [[nodiscard]] HWND Elsewhere();

  HWND host_ = nullptr;
  HWND elsewhere_ = nullptr;
  std::vector<OrvalisControl*> made_;
};

}  // namespace orvalis::capi_test
