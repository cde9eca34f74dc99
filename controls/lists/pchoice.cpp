// The choice control's window: radio buttons made from the lines, placed by
// LayoutChoice at the screen's pixels per inch, and the "other" editor.
#include "controls/lists/pchoice.h"

#include <string>

#include "controls/entry/pdateedit.h"
#include "controls/entry/pedit.h"
#include "controls/basics/pmemo.h"
#include "controls/entry/pnumedit.h"
#include "controls/basics/pradiobutton.h"
#include "controls/rich/prichedit.h"
#include "controls/entry/pzipedit.h"
#include "ui/gdi_canvas.h"
#include "win/gdi.h"
#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::controls {

// A radio button of the control: no tab stop of its own, and its caption in
// the control's text colour.
class ChoiceButton final : public PRadioButton {
 protected:
  void MakeCreateParams(CreateParams& params) override {
    PRadioButton::MakeCreateParams(params);
    params.style &= ~DWORD(WS_TABSTOP);
  }
  void WndProc(ui::Message& m) override {
    PRadioButton::WndProc(m);
    if ((m.msg == ui::CN_CTLCOLORBTN || m.msg == ui::CN_CTLCOLORSTATIC) && !m.unhandledReflection)
      ::SetTextColor(reinterpret_cast<HDC>(m.wParam), ui::ResolveColor(GetFont().color));
  }
};

// The "other" editor of any kind: its window, its text as OtherText reads it,
// and its change event.
class OtherEditor {
 public:
  virtual ~OtherEditor() = default;
  [[nodiscard]] virtual ui::WinControl& Control() = 0;
  [[nodiscard]] virtual std::string Text() = 0;
  // The host's text: not reported back as an edit.
  void SetText(const std::string& text) {
    quiet_ = true;
    win::scope_exit loud([this] { quiet_ = false; });
    Put(text);
  }
  std::function<void()> OnChange;

 protected:
  virtual void Put(const std::string& text) = 0;
  void Changed() {
    if (!quiet_ && OnChange) OnChange();
  }

 private:
  bool quiet_ = false;
};

namespace {

// Posted to the control to free replaced buttons and editors.
constexpr UINT kFreeRetired = WM_USER + 0x51;
// The framework radio button's own height, which the buttons keep.
constexpr int kButtonHeight = 17;

// The memo reports its edits through the reflected EN_CHANGE.
class ChoiceMemo final : public PMemo {
 public:
  std::function<void(ChoiceMemo&)> OnChange;
  void WndProc(ui::Message& m) override {
    if (m.msg == ui::CN_COMMAND && HIWORD(m.wParam) == EN_CHANGE && OnChange) OnChange(*this);
    PMemo::WndProc(m);
  }
};

std::string TextOf(PNumEdit& e) { return e.DisplayText(); }
void Put(PNumEdit& e, const std::string& t) { e.SetValue(OtherNumberValue(t, e.GetDecimalSign())); }
// The date as it shows outside the field, whatever the focus: "dd-mm-yyyy" or empty.
std::string TextOf(PDateEdit& e) { return DateText(e.GetDate(), false); }
void Put(PDateEdit& e, const std::string& t) { e.SetDate(ParseDateDigits(OtherDateDigits(t))); }
std::string TextOf(PEdit& e) { return e.GetValue(); }
void Put(PEdit& e, const std::string& t) { e.SetValue(t); }
std::string TextOf(PZipEdit& e) { return e.GetValue(); }
void Put(PZipEdit& e, const std::string& t) { e.SetValue(t); }
std::string TextOf(ChoiceMemo& e) { return e.Text(); }
void Put(ChoiceMemo& e, const std::string& t) { e.SetText(t); }
std::string TextOf(PRichEdit& e) { return e.GetText(); }
void Put(PRichEdit& e, const std::string& t) { e.SetText(t); }

template <class Edit>
class EditorOf final : public OtherEditor {
 public:
  EditorOf() {
    edit_.OnChange = [this](Edit&) { Changed(); };
  }
  // A change the editor reports while its window goes is no edit of the host's.
  ~EditorOf() override { edit_.OnChange = nullptr; }
  [[nodiscard]] ui::WinControl& Control() override { return edit_; }
  [[nodiscard]] std::string Text() override { return TextOf(edit_); }
  [[nodiscard]] Edit& Editor() { return edit_; }

 protected:
  void Put(const std::string& text) override { controls::Put(edit_, text); }

