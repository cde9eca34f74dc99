// The progress window of an install pass: a caption line, the current step or
// file, and a bar. Repainted explicitly, since the run pumps no messages while
// it works.
#pragma once

#include <windows.h>

#include <string>

namespace orvalis {

class ProgressWindow {
 public:
  ProgressWindow(const std::string& caption, int maximum);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  void SetText(const std::string& text);
  void SetPosition(int position);
  void Repaint();

 private:
  HWND window_ = nullptr;
  HWND lMain_ = nullptr;
  HWND label_ = nullptr;
  HWND bar_ = nullptr;
};

}  // namespace orvalis
