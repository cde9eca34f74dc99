// The visual-styles service: "UXTHEME.DLL" bound at run time by function name
// (the program starts without it), theme handles opened and closed for a
// window and class, and the drawing helpers the controls share. Every helper
// reports failure instead of raising; a control then draws its classic look.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <string_view>

#include "controls/basics/theme_surface.h"
#include "ui/gdi_canvas.h"
#include "win/unique_any.h"

namespace orvalis::controls {

inline constexpr wchar_t kThemeLibrary[] = L"UXTHEME.DLL";

// How the library is loaded, its functions found and released. Replaceable so a
// test can hand in a library that lacks some of them.
struct ThemeLibraryLoader {
  HMODULE (*load)(const wchar_t* name);
  FARPROC (*resolve)(HMODULE module, const char* name);
  void (*release)(HMODULE module);
};
// Null puts back the system's LoadLibraryW, GetProcAddress and FreeLibrary.
void SetThemeLibraryLoader(const ThemeLibraryLoader* loader);

// True when the library is bound (already or now); a library lacking any of
// the twelve functions is released again and counts as absent.
bool ThemeApiLoad();
void ThemeApiUnload();
[[nodiscard]] bool ThemeApiLoaded();

// 0 for an empty class name (the library is not even loaded), when the library
// is absent, styles are off or the platform has no such class.
[[nodiscard]] HTHEME ThemeOpen(HWND window, std::string_view className);
void ThemeClose(HTHEME theme);

// Draws a part over the window's client rectangle (or the clip box without a
// window); size flags above 0 narrow it to the part's natural width, bit 0 at
// the left edge, otherwise bit 1 at the right edge.
bool ThemeDrawBackground(HTHEME theme, HWND window, HDC dc, int part, int state, int sizeFlags);
bool ThemeDrawPart(HTHEME theme, HDC dc, int part, int state, int sizeFlags);
bool ThemeDrawText(HTHEME theme, HDC dc, int part, int state, std::string_view text, RECT r, unsigned flags);
[[nodiscard]] int ThemeTextWidth(HTHEME theme, HDC dc, int part, int state, std::string_view text, RECT bounds,
                                 unsigned flags);
// On failure `color` keeps its value.
bool ThemeGetColor(HTHEME theme, int part, int state, int property, COLORREF& color);

// Theme handles close through the library bound above (ThemeClose), so their
// policy stays with the binding rather than in win/.
struct ThemePolicy {
  static HTHEME Invalid() noexcept { return nullptr; }
  static void Close(HTHEME theme) noexcept { ThemeClose(theme); }
};
using unique_htheme = win::unique_any<ThemePolicy>;

// A theme handle bound to a control's window and to the canvas it paints on.
class GdiThemeSurface final : public ThemeSurface {
 public:
  GdiThemeSurface(HTHEME theme, HWND window, ui::GdiCanvas& canvas) : theme_(theme), window_(window), canvas_(canvas) {}
  bool DrawBackground(int part, int state, int sizeFlags) override;
  bool DrawPart(int part, int state, int sizeFlags) override;
  bool DrawTextRect(int part, int state, std::string_view text, const ui::Rect& r, unsigned flags) override;
  int TextWidth(int part, int state, std::string_view text, const ui::Rect& bounds, unsigned flags) override;

 private:
  HTHEME theme_;
  HWND window_;
  ui::GdiCanvas& canvas_;
};

}  // namespace orvalis::controls
