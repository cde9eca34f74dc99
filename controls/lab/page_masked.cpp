// Page "masked": three masked edits as a host form uses them.
//   MaskEdit1  mask "0000 AA"
//   MaskEdit2  mask "00-00"
//   MaskEdit3  mask "00-00", the change reported when the field is left
// Each echo box shows the host's value, " #" and the change events so far,
// after every change or exit event. btnNext takes the focus away.
#include <deque>
#include <string>

#include "controls/lab/lab_page.h"
#include "controls/basics/pbutton.h"
#include "controls/entry/pedit.h"

namespace orvalis::lab {
namespace {

class MaskedPage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {420, 170}; }

  void Build(LabHost& host) override {
    host_ = &host;
    const struct {
      const char* name;
      const char* mask;
      bool changeOnExit;
    } edits[] = {{"MaskEdit1", "0000 AA", false}, {"MaskEdit2", "00-00", false}, {"MaskEdit3", "00-00", true}};
    int y = 16;
    for (const auto& e : edits) {
      host.AddCaption(e.mask, 16, y + 3, 70);
      auto& edit = host.Add<controls::PEdit>(e.name, 90, y, 120, 22);
      edit.SetFormat(e.mask);
      edit.SetChangeOnExit(e.changeOnExit);
      edit.SetLanguage(host.Language());
      host.AddEcho(e.name, 226, y, 170, 22);
      auto* count = &counts_.emplace_back(0);
      edit.OnChange = [this, count](controls::PEdit& c) {
        ++*count;
        Echo(c, *count);
      };
      edit.OnExit = [this, count](ui::Control& c) { Echo(static_cast<controls::PEdit&>(c), *count); };
      edits_.push_back(&edit);
      y += 34;
    }
    auto& next = host.Add<controls::PButton>("btnNext", 90, y + 4, 120, 28);
    next.SetCaption(host.Language() == "NLD" ? "Volgende" : "Next");
  }

  void Shown(LabHost&) override {
    for (auto* edit : edits_) Echo(*edit, 0);
  }

 private:
  void Echo(controls::PEdit& edit, int count) {
    host_->Echo(edit.Name(), edit.GetValue() + " #" + std::to_string(count));
  }

  LabHost* host_ = nullptr;
  std::vector<controls::PEdit*> edits_;
  std::deque<int> counts_;
};

}  // namespace

std::unique_ptr<LabPage> MakeMaskedPage() { return std::make_unique<MaskedPage>(); }

}  // namespace orvalis::lab
