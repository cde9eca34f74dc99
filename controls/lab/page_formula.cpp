// Page "formula": LineEdit1 with the constants "Turnover" and "Costs" and a
// host variable editor that names each variable "Var" + its number, gives a
// new one the items x and y and appends z to one it is asked to edit. The
// echo shows the stored form, " #" and the number of change events;
// btnLoad loads FormulaIn's text into LineEdit1 as a stored form.
#include "controls/lab/lab_page.h"
#include "controls/entry/plineedit.h"
#include "ui/button.h"
#include "ui/edit_box.h"

namespace orvalis::lab {
namespace {

class FormulaPage final : public LabPage {
 public:
  [[nodiscard]] ui::Size ClientSize() const override { return {420, 210}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    host.AddCaption(dutch ? "Formule" : "Formula", 16, 19, 100);
    edit_ = &host.Add<controls::PLineEdit>("LineEdit1", 120, 16, 284, 64);
    host.AddCaption(dutch ? "Gelezen" : "Read back", 16, 95, 100);
    host.AddEcho("LineEdit1", 120, 92, 284, 21);
    host.AddCaption(dutch ? "Opgeslagen vorm" : "Stored form", 16, 131, 100);
    input_ = &host.Add<ui::EditBox>("FormulaIn", 120, 128, 284, 21);
    auto& load = host.Add<ui::Button>("btnLoad", 120, 164, 100, 28);
    load.SetCaption(dutch ? "Laden" : "Load");

    edit_->ConstList() = {"Turnover", "Costs"};
    edit_->SetOnEditVar([this](controls::PLineEdit&, controls::PVar& var, bool edit, std::int32_t, std::int32_t) {
      if (edit && !var.Caption.empty()) {
        var.Items.push_back("z");
        return true;
      }
      var.Caption = "Var" + std::to_string(++variables_);
      var.Hint = var.Caption;
      if (edit) {
        var.Items = {"x", "y"};
        if (var.Kind == 1) var.TextValue = "xy";
      }
      return true;
    });
    edit_->OnChange = [this, &host](controls::PLineEdit&) {
      ++changes_;
      Echo(host);
    };
    load.OnClick = [this, &host](ui::Control&) {
      edit_->SetText(input_->Text());
      Echo(host);
    };
  }

  void Shown(LabHost& host) override { Echo(host); }

 private:
  void Echo(LabHost& host) {
    std::string shown;
    for (const char c : edit_->Text() + " #" + std::to_string(changes_)) {
      if (c == '\n') shown += '|';
      else if (c != '\r') shown += c;
    }
    host.Echo(edit_->Name(), shown);
  }

  controls::PLineEdit* edit_ = nullptr;
  ui::EditBox* input_ = nullptr;
  int variables_ = 0;
  int changes_ = 0;
};

}  // namespace

std::unique_ptr<LabPage> MakeFormulaPage() { return std::make_unique<FormulaPage>(); }

}  // namespace orvalis::lab
