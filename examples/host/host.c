/*
 * A host program in plain C that uses the Orvalis control package through
 * OrvalisControls.dll: a number edit, a date edit, a postcode edit, a choice
 * and a rich text viewer with a link. What the host reads back is shown in the
 * plain STATIC windows on the right (control ids 101 to 105), so it can be
 * seen, and checked by a test.
 *
 * Build (MinGW):  gcc host.c -I../../include -L<dir of the DLL> -lOrvalisControls -mwindows -municode
 */
#include <stdio.h>
#include <windows.h>

#include "orvalis_controls.h"

enum { kNumberEcho = 101, kDateEcho = 102, kPostcodeEcho = 103, kChoiceEcho = 104, kLinkEcho = 105 };

static OrvalisControl* controls[5];

/* Shows `text` (UTF-8) in the host's own echo window `id`. */
static void Echo(HWND window, int id, const char* text) {
  wchar_t wide[512];
  if (!MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 512)) wide[0] = 0;
  SetDlgItemTextW(window, id, wide);
}

static void ORVALIS_CALL NumberChanged(void* context, OrvalisControl* control) {
  char text[64];
  snprintf(text, sizeof text, "%.2f", PNumEdit_GetValue(control));
  Echo((HWND)context, kNumberEcho, text);
}

static void ORVALIS_CALL DateChanged(void* context, OrvalisControl* control) {
  char text[64];
  snprintf(text, sizeof text, "%.0f", PDateEdit_GetDate(control));
  Echo((HWND)context, kDateEcho, text);
}

static void ORVALIS_CALL PostcodeChanged(void* context, OrvalisControl* control) {
  char text[32];
  PZipEdit_GetValue(control, text, sizeof text);
  Echo((HWND)context, kPostcodeEcho, text);
}

static void ORVALIS_CALL ChoiceChanged(void* context, OrvalisControl* control) {
  char other[128], text[160];
  PChoice_GetOtherText(control, other, sizeof other);
  snprintf(text, sizeof text, "%d/%s", PChoice_GetListIndex(control), other);
  Echo((HWND)context, kChoiceEcho, text);
}

static void ORVALIS_CALL LinkClicked(void* context, OrvalisControl* control, const char* link, int object) {
  char text[160];
  (void)control;
  snprintf(text, sizeof text, "%s #%d", link, object);
  Echo((HWND)context, kLinkEcho, text);
}

/* The host's own windows, in the dialog font. */
static void Plain(HWND window, DWORD exStyle, const wchar_t* text, DWORD style, int x, int y, int id) {
  HWND plain = CreateWindowExW(exStyle, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, id ? 200 : 110, id ? 22 : 20,
                               window, (HMENU)(INT_PTR)id, NULL, NULL);
  SendMessageW(plain, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
}

static void Caption(HWND window, const wchar_t* text, int y) { Plain(window, 0, text, 0, 16, y + 3, 0); }

static void EchoBox(HWND window, int id, int y) {
  Plain(window, WS_EX_STATICEDGE, L"", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, 300, y, id);
}

static void Build(HWND window) {
  OrvalisControl* c;

  Caption(window, L"Amount", 16);
  c = controls[0] = PNumEdit_Create(window, "NumEdit1", 130, 16, 150, 22);
  PNumEdit_SetDecimalLen(c, 2);
  PNumEdit_SetDisplayDecimals(c, 1);
  PNumEdit_SetDecimalSign(c, ',');
  PNumEdit_SetThousandSign(c, '.');
  PNumEdit_SetOnChange(c, NumberChanged, window);
  EchoBox(window, kNumberEcho, 16);

  Caption(window, L"Date", 50);
  c = controls[1] = PDateEdit_Create(window, "DateEdit1", 130, 50, 150, 22);
  PDateEdit_SetOnChange(c, DateChanged, window);
  EchoBox(window, kDateEcho, 50);

  Caption(window, L"Postcode", 84);
  c = controls[2] = PZipEdit_Create(window, "ZipEdit1", 130, 84, 150, 22);
  PZipEdit_SetChangeOnExit(c, 1); /* the code as shown after leaving the field */
  PZipEdit_SetOnChange(c, PostcodeChanged, window);
  EchoBox(window, kPostcodeEcho, 84);

  Caption(window, L"Delivery", 118);
  c = controls[3] = PChoice_Create(window, "Choice1", 130, 118, 160, 90);
  PChoice_SetLines(c, "Post\nCourier\nOther");
  PChoice_SetOtherType(c, PChoice_OtherPEdit);
  PChoice_SetOtherIsActive(c, 1);
  PChoice_SetOnChange(c, ChoiceChanged, window);
  EchoBox(window, kChoiceEcho, 118);

  c = controls[4] = PRichEdit_Create(window, "Rtf1", 16, 230, 264, 48);
  PRichEdit_SetReadOnly(c, 1);
  PRichEdit_SetBorderStyle(c, 0);
  PRichEdit_AddLink(c, "manual", 7);
  PRichEdit_SetRichText(c, "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\qc\\f0\\fs48 manual\\par}");
  PRichEdit_SetOnLink(c, LinkClicked, window);
  EchoBox(window, kLinkEcho, 230);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  int i;
  switch (message) {
    case WM_CREATE:
      Build(window);
      return 0;
    case WM_DESTROY:
      for (i = 0; i < 5; ++i) PControl_Destroy(controls[i]);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
  WNDCLASSEXW wc;
  HWND window;
  MSG msg;
  (void)previous;
  (void)commandLine;
  /* The controls keep their per-user settings under this program's own key. */
  Orvalis_SetProductKey("OrvalisHostSample");
  ZeroMemory(&wc, sizeof wc);
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"OrvalisHostSample";
  if (!RegisterClassExW(&wc)) return 1;
  window = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"Orvalis host", WS_OVERLAPPEDWINDOW, 40, 40, 540,
                           340, NULL, NULL, instance, NULL);
  if (!window) return 1;
  ShowWindow(window, show);
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return (int)msg.wParam;
}
