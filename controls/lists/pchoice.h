// PChoice: mutually exclusive choices as a column or a row of radio buttons,
// built at run time from its lines, with an optional "other" editor beside or
// under the last choice that shows only while that choice is selected. The
// rules and the layout arithmetic live in ChoiceModel and LayoutChoice.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/lists/pchoice_model.h"
#include "ui/control.h"

namespace orvalis::controls {

class ChoiceButton;
class OtherEditor;
class PRadioButton;

class PChoice : public ui::WinControl {
 public:
  PChoice();
  ~PChoice() override;

  // The height that fits all lines (the current height when horizontal).
  [[nodiscard]] int AutoHeight() const;
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  // Height := AutoHeight.
  void Fit();

  [[nodiscard]] const std::vector<ChoiceLine>& Lines() const { return model_.Lines(); }
  void SetLines(std::vector<ChoiceLine> lines);
  // Shows the lines again and lays out the editor (creating it when missing).
  void Refresh();
  // Removes the first line whose tag is `tag`; no such line changes nothing.
  void Delete(std::intptr_t tag);

  [[nodiscard]] int ListIndex() const { return model_.ListIndex(); }
  void SetListIndex(int index);
  [[nodiscard]] bool OtherIsActive() const { return model_.OtherIsActive(); }
  void SetOtherIsActive(bool active);
  [[nodiscard]] OType OtherType() const { return model_.OtherType(); }
  void SetOtherType(OType type);
  [[nodiscard]] const std::string& OtherText() const { return model_.OtherText(); }
  // From the host: no change event.
  void SetOtherText(std::string text);
  [[nodiscard]] bool InvertedList() const { return model_.InvertedList; }
  void SetInvertedList(bool inverted);
  [[nodiscard]] bool Horizontal() const { return model_.Horizontal; }
  void SetHorizontal(bool horizontal);
  [[nodiscard]] bool AutoAlign() const { return model_.AutoAlign; }
  void SetAutoAlign(bool align);
  // Passed on to every radio button and to the editor.
  void SetEnabled(bool enabled) override;
  [[nodiscard]] ui::Color TextColor() const { return GetFont().color; }
  void SetTextColor(ui::Color color);

  // Stored for the host; the control does not read them.
  bool ColumnFooter = false;
  bool RowHeader = false;
  bool StoreInFile = true;
  bool CalcFormControls = false;
  bool CalcInput = false;
  bool CalcControls = false;
  bool CalcForms = false;
  bool QQ = false;

  // After a click moved the selection or the editor's text changed.
  std::function<void(PChoice&)> OnChange;

  // Shows the lines, creates the editor and takes the control's own tab stop away.
  void Loaded() override;

  // What is on the control now: button i is named Name() + "_" + i, the
  // editor Name() + "_Other".
  [[nodiscard]] int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  [[nodiscard]] PRadioButton* Button(int i) const;
  [[nodiscard]] ui::WinControl* OtherEditorControl() const;
  // The screen's pixels per inch, read once: the layout's scale.
  [[nodiscard]] static int ScreenDpi();

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(ui::Message& m) override;
  void BoundsChanged() override;

 private:
  void DisplayLines();
  void CreateOther();
  void DisplayOther();
  void ButtonClicked();
  void OtherChanged();
  // Old buttons and editors may be in the middle of their own click or change
  // when they are replaced: they are hidden now and freed from the queue.
  void RetireLater();

  ChoiceModel model_;
  std::vector<std::unique_ptr<ChoiceButton>> buttons_;
  std::unique_ptr<OtherEditor> other_;
  std::vector<std::unique_ptr<ChoiceButton>> retiredButtons_;
  std::vector<std::unique_ptr<OtherEditor>> retiredOthers_;
  ui::Size laidOut_{-1, -1};
  bool tabStop_ = true;
  bool closing_ = false;
};

}  // namespace orvalis::controls
