// Window procedures, creation, subclassing, reflection and the routing of the
// mouse to windowless children.
#include "ui/control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "core/text.h"
#include "ui/application.h"
#include "ui/gdi_canvas.h"
#include "win/debug_output.h"
#include "win/module.h"
#include "win/scope_exit.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// The control being created while its system-class window comes into being: the
// creation hook subclasses that window before its first message.
thread_local WinControl* creating = nullptr;

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK; }

// Inside the catch block of a window procedure: tells the debugger which
// control and message the exception stopped at. Allocates nothing itself.
void LogEscaped(const std::string& name, UINT msg) noexcept {
  static constexpr char kHead[] = "orvalis: window procedure of \"";
  static constexpr char kMiddle[] = "\", message 0x";
  char context[160];
  char* out = std::copy(kHead, kHead + sizeof kHead - 1, context);
  out = std::copy_n(name.data(), std::min<std::size_t>(name.size(), 48), out);
  out = std::copy(kMiddle, kMiddle + sizeof kMiddle - 1, out);
  out = PutPaddedNumber(out, msg, 4, 16);
  *out = '\0';
  win::LogCaughtException(context);
}

}  // namespace

// ---------------------------------------------------------------- Control

Control::~Control() {
  // The parent must not route the mouse to this object any more, and its area
  // is to be painted again without it.
  if (parent_) Control::SetParent(nullptr);
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    if (parent_->mouseControl_ == this) parent_->mouseControl_ = nullptr;
    if (parent_->captureControl_ == this) {
      // The parent holds the capture for this control's press alone.
      parent_->captureControl_ = nullptr;
      if (parent_->hwnd_ && ::GetCapture() == parent_->hwnd_) ::ReleaseCapture();
    }
    std::erase(parent_->controls_, this);
    parent_->Invalidate();
  }
  parent_ = parent;
  if (parent_) {
    parent_->controls_.push_back(this);
    Invalidate();
  }
}

void Control::SetBounds(int left, int top, int width, int height) {
  Rect next{left, top, left + width, top + height};
  if (next == bounds_) return;
  if (parent_ && !dynamic_cast<WinControl*>(this)) Invalidate();
  bounds_ = next;
  BoundsChanged();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (parent_) parent_->Invalidate();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void Control::SetColor(Color c) {
  if (c == color_) return;
  color_ = c;
  Invalidate();
}

void Control::SetFont(const Font& font) {
  font_ = font;
  Invalidate();
}

void Control::SetHint(std::string hint) {
  hint_ = std::move(hint);
  HintChanged();
}

void Control::SetShowHint(bool show) {
  showHint_ = show;
  HintChanged();
}

void Control::HintChanged() { Application::UpdateHint(*this); }

void Control::Click() {
  if (OnClick) OnClick(*this);
}

void Control::MouseDown(MouseButton button, unsigned keys, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, keys, x, y);
}
void Control::MouseUp(MouseButton button, unsigned keys, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, keys, x, y);
}
void Control::MouseMove(unsigned keys, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, keys, x, y);
}

void Control::WndProc(Message& m) {
  if (IsMouseMessage(m.msg)) {
    const int x = GET_X_LPARAM(m.lParam), y = GET_Y_LPARAM(m.lParam);
    const unsigned keys = unsigned(m.wParam);
    switch (m.msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK: MouseDown(ButtonOf(m.msg), keys, x, y); break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP: MouseUp(ButtonOf(m.msg), keys, x, y); break;
      case WM_MOUSEMOVE: MouseMove(keys, x, y); break;
      default: break;
    }
  }
  DefaultHandler(m);
}

// ---------------------------------------------------------------- GraphicControl

void GraphicControl::Invalidate() {
  WinControl* p = Parent();
  if (!p || !p->HandleAllocated() || !Visible()) return;
  RECT r{Left(), Top(), Left() + Width(), Top() + Height()};
  ::InvalidateRect(p->HandleIfCreated(), &r, TRUE);
}

void GraphicControl::BoundsChanged() { Invalidate(); }

void GraphicControl::WndProc(Message& m) {
  if (m.msg == WM_LBUTTONDOWN) mouseDown_ = true;
  if (m.msg == WM_CAPTURECHANGED) mouseDown_ = false;  // the press was ended from outside
  Control::WndProc(m);
  if (m.msg == WM_LBUTTONUP && mouseDown_) {
    mouseDown_ = false;
    POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height() && Enabled()) Click();
  }
}

