// Colour selection through the platform's colour dialog (ChooseColorW), placed
// by its hook on WM_INITDIALOG.
#include "controls/dialogs/color_select.h"

#include <windows.h>
#include <commdlg.h>

#include "controls/dialogs/placement.h"
#include "services/settings.h"
#include "ui/gdi_canvas.h"

namespace orvalis::controls {
namespace {

constexpr char kSection[] = "Settings";
constexpr char kCustomColorsValue[] = "CustomColors";

UINT_PTR CALLBACK PlaceDialog(HWND dialog, UINT msg, WPARAM, LPARAM) noexcept;

// The one dialog of the process and what its hook needs for the next showing.
// The dialog's data points into the object itself, so it is never copied or
// moved: it is made where it stays.
struct ColorDialog {
  ColorDialog() {
    cc.lStructSize = sizeof cc;
    cc.lpCustColors = custom;
    cc.lpfnHook = PlaceDialog;
  }
  ColorDialog(const ColorDialog&) = delete;
  ColorDialog& operator=(const ColorDialog&) = delete;

  CHOOSECOLORW cc = {};
  COLORREF custom[16] = {};
  int x = kNoPosition;
  int y = kNoPosition;
  HWND form = nullptr;  // the placement form when the dialog was asked for
};

ColorDialog& TheDialog() {
  static ColorDialog dialog;
  return dialog;
}

// Puts the dialog's top-left corner at the requested point, or centres it on
// the placement form, and keeps its right and bottom edges in the work area.
UINT_PTR CALLBACK PlaceDialog(HWND dialog, UINT msg, WPARAM, LPARAM) noexcept {
  if (msg != WM_INITDIALOG) return 0;
  try {
    const ColorDialog& d = TheDialog();
    RECT r;
    if (!::GetWindowRect(dialog, &r)) return TRUE;
    std::optional<ui::Rect> form;
    RECT f;
    if (d.form != nullptr && ::GetWindowRect(d.form, &f)) form = ui::Rect{f.left, f.top, f.right, f.bottom};
    // For (65535, 65535) no monitor matches, so the placement form's is used.
    ui::Rect area = WorkArea(MonitorAt(d.x, d.y), d.form);
    ui::Point p = DialogPosition(d.x, d.y, r.right - r.left, r.bottom - r.top, area, form);
    ::SetWindowPos(dialog, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } catch (...) {
    // Placement is a nicety: the dialog stays where the system put it.
  }
  return TRUE;
}

}  // namespace

bool SelectColorAt(ui::Color& color, unsigned flags, int x, int y) {
  ColorDialog& d = TheDialog();
  std::string customText = ReadSetting(kSection, kCustomColorsValue);
  if (customText.empty()) customText = kDefaultCustomColors;
  auto slots = CustomColorSlots(customText);
  std::copy(slots.begin(), slots.end(), d.custom);

  const ui::Color rgb = ui::ResolveColor(color);
  const ColorDialogStart start = StartColorDialog(color, rgb, flags, customText);
  d.x = x;
  d.y = y;
  d.form = PlacementForm();
  d.cc.hwndOwner = d.form;
  d.cc.rgbResult = start.start;
  d.cc.Flags = CC_RGBINIT | CC_ENABLEHOOK | (start.fullOpen ? CC_FULLOPEN : 0) |
               (start.preventFullOpen ? CC_PREVENTFULLOPEN : 0);

  const bool confirmed = ::ChooseColorW(&d.cc) != FALSE;
  color = ColorAfterDialog(color, rgb, flags, confirmed, d.cc.rgbResult);

  std::copy(std::begin(d.custom), std::end(d.custom), slots.begin());
  (void)WriteSetting(kSection, kCustomColorsValue, CustomColorText(slots), false);  // a failed write is ignored
  return confirmed;
}

}  // namespace orvalis::controls

