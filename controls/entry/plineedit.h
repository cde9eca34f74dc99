// PLineEdit: the formula line editor's window. A read-only memo that shows
// LineEditModel's display text with the caret between tokens; typed
// characters, keys, clicks and the clipboard messages all go to the model,
// which holds every rule (controls/plineedit_model.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/entry/plineedit_model.h"
#include "controls/basics/pmemo.h"

namespace orvalis::controls {

class PLineEdit : public PMemo {
 public:
  // The control, the variable, whether the user asks to create or edit it
  // (false while a stored form is loaded) and the screen position for the
  // host's editor; for a new variable the result decides whether it stays.
  using EditVarEvent = std::function<bool(PLineEdit&, PVar&, bool edit, std::int32_t left, std::int32_t top)>;
  // The control, the request's client position and whether the host took it.
  using ContextPopupEvent = std::function<void(PLineEdit&, POINT pos, bool& handled)>;

  PLineEdit();

  // The stored form: the token string, then "@~" and each variable's definition.
  // These hide the window text on purpose; the window shows DisplayText().
  [[nodiscard]] std::string Text() const { return model_.Text(); }
  // Loads a stored form, shows it and updates the scroll bar; no change event.
  void SetText(std::string_view stored);

  [[nodiscard]] PLineType Type() const { return model_.Type; }
  void SetType(PLineType type) { model_.Type = type; }
  // The constants' names, "A" + i naming entry i; call Display() after a change.
  [[nodiscard]] std::vector<std::string>& ConstList() { return model_.ConstList; }
  [[nodiscard]] const std::vector<std::string>& GetConstList() const { return model_.ConstList; }
  [[nodiscard]] bool Locked() const { return model_.Locked; }
  void SetLocked(bool locked) { model_.Locked = locked; }

  // The memo's selection in display positions (UTF-16 units).
  [[nodiscard]] int SelStart() const;
  // Moves the caret to the token boundary at or after `pos`.
  void SetSelStart(int pos);
  [[nodiscard]] int SelLength() const;
  void SetSelLength(int length);

  [[nodiscard]] const EditVarEvent& GetOnEditVar() const { return onEditVar_; }
  void SetOnEditVar(EditVarEvent handler);
  std::function<void(PLineEdit&)> OnChange;
  ContextPopupEvent OnContextPopup;

  void InsertConst(int index) { (void)model_.InsertConst(index); }
  // Deletes the token at 1-based `position`.
  void DeletePos(std::size_t position) { model_.DeletePos(position); }
  [[nodiscard]] bool CanEdit() const { return model_.CanEdit(); }
  // Asks the host to edit the variable before the caret, its editor at `at` (screen).
  void DoEdit(POINT at);
  // The screen position of the last character before the caret.
  [[nodiscard]] POINT CursorPos();
  // Puts the formula into the window with the caret at the cursor.
  void Display();
  void DoChange();
  // Shows the vertical scroll bar when the formula's rows fill the window.
  void CheckScrolling();

  [[nodiscard]] const LineEditModel& Model() const { return model_; }

  void WndProc(ui::Message& m) override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  // The cursor from the memo's own caret, after it moved it (clicks, Up, Down).
  void TakeCaret();
  void ShowHintAt(POINT client);
  void ContextMenu(ui::Message& m);

  LineEditModel model_;
  EditVarEvent onEditVar_;
  bool displaying_ = false;
};

}  // namespace orvalis::controls