void GraphicControl::DefaultHandler(Message& m) {
  if (m.msg >= CN_BASE && m.msg < CN_BASE + 0x400) m.unhandledReflection = true;
  m.result = 0;
}

// ---------------------------------------------------------------- WinControl

WinControl::WinControl() = default;

WinControl::~WinControl() {
  for (Control* child : std::vector<Control*>(controls_)) child->SetParent(nullptr);
  DestroyHandle();
}

void WinControl::DestroyHandle() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

HWND WinControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void WinControl::MakeCreateParams(CreateParams& params) {
  params.className = L"OrvalisControl";
  params.style |= WS_CHILD | WS_TABSTOP;
}

void WinControl::CreateHandle() {
  HWND parentWindow = Parent() ? Parent()->Handle() : parentWindow_;
  if (hwnd_) return;  // the parent's creation made this window along with its other children
  CreateParams params;
  MakeCreateParams(params);
  if (!parentWindow) params.style &= ~DWORD(WS_CHILD);
  if (Visible()) params.style |= WS_VISIBLE;
  if (!Enabled()) params.style |= WS_DISABLED;
  HINSTANCE instance = win::ThisModule();
  // Whatever throws from here on, the hook goes and no later window of this
  // thread is taken for this control.
  win::unique_hhook hook;
  win::scope_exit forget([] { creating = nullptr; });
  if (params.systemClass) {
    creating = this;
    hook.reset(::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId()));
  } else {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = params.classStyle;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = params.className.c_str();
    ::RegisterClassExW(&wc);  // fails harmlessly once the class exists
  }
  HWND hwnd = ::CreateWindowExW(params.exStyle, params.className.c_str(), win::Wide(Text()).c_str(), params.style,
                                Left(), Top(), Width(), Height(), parentWindow, nullptr, instance, this);
  hook.reset();
  forget.reset();
  if (params.systemClass && hwnd && !subclassed_) Attach(hwnd);  // the hook did not run: subclass now
  if (!hwnd) return;
  SetFont(font_);
  SetNameProperty();
  for (Control* child : controls_)
    if (auto* w = dynamic_cast<WinControl*>(child)) (void)w->Handle();
  HandleCreated();
  Application::UpdateHint(*this);
}

void WinControl::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  subclassed_ = ::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT CALLBACK WinControl::CreationHook(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code == HCBT_CREATEWND && creating) {
    WinControl* self = std::exchange(creating, nullptr);
    self->Attach(reinterpret_cast<HWND>(wp));
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

namespace {

// Asks a window of this process for its object: both window procedures of the
// framework answer this message themselves, before the control sees it.
UINT ObjectQueryMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"OrvalisControlObject");
  return message;
}
constexpr WPARAM kObjectQueryMagic = 0x4F52564C;  // "ORVL"

}  // namespace

WinControl* WinControl::FromHandle(HWND hwnd) {
  DWORD process = 0;
  if (!hwnd || !::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId()) return nullptr;
  return reinterpret_cast<WinControl*>(::SendMessageW(hwnd, ObjectQueryMessage(), kObjectQueryMagic, 0));
}

LRESULT CALLBACK WinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* self = static_cast<WinControl*>(cs->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<WinControl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == ObjectQueryMessage() && wp == kObjectQueryMagic) return reinterpret_cast<LRESULT>(self);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK WinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) noexcept {
  auto* self = reinterpret_cast<WinControl*>(ref);
  if (!self) return ::DefSubclassProc(hwnd, msg, wp, lp);
  if (msg == ObjectQueryMessage() && wp == kObjectQueryMagic) return reinterpret_cast<LRESULT>(self);
  return self->Dispatch(msg, wp, lp);
}

LRESULT WinControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Message m{msg, wp, lp, 0, false};
  HWND hwnd = hwnd_;
  try {
    WndProc(m);
  } catch (...) {
    // Nothing may unwind into the system: the message gets the platform's answer.
    LogEscaped(Name(), msg);
    m.result = subclassed_ ? ::DefSubclassProc(hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) Detached();
  return m.result;
}

void WinControl::Detached() {
  if (subclassed_) ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  else if (hwnd_) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  subclassed_ = false;
  if (nameAtom_) ::GlobalDeleteAtom(nameAtom_);
  nameAtom_ = 0;
  mouseControl_ = captureControl_ = nullptr;
  trackingLeave_ = false;  // the tracking ended with the window
  hwnd_ = nullptr;
}

