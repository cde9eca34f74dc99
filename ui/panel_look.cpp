// The framework panel's look.
#include "ui/panel_look.h"

namespace orvalis::ui {

void Frame3D(Canvas& canvas, Rect& r, Color topLeft, Color bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    int right = r.right - 1;
    int bottom = r.bottom - 1;
    canvas.PenColor(topLeft);
    canvas.MoveTo(r.left, bottom);
    canvas.LineTo(r.left, r.top);
    canvas.LineTo(right, r.top);
    canvas.PenColor(bottomRight);
    canvas.LineTo(right, bottom);
    canvas.LineTo(r.left - 1, bottom);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

void PaintPanelFrame(Canvas& canvas, const PanelFrame& panel) {
  Rect r{0, 0, panel.width, panel.height};
  auto bevel = [&](Bevel b) {
    if (b == Bevel::None) return;
    bool raised = b == Bevel::Raised;
    Frame3D(canvas, r, raised ? kBtnHighlight : kBtnShadow, raised ? kBtnShadow : kBtnHighlight, panel.bevelWidth);
  };
  bevel(panel.outer);
  bevel(panel.inner);
  canvas.BrushColor(panel.color);
  canvas.FillRect(r);
  if (!panel.caption.empty()) {
    unsigned align = panel.alignment == Alignment::Center         ? kDtCenter
                     : panel.alignment == Alignment::RightJustify ? kDtRight
                                                                  : kDtLeft;
    canvas.SetFont(panel.font);
    canvas.DrawTextRect(panel.caption, r, align | kDtVCenter | kDtSingleLine);
  }
}

}  // namespace orvalis::ui
