// A theme for paint tests: answers as an available or absent theme would and
// keeps each call as one line, e.g. "background 1,5,0".
#pragma once

#include <string>
#include <vector>

#include "controls/basics/theme_surface.h"

namespace orvalis::controls::test {

class RecordingTheme final : public ThemeSurface {
 public:
  explicit RecordingTheme(bool available, int textWidth = 0) : available_(available), textWidth_(textWidth) {}

  std::vector<std::string> calls;

  bool DrawBackground(int part, int state, int sizeFlags) override {
    calls.push_back("background " + Nums(part, state, sizeFlags));
    return available_;
  }
  bool DrawPart(int part, int state, int sizeFlags) override {
    calls.push_back("part " + Nums(part, state, sizeFlags));
    return available_;
  }
  bool DrawTextRect(int part, int state, std::string_view text, const ui::Rect& r, unsigned flags) override {
    calls.push_back("text " + std::to_string(part) + "," + std::to_string(state) + " '" + std::string(text) + "' " +
                    Nums(r.left, r.top, r.right) + "," + std::to_string(r.bottom) + " flags=" + std::to_string(flags));
    return available_;
  }
  int TextWidth(int part, int state, std::string_view text, const ui::Rect&, unsigned flags) override {
    calls.push_back("width " + std::to_string(part) + "," + std::to_string(state) + " '" + std::string(text) +
                    "' flags=" + std::to_string(flags));
    return available_ ? textWidth_ : 0;
  }

 private:
  static std::string Nums(int a, int b, int c) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c);
  }
  bool available_;
  int textWidth_;
};

}  // namespace orvalis::controls::test
