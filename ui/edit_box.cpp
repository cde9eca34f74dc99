// The edit box.
#include "ui/edit_box.h"

namespace orvalis::ui {

EditBox::EditBox() { color_ = SystemColor(COLOR_WINDOW); }

void EditBox::MakeCreateParams(CreateParams& params) {
  WinControl::MakeCreateParams(params);
  params.className = L"EDIT";
  params.systemClass = true;
  params.style |= ES_AUTOHSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

}  // namespace orvalis::ui