 private:
  Edit edit_;
};

std::unique_ptr<OtherEditor> MakeEditor(OType type) {
  auto number = [](PNumEdit_Type t) {
    auto e = std::make_unique<EditorOf<PNumEdit>>();
    e->Editor().SetType(t);
    return e;
  };
  switch (type) {
    case OType::otPCurrEdit: return number(PNumEdit_Type::pntCurrency);
    case OType::otPDateEdit: return std::make_unique<EditorOf<PDateEdit>>();
    case OType::otPMemo: return std::make_unique<EditorOf<ChoiceMemo>>();
    case OType::otPNumEdit: return number(PNumEdit_Type::pntNumeric);
    case OType::otPPercEdit: return number(PNumEdit_Type::pntPercentage);
    case OType::otPRichEdit: return std::make_unique<EditorOf<PRichEdit>>();
    case OType::otPZipEdit: return std::make_unique<EditorOf<PZipEdit>>();
    case OType::otPEdit: break;
  }
  return std::make_unique<EditorOf<PEdit>>();
}

// The width of `text` in `font`, as an automatically sized label takes it.
int TextWidth(const ui::Font& font, const std::string& text) {
  win::window_dc screen(nullptr);
  if (!screen) return 0;
  win::unique_hfont object = ui::MakeFont(font);
  win::selected_object selected(screen.get(), object.get());
  const std::wstring wide = win::Wide(text);
  SIZE size{};
  ::GetTextExtentPoint32W(screen.get(), wide.c_str(), int(wide.size()), &size);
  return size.cx;
}

}  // namespace

PChoice::PChoice() {
  SetBounds(0, 0, 185, 61);
  SetColor(ui::SystemColor(COLOR_WINDOW));
}

PChoice::~PChoice() {
  closing_ = true;
  DestroyHandle();
  other_.reset();
  buttons_.clear();
  retiredOthers_.clear();
  retiredButtons_.clear();
}

int PChoice::ScreenDpi() {
  static const int dpi = [] {
    win::window_dc screen(nullptr);
    const int d = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return d > 0 ? d : 96;
  }();
  return dpi;
}

int PChoice::AutoHeight() const {
  return ChoiceAutoHeight(static_cast<int>(Lines().size()), Horizontal(), Height(), ScreenDpi());
}

void PChoice::Fit() { SetBounds(Left(), Top(), Width(), AutoHeight()); }

PRadioButton* PChoice::Button(int i) const {
  return i >= 0 && i < ButtonCount() ? buttons_[static_cast<std::size_t>(i)].get() : nullptr;
}

ui::WinControl* PChoice::OtherEditorControl() const { return other_ ? &other_->Control() : nullptr; }

void PChoice::MakeCreateParams(CreateParams& params) {
  ui::WinControl::MakeCreateParams(params);
  if (!tabStop_) params.style &= ~DWORD(WS_TABSTOP);
  // Tab and the dialog keys reach the editor inside.
  params.exStyle |= WS_EX_CONTROLPARENT;
}

void PChoice::WndProc(ui::Message& m) {
  if (m.msg == kFreeRetired) {
    retiredButtons_.clear();
    retiredOthers_.clear();
    m.result = 0;
    return;
  }
  ui::WinControl::WndProc(m);
}

void PChoice::BoundsChanged() {
  ui::WinControl::BoundsChanged();
  if (laidOut_ == ui::Size{Width(), Height()}) return;
  // A new size places everything anew.
  DisplayLines();
  DisplayOther();
}

void PChoice::RetireLater() {
  if (retiredButtons_.empty() && retiredOthers_.empty()) return;
  if (HWND h = HandleIfCreated(); h && ::PostMessageW(h, kFreeRetired, 0, 0)) return;
  // Without a window nothing of them can be inside a message.
  retiredButtons_.clear();
  retiredOthers_.clear();
}

void PChoice::DisplayLines() {
  for (auto& b : buttons_) {
    b->SetVisible(false);
    b->OnClick = nullptr;
    retiredButtons_.push_back(std::move(b));
  }
  buttons_.clear();
  RetireLater();
  laidOut_ = {Width(), Height()};
  const int n = static_cast<int>(Lines().size());
  if (n == 0) return;
  const ChoiceLayout layout = LayoutChoice({.lines = n,
                                            .width = Width(),
                                            .height = Height(),
                                            .dpi = ScreenDpi(),
                                            .horizontal = Horizontal(),
                                            .inverted = InvertedList(),
                                            .buttonHeight = kButtonHeight});
  for (int i = 0; i < n; ++i) {
    auto b = std::make_unique<ChoiceButton>();
    b->SetVisible(false);
    b->SetName(Name() + "_" + std::to_string(i));
    b->SetCaption(" " + Lines()[static_cast<std::size_t>(i)].text + " ");
    const ChoiceRect& r = layout.buttons[static_cast<std::size_t>(i)];
    b->SetBounds(r.left, r.top, r.width, r.height);
    b->SetFont(GetFont());
    b->SetEnabled(Enabled());
    b->OnClick = [this](ui::Control&) { ButtonClicked(); };
    b->SetParent(this);
    b->SetVisible(true);
    buttons_.push_back(std::move(b));
  }
  if (const int checked = model_.CheckedIndex(); checked >= 0)
    buttons_[static_cast<std::size_t>(checked)]->SetChecked(true);
}

