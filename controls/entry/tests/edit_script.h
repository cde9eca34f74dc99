// Drives a data-entry edit model with a script of typed characters and
// <tokens>: <bs> <esc> <del> <home> <shome> <left> <enter> <exit> <destroy>
// <cut> <clear> <sel:anchor,caret> <paste:text>. Keys the model leaves to the
// edit control are recorded as "!name" in `unhandled`.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "controls/entry/edit_model.h"

namespace orvalis::controls::testing {

template <class Model>
std::string RunScript(Model& m, std::string_view script) {
  std::string unhandled;
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != '<') {
      if (!m.KeyPress(static_cast<unsigned char>(script[i]))) unhandled += "!char";
      continue;
    }
    const std::size_t close = script.find('>', i);
    const std::string_view token = script.substr(i + 1, close - i - 1);
    i = close;
    if (token == "bs") {
      m.KeyPress(kCharBackspace);
    } else if (token == "esc") {
      m.KeyPress(kCharEscape);
    } else if (token == "del" || token == "home" || token == "shome" || token == "left") {
      const int key = token == "del" ? kKeyDelete : token == "left" ? kKeyLeft : kKeyHome;
      if (!m.KeyDown(key, token == "shome")) unhandled.append("!").append(token);
    } else if (token == "enter") {
      m.Enter();
    } else if (token == "exit") {
      m.Exit();
    } else if (token == "destroy") {
      if constexpr (requires { m.Destroy(); }) m.Destroy();
    } else if (token == "cut") {
      if (!m.Cut()) unhandled += "!cut";
    } else if (token == "clear") {
      if (!m.Clear()) unhandled += "!clear";
    } else if (token.starts_with("sel:")) {
      const std::size_t comma = token.find(',');
      m.SetSelection(std::stoul(std::string(token.substr(4, comma - 4))),
                     std::stoul(std::string(token.substr(comma + 1))));
    } else if (token.starts_with("paste:")) {
      m.Paste(token.substr(6));
    }
  }
  return unhandled;
}

}  // namespace orvalis::controls::testing