void WinControl::DefaultHandler(Message& m) {
  if (m.msg >= CN_BASE && m.msg < CN_BASE + 0x400) {
    m.unhandledReflection = true;
    return;
  }
  if (!hwnd_) return;
  m.result = subclassed_ ? ::DefSubclassProc(hwnd_, m.msg, m.wParam, m.lParam)
                         : ::DefWindowProcW(hwnd_, m.msg, m.wParam, m.lParam);
}

bool WinControl::Reflect(Message& m) {
  HWND child = nullptr;
  switch (m.msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(m.lParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.lParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(m.lParam); break;
    default: return false;
  }
  WinControl* target = child && child != hwnd_ ? FromHandle(child) : nullptr;
  if (!target) return false;
  Message r{CN_BASE + m.msg, m.wParam, m.lParam, 0, false};
  target->WndProc(r);
  if (r.unhandledReflection) return false;
  m.result = r.result;
  return true;
}

GraphicControl* WinControl::ControlAtPos(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    auto* g = dynamic_cast<GraphicControl*>(*it);
    if (g && g->Visible() && g->BoundsRect().Contains({p.x, p.y})) return g;
  }
  return nullptr;
}

bool WinControl::RouteMouse(Message& m) {
  if (m.msg == WM_CAPTURECHANGED) {
    // Another window took the capture (a menu, a message box): the press is
    // over for the child that had it, and the next one goes where it lands.
    if (captureControl_ && reinterpret_cast<HWND>(m.lParam) != hwnd_) {
      Message lost{WM_CAPTURECHANGED, 0, m.lParam};
      std::exchange(captureControl_, nullptr)->WndProc(lost);
    }
    return false;
  }
  if (m.msg == WM_MOUSELEAVE) {
    trackingLeave_ = false;
    if (mouseControl_) {
      Message leave{CM_MOUSELEAVE};
      std::exchange(mouseControl_, nullptr)->WndProc(leave);
    }
    return false;
  }
  if (!IsMouseMessage(m.msg) || m.msg == WM_MOUSEWHEEL) return false;
  POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  GraphicControl* hit = ControlAtPos(p);
  if (m.msg == WM_MOUSEMOVE && hit != mouseControl_) {
    if (mouseControl_) {
      Message leave{CM_MOUSELEAVE};
      mouseControl_->WndProc(leave);
    }
    mouseControl_ = hit;
    if (hit) {
      Message enter{CM_MOUSEENTER};
      hit->WndProc(enter);
    }
  }
  if (hit && !trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
    trackingLeave_ = ::TrackMouseEvent(&tme) != FALSE;
  }
  GraphicControl* target = captureControl_ ? captureControl_ : hit;
  if (!target || (!target->Enabled() && !captureControl_)) return false;
  if (m.msg == WM_LBUTTONDOWN) {
    captureControl_ = target;
    ::SetCapture(hwnd_);
  }
  Message local{m.msg, m.wParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top())};
  if (m.msg == WM_LBUTTONUP && captureControl_) {
    captureControl_ = nullptr;
    ::ReleaseCapture();
  }
  target->WndProc(local);
  m.result = 0;
  return true;
}

void WinControl::PaintGraphicChildren(HDC dc) {
  for (Control* child : controls_) {
    auto* g = dynamic_cast<GraphicControl*>(child);
    if (!g || !g->Visible()) continue;
    win::saved_dc saved(dc);
    ::IntersectClipRect(dc, g->Left(), g->Top(), g->Left() + g->Width(), g->Top() + g->Height());
    RECT clip;
    if (::GetClipBox(dc, &clip) == NULLREGION) continue;
    POINT org;
    ::GetViewportOrgEx(dc, &org);
    ::SetViewportOrgEx(dc, org.x + g->Left(), org.y + g->Top(), nullptr);
    GdiCanvas canvas(dc);
    canvas.SetFont(g->GetFont());
    canvas.BrushColor(g->GetColor());
    g->Paint(canvas);
  }
}

