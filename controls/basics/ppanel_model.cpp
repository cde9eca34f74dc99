// Paint algorithms of the panel's draw modes.
#include "controls/basics/ppanel_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvalis::controls {
namespace {

using ui::Canvas;
using ui::Rect;

Color Combine(int c0, int c1, int c2) { return Color(c0) + Color(c1) * 256 + Color(c2) * 65536; }

Color BlendFloat(Color from, Color to, double fraction) {
  auto channel = [&](int shift) {
    double a = (from >> shift) & 255;
    double b = (to >> shift) & 255;
    return int(std::trunc(a + fraction * (b - a)));
  };
  return Combine(channel(0), channel(8), channel(16));
}

// Nested outlines from the outside in; the innermost is filled with the box colour.
void BorderLoop(Canvas& c, const PanelLook& l, int W, int H) {
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  for (int i = 0; i < B; ++i) {
    c.PenColor(l.PanelPenColor);
    c.BrushColor(i == B - 1 ? l.PanelColor : l.PanelPenColor);
    c.RoundRect({i, i, W - S - i, H - S - i}, R, R);
  }
}

int RunOffset(const PanelLook& l, int extent) {
  return l.GradientSize != 0 ? extent - l.ShadowWidth - l.GradientSize - l.BoxHeight : 0;
}

double RunPercent(int j, int n) { return n == 0 ? 0.0 : j * 100.0 / n; }

void GradientHorizontal(Canvas& c, const PanelLook& l, int W, int H) {
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  c.PenColor(l.PanelPenColor);
  BorderLoop(c, l, W, H);
  int o = RunOffset(l, W);
  int n = W - S - 2 * (R + B) - o - 1;
  c.BrushColor(GradientColor(l, 0));
  c.RoundRect({B - 1, B - 1, 2 * (R + B), H - S - B + 1}, R, R);
  c.BrushColor(GradientColor(l, 100));
  c.RoundRect({W - S - 2 * (R + B), B - 1, W - S - B + 1, H - S - B + 1}, R, R);
  for (int j = 0; j <= n; ++j) {
    c.BrushColor(GradientColor(l, RunPercent(j, n)));
    int x = o + j + R + B;
    c.FillRect({x, B, x + 1, H - S - B});
  }
  if (l.GradientPositions) {
    DrawPositionMarker(c, W * l.Gradient1Pos / 100, H - B - S - 1);
    DrawPositionMarker(c, W * l.Gradient2Pos / 100, H - B - S - 1);
  }
}

void GradientVertical(Canvas& c, const PanelLook& l, int W, int H) {
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  c.PenColor(l.PanelPenColor);
  BorderLoop(c, l, W, H);
  int o = RunOffset(l, H);
  int n = H - S - 2 * (R + B) - o - 1;
  c.BrushColor(GradientColor(l, 0));
  c.RoundRect({B - 1, B - 1, W - S - B + 1, 2 * (R + B)}, R, R);
  c.BrushColor(GradientColor(l, 100));
  c.RoundRect({B - 1, H - S - B - 2 * (R + B), W - S - B + 1, H - S - B + 1}, R, R);
  for (int j = 0; j <= n; ++j) {
    c.BrushColor(GradientColor(l, RunPercent(j, n)));
    int y = o + j + R + B;
    c.FillRect({B, y, W - S - B, y + 1});
  }
}

void GradientBorder(Canvas& c, const PanelLook& l, int W, int H) {
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  for (int i = 0; i < B; ++i) {
    Color col = BlendColor(l.PanelPenColor, l.PanelColor, i, B);
    c.BrushColor(col);
    c.PenColor(col);
    c.RoundRect({i, i, W - S - i, H - S - i}, R, R);
  }
}

void Header(Canvas& c, const PanelLook& l, const ui::PanelFrame& f) {
  const int W = f.width, H = f.height;
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  const Color P = l.PanelColor, PP = l.PanelPenColor, G2 = l.Gradient2Color;
  BorderLoop(c, l, W, H);
  int o = RunOffset(l, W);
  int k = B != 0 ? B - 1 : 0;
  c.BrushColor(P);
  c.PenColor(B != 0 ? PP : P);
  c.RoundRect({k, k, 2 * (R + B), H - S - k}, R, R);
  c.PenColor(P);
  c.Rectangle({B, H - S - B + 1 - R, 2 * (R + B), H - S + 1});
  c.BrushColor(G2);
  c.PenColor(B != 0 ? PP : G2);
  c.RoundRect({W - S - 2 * (R + B), k, W - S - k, H - S - k}, R, R);
  c.PenColor(G2);
  c.Rectangle({W - S - 2 * (R + B), H - S - B + 1 - R, W - S - B, H - S});
  c.PenColor(PP);
  c.BrushColor(PP);
  c.Rectangle({0, H - S - B + 1 - R, B, H - S});
  c.Rectangle({W - S - B, H - S - B + 1 - R, W - S, H - S});
  int n = W - S - 2 * (R + B) - o;
  for (int j = 0; j <= n; ++j) {
    c.BrushColor(BlendColor(P, G2, j, n));
    int x = o + j + R + B;
    c.FillRect({x, B, x + 1, H - S});
  }
  c.DrawTextRect(f.caption, {10, 1, W, H}, ui::kDtSingleLine | ui::kDtVCenter);
}

void Card(Canvas& c, const PanelLook& l, int W, int H) {
  const int S = l.ShadowWidth, B = l.BorderSize, R = l.BoxHeight;
  c.PenColor(l.PanelPenColor);
  int o = RunOffset(l, W);
  c.BrushColor(l.PanelColor);
  c.RoundRect({0, 0, 2 * R, H - S + R}, R, R);
  c.BrushColor(l.Gradient2Color);
  c.RoundRect({W - S - 2 * R, 0, W - S, H - S + R}, R, R);
  int n = W - S - 2 * R - 2 * B - o;
  for (int j = 0; j <= n; ++j) {
    c.BrushColor(BlendColor(l.PanelColor, l.Gradient2Color, j, n));
    int x = o + j + R + B;
    c.FillRect({x, B, x + 1, H - S});
  }
  c.PenColor(l.PanelPenColor);
  c.MoveTo(0, H - 1);
  c.LineTo(W - 1, H - 1);
}

void Baseline(Canvas& c, const PanelLook& l, int W, int H) {
  c.BrushColor(l.PanelColor);
  c.FillRect({0, 0, W, H});
  for (int i = 0; i < l.BorderSize; ++i) {
    c.PenColor(l.PanelPenColor);
    c.MoveTo(0, H - i - 1);
    c.LineTo(W, H - i - 1);
  }
}

void CaptionTab(Canvas& c, const PanelLook& l, const ui::PanelFrame& f) {
  ui::SavePenBrush keep(c);
  const int R = l.BoxHeight;
  c.BrushColor(l.PanelPenColor);
  c.PenColor(l.PanelPenColor);
  c.SetFont(f.font);
  ui::Size text = c.TextExtent(f.caption);
  int w = std::max(text.cx + 20, R);
  int h = std::max(2 * text.cy, R);
  w = std::min(w, f.width);
  c.RoundRect({0, 0, w, h}, R, R);
  c.Rectangle({0, h - R + 1, R - 1, h});
  if (w < f.width)
    c.Rectangle({w - R + 1, 0, w, R - 1});
  else
    c.Rectangle({w - R + 1, h - R + 1, w, h});
  c.WriteText(10, h / 4, f.caption);
}

}  // namespace

