// Owners and scopes of GDI: objects, memory and window device contexts, the
// paint scope of WM_PAINT, objects selected into a DC and saved DC states, so
// an early return or a throw leaves every DC as it was found.
#pragma once

#include <windows.h>

#include <utility>

#include "win/unique_any.h"

namespace orvalis::win {

struct GdiObjectPolicy {  // pens, brushes, fonts, bitmaps, regions
  static HGDIOBJ Invalid() noexcept { return nullptr; }
  static void Close(HGDIOBJ o) noexcept { ::DeleteObject(o); }
};
struct MemoryDcPolicy {  // CreateCompatibleDC, CreateDC
  static HDC Invalid() noexcept { return nullptr; }
  static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
struct EnhMetafilePolicy {
  static HENHMETAFILE Invalid() noexcept { return nullptr; }
  static void Close(HENHMETAFILE metafile) noexcept { ::DeleteEnhMetaFile(metafile); }
};

using unique_gdiobj = unique_any<GdiObjectPolicy>;
using unique_hbitmap = unique_gdiobj;
using unique_hfont = unique_gdiobj;
using unique_hbrush = unique_gdiobj;
using unique_hdc = unique_any<MemoryDcPolicy>;
using unique_henhmetafile = unique_any<EnhMetafilePolicy>;

// GetDC/ReleaseDC; a null window is the screen.
class window_dc {
 public:
  window_dc() noexcept = default;
  explicit window_dc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  window_dc(window_dc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  window_dc& operator=(window_dc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  ~window_dc() { reset(); }

  [[nodiscard]] HDC get() const noexcept { return dc_; }
  [[nodiscard]] explicit operator bool() const noexcept { return dc_ != nullptr; }
  void reset() noexcept {
    if (dc_) ::ReleaseDC(window_, dc_);
    window_ = nullptr;
    dc_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// BeginPaint/EndPaint, or a context handed in with the message (WM_PRINTCLIENT,
// a reflected draw), which is used as it is and not ended.
class paint_scope {
 public:
  paint_scope(HWND window, HDC given) noexcept : window_(window), dc_(given) {
    if (!dc_) {
      dc_ = ::BeginPaint(window, &ps_);
      began_ = true;
    }
  }
  ~paint_scope() {
    if (began_) ::EndPaint(window_, &ps_);
  }
  paint_scope(const paint_scope&) = delete;
  paint_scope& operator=(const paint_scope&) = delete;

  [[nodiscard]] HDC dc() const noexcept { return dc_; }
  [[nodiscard]] bool began() const noexcept { return began_; }

 private:
  HWND window_;
  HDC dc_;
  PAINTSTRUCT ps_{};
  bool began_ = false;
};

// An object selected into a DC; the previous one goes back when this ends.
class selected_object {
 public:
  selected_object() noexcept = default;
  selected_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  selected_object(selected_object&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  selected_object& operator=(selected_object&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  selected_object(const selected_object&) = delete;
  selected_object& operator=(const selected_object&) = delete;
  ~selected_object() { reset(); }

  // Puts the previous object back now.
  void reset() noexcept {
    // A failed SelectObject answers null (or HGDI_ERROR for a region): nothing to put back.
    if (dc_ && previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }
  [[nodiscard]] explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// SaveDC/RestoreDC around a change of origin, clipping, colours or selections.
class saved_dc {
 public:
  explicit saved_dc(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
  ~saved_dc() {
    if (id_) ::RestoreDC(dc_, id_);
  }
  saved_dc(const saved_dc&) = delete;
  saved_dc& operator=(const saved_dc&) = delete;

  [[nodiscard]] explicit operator bool() const noexcept { return id_ != 0; }

 private:
  HDC dc_;
  int id_;
};

}  // namespace orvalis::win
