// Page "postcode": ZipEdit1 reports every edit, ZipEdit2 only on leaving. Each
// echo box shows the code, " #" and the number of change events so far, read
// again at every change and when the focus comes to btnNext.
#include "controls/lab/lab_page.h"
#include "controls/entry/pzipedit.h"
#include "ui/button.h"

namespace orvalis::lab {
namespace {

class PostcodePage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {400, 150}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    const char* captions[2][2] = {{"Postcode", "Postcode"}, {"On leaving", "Bij verlaten"}};
    int y = 16;
    for (std::size_t i = 0; i < 2; ++i) {
      const std::string name = "ZipEdit" + std::to_string(i + 1);
      host.AddCaption(captions[i][dutch ? 1 : 0], 16, y + 3, 100);
      edits_[i] = &host.Add<controls::PZipEdit>(name, 120, y, 100, 21);
      host.AddEcho(name, 236, y, 148, 21);
      edits_[i]->OnChange = [this, i, &host](controls::PZipEdit&) {
        ++changes_[i];
        Echo(host, i);
      };
      y += 36;
    }
    edits_[1]->SetChangeOnExit(true);
    auto& next = host.Add<ui::Button>("btnNext", 120, y + 8, 100, 28);
    next.SetCaption(dutch ? "Volgende" : "Next");
    // The edits raise no exit event: the page reads them back, as a host
    // would, when the focus has moved on to Next.
    next.OnEnter = [this, &host](ui::Control&) {
      for (std::size_t i = 0; i < 2; ++i) Echo(host, i);
    };
  }

  void Shown(LabHost& host) override {
    for (std::size_t i = 0; i < 2; ++i) Echo(host, i);
  }

 private:
  void Echo(LabHost& host, std::size_t i) {
    host.Echo(edits_[i]->Name(), edits_[i]->GetValue() + " #" + std::to_string(changes_[i]));
  }

  controls::PZipEdit* edits_[2] = {};
  int changes_[2] = {};
};

}  // namespace

std::unique_ptr<LabPage> MakePostcodePage() { return std::make_unique<PostcodePage>(); }

}  // namespace orvalis::lab
