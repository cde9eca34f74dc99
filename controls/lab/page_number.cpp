// Page "number": three number edits as a host configures them. NumEdit1 is an
// amount (two decimals, seven integer digits, a sign, trailing zeros kept,
// "EUR" after it, zero shown empty), NumEdit2 a hexadecimal number, NumEdit3
// two decimals reported only on leaving. Each echo box shows the value with
// "." as the decimal point, " #" and the number of change events so far.
#include "controls/lab/lab_page.h"
#include "controls/entry/pnumedit.h"
#include "ui/button.h"

namespace orvalis::lab {
namespace {

class NumberPage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {420, 190}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    struct Row {
      const char* name;
      const char* english;
      const char* dutch;
    };
    const Row rows[] = {{"NumEdit1", "Amount", "Bedrag"},
                        {"NumEdit2", "Hexadecimal", "Hexadecimaal"},
                        {"NumEdit3", "On leaving", "Bij verlaten"}};
    int y = 16;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      host.AddCaption(dutch ? rows[i].dutch : rows[i].english, 16, y + 3, 100);
      edits_[i] = &host.Add<controls::PNumEdit>(rows[i].name, 120, y, 140, 21);
      host.AddEcho(rows[i].name, 276, y, 128, 21);
      controls::PNumEdit& edit = *edits_[i];
      edit.OnChange = [this, i, &host](controls::PNumEdit&) {
        ++changes_[i];
        Echo(host, i);
      };
      edit.OnExit = [this, i, &host](ui::Control&) { Echo(host, i); };
      y += 36;
    }
    controls::PNumEdit& amount = *edits_[0];
    amount.SetDecimalLen(2);
    amount.SetLength(7);
    amount.SetMayNegative(true);
    amount.SetMinimalZero(false);
    amount.SetDisplayDecimals(true);
    amount.SetSuffix("EUR");
    edits_[1]->SetType(controls::PNumEdit_Type::pntHexadecimal);
    edits_[2]->SetDecimalLen(2);
    edits_[2]->SetChangeOnExit(true);
    auto& next = host.Add<ui::Button>("btnNext", 120, y + 8, 100, 28);
    next.SetCaption(dutch ? "Volgende" : "Next");
  }

  void Shown(LabHost& host) override {
    for (std::size_t i = 0; i < std::size(edits_); ++i) Echo(host, i);
  }

 private:
  void Echo(LabHost& host, std::size_t i) {
    const controls::PNumEdit& edit = *edits_[i];
    const int decimals = edit.GetType() == controls::PNumEdit_Type::pntHexadecimal ? 0 : edit.GetDecimalLen();
    host.Echo(edit.Name(), controls::FormatNumber(edit.GetValue(), decimals, false, edit.GetDisplayDecimals(), '.',
                                                  '\0') +
                               " #" + std::to_string(changes_[i]));
  }

  controls::PNumEdit* edits_[3] = {};
  int changes_[3] = {};
};

}  // namespace

std::unique_ptr<LabPage> MakeNumberPage() { return std::make_unique<NumberPage>(); }

}  // namespace orvalis::lab
