// The framework's control classes: `Control` (name, parent, bounds, events, a
// window procedure), `WinControl` (a control with a window: own classes bind
// `this` at WM_NCCREATE, system classes are subclassed with SetWindowSubclass)
// and `GraphicControl` (no window: painted and hit-tested by its parent).
//
// Every control with a window carries its designer name as the window property
// "OrvalisName" holding a global atom, so a driver in another process finds it:
// GetPropW(hwnd, L"OrvalisName") → GlobalGetAtomNameW.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "win/gdi.h"

namespace orvalis::ui {

// One window message as the controls' window procedures see it.
struct Message {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool unhandledReflection = false;  // set by the default handling of a reflected message
};

// A parent hands WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* to the
// child's object as CN_BASE + message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
// The mouse entering and leaving a control, windowless ones included. A
// windowless child whose press ends because another window took the capture
// gets WM_CAPTURECHANGED.
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;

constexpr wchar_t kNameProperty[] = L"OrvalisName";

enum class MouseButton { Left, Right, Middle };

class WinControl;

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  [[nodiscard]] const std::string& Name() const { return name_; }
  virtual void SetName(std::string name) { name_ = std::move(name); }

  [[nodiscard]] WinControl* Parent() const { return parent_; }
  virtual void SetParent(WinControl* parent);

  [[nodiscard]] int Left() const { return bounds_.left; }
  [[nodiscard]] int Top() const { return bounds_.top; }
  [[nodiscard]] int Width() const { return bounds_.Width(); }
  [[nodiscard]] int Height() const { return bounds_.Height(); }
  [[nodiscard]] Rect BoundsRect() const { return bounds_; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

  [[nodiscard]] bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  [[nodiscard]] bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // A control with a colour of its own (a text background) overrides both.
  [[nodiscard]] virtual Color GetColor() const { return color_; }
  virtual void SetColor(Color c);
  [[nodiscard]] const Font& GetFont() const { return font_; }
  virtual void SetFont(const Font& font);

  [[nodiscard]] const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  [[nodiscard]] bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show);

  // Asks for a repaint.
  virtual void Invalidate() = 0;
  // Called by the creator once every property is set, as after loading a form.
  virtual void Loaded() {}

  // The window procedure: controls override it for a few messages and hand the
  // rest to this one ("the inherited handling").
  virtual void WndProc(Message& m);

  std::function<void(Control&)> OnClick;
  std::function<void(Control&, MouseButton, unsigned keys, int x, int y)> OnMouseDown;
  std::function<void(Control&, MouseButton, unsigned keys, int x, int y)> OnMouseUp;
  std::function<void(Control&, unsigned keys, int x, int y)> OnMouseMove;

  virtual void Click();

 protected:
  virtual void MouseDown(MouseButton button, unsigned keys, int x, int y);
  virtual void MouseUp(MouseButton button, unsigned keys, int x, int y);
  virtual void MouseMove(unsigned keys, int x, int y);
  // The platform's handling of what WndProc does not take.
  virtual void DefaultHandler(Message& m) = 0;
  virtual void BoundsChanged() {}
  virtual void HintChanged();

  Font font_;
  Color color_ = kBtnFace;

 private:
  std::string name_;
  WinControl* parent_ = nullptr;
  Rect bounds_{0, 0, 0, 0};
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
};

class GraphicControl : public Control {
 public:
  void Invalidate() override;
  // Painted by the parent with the origin at the control's upper-left corner.
  virtual void Paint(Canvas& canvas) = 0;
  void WndProc(Message& m) override;

 protected:
  void DefaultHandler(Message& m) override;
  void BoundsChanged() override;

 private:
  bool mouseDown_ = false;
};

class WinControl : public Control {
 public:
  WinControl();
  ~WinControl() override;

  // The window, created on first use (the parent's first).
  [[nodiscard]] HWND Handle();
  [[nodiscard]] HWND HandleIfCreated() const { return hwnd_; }
  [[nodiscard]] bool HandleAllocated() const { return hwnd_ != nullptr; }
  void DestroyHandle();

  // The object of a window of this process made by this framework, or null.
  [[nodiscard]] static WinControl* FromHandle(HWND hwnd);

  void SetName(std::string name) override;
  void SetParent(WinControl* parent) override;
  // A window of another program part (a host's window) as the parent of a
  // control that has no parent control; its notifications go to that window.
  void SetParentWindow(HWND parent) { parentWindow_ = parent; }
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetFont(const Font& font) override;

  [[nodiscard]] std::string Text() const;
  void SetText(std::string_view text);

  [[nodiscard]] bool Focused() const;
  void SetFocus();

  [[nodiscard]] Size ClientSize() const;
  [[nodiscard]] const std::vector<Control*>& Controls() const { return controls_; }

  void Invalidate() override;
  void Update();  // paints what is invalid now

  void WndProc(Message& m) override;

  std::function<void(Control&)> OnEnter;
  std::function<void(Control&)> OnExit;

  // A brush of the control's colour for WM_CTLCOLOR* answers.
  [[nodiscard]] HBRUSH ColorBrush();

  // The control that receives the mouse: a visible windowless child under the point.
  [[nodiscard]] GraphicControl* ControlAtPos(POINT p) const;

 protected:
  struct CreateParams {
    std::wstring className;  // own classes are registered on first use
    bool systemClass = false;  // an existing class, subclassed after creation
    DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    UINT classStyle = CS_DBLCLKS;
  };
  virtual void MakeCreateParams(CreateParams& params);
  // After the window exists and the framework has set text, font and name.
  virtual void HandleCreated() {}
  // Keyboard focus arriving and leaving (WM_SETFOCUS, WM_KILLFOCUS).
  virtual void DoEnter();
  virtual void DoExit();
  // Own classes: the control's painting on WM_PAINT and WM_PRINTCLIENT.
  virtual void Paint(Canvas&) {}
  void DefaultHandler(Message& m) override;
  void BoundsChanged() override;

  void PaintGraphicChildren(HDC dc);

 private:
  friend class Control;
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref) noexcept;
  static LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp) noexcept;
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void CreateHandle();
  void Attach(HWND hwnd);
  void Detached();
  void SetNameProperty();
  bool Reflect(Message& m);
  bool RouteMouse(Message& m);

  HWND hwnd_ = nullptr;
  HWND parentWindow_ = nullptr;
  bool subclassed_ = false;
  std::string pendingText_;  // the text until the window exists
  ATOM nameAtom_ = 0;
  std::vector<Control*> controls_;
  GraphicControl* mouseControl_ = nullptr;
  GraphicControl* captureControl_ = nullptr;
  bool trackingLeave_ = false;
  win::unique_hfont fontObject_;
  win::unique_hbrush colorBrush_;
  Color colorBrushColor_ = 0;
};

}  // namespace orvalis::ui