void PChoice::CreateOther() {
  if (other_) {
    other_->Control().SetVisible(false);
    other_->OnChange = nullptr;
    retiredOthers_.push_back(std::move(other_));
    RetireLater();
  }
  if (!OtherIsActive()) return;
  other_ = MakeEditor(OtherType());
  ui::WinControl& c = other_->Control();
  c.SetVisible(false);
  c.SetName(Name() + "_Other");
  c.SetFont(GetFont());
  c.SetEnabled(Enabled());
  c.SetParent(this);
  other_->SetText(OtherText());
  other_->OnChange = [this] { OtherChanged(); };
  DisplayOther();
  c.Loaded();
}

void PChoice::DisplayOther() {
  if (!other_ || Lines().empty() || buttons_.empty()) return;
  ChoiceButton& last = *buttons_.back();
  const ChoiceLayout layout = LayoutChoice({.lines = static_cast<int>(Lines().size()),
                                            .width = Width(),
                                            .height = Height(),
                                            .dpi = ScreenDpi(),
                                            .horizontal = Horizontal(),
                                            .inverted = InvertedList(),
                                            .buttonHeight = last.Height(),
                                            .hasOther = true,
                                            .otherType = OtherType(),
                                            .lastTextWidth = TextWidth(GetFont(), Lines().back().text),
                                            .otherVisible = model_.OtherVisible()});
  const ChoiceRect& b = layout.buttons.back();
  last.SetBounds(b.left, b.top, b.width, b.height);
  ui::WinControl& c = other_->Control();
  c.SetBounds(layout.other.left, layout.other.top, layout.other.width, layout.other.height);
  c.SetEnabled(Enabled());
  // The editor comes after every button in the tab order.
  if (HWND h = c.HandleIfCreated())
    ::SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  c.SetVisible(layout.otherVisible);
}

void PChoice::Refresh() {
  DisplayLines();
  if (other_) DisplayOther();
  else CreateOther();
}

void PChoice::SetLines(std::vector<ChoiceLine> lines) {
  model_.SetLines(std::move(lines));
  Refresh();
}

void PChoice::Delete(std::intptr_t tag) {
  if (model_.Delete(tag)) Refresh();
}

void PChoice::SetListIndex(int index) {
  model_.SetListIndex(index);
  const int checked = model_.CheckedIndex();
  // A selection outside the lines shows no button checked, not the previous one.
  for (int i = 0; i < ButtonCount(); ++i) buttons_[static_cast<std::size_t>(i)]->SetChecked(i == checked);
  DisplayOther();
}

void PChoice::SetOtherIsActive(bool active) {
  model_.SetOtherIsActive(active);
  CreateOther();
}

void PChoice::SetOtherType(OType type) {
  model_.SetOtherType(type);
  CreateOther();
}

void PChoice::SetOtherText(std::string text) {
  model_.SetOtherText(std::move(text));
  if (other_) other_->SetText(OtherText());
}

void PChoice::SetInvertedList(bool inverted) {
  model_.InvertedList = inverted;
  Refresh();
}

void PChoice::SetHorizontal(bool horizontal) {
  model_.Horizontal = horizontal;
  Refresh();
}

void PChoice::SetAutoAlign(bool align) {
  model_.AutoAlign = align;
  DisplayLines();
  DisplayOther();
}

void PChoice::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  ui::WinControl::SetEnabled(enabled);
  model_.Enabled = enabled;
  for (auto& b : buttons_) b->SetEnabled(enabled);
  if (other_) other_->Control().SetEnabled(enabled);
}

void PChoice::SetTextColor(ui::Color color) {
  ui::Font font = GetFont();
  font.color = color;
  SetFont(font);
  for (auto& b : buttons_) b->SetFont(font);
}

void PChoice::Loaded() {
  ui::WinControl::Loaded();
  DisplayLines();
  CreateOther();
  for (auto& b : buttons_) b->Loaded();
  tabStop_ = false;
  if (HWND h = HandleIfCreated())
    ::SetWindowLongPtrW(h, GWL_STYLE, ::GetWindowLongPtrW(h, GWL_STYLE) & ~LONG_PTR(WS_TABSTOP));
}

void PChoice::ButtonClicked() {
  for (int i = 0; i < ButtonCount(); ++i) {
    if (!buttons_[static_cast<std::size_t>(i)]->Checked()) continue;
    if (i == ListIndex()) return;
    model_.SetListIndex(i);
    DisplayOther();
    if (OnChange) OnChange(*this);
    return;
  }
}

void PChoice::OtherChanged() {
  if (closing_ || !other_) return;
  model_.OtherEdited(other_->Text());
  if (OnChange) OnChange(*this);
}

}  // namespace orvalis::controls
