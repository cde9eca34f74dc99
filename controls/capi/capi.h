// The machinery behind the C interface of orvalis_controls.h: the handle a
// host holds, the site window that carries a control on a host's window, and
// the guards that keep exceptions and wrong handles from crossing the
// interface.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "orvalis_controls.h"
#include "ui/control.h"

namespace orvalis::capi {

// The window between a host's window and a control: a control's notifications
// go to its parent window, and the site hands them back to the control the
// way the framework's own windows do, which a host's window procedure would
// not. It always has the control's bounds; the control fills it.
class Site final : public ui::WinControl {
 public:
  void SetChild(ui::Control* child) { child_ = child; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void BoundsChanged() override;

 private:
  ui::Control* child_ = nullptr;
};

}  // namespace orvalis::capi

struct OrvalisControl {
  std::unique_ptr<orvalis::capi::Site> site;  // outlives the control
  std::unique_ptr<orvalis::ui::Control> control;
};

namespace orvalis::capi {

// Inside the catch block of a guard: tells the debugger's output which
// exported function (and control, when there is one) the exception stopped
// at, with its text, as the window procedures do. Allocates nothing itself.
void LogCaught(const char* function, const OrvalisControl* handle) noexcept;

// Places a new control of class T on `parent`; null for a window that does
// not exist or a failure. `function` is the exported function, for the log.
OrvalisControl* Place(const char* function, HWND parent, const char* name, int x, int y, int width, int height,
                      std::unique_ptr<ui::Control> control) noexcept;

template <typename T>
OrvalisControl* Create(const char* function, HWND parent, const char* name, int x, int y, int width,
                       int height) noexcept {
  try {
    return Place(function, parent, name, x, y, width, height, std::make_unique<T>());
  } catch (...) {
    LogCaught(function, nullptr);
    return nullptr;
  }
}

// After a control changed its own size (Fit), the site the host placed takes
// it on, so the host's window shows the whole control.
void SiteFollows(OrvalisControl& handle);

// Runs `f` on the control of `handle` when it is a T. Nothing happens for a
// null handle or one of another class, and what is thrown is logged with the
// exported function's name (`function`, its __func__) and gets no further.
template <typename T, typename F>
void Do(const char* function, OrvalisControl* handle, F&& f) noexcept {
  auto* control = handle ? dynamic_cast<T*>(handle->control.get()) : nullptr;
  if (!control) return;
  try {
    f(*control);
  } catch (...) {
    LogCaught(function, handle);
  }
}

// The same for a call with a result: `neutral` when it cannot be made or fails.
template <typename T, typename R, typename F>
R With(const char* function, OrvalisControl* handle, R neutral, F&& f) noexcept {
  auto* control = handle ? dynamic_cast<T*>(handle->control.get()) : nullptr;
  if (!control) return neutral;
  try {
    return static_cast<R>(f(*control));
  } catch (...) {
    LogCaught(function, handle);
    return neutral;
  }
}

// Runs `f`, logging and swallowing anything thrown: for the calls that work on
// the handle itself rather than its control (null `handle`: none to name).
template <typename F>
void Guard(const char* function, const OrvalisControl* handle, F&& f) noexcept {
  try {
    f();
  } catch (...) {
    LogCaught(function, handle);
  }
}

// A text the host passed: a null pointer reads as the empty text.
[[nodiscard]] inline std::string_view In(const char* text) noexcept { return text ? std::string_view(text) : std::string_view(); }

// Copies `text` into the host's buffer as the header describes; its length in bytes.
int Out(std::string_view text, char* buffer, int size) noexcept;

// An event of the host: a C callback and its context, called with the handle.
struct HostEvent {
  OrvalisEvent event = nullptr;
  void* context = nullptr;
  OrvalisControl* handle = nullptr;
  void operator()(auto&&...) const {
    if (event) event(context, handle);
  }
};

}  // namespace orvalis::capi

// The exported functions that only forward, one line each. `c` is the control;
// __func__ names the exported function in the guard's log.
#define ORVALIS_CREATE(Class)                                                                                   \
  ORVALIS_API OrvalisControl* ORVALIS_CALL Class##_Create(HWND parent, const char* name, int x, int y, int width, \
                                                          int height) {                                          \
    return orvalis::capi::Create<Class>(__func__, parent, name, x, y, width, height);                           \
  }
// A setter that hands the host's `value` on as `convert`.
#define ORVALIS_SETTER(Class, Method, Type, convert)                                       \
  ORVALIS_API void ORVALIS_CALL Class##_##Method(OrvalisControl* control, Type value) {   \
    orvalis::capi::Do<Class>(__func__, control, [&](Class& c) { c.Method(convert); });    \
  }
// A getter of a number or a flag: `expr` converted to Type.
#define ORVALIS_GETTER(Class, Method, Type, expr)                                                  \
  ORVALIS_API Type ORVALIS_CALL Class##_##Method(OrvalisControl* control) {                        \
    return orvalis::capi::With<Class>(__func__, control, static_cast<Type>(0),                     \
                                      [](Class& c) { return static_cast<Type>(expr); });           \
  }
// A getter of a text into the host's buffer.
#define ORVALIS_TEXT_GETTER(Class, Method, expr)                                                   \
  ORVALIS_API int ORVALIS_CALL Class##_##Method(OrvalisControl* control, char* buffer, int size) { \
    return orvalis::capi::With<Class>(__func__, control, orvalis::capi::Out({}, buffer, size),     \
                                      [&](Class& c) { return orvalis::capi::Out(expr, buffer, size); }); \
  }
// A call without arguments.
#define ORVALIS_COMMAND(Class, Method)                                                \
  ORVALIS_API void ORVALIS_CALL Class##_##Method(OrvalisControl* control) {           \
    orvalis::capi::Do<Class>(__func__, control, [](Class& c) { c.Method(); });         \
  }
// An event without arguments besides the control.
#define ORVALIS_EVENT(Class, Event)                                                                        \
  ORVALIS_API void ORVALIS_CALL Class##_Set##Event(OrvalisControl* control, OrvalisEvent event, void* context) { \
    orvalis::capi::Do<Class>(__func__, control, [&](Class& c) {                                             \
      c.Event = nullptr;                                                                                    \
      if (event) c.Event = orvalis::capi::HostEvent{event, context, control};                               \
    });                                                                                                     \
  }
