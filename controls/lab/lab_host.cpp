// The lab's window, its controls and their echo boxes.
#include "controls/lab/lab_page.h"

#include "ui/label.h"

namespace orvalis::lab {

void EchoBox::MakeCreateParams(CreateParams& params) {
  EditBox::MakeCreateParams(params);
  params.style |= ES_READONLY | ES_AUTOHSCROLL;
}

LabHost::LabHost(std::string language) : language_(std::move(language)) {
  form_.SetName("frmControls");
  form_.SetCaption("Orvalis controls");
  form_.SetBorderStyle(ui::BorderStyle::Single);
}

EchoBox& LabHost::AddEcho(const std::string& control, int x, int y, int w, int h) {
  auto& echo = Add<EchoBox>(control + "Echo", x, y, w, h);
  echo.SetColor(ui::SystemColor(COLOR_BTNFACE));
  return echo;
}

void LabHost::AddCaption(const std::string& text, int x, int y, int w) {
  auto& l = Add<ui::Label>("lbl" + std::to_string(controls_.size()), x, y, w, 16);
  l.SetAutoSize(false);
  l.SetBounds(x, y, w, 16);
  l.SetCaption(text);
}

void LabHost::Echo(const std::string& control, std::string_view text) {
  const std::string name = control + "Echo";
  for (auto& c : controls_)
    if (auto* echo = dynamic_cast<EchoBox*>(c.get()); echo != nullptr && echo->Name() == name) echo->SetText(text);
}

void LabHost::Loaded() {
  (void)form_.Handle();
  for (auto& c : controls_) c->Loaded();
}

}  // namespace orvalis::lab
