// The host window, the pump and the user's input.
#include "host_window.h"

#include <algorithm>

#include <commctrl.h>
#include <uxtheme.h>

namespace orvalis::capi_test {
namespace {

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  const ULONGLONG deadline = ::GetTickCount64() + ULONGLONG(milliseconds);
  for (;;) {
    Pump();
    if (done()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Waits until the thread's queue holds no input: SendInput queues the keys at
// once, so an empty queue means they were handled.
static void DrainInput() {
  WaitFor([] { return HIWORD(::GetQueueStatus(QS_ALLINPUT)) == 0; }, 2000);
}

void Press(UINT virtualKey, bool ctrl, bool shift) {
  std::vector<INPUT> inputs;
  auto key = [&](UINT vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = WORD(vk);
    input.ki.wScan = WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (ctrl) key(VK_CONTROL, false);
  if (shift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (shift) key(VK_SHIFT, true);
  if (ctrl) key(VK_CONTROL, true);
  EXPECT_EQ(::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
  DrainInput();
}

void Type(HWND window, std::string_view utf8) {
  EXPECT_EQ(::GetFocus(), window) << "typing goes to the focused window";
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, WORD unicode, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = unicode ? unicode : WORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (unicode ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    inputs.push_back(input);
  };
  for (wchar_t c : Wide(utf8)) {
    // The key of the layout that gives the character, with Shift when it
    // takes it; a character no key gives comes as the keyboard's Unicode packet.
    const SHORT scan = ::VkKeyScanW(c);
    const bool keyed = scan != -1 && (HIBYTE(scan) & ~1) == 0;
    if (!keyed) {
      key(0, WORD(c), false);
      key(0, WORD(c), true);
      continue;
    }
    const bool shift = HIBYTE(scan) & 1;
    if (shift) key(VK_SHIFT, 0, false);
    key(LOBYTE(scan), 0, false);
    key(LOBYTE(scan), 0, true);
    if (shift) key(VK_SHIFT, 0, true);
  }
  EXPECT_EQ(::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
  DrainInput();
}

void Click(HWND window, int x, int y) {
  ::PostMessageW(window, WM_MOUSEMOVE, 0, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, Point(x, y));
  DrainInput();
}

void RightClick(HWND window, int x, int y) {
  ::PostMessageW(window, WM_MOUSEMOVE, 0, Point(x, y));
  ::PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(x, y));
  ::PostMessageW(window, WM_RBUTTONUP, 0, Point(x, y));
  DrainInput();
}

void DoubleClick(HWND window, int x, int y) {
  ::PostMessageW(window, WM_MOUSEMOVE, 0, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(x, y));
  ::PostMessageW(window, WM_LBUTTONUP, 0, Point(x, y));
  DrainInput();
}

void Wheel(HWND window, int delta) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(delta))),
                 Point((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  DrainInput();
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  std::wstring wide(std::size_t(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0)), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()));
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  std::string utf8(
      std::size_t(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), int(utf8.size()), nullptr, nullptr);
  return utf8;
}

std::string WindowText(HWND window) {
  std::wstring text(std::size_t(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(std::size_t(::GetWindowTextW(window, text.data(), int(text.size()))));
  return Narrow(text);
}

namespace {

struct Search {
  std::wstring name;
  const wchar_t* className = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lp) {
  auto& search = *reinterpret_cast<Search*>(lp);
  if (search.className) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpiW(name, search.className) == 0) search.found = window;
  } else if (auto atom = ATOM(reinterpret_cast<UINT_PTR>(::GetPropW(window, L"OrvalisName")))) {
    wchar_t name[128] = {};
    ::GlobalGetAtomNameW(atom, name, 128);
    if (search.name == name) search.found = window;
  }
  return search.found ? FALSE : TRUE;
}

// Every window of the thread, hidden ones (a tool tip) too.
BOOL CALLBACK CollectAll(HWND window, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(window);
  return TRUE;
}

BOOL CALLBACK Collect(HWND window, LPARAM lp) {
  if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(window);
  return TRUE;
}

}  // namespace

HWND FindByName(HWND root, std::string_view name) {
  Pump();  // windows a control retires are freed from its queue
  Search search{Wide(name)};
  ::EnumChildWindows(root, Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindByClass(HWND root, const wchar_t* className) {
  Search search{L"", className};
  ::EnumChildWindows(root, Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND NewTopWindow(const std::vector<HWND>& before) {
  for (HWND window : TopWindows())
    if (std::find(before.begin(), before.end(), window) == before.end()) return window;
  return nullptr;
}

namespace {

// The dialog answer of the running AnswerDialog: the modal loop of the call
// dispatches the timer, which looks for the dialog.
struct Answering {
  std::vector<HWND> before;
  std::function<void(HWND)> answer;
  ULONGLONG deadline = 0;
  bool answered = false;
  HWND dialog = nullptr;
};
Answering* answering = nullptr;

void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
  if (!answering) return;
  if (!answering->answered) {
    if (HWND dialog = NewTopWindow(answering->before)) {
      answering->answered = true;
      answering->dialog = dialog;
      answering->answer(dialog);
    }
  }
  if (::GetTickCount64() > answering->deadline)
    if (HWND stuck = NewTopWindow(answering->before)) ::PostMessageW(stuck, WM_CLOSE, 0, 0);
}

}  // namespace

bool AnswerDialog(const std::function<void()>& call, const std::function<void(HWND dialog)>& answer,
                  int milliseconds) {
  Answering state{TopWindows(), answer, ::GetTickCount64() + ULONGLONG(milliseconds)};
  answering = &state;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Look);
  call();
  ::KillTimer(nullptr, timer);
  answering = nullptr;
  return state.answered;
}

Shot::Shot(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  RECT client{};
  ::GetClientRect(window, &client);
  width_ = client.right;
  height_ = client.bottom;
  if (width_ <= 0 || height_ <= 0) return;
  // A DC that does not leave out the children: the picture as the user sees it.
  HDC dc = ::GetDCEx(window, nullptr, DCX_CACHE);
  HDC memory = ::CreateCompatibleDC(dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
  ::GdiFlush();
  pixels_.resize(std::size_t(width_) * std::size_t(height_));
  const auto* quads = static_cast<const RGBQUAD*>(bits);
  for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(window, dc);
}

COLORREF Shot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
}

int Shot::Count(RECT area, const std::function<bool(COLORREF)>& pick) const {
  int count = 0;
  for (int y = std::max(0, int(area.top)); y < std::min(height_, int(area.bottom)); ++y)
    for (int x = std::max(0, int(area.left)); x < std::min(width_, int(area.right)); ++x)
      if (pick(At(x, y))) ++count;
  return count;
}

RECT Shot::Ink(COLORREF background) const {
  RECT ink{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) != background) {
        ink.left = std::min(ink.left, LONG(x));
        ink.top = std::min(ink.top, LONG(y));
        ink.right = std::max(ink.right, LONG(x + 1));
        ink.bottom = std::max(ink.bottom, LONG(y + 1));
      }
  if (ink.right == 0) ink = RECT{};
  return ink;
}

// The tool tip window of the framework and the text it holds for a window.
std::string HintOf(HWND window) {
  std::vector<HWND> all;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectAll, reinterpret_cast<LPARAM>(&all));
  for (HWND tip : all) {
    wchar_t name[64] = {};
    ::GetClassNameW(tip, name, 64);
    if (std::wstring(name) != TOOLTIPS_CLASSW) continue;
    wchar_t text[128] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = ::GetParent(window);
    ti.uId = reinterpret_cast<UINT_PTR>(window);
    ti.uFlags = TTF_IDISHWND;
    ti.lpszText = text;
    if (::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) {
      ::SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
      return Narrow(text);
    }
  }
  return "(no tool)";
}

bool Differ(const Shot& a, const Shot& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return true;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return true;
  return false;
}

void StylesOf(HWND window, bool on) { ::SetWindowTheme(window, on ? nullptr : L" ", on ? nullptr : L" "); }

void ORVALIS_CALL Record(void* context, OrvalisControl* control) {
  auto& r = *static_cast<Recorder*>(context);
  ++r.calls;
  r.control = control;
}

void ORVALIS_CALL RecordValue(void* context, OrvalisControl* control, int value) {
  auto& r = *static_cast<Recorder*>(context);
  ++r.calls;
  r.control = control;
  r.value = value;
}

void ORVALIS_CALL RecordLink(void* context, OrvalisControl* control, const char* link, int object) {
  auto& r = *static_cast<Recorder*>(context);
  ++r.calls;
  r.control = control;
  r.text = link ? link : "(null)";
  r.value = object;
}

void HostTest::SetUp() {
  if (const std::string refused = CallsRefused(); !refused.empty()) GTEST_SKIP() << refused;
  host_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                            480, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host_, nullptr);
  ::SetForegroundWindow(host_);
  ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == host_; })) << "the host window is not in front";
}

void HostTest::TearDown() {
  for (OrvalisControl* control : made_) api.PControl_Destroy(control);
  made_.clear();
  if (host_) ::DestroyWindow(host_);
  Pump();
}

void HostTest::Destroy(OrvalisControl* control) {
  std::erase(made_, control);
  api.PControl_Destroy(control);
}

HWND HostTest::Elsewhere() {
  if (!elsewhere_)
    elsewhere_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 500, 440, 100, 22, host_,
                                   nullptr, nullptr, nullptr);
  return elsewhere_;
}

}  // namespace orvalis::capi_test
