// EntryEdit: the window side of the data-entry edits. A subclassed EDIT window
// that hands typed characters, keys, focus changes and the clipboard messages
// to the control's model and then shows the model's text and selection; the
// rules themselves live in the models (pnumedit_model.h, pzipedit_model.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "controls/entry/edit_model.h"
#include "ui/control.h"

namespace orvalis::controls {

class EntryEdit : public ui::WinControl {
 public:
  EntryEdit();
  void WndProc(ui::Message& m) override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override { Show(); }
  // Puts the model's text and selection into the EDIT window.
  void Show();

  // The model this view forwards to.
  [[nodiscard]] virtual const EditText& ModelEdit() const = 0;
  virtual void ModelSelect(std::size_t anchor, std::size_t caret) = 0;
  virtual bool ModelKeyPress(char32_t ch) = 0;
  virtual bool ModelKeyDown(int key, bool shift) = 0;
  virtual void ModelEnter() = 0;
  virtual void ModelExit() = 0;
  virtual void ModelDestroy() {}
  virtual std::optional<std::string> ModelCut() = 0;
  virtual bool ModelClear() = 0;
  virtual void ModelPaste(std::string_view clip) = 0;
  // After Show: anything besides the text (the number edit's prefix label).
  virtual void Shown() {}

 private:
  // Takes the selection the EDIT window made itself (mouse, arrow keys).
  void ReadSelection();
};

}  // namespace orvalis::controls
