// Move-only ownership of Win32 handles: one template with a close policy per
// handle kind, so every resource is released the same way and none can be
// copied by accident. Kernel, registry, window, menu, hook and SID handles are
// here; GDI objects and device contexts are in win/gdi.h, COM in win/com.h.
#pragma once

#include <windows.h>

#include <utility>

namespace orvalis::win {

// Policy: `static Handle Invalid()` and `static void Close(Handle) noexcept`.
template <typename Policy>
class unique_any {
 public:
  using pointer = decltype(Policy::Invalid());

  unique_any() noexcept = default;
  explicit unique_any(pointer value) noexcept : value_(value) {}
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~unique_any() { reset(); }

  [[nodiscard]] pointer get() const noexcept { return value_; }
  [[nodiscard]] explicit operator bool() const noexcept { return value_ != Policy::Invalid(); }

  // Closes what is held (once, even when handed the same value) and keeps `value`.
  void reset(pointer value = Policy::Invalid()) noexcept {
    pointer old = std::exchange(value_, value);
    if (old != Policy::Invalid() && old != value) Policy::Close(old);
  }
  [[nodiscard]] pointer release() noexcept { return std::exchange(value_, Policy::Invalid()); }
  // For out-parameters: releases what is held and hands out the slot.
  [[nodiscard]] pointer* put() noexcept {
    reset();
    return &value_;
  }

 private:
  pointer value_ = Policy::Invalid();
};

struct HandlePolicy {  // kernel handles whose "none" is null (mutex, process, thread)
  static HANDLE Invalid() noexcept { return nullptr; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileHandlePolicy {  // CreateFile and snapshot handles: "none" is INVALID_HANDLE_VALUE
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct RegKeyPolicy {
  static HKEY Invalid() noexcept { return nullptr; }
  static void Close(HKEY k) noexcept { ::RegCloseKey(k); }
};
struct ModulePolicy {
  static HMODULE Invalid() noexcept { return nullptr; }
  static void Close(HMODULE m) noexcept { ::FreeLibrary(m); }
};
struct FindPolicy {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct SidPolicy {  // AllocateAndInitializeSid
  static PSID Invalid() noexcept { return nullptr; }
  static void Close(PSID sid) noexcept { ::FreeSid(sid); }
};
// A window this code made and nobody else destroys (a parent destroys its
// children itself). DestroyWindow works only on the creating thread.
struct WindowPolicy {
  static HWND Invalid() noexcept { return nullptr; }
  static void Close(HWND window) noexcept { ::DestroyWindow(window); }
};
// A menu not attached to a window; DestroyMenu also destroys its sub-menus.
struct MenuPolicy {
  static HMENU Invalid() noexcept { return nullptr; }
  static void Close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
struct HookPolicy {  // SetWindowsHookEx
  static HHOOK Invalid() noexcept { return nullptr; }
  static void Close(HHOOK hook) noexcept { ::UnhookWindowsHookEx(hook); }
};

using unique_handle = unique_any<HandlePolicy>;
using unique_file = unique_any<FileHandlePolicy>;
using unique_hkey = unique_any<RegKeyPolicy>;
using unique_hmodule = unique_any<ModulePolicy>;
using unique_find = unique_any<FindPolicy>;
using unique_sid = unique_any<SidPolicy>;
using unique_window = unique_any<WindowPolicy>;
using unique_hmenu = unique_any<MenuPolicy>;
using unique_hhook = unique_any<HookPolicy>;

}  // namespace orvalis::win
