// The C interface's handles and the operations every control has, and the
// exported colour selection.
#include <algorithm>
#include <cstring>

#include "controls/capi/capi.h"
#include "controls/dialogs/color_select.h"
#include "services/registry_rules.h"
#include "win/debug_output.h"

namespace orvalis::capi {

void Site::MakeCreateParams(CreateParams& params) {
  params.className = L"OrvalisSite";
  params.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  params.exStyle = WS_EX_CONTROLPARENT;  // tabbing goes on into the control
}

void Site::BoundsChanged() {
  WinControl::BoundsChanged();
  if (child_) child_->SetBounds(0, 0, Width(), Height());
}

OrvalisControl* Place(const char* function, HWND parent, const char* name, int x, int y, int width, int height,
                      std::unique_ptr<ui::Control> control) noexcept {
  if (!parent || !::IsWindow(parent)) return nullptr;
  try {
    auto handle = std::make_unique<OrvalisControl>();
    handle->site = std::make_unique<Site>();
    Site& site = *handle->site;
    site.SetParentWindow(parent);
    site.SetBounds(x, y, width, height);
    control->SetName(std::string(In(name)));
    control->SetBounds(0, 0, width, height);
    control->SetParent(&site);
    site.SetChild(control.get());
    handle->control = std::move(control);
    if (!site.Handle()) return nullptr;
    handle->control->Loaded();
    return handle.release();
  } catch (...) {
    LogCaught(function, nullptr);
    return nullptr;
  }
}

void SiteFollows(OrvalisControl& handle) {
  const ui::Control& c = *handle.control;
  handle.site->SetBounds(handle.site->Left(), handle.site->Top(), c.Width(), c.Height());
}

void LogCaught(const char* function, const OrvalisControl* handle) noexcept {
  static constexpr char kHead[] = "orvalis: ";
  static constexpr char kOf[] = " of \"";
  char context[160];
  char* out = std::copy(kHead, kHead + sizeof kHead - 1, context);
  const std::string_view name = function ? std::string_view(function) : std::string_view();
  out = std::copy_n(name.data(), std::min<std::size_t>(name.size(), 64), out);
  if (handle && handle->control) {
    const std::string& control = handle->control->Name();
    out = std::copy(kOf, kOf + sizeof kOf - 1, out);
    out = std::copy_n(control.data(), std::min<std::size_t>(control.size(), 48), out);
    *out++ = '"';
  }
  *out = '\0';
  win::LogCaughtException(context);
}

int Out(std::string_view text, char* buffer, int size) noexcept {
  if (buffer && size > 0) {
    const std::size_t n = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return int(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
}

}  // namespace orvalis::capi

using orvalis::capi::Do;
using orvalis::capi::HostEvent;
using orvalis::capi::In;
using orvalis::capi::Out;
using orvalis::capi::With;
using orvalis::ui::Control;
using orvalis::ui::WinControl;

extern "C" {

ORVALIS_API void ORVALIS_CALL Orvalis_SetProductKey(const char* key) {
  orvalis::capi::Guard(__func__, nullptr, [&] {
    const std::string_view text = orvalis::capi::In(key);
    if (!text.empty() && text.find('\\') == std::string_view::npos) orvalis::SetProductKey(text);
  });
}

ORVALIS_API int ORVALIS_CALL Orvalis_GetProductKey(char* buffer, int size) {
  try {
    return orvalis::capi::Out(orvalis::ProductKey(), buffer, size);
  } catch (...) {
    orvalis::capi::LogCaught(__func__, nullptr);
    return orvalis::capi::Out({}, buffer, size);
  }
}

ORVALIS_API int ORVALIS_CALL Color_Select(void* /*ignored*/, uint32_t* colour, int flags) {
  if (colour == nullptr) return 0;
  orvalis::ui::Color value = *colour;
  bool confirmed = false;
  try {
    confirmed = orvalis::controls::SelectColorAt(value, unsigned(flags), orvalis::controls::kNoPosition,
                                                 orvalis::controls::kNoPosition);
  } catch (...) {
    orvalis::capi::LogCaught(__func__, nullptr);
    return 0;
  }
  *colour = value;
  return confirmed ? 1 : 0;
}

ORVALIS_API void ORVALIS_CALL PControl_Destroy(OrvalisControl* control) {
  orvalis::capi::Guard(__func__, nullptr, [&] { delete control; });
}

ORVALIS_API HWND ORVALIS_CALL PControl_Handle(OrvalisControl* control) {
  if (!control) return nullptr;
  if (auto* w = dynamic_cast<WinControl*>(control->control.get())) return w->HandleIfCreated();
  return control->site->HandleIfCreated();  // a windowless control draws on its site
}

ORVALIS_API void ORVALIS_CALL PControl_SetBounds(OrvalisControl* control, int x, int y, int width, int height) {
  if (control) orvalis::capi::Guard(__func__, control, [&] { control->site->SetBounds(x, y, width, height); });
}

ORVALIS_API int ORVALIS_CALL PControl_GetVisible(OrvalisControl* control) {
  return control && control->site->Visible() && control->control->Visible() ? 1 : 0;
}
ORVALIS_API void ORVALIS_CALL PControl_SetVisible(OrvalisControl* control, int visible) {
  if (!control) return;
  orvalis::capi::Guard(__func__, control, [&] {
    control->site->SetVisible(visible != 0);
    control->control->SetVisible(visible != 0);
  });
}

ORVALIS_API int ORVALIS_CALL PControl_GetEnabled(OrvalisControl* control) {
  return With<Control>(__func__, control, 0, [](Control& c) { return c.Enabled(); });
}
ORVALIS_API void ORVALIS_CALL PControl_SetEnabled(OrvalisControl* control, int enabled) {
  Do<Control>(__func__, control, [&](Control& c) { c.SetEnabled(enabled != 0); });
}

ORVALIS_API int ORVALIS_CALL PControl_GetFocused(OrvalisControl* control) {
  return With<WinControl>(__func__, control, 0, [](WinControl& c) { return c.Focused(); });
}
ORVALIS_API void ORVALIS_CALL PControl_SetFocus(OrvalisControl* control) {
  Do<WinControl>(__func__, control, [](WinControl& c) { c.SetFocus(); });
}

ORVALIS_API int ORVALIS_CALL PControl_GetText(OrvalisControl* control, char* buffer, int size) {
  return With<WinControl>(__func__, control, Out({}, buffer, size), [&](WinControl& c) { return Out(c.Text(), buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PControl_SetText(OrvalisControl* control, const char* text) {
  Do<WinControl>(__func__, control, [&](WinControl& c) { c.SetText(In(text)); });
}

ORVALIS_API int ORVALIS_CALL PControl_GetName(OrvalisControl* control, char* buffer, int size) {
  return With<Control>(__func__, control, Out({}, buffer, size), [&](Control& c) { return Out(c.Name(), buffer, size); });
}

ORVALIS_API void ORVALIS_CALL PControl_SetHint(OrvalisControl* control, const char* hint) {
  Do<Control>(__func__, control, [&](Control& c) { c.SetHint(std::string(In(hint))); });
}
ORVALIS_API void ORVALIS_CALL PControl_SetShowHint(OrvalisControl* control, int show) {
  Do<Control>(__func__, control, [&](Control& c) { c.SetShowHint(show != 0); });
}

ORVALIS_API uint32_t ORVALIS_CALL PControl_GetColor(OrvalisControl* control) {
  return With<Control>(__func__, control, uint32_t{0}, [](Control& c) { return c.GetColor(); });
}
ORVALIS_API void ORVALIS_CALL PControl_SetColor(OrvalisControl* control, uint32_t colour) {
  Do<Control>(__func__, control, [&](Control& c) { c.SetColor(colour); });
}

ORVALIS_API void ORVALIS_CALL PControl_SetFont(OrvalisControl* control, const char* face, int points, int bold,
                                               int italic) {
  Do<Control>(__func__, control, [&](Control& c) {
    orvalis::ui::Font font = c.GetFont();
    if (face && *face) font.face = face;
    if (points > 0) {
      HDC screen = ::GetDC(nullptr);
      const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
      if (screen) ::ReleaseDC(nullptr, screen);
      font.height = -::MulDiv(points, dpi, 72);
    }
    font.style = std::uint8_t((font.style & ~(orvalis::ui::kBold | orvalis::ui::kItalic)) |
                              (bold ? orvalis::ui::kBold : 0) | (italic ? orvalis::ui::kItalic : 0));
    c.SetFont(font);
  });
}

ORVALIS_API void ORVALIS_CALL PControl_SetOnClick(OrvalisControl* control, OrvalisEvent event, void* context) {
  Do<Control>(__func__, control, [&](Control& c) { c.OnClick = HostEvent{event, context, control}; });
}
ORVALIS_API void ORVALIS_CALL PControl_SetOnEnter(OrvalisControl* control, OrvalisEvent event, void* context) {
  Do<WinControl>(__func__, control, [&](WinControl& c) { c.OnEnter = HostEvent{event, context, control}; });
}
ORVALIS_API void ORVALIS_CALL PControl_SetOnExit(OrvalisControl* control, OrvalisEvent event, void* context) {
  Do<WinControl>(__func__, control, [&](WinControl& c) { c.OnExit = HostEvent{event, context, control}; });
}

}  // extern "C"
