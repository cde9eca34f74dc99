// Page "tagged": TagCombo1 (Alpha, Beta, Gamma tagged A1, B2, C3, with hints)
// and TagCheck1 (a, b, c tagged 1, 2, 11). The echo boxes show the combo's Tag
// and the list's Tags (line feeds as "|"), " #" and the change events so far.
// TagIn with btnSetTag and btnSetTags hands a text to SetTag or to the Tags
// setter, "|" standing for a line feed.
#include <algorithm>

#include "controls/lab/lab_page.h"
#include "controls/lists/pchecklistbox.h"
#include "controls/lists/pcombobox.h"
#include "ui/button.h"

namespace orvalis::lab {
namespace {

std::string Swapped(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

class TaggedPage final : public LabPage {
 public:
  [[nodiscard]] ui::Size ClientSize() const override { return {420, 230}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    auto text = [dutch](const char* english, const char* dutchText) {
      return std::string(dutch ? dutchText : english);
    };

    host.AddCaption(text("Letter", "Letter"), 16, 19, 100);
    combo_ = &host.Add<controls::PComboBox>("TagCombo1", 120, 16, 145, 21);
    combo_->AddTag("Alpha", "A1", text("The first letter", "De eerste letter"));
    combo_->AddTag("Beta", "B2", text("The second letter", "De tweede letter"));
    combo_->AddTag("Gamma", "C3", std::string());
    combo_->SetTag("A1");
    host.AddEcho("TagCombo1", 280, 16, 124, 21);
    combo_->OnChange = [this, &host](controls::PComboBox&) {
      ++comboChanges_;
      EchoCombo(host);
    };

    host.AddCaption(text("Options", "Opties"), 16, 55, 100);
    check_ = &host.Add<controls::PCheckListBox>("TagCheck1", 120, 52, 145, 57);
    check_->AddTag("a", "1");
    check_->AddTag("b", "2");
    check_->AddTag("c", "11");
    host.AddEcho("TagCheck1", 280, 52, 124, 21);
    check_->OnClickCheck = [this, &host](controls::PCheckListBox&, int) {
      ++checkChanges_;
      EchoCheck(host);
    };

    host.AddCaption(text("Tag text", "Tagtekst"), 16, 131, 100);
    in_ = &host.Add<ui::EditBox>("TagIn", 120, 128, 145, 21);
    auto& setTag = host.Add<ui::Button>("btnSetTag", 120, 160, 110, 28);
    setTag.SetCaption(text("Set tag", "Tag zetten"));
    setTag.OnClick = [this, &host](ui::Control&) {
      combo_->SetTag(in_->Text());
      EchoCombo(host);
    };
    auto& setTags = host.Add<ui::Button>("btnSetTags", 240, 160, 110, 28);
    setTags.SetCaption(text("Set tags", "Tags zetten"));
    setTags.OnClick = [this, &host](ui::Control&) {
      check_->SetTags(Swapped(in_->Text(), '|', '\n'));
      EchoCheck(host);
    };
  }

  void Shown(LabHost& host) override {
    EchoCombo(host);
    EchoCheck(host);
  }

 private:
  void EchoCombo(LabHost& host) { host.Echo("TagCombo1", combo_->GetTag() + " #" + std::to_string(comboChanges_)); }
  void EchoCheck(LabHost& host) {
    host.Echo("TagCheck1", Swapped(check_->GetTags(), '\n', '|') + " #" + std::to_string(checkChanges_));
  }

  controls::PComboBox* combo_ = nullptr;
  controls::PCheckListBox* check_ = nullptr;
  ui::EditBox* in_ = nullptr;
  int comboChanges_ = 0;
  int checkChanges_ = 0;
};

}  // namespace

std::unique_ptr<LabPage> MakeTaggedPage() { return std::make_unique<TaggedPage>(); }

}  // namespace orvalis::lab
