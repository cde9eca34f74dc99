// PEdit: the masked edit. A subclassed EDIT window in front of PEditModel,
// which holds every rule; the view hands it typed characters, keys, the
// clipboard messages and focus changes, and shows its text and selection.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "controls/entry/pedit_model.h"
#include "ui/edit_box.h"

namespace orvalis::controls {

class PEdit : public ui::EditBox {
 public:
  PEdit();

  // The input mask ("0" digit, "A" upper-case letter, "a" lower-case letter,
  // anything else a literal); empty means free input.
  void SetFormat(std::string_view format) { model_.SetFormat(format); }
  [[nodiscard]] const std::string& GetFormat() const { return model_.Format(); }
  void SetChangeOnExit(bool value) { model_.SetChangeOnExit(value); }
  [[nodiscard]] bool GetChangeOnExit() const { return model_.ChangeOnExit(); }
  void SetFirstCapital(bool value) { model_.SetFirstCapital(value); }
  [[nodiscard]] bool GetFirstCapital() const { return model_.FirstCapital(); }
  void SetAutoHint(bool value) { model_.SetAutoHint(value); }
  [[nodiscard]] bool GetAutoHint() const { return model_.AutoHint(); }
  // "NLD" gives the Dutch complaint, anything else the English one.
  void SetLanguage(std::string language) { language_ = std::move(language); }
  [[nodiscard]] const std::string& Language() const { return language_; }
  [[nodiscard]] EditStoredFlags& Stored() { return model_.Stored(); }
  [[nodiscard]] const EditBounds& Org() const { return model_.Org(); }

  // The text; setting it runs the change rule like any other change.
  void SetValue(std::string_view text);
  [[nodiscard]] std::string GetValue() const { return model_.Text(); }

  std::function<void(PEdit&)> OnChange;

  void Loaded() override;
  void WndProc(ui::Message& m) override;

 protected:
  void HandleCreated() override { Show(); }

 private:
  void Show();
  void SyncSelection();
  void Pull();
  void Complain();

  PEditModel model_;
  std::string language_ = "ENU";
  bool showing_ = false;
};

}  // namespace orvalis::controls
