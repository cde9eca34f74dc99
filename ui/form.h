// Top-level windows: border style, client size, screen-centred placement and a
// modal loop that ends when a modal result is set.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/control.h"

namespace orvalis::ui {

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum class BorderStyle : std::uint8_t { None, Single, Sizeable, Dialog };
enum class FormPosition : std::uint8_t { Designed, ScreenCenter };

class Form : public WinControl {
 public:
  Form();

  void SetCaption(std::string_view caption) { SetText(caption); }
  [[nodiscard]] BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style) { borderStyle_ = style; }
  [[nodiscard]] FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }
  // The outer size follows from the client size and the border style.
  void SetClientSize(int width, int height);

  [[nodiscard]] int GetModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // Shows the form with the other windows of the thread disabled and pumps
  // messages until a modal result is set or the form is closed; hides it again.
  int ShowModal();
  void Show();
  void Close();

  // The form a control stands on, or null.
  [[nodiscard]] static Form* Of(Control& control);

  std::function<void(Form&)> OnClose;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(Message& m) override;

 private:
  void PlaceOnScreen();
  bool ClickButton(bool defaultButton);

  BorderStyle borderStyle_ = BorderStyle::Sizeable;
  FormPosition position_ = FormPosition::Designed;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int modalResult_ = mrNone;
  bool modal_ = false;
};

}  // namespace orvalis::ui
