// PDateEdit: the date edit. A subclassed EDIT window in front of
// PDateEditModel, which holds every rule, and a month calendar pop-up opened
// with F4 or a double-click, placed below the field and kept on the screen.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "controls/entry/pdateedit_model.h"
#include "ui/edit_box.h"

namespace orvalis::controls {

class DatePopup;
class MonthCalendar;

class PDateEdit : public ui::EditBox {
 public:
  PDateEdit();
  ~PDateEdit() override;

  // Day numbers (day 1 is 31 December 1899); 0 is no date.
  void SetDate(double value);
  [[nodiscard]] double GetDate() const { return model_.Date(); }
  void SetStartDate(double value) { model_.SetStartDate(value); }
  [[nodiscard]] double GetStartDate() const { return model_.StartDate(); }
  void SetEndDate(double value) { model_.SetEndDate(value); }
  [[nodiscard]] double GetEndDate() const { return model_.EndDate(); }
  void SetChangeOnExit(bool value) { model_.SetChangeOnExit(value); }
  [[nodiscard]] bool GetChangeOnExit() const { return model_.ChangeOnExit(); }
  [[nodiscard]] EditStoredFlags& Stored() { return model_.Stored(); }

  std::function<void(PDateEdit&)> OnChange;

  // Opens the calendar below the field.
  void DoDatePick();
  [[nodiscard]] bool CalendarShown() const;
  // The pop-up's window once the control runs, else null. The pop-up carries
  // the control's name + "Pick", its calendar the name + "Calendar".
  [[nodiscard]] HWND CalendarHandle() const;

  void Loaded() override;
  void WndProc(ui::Message& m) override;

 protected:
  void HandleCreated() override;
  // The date edit's own handling of the focus replaces the framework's: it
  // raises no enter or exit events.
  void DoEnter() override {}
  void DoExit() override {}

 private:
  void Show();
  void SyncSelection();
  void CalendarPick();
  bool CalendarKey(int virtualKey);
  void HidePopup(bool refocus);

  PDateEditModel model_;
  std::unique_ptr<DatePopup> popup_;
  std::unique_ptr<MonthCalendar> calendar_;
  bool hiding_ = false;
};

}  // namespace orvalis::controls
