// Page "color": the colour selection as the rich text editor's colour commands
// use it. btnColor opens the dialog at its own bottom-left corner for the
// colour in ColorEcho (8 hex digits, which a test may overwrite), with the
// flags of the three check boxes; the choice goes back into ColorEcho and
// btnColorEcho shows 1 when the user confirmed, 0 otherwise.
#include <windows.h>

#include <cstdio>

#include "controls/dialogs/color_select.h"
#include "controls/lab/lab_page.h"
#include "controls/basics/pbutton.h"
#include "controls/basics/pcheckbox.h"
#include "core/hex.h"

namespace orvalis::lab {
namespace {

std::string HexColor(ui::Color c) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", unsigned(c));
  return text;
}

class ColorPage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {460, 190}; }

  void Build(LabHost& host) override {
    host_ = &host;
    button_ = &host.Add<controls::PButton>("btnColor", 16, 16, 120, 28);
    button_->SetCaption(host.Language() == "NLD" ? "Kleur..." : "Colour...");
    button_->OnClick = [this](ui::Control&) { Choose(); };
    host.AddEcho("btnColor", 150, 20, 60, 22);
    host.AddCaption(host.Language() == "NLD" ? "Kleur" : "Colour", 226, 23, 50);
    color_ = &host.AddEcho("Color", 280, 20, 160, 22);

    const struct {
      const char* name;
      unsigned flag;
      const char* english;
      const char* dutch;
    } flags[] = {
        {"chkFlag1", controls::kColorAllowFullOpen, "1: may open the editor", "1: editor mag open"},
        {"chkFlag2", controls::kColorOpenFull, "2: editor open at once", "2: editor meteen open"},
        {"chkFlag4", controls::kColorWindowIsNone, "4: window colour is none", "4: vensterkleur is geen"},
    };
    int y = 64;
    for (const auto& f : flags) {
      auto& box = host.Add<controls::PCheckBox>(f.name, 16, y, 200, 22);
      box.SetCaption(host.Language() == "NLD" ? f.dutch : f.english);
      const std::string name = f.name;
      box.OnClick = [this, &box, name](ui::Control&) { host_->Echo(name, box.Checked() ? "1" : "0"); };
      host.AddEcho(f.name, 230, y, 40, 22);
      checks_.push_back({&box, f.flag});
      y += 34;
    }
  }

  void Shown(LabHost& host) override {
    host.Echo("Color", HexColor(0x000000FF));
    host.Echo("btnColor", "");
    for (const auto& [box, flag] : checks_) host.Echo(box->Name(), box->Checked() ? "1" : "0");
  }

 private:
  void Choose() {
    ui::Color color = HexToColor(color_->Text());
    unsigned flags = 0;
    for (const auto& [box, flag] : checks_)
      if (box->Checked()) flags |= flag;
    RECT r;
    ::GetWindowRect(button_->Handle(), &r);
    const bool confirmed = controls::SelectColorAt(color, flags, r.left, r.bottom);
    host_->Echo("Color", HexColor(color));
    host_->Echo("btnColor", confirmed ? "1" : "0");
  }

  LabHost* host_ = nullptr;
  controls::PButton* button_ = nullptr;
  EchoBox* color_ = nullptr;
  std::vector<std::pair<controls::PCheckBox*, unsigned>> checks_;
};

}  // namespace

std::unique_ptr<LabPage> MakeColorPage() { return std::make_unique<ColorPage>(); }

}  // namespace orvalis::lab