void WinControl::WndProc(Message& m) {
  if (Reflect(m)) return;
  if (!subclassed_ && RouteMouse(m)) return;
  switch (m.msg) {
    case WM_SETCURSOR:
      if (Screen::Cursor() != Screen::kDefault && LOWORD(m.lParam) == HTCLIENT) {
        ::SetCursor(Screen::CursorHandle());
        m.result = TRUE;
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (!subclassed_) {
        RECT r;
        ::GetClientRect(hwnd_, &r);
        ::FillRect(reinterpret_cast<HDC>(m.wParam), &r, ColorBrush());
        m.result = 1;
        return;
      }
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (!subclassed_) {
        win::paint_scope scope(hwnd_, m.msg == WM_PRINTCLIENT ? reinterpret_cast<HDC>(m.wParam) : nullptr);
        if (m.msg == WM_PRINTCLIENT) {
          RECT r;
          ::GetClientRect(hwnd_, &r);
          ::FillRect(scope.dc(), &r, ColorBrush());
        }
        {
          GdiCanvas canvas(scope.dc());
          canvas.SetFont(font_);
          canvas.BrushColor(color_);
          Paint(canvas);
        }
        PaintGraphicChildren(scope.dc());
        m.result = 0;
        return;
      }
      break;
    case WM_SETFOCUS: DoEnter(); break;
    case WM_KILLFOCUS: DoExit(); break;
    case WM_THEMECHANGED:
      // Windowless children keep theme handles too; they hear of the change here.
      for (Control* child : controls_)
        if (auto* g = dynamic_cast<GraphicControl*>(child)) {
          Message copy{m.msg, m.wParam, m.lParam};
          g->WndProc(copy);
        }
      break;
    default: break;
  }
  Control::WndProc(m);
}

void WinControl::DoEnter() {
  if (OnEnter) OnEnter(*this);
}

void WinControl::DoExit() {
  if (OnExit) OnExit(*this);
}

void WinControl::SetName(std::string name) {
  Control::SetName(std::move(name));
  SetNameProperty();
}

void WinControl::SetNameProperty() {
  if (!hwnd_) return;
  if (nameAtom_) ::GlobalDeleteAtom(nameAtom_);
  nameAtom_ = Name().empty() ? ATOM(0) : ::GlobalAddAtomW(win::Wide(Name()).c_str());
  if (nameAtom_)
    ::SetPropW(hwnd_, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
  else
    ::RemovePropW(hwnd_, kNameProperty);
}

void WinControl::SetParent(WinControl* parent) {
  Control::SetParent(parent);
  if (hwnd_) {
    if (parent) ::SetParent(hwnd_, parent->Handle());
    else DestroyHandle();
  } else if (parent && parent->HandleAllocated()) {
    (void)Handle();
  }
}

void WinControl::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (hwnd_) ::ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void WinControl::SetEnabled(bool enabled) {
  Control::SetEnabled(enabled);
  if (hwnd_) ::EnableWindow(hwnd_, enabled);
}

void WinControl::SetFont(const Font& font) {
  font_ = font;
  if (!hwnd_) return;
  win::unique_hfont next = MakeFont(font);
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(next.get()), TRUE);
  fontObject_ = std::move(next);
  Invalidate();
}

std::string WinControl::Text() const {
  if (!hwnd_) return pendingText_;
  int n = ::GetWindowTextLengthW(hwnd_);
  std::wstring w(size_t(n) + 1, L'\0');
  n = ::GetWindowTextW(hwnd_, w.data(), n + 1);
  w.resize(size_t(std::max(n, 0)));
  return win::Narrow(w);
}

void WinControl::SetText(std::string_view text) {
  pendingText_ = text;
  if (hwnd_) ::SetWindowTextW(hwnd_, win::Wide(text).c_str());
  Invalidate();
}

bool WinControl::Focused() const { return hwnd_ && ::GetFocus() == hwnd_; }

void WinControl::SetFocus() { ::SetFocus(Handle()); }

Size WinControl::ClientSize() const {
  if (!hwnd_) return {Width(), Height()};
  RECT r;
  ::GetClientRect(hwnd_, &r);
  return {r.right, r.bottom};
}

void WinControl::Invalidate() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinControl::Update() {
  if (hwnd_) ::UpdateWindow(hwnd_);
}

void WinControl::BoundsChanged() {
  if (hwnd_) ::MoveWindow(hwnd_, Left(), Top(), Width(), Height(), TRUE);
}


HBRUSH WinControl::ColorBrush() {
  if (!colorBrush_ || colorBrushColor_ != color_) {
    colorBrush_.reset(::CreateSolidBrush(ResolveColor(color_)));
    colorBrushColor_ = color_;
  }
  return static_cast<HBRUSH>(colorBrush_.get());
}

}  // namespace orvalis::ui
