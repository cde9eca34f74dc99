// PZipEdit: the postcode edit's window, an EDIT around ZipEditModel (which
// holds every rule): "1234AB" while focused, "1234 AB" outside.
#pragma once

#include <functional>
#include <string>

#include "controls/entry/entry_edit.h"
#include "controls/entry/pzipedit_model.h"

namespace orvalis::controls {

class PZipEdit : public EntryEdit {
 public:
  PZipEdit();
  // The window goes while the model still exists, so a pending ChangeOnExit change is reported.
  ~PZipEdit() override { DestroyHandle(); }

  // The postcode as shown; a text that is no (partial) postcode is cleared.
  [[nodiscard]] const std::string& GetValue() const { return model_.Text(); }
  void SetValue(std::string text) {
    model_.SetText(std::move(text));
    Show();
  }
  // Changes reported on leaving the field instead of on every edit.
  [[nodiscard]] bool GetChangeOnExit() const { return model_.ChangeOnExit; }
  void SetChangeOnExit(bool b) { model_.ChangeOnExit = b; }
  StoredFlags& Stored() { return model_.Stored; }

  std::function<void(PZipEdit&)> OnChange;

  void Loaded() override;

 protected:
  // The postcode edit's own handling of the focus replaces the framework's:
  // it raises no enter or exit events.
  void DoEnter() override {}
  void DoExit() override {}
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

 private:
  ZipEditModel model_;
};

}  // namespace orvalis::controls
