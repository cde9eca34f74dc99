// Application-wide services of the framework: the title used as message-box
// caption, message boxes, the message pump, hints and the screen cursor.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace orvalis::ui {

class Control;

class Application {
 public:
  // Common controls and the visual-styles binding of the process.
  static void Initialize();
  [[nodiscard]] static const std::string& Title();
  static void SetTitle(std::string title);
  // MessageBoxW over the active window with the title as caption.
  static int MessageDialog(std::string_view text, UINT flags = MB_OK);
  // Handles every waiting message; false once WM_QUIT has been seen.
  static bool ProcessMessages();
  // Registers, changes or removes the hint of a control with the hint window.
  static void UpdateHint(Control& control);
};

// The screen-wide cursor override: while it is not the default, every window
// of the framework shows it instead of its own.
class Screen {
 public:
  static constexpr int kDefault = 0;
  static constexpr int kHandPoint = -21;
  [[nodiscard]] static int Cursor();
  static void SetCursor(int cursor);
  [[nodiscard]] static HCURSOR CursorHandle();
};

}  // namespace orvalis::ui
