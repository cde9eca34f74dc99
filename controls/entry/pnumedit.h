// PNumEdit: the number edit's window, an EDIT with right-aligned text and a
// prefix label at its left, around NumEditModel (which holds every rule).
#pragma once

#include <functional>
#include <string>

#include "controls/entry/entry_edit.h"
#include "controls/entry/pnumedit_model.h"
#include "win/unique_any.h"

namespace orvalis::controls {

// The shift state of PNumEdit's key event.
inline constexpr unsigned kKeyShift = 1, kKeyAlt = 2, kKeyCtrl = 4;

class PNumEdit : public EntryEdit {
 public:
  PNumEdit();
  // The window goes while the model still exists, so a pending ChangeOnExit change is reported.
  ~PNumEdit() override { DestroyHandle(); }

  [[nodiscard]] double GetValue() const { return model_.Value(); }
  void SetValue(double v) { Apply([&] { model_.SetValue(v); }); }
  [[nodiscard]] PNumEdit_Type GetType() const { return model_.Type(); }
  void SetType(PNumEdit_Type t) { Apply([&] { model_.SetType(t); }); }
  [[nodiscard]] char GetDecimalSign() const { return model_.DecimalSign(); }
  void SetDecimalSign(char c) { Apply([&] { model_.SetDecimalSign(c); }); }
  [[nodiscard]] char GetThousandSign() const { return model_.ThousandSign(); }
  void SetThousandSign(char c) { Apply([&] { model_.SetThousandSign(c); }); }
  [[nodiscard]] char GetNegSign() const { return model_.NegSign(); }
  void SetNegSign(char c) { Apply([&] { model_.SetNegSign(c); }); }
  [[nodiscard]] const std::string& GetPrefix() const { return model_.Prefix(); }
  void SetPrefix(std::string s) { Apply([&] { model_.SetPrefix(std::move(s)); }); }
  [[nodiscard]] const std::string& GetSuffix() const { return model_.Suffix(); }
  void SetSuffix(std::string s) { Apply([&] { model_.SetSuffix(std::move(s)); }); }
  [[nodiscard]] int GetLength() const { return model_.Length(); }
  void SetLength(int n) { Apply([&] { model_.SetLength(n); }); }
  [[nodiscard]] bool GetMayNegative() const { return model_.MayNegative(); }
  void SetMayNegative(bool b) { Apply([&] { model_.SetMayNegative(b); }); }
  [[nodiscard]] int GetDecimalLen() const { return model_.DecimalLen(); }
  void SetDecimalLen(int n) { Apply([&] { model_.SetDecimalLen(n); }); }
  [[nodiscard]] bool GetDisplayDecimals() const { return model_.DisplayDecimals(); }
  void SetDisplayDecimals(bool b) { Apply([&] { model_.SetDisplayDecimals(b); }); }
  [[nodiscard]] bool GetMinimalZero() const { return model_.MinimalZero(); }
  void SetMinimalZero(bool b) { Apply([&] { model_.SetMinimalZero(b); }); }
  [[nodiscard]] bool GetChangeOnExit() const { return model_.ChangeOnExit; }
  void SetChangeOnExit(bool b) { model_.ChangeOnExit = b; }
  // Left or right (the default) alignment of the text: ES_LEFT or ES_RIGHT.
  [[nodiscard]] DWORD GetAlignment() const { return alignment_; }
  void SetAlignment(DWORD alignment);
  StoredFlags& Stored() { return model_.Stored; }

  // The text of the window as the model made it.
  [[nodiscard]] const std::string& DisplayText() const { return model_.Text(); }

  std::function<void(PNumEdit&)> OnChange;
  // A key pressed in the field, before the field's own rules; setting `key`
  // to 0 swallows it. Keys a dialog takes for itself (Tab, Enter) are
  // reported too, when the dialog asks the field whether it wants them.
  // `shift` holds kKeyShift, kKeyAlt and kKeyCtrl.
  std::function<void(PNumEdit&, unsigned& key, unsigned shift)> OnKeyDown;
  // The mouse wheel turned over the field: the distance (positive away from
  // the user), and the same as one event a direction.
  std::function<void(PNumEdit&, int delta)> OnMouseWheel;
  std::function<void(PNumEdit&)> OnMouseWheelDown;
  std::function<void(PNumEdit&)> OnMouseWheelUp;

  void Loaded() override;
  void WndProc(ui::Message& m) override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  [[nodiscard]] const EditText& ModelEdit() const override { return model_.Edit(); }
  void ModelSelect(std::size_t anchor, std::size_t caret) override { model_.SetSelection(anchor, caret); }
  bool ModelKeyPress(char32_t ch) override { return model_.KeyPress(ch); }
  bool ModelKeyDown(int key, bool shift) override { return model_.KeyDown(key, shift); }
  void ModelEnter() override { model_.Enter(); }
  void ModelExit() override { model_.Exit(); }
  void ModelDestroy() override { model_.Destroy(); }
  std::optional<std::string> ModelCut() override { return model_.Cut(); }
  bool ModelClear() override { return model_.Clear(); }
  void ModelPaste(std::string_view clip) override { model_.Paste(clip); }
  void Shown() override;

 private:
  [[nodiscard]] static unsigned ShiftState();
  // Whether a dialog takes `key` from a control that answered WM_GETDLGCODE with `code`.
  [[nodiscard]] static bool DialogTakes(unsigned key, LRESULT code);
  template <typename F>
  void Apply(F&& change) {
    change();
    Show();
  }

  NumEditModel model_;
  DWORD alignment_ = ES_RIGHT;
  win::unique_window prefixLabel_;
};

}  // namespace orvalis::controls
