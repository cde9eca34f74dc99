// RAII for the device contexts and selections of painting: paint scopes,
// window DCs, memory DCs and objects selected into a DC.
#pragma once

#include <windows.h>

#include "win/unique_any.h"

namespace orvalis::ui {

struct MemoryDcPolicy {  // CreateCompatibleDC
  static HDC Invalid() noexcept { return nullptr; }
  static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
using unique_hdc = win::unique_any<MemoryDcPolicy>;
using unique_hbitmap = win::unique_gdiobj;
using unique_hfont = win::unique_gdiobj;
using unique_hbrush = win::unique_gdiobj;

// BeginPaint/EndPaint, or a context handed in with the message (WM_PRINTCLIENT,
// a reflected draw), which is used as it is.
class PaintScope {
 public:
  PaintScope(HWND hwnd, HDC given) noexcept : hwnd_(hwnd), dc_(given) {
    if (!dc_) {
      dc_ = ::BeginPaint(hwnd, &ps_);
      began_ = true;
    }
  }
  ~PaintScope() {
    if (began_) ::EndPaint(hwnd_, &ps_);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  [[nodiscard]] HDC dc() const noexcept { return dc_; }
  [[nodiscard]] bool began() const noexcept { return began_; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
  bool began_ = false;
};

// GetDC/ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a DC; the previous one goes back when this ends.
class Selection {
 public:
  Selection() noexcept = default;
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~Selection() { reset(); }
  Selection(Selection&& other) noexcept : dc_(other.dc_), previous_(other.previous_) { other.dc_ = nullptr; }
  Selection& operator=(Selection&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = other.dc_;
      previous_ = other.previous_;
      other.dc_ = nullptr;
    }
    return *this;
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  void reset() noexcept {
    if (dc_ && previous_) ::SelectObject(dc_, previous_);
    dc_ = nullptr;
  }
  [[nodiscard]] explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// SaveDC/RestoreDC around a change of origin or clipping.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
  ~SavedDc() {
    if (id_) ::RestoreDC(dc_, id_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int id_;
};

}  // namespace orvalis::ui