Color BlendColor(Color from, Color to, int num, int den) {
  if (den == 0) return Combine(ui::RedOf(from), ui::GreenOf(from), ui::BlueOf(from));
  auto channel = [&](int shift) {
    int a = int((from >> shift) & 255);
    int b = int((to >> shift) & 255);
    return a + (b - a) * num / den;
  };
  return Combine(channel(0), channel(8), channel(16));
}

Color GradientColor(const PanelLook& look, double t) {
  int p1 = look.Gradient1Pos, p2 = look.Gradient2Pos, g = look.GradientWidth;
  if (p1 == 0 && p2 == 0) {
    p1 = 50;
    p2 = 100;
  }
  p1 = std::clamp(p1, 0, 100);
  p2 = std::clamp(p2, 0, 100);
  if (p2 < p1) p2 = p1;
  int w1 = g > 0 ? g / 2 : p1 > 0 ? p1 : g / 2;
  int w2 = g > 0 ? g / 2 : p2 < 100 ? 100 - p2 : g / 2;
  w1 = std::min(w1, p1);
  w2 = std::min(w2, 100 - p2);
  if (w1 + w2 > 0 && w1 + w2 > p2 - p1) {
    int m = (p2 - p1) / 2;
    w1 = w2 = m;
    if (w1 > p1) {
      w1 = p1;
      w2 = 2 * m - w1;
    }
    if (w2 > 100 - p2) {
      w2 = 100 - p2;
      w1 = 2 * m - w2;
    }
    w1 = std::min(w1, p1);
  }
  const int a = p1 - w1, b = p1 + w1, c = p2 - w2, d = p2 + w2;
  const Color P = look.PanelColor, C1 = look.Gradient1Color, C2 = look.Gradient2Color;
  if (t < a) return BlendFloat(P, P, 0);
  if (t < b) return BlendFloat(P, C1, (t - a) / (b - a));
  if (t <= c) return BlendFloat(C1, C1, 0);
  if (t <= d) return BlendFloat(C1, C2, (t - c) / (d - c));
  return BlendFloat(C2, C2, 0);
}

