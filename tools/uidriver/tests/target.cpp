// The window the driver's end-to-end test drives: named controls whose
// reactions show in the label lStatus, a button that asks a question in a
// message box, and one whose answer comes later, in a control made then.
//   orvalis-uidriver-target.exe [TITLE]
#include <windows.h>

#include <string>

namespace {

enum ControlId {
  kHello = 101,
  kName = 102,
  kStatus = 103,
  kItems = 104,
  kOption = 105,
  kAsk = 106,
  kEcho = 107,
  kLater = 108,
  kMadeLater = 109,
};

constexpr UINT_PTR kLaterTimer = 1;
constexpr UINT kLaterMs = 1000;

int g_clicks = 0;

void SetDesignerName(HWND window, const wchar_t* name) {
  ::SetPropW(window, L"OrvalisName", reinterpret_cast<HANDLE>(uintptr_t(::GlobalAddAtomW(name))));
}

BOOL CALLBACK ForgetDesignerName(HWND window, LPARAM) noexcept {
  if (auto atom = ATOM(reinterpret_cast<uintptr_t>(::RemovePropW(window, L"OrvalisName")))) ::GlobalDeleteAtom(atom);
  return TRUE;
}

HWND Add(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, const wchar_t* name, int x,
         int y, int w, int h) {
  HWND control = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(uintptr_t(id)), ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SetDesignerName(control, name);
  return control;
}

void SetStatus(HWND window, const std::wstring& text) { ::SetDlgItemTextW(window, kStatus, text.c_str()); }

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_CREATE:
      SetDesignerName(window, L"frmTarget");
      Add(window, L"BUTTON", L"&Hello", BS_PUSHBUTTON, kHello, L"btnHello", 10, 10, 100, 26);
      Add(window, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, kName, L"edtName", 120, 10, 200, 24);
      Add(window, L"STATIC", L"Ready", 0, kStatus, L"lStatus", 10, 45, 310, 20);
      Add(window, L"LISTBOX", L"", WS_BORDER | WS_VSCROLL, kItems, L"lstItems", 10, 70, 150, 80);
      Add(window, L"BUTTON", L"Option", BS_AUTOCHECKBOX, kOption, L"chkOption", 170, 70, 150, 24);
      Add(window, L"BUTTON", L"Ask", BS_PUSHBUTTON, kAsk, L"btnAsk", 170, 100, 100, 26);
      Add(window, L"STATIC", L"", 0, kEcho, L"lEcho", 10, 160, 310, 20);
      Add(window, L"BUTTON", L"Later", BS_PUSHBUTTON, kLater, L"btnLater", 170, 130, 100, 26);
      for (const wchar_t* item : {L"\u00C9\u00E9n", L"Two", L"Three"})
        ::SendDlgItemMessageW(window, kItems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kHello && HIWORD(wParam) == BN_CLICKED) {
        SetStatus(window, L"Hello clicks: " + std::to_wstring(++g_clicks));
      } else if (LOWORD(wParam) == kAsk && HIWORD(wParam) == BN_CLICKED) {
        int answer = ::MessageBoxW(window, L"Continue with T\u00EBst?", L"Question", MB_YESNOCANCEL | MB_ICONQUESTION);
        SetStatus(window, answer == IDYES ? L"Answer: Yes" : answer == IDNO ? L"Answer: No" : L"Answer: Cancel");
      } else if (LOWORD(wParam) == kLater && HIWORD(wParam) == BN_CLICKED) {
        SetStatus(window, L"Waiting");
        ::SetTimer(window, kLaterTimer, kLaterMs, nullptr);
      } else if (LOWORD(wParam) == kName && HIWORD(wParam) == EN_CHANGE) {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(window, kName, text, 256);
        ::SetDlgItemTextW(window, kEcho, (std::wstring(L"Name: ") + text).c_str());
      }
      return 0;
    case WM_TIMER:
      if (wParam == kLaterTimer) {
        ::KillTimer(window, kLaterTimer);
        if (!::GetDlgItem(window, kMadeLater))
          Add(window, L"STATIC", L"Made later", 0, kMadeLater, L"lLater", 10, 190, 310, 20);
        SetStatus(window, L"Later");
      }
      return 0;
    case WM_DESTROY:
      ::EnumChildWindows(window, ForgetDesignerName, 0);
      ForgetDesignerName(window, 0);
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  WNDCLASSEXW info = {};
  info.cbSize = sizeof info;
  info.lpfnWndProc = TargetProc;
  info.hInstance = instance;
  info.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  info.lpszClassName = L"OrvalisUiTarget";
  ::RegisterClassExW(&info);
  const wchar_t* title = (commandLine && *commandLine) ? commandLine : L"Orvalis Target";
  HWND window = ::CreateWindowExW(0, L"OrvalisUiTarget", title, WS_OVERLAPPEDWINDOW, 100, 100, 360, 270, nullptr,
                                  nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, show);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
