// The visual-styles binding and its drawing helpers.
#include "controls/basics/theme.h"

#include <array>

#include "win/wide.h"

namespace orvalis::controls {
namespace {

using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
using DrawThemeTextFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
using IsThemeBackgroundPartiallyTransparentFn = BOOL(WINAPI*)(HTHEME, int, int);
using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
using GetThemeColorFn = HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*);
using GetThemeTextExtentFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, const RECT*, RECT*);
using GetThemePartSizeFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, int, SIZE*);

// Resolved in this order; all twelve must be there, although three are never called.
constexpr std::array<const char*, 12> kFunctionNames = {
    "OpenThemeData",       "DrawThemeBackground",
    "CloseThemeData",      "DrawThemeText",
    "GetThemeBackgroundContentRect", "IsThemeBackgroundPartiallyTransparent",
    "DrawThemeParentBackground",     "GetThemeColor",
    "GetThemeFilename",    "GetThemeFont",
    "GetThemeTextExtent",  "GetThemePartSize",
};
enum Fn { kOpen, kDrawBackground, kClose, kDrawText, kContentRect, kPartiallyTransparent, kDrawParentBackground,
          kGetColor, kFilename, kFont, kTextExtent, kPartSize };

HMODULE SystemLoad(const wchar_t* name) { return ::LoadLibraryW(name); }
FARPROC SystemResolve(HMODULE m, const char* name) { return ::GetProcAddress(m, name); }
void SystemRelease(HMODULE m) { ::FreeLibrary(m); }
constexpr ThemeLibraryLoader kSystemLoader{SystemLoad, SystemResolve, SystemRelease};

// One binding for the process, on the user-interface thread only.
struct Binding {
  const ThemeLibraryLoader* loader = &kSystemLoader;
  HMODULE library = nullptr;
  std::array<FARPROC, 12> fn{};
} binding;

template <typename F>
F Get(Fn which) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(binding.fn[which]));
}

}  // namespace

void SetThemeLibraryLoader(const ThemeLibraryLoader* loader) {
  ThemeApiUnload();
  binding.loader = loader ? loader : &kSystemLoader;
}

bool ThemeApiLoad() {
  if (binding.library) return true;
  binding.library = binding.loader->load(kThemeLibrary);
  if (!binding.library) return false;
  bool missing = false;
  for (size_t i = 0; i < kFunctionNames.size(); ++i) {
    binding.fn[i] = binding.loader->resolve(binding.library, kFunctionNames[i]);
    missing = missing || !binding.fn[i];
  }
  if (missing) ThemeApiUnload();
  return binding.library != nullptr;
}

void ThemeApiUnload() {
  if (!binding.library) return;
  binding.loader->release(binding.library);
  binding.library = nullptr;
  binding.fn.fill(nullptr);
}

bool ThemeApiLoaded() { return binding.library != nullptr; }

HTHEME ThemeOpen(HWND window, std::string_view className) {
  if (className.empty() || !ThemeApiLoad()) return nullptr;
  return Get<OpenThemeDataFn>(kOpen)(window, win::Wide(className).c_str());
}

void ThemeClose(HTHEME theme) {
  if (theme && binding.library) Get<CloseThemeDataFn>(kClose)(theme);
}

bool ThemeDrawBackground(HTHEME theme, HWND window, HDC dc, int part, int state, int sizeFlags) {
  if (!theme || !dc || !binding.library) return false;
  RECT clip{};
  ::GetClipBox(dc, &clip);
  RECT draw = clip;
  if (window) ::GetClientRect(window, &draw);
  std::optional<int> partWidth;
  if (sizeFlags > 0) {
    SIZE size{};
    if (Get<GetThemePartSizeFn>(kPartSize)(theme, dc, part, state, nullptr, TS_DRAW, &size) == S_OK)
      partWidth = size.cx;
  }
  ui::Rect r = SizedPartRect({draw.left, draw.top, draw.right, draw.bottom}, sizeFlags, partWidth);
  draw = RECT{r.left, r.top, r.right, r.bottom};
  if (window && Get<IsThemeBackgroundPartiallyTransparentFn>(kPartiallyTransparent)(theme, part, state))
    Get<DrawThemeParentBackgroundFn>(kDrawParentBackground)(window, dc, &draw);
  Get<DrawThemeBackgroundFn>(kDrawBackground)(theme, dc, part, state, &draw, &clip);
  return true;
}

bool ThemeDrawPart(HTHEME theme, HDC dc, int part, int state, int sizeFlags) {
  return ThemeDrawBackground(theme, nullptr, dc, part, state, sizeFlags);
}

bool ThemeDrawText(HTHEME theme, HDC dc, int part, int state, std::string_view text, RECT r, unsigned flags) {
  if (!theme || !dc || !binding.library) return false;
  std::wstring w = win::Wide(text);
  return Get<DrawThemeTextFn>(kDrawText)(theme, dc, part, state, w.c_str(), -1, flags, 0, &r) == S_OK;
}

int ThemeTextWidth(HTHEME theme, HDC dc, int part, int state, std::string_view text, RECT bounds, unsigned flags) {
  if (!theme || !dc || !binding.library) return 0;
  std::wstring w = win::Wide(text);
  RECT extent{};
  if (Get<GetThemeTextExtentFn>(kTextExtent)(theme, dc, part, state, w.c_str(), -1, flags, &bounds, &extent) != S_OK)
    return 0;
  return extent.right - extent.left;
}

bool ThemeGetColor(HTHEME theme, int part, int state, int property, COLORREF& color) {
  if (!theme || !binding.library) return false;
  COLORREF value = 0;
  if (Get<GetThemeColorFn>(kGetColor)(theme, part, state, property, &value) != S_OK) return false;
  color = value;
  return true;
}

bool GdiThemeSurface::DrawBackground(int part, int state, int sizeFlags) {
  return ThemeDrawBackground(theme_, window_, canvas_.dc(), part, state, sizeFlags);
}

bool GdiThemeSurface::DrawPart(int part, int state, int sizeFlags) {
  return ThemeDrawPart(theme_, canvas_.dc(), part, state, sizeFlags);
}

bool GdiThemeSurface::DrawTextRect(int part, int state, std::string_view text, const ui::Rect& r, unsigned flags) {
  canvas_.ApplyFont();
  return ThemeDrawText(theme_, canvas_.dc(), part, state, text, RECT{r.left, r.top, r.right, r.bottom}, flags);
}

int GdiThemeSurface::TextWidth(int part, int state, std::string_view text, const ui::Rect& b, unsigned flags) {
  canvas_.ApplyFont();
  return ThemeTextWidth(theme_, canvas_.dc(), part, state, text, RECT{b.left, b.top, b.right, b.bottom}, flags);
}

}  // namespace orvalis::controls