void DrawPositionMarker(Canvas& c, int x, int y) {
  auto polyline = [&](Color color, std::initializer_list<ui::Point> points) {
    c.PenColor(color);
    auto it = points.begin();
    c.MoveTo(it->x, it->y);
    for (++it; it != points.end(); ++it) c.LineTo(it->x, it->y);
  };
  polyline(0x000000, {{x, y - 7}, {x + 4, y - 3}, {x + 4, y}, {x - 4, y}, {x - 4, y - 3}, {x, y - 7}});
  polyline(0xFFFFFF, {{x, y - 6}, {x - 3, y - 3}, {x - 3, y - 1}});
  polyline(0x808080, {{x, y - 6}, {x + 3, y - 3}, {x + 3, y - 1}, {x - 4, y - 1}});
  const int tops[] = {4, 5, 6, 5, 4};
  for (int i = 0; i < 5; ++i) polyline(0xC0C0C0, {{x - 2 + i, y - 2}, {x - 2 + i, y - tops[i]}});
}

void DrawNail(Canvas& c, Color N, int x1, int y1, int x2, int y2) {
  const int d = (x2 - x1) / 2;
  const double D = d;
  const double A = y2 - y1;
  const double Bw = x2 - x1;
  c.SetPen(ui::Pen{c.GetPen().color, 1, ui::PenStyle::Clear});
  c.SetBrush(ui::Brush{c.GetBrush().color, ui::BrushStyle::Solid});
  for (int k = d; k >= 1; --k) {
    double t = D - k;
    auto lift = [&](int channel) { return Color(std::trunc(t * (255 - channel) / D)); };
    c.BrushColor(N + lift(ui::RedOf(N)) + 256 * lift(ui::GreenOf(N)) + 65536 * lift(ui::BlueOf(N)));
    c.Ellipse({int(std::trunc(x1 + 0.75 * t)), int(std::trunc(y1 + 0.75 * t)), int(std::trunc(x2 - 4 * t / 3)),
               int(std::trunc(y2 - 4 * t / 3))});
  }
  constexpr double pi = std::numbers::pi;
  auto X = [&](double phi) { return int(std::trunc(x1 + (Bw * std::cos(phi) + Bw - 1) / 2)); };
  auto Y = [&](double phi) { return int(std::trunc(y1 + (A * std::sin(phi) + A) / 2)); };
  c.SetPen(ui::Pen{N, 1, ui::PenStyle::Solid});
  c.MoveTo(X(3 * pi / 4) + 2, Y(pi / 4) - 3);
  c.LineTo(X(7 * pi / 4) - 1, Y(5 * pi / 4) - 1);
  c.MoveTo(X(3 * pi / 4) + 2, Y(pi / 4) - 2);
  c.LineTo(X(7 * pi / 4), Y(5 * pi / 4) - 1);
  c.PenColor(0xFFFFFF);
  c.MoveTo(X(3 * pi / 4) + 3, Y(pi / 4) - 2);
  c.LineTo(X(7 * pi / 4), Y(5 * pi / 4));
}

void PaintPanel(Canvas& c, ThemeSurface& theme, const PanelPaintInput& in) {
  const PanelLook& l = in.look;
  const ui::PanelFrame& f = in.frame;
  const int W = f.width, H = f.height;
  c.SetFont(f.font);
  if (in.visible && theme.DrawBackground(l.ThemePart, l.ThemeState, 0)) {
    theme.DrawTextRect(l.ThemePart, l.ThemeState, f.caption, {10, 1, W, H}, ui::kDtSingleLine | ui::kDtVCenter);
    return;
  }
  if (l.DrawMode != dmGradientHorizontal && l.DrawMode != dmGradientVertical) ui::PaintPanelFrame(c, f);
  if (!in.visible || l.DrawMode == dmNormal) return;
  {
    ui::SavePenBrush keep(c);
    const int S = l.ShadowWidth, R = l.BoxHeight;
    if (S != 0) {
      c.PenColor(l.ShadowPenColor);
      c.BrushColor(l.ShadowColor);
      c.RoundRect({S, S, W, H}, R, R);
    }
    switch (l.DrawMode) {
      case dmPanel: BorderLoop(c, l, W, H); break;
      case dmBaseline: Baseline(c, l, W, H); break;
      case dmGradientBorder: GradientBorder(c, l, W, H); break;
      case dmGradientHorizontal: GradientHorizontal(c, l, W, H); break;
      case dmGradientVertical: GradientVertical(c, l, W, H); break;
      case dmHeader: Header(c, l, f); break;
      case dmCard: Card(c, l, W, H); break;
      case dmNormal:
      case dmGradientDiagonal1:
      case dmGradientDiagonal2: break;
    }
  }
  if (l.NailSize > 0) {
    ui::SavePenBrush keep(c);
    const int N = l.NailSize, h = N / 2, S = l.ShadowWidth;
    const int CW = in.client.cx, CH = in.client.cy;
    DrawNail(c, l.NailColor, h, h, h + N, h + N);
    DrawNail(c, l.NailColor, h, CH - N - h - S, h + N, CH - h - S);
    DrawNail(c, l.NailColor, CW - h - N - S, h, CW - h - S, h + N);
    DrawNail(c, l.NailColor, CW - h - N - S, CH - N - h - S, CW - h - S, CH - h - S);
  }
  if (!f.caption.empty() && l.DrawMode != dmHeader) CaptionTab(c, l, f);
}

}  // namespace orvalis::controls
