// The rich text editor's bars and command state: the tool bar with its font
// boxes and hints, the ruler (tab bar) and the settings of the editor commands.
// The commands themselves are PRichEdit's (prichedit_format.cpp,
// prichedit_keys.cpp, prichedit_menus.cpp, prichedit_find_print.cpp).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <richole.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/rich/editor_rules.h"
#include "ui/control.h"

namespace orvalis::controls {

class PRichEdit;

struct ImageListPolicy {
  static HIMAGELIST Invalid() noexcept { return nullptr; }
  static void Close(HIMAGELIST list) noexcept { ::ImageList_Destroy(list); }
};
using unique_himagelist = win::unique_any<ImageListPolicy>;

// A drop-down list box on the tool bar.
class RichComboBox : public ui::WinControl {
 public:
  explicit RichComboBox(bool sorted) : sorted_(sorted) {}
  // Shows `text`, selecting the item that has it, or nothing.
  void ShowText(const std::string& text);
  [[nodiscard]] std::string SelectedText() const;
  void AddItem(const std::string& text);
  std::function<void()> OnChange;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void WndProc(ui::Message& m) override;

 private:
  bool sorted_;
};

// The tool bar: one button per item of ToolItems(), command id 100 + index.
class RichToolBar : public ui::WinControl {
 public:
  explicit RichToolBar(PRichEdit& owner);

  [[nodiscard]] static int CommandId(ToolCommand command);
  // Shows the items the settings allow and puts the boxes over their places.
  void Refresh(const ToolBarState& state);
  void SetHints(bool dutch);
  // The bar, each of its buttons and the font boxes follow the control.
  void SetAllEnabled(bool enabled);
  void SetButton(ToolCommand command, ButtonState state);
  [[nodiscard]] ButtonState Button(ToolCommand command);
  // The button's rectangle in the tool bar's client coordinates.
  [[nodiscard]] RECT ButtonRect(ToolCommand command);
  [[nodiscard]] int BarHeight();
  [[nodiscard]] RichComboBox& FontName() { return fontName_; }
  [[nodiscard]] RichComboBox& FontSize() { return fontSize_; }

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void WndProc(ui::Message& m) override;

 private:
  void PlaceBoxes();

  PRichEdit& owner_;
  unique_himagelist images_;
  RichComboBox fontName_{true};
  RichComboBox fontSize_{false};
  ToolBarState state_;
  bool dutch_ = true;
};

// The ruler: indents and tab stops of the current paragraph, dragged with the mouse.
class RichRuler : public ui::WinControl {
 public:
  explicit RichRuler(PRichEdit& owner) : owner_(owner) {}
  // The height of "A" in an 8-point font plus 3 pixels.
  [[nodiscard]] static int RulerHeight();

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void Paint(ui::Canvas& canvas) override;
  void MouseDown(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseMove(unsigned keys, int x, int y) override;
  void MouseUp(ui::MouseButton button, unsigned keys, int x, int y) override;

 private:
  // The paragraph's marks in ruler pixels, and the pixel of point 0.
  [[nodiscard]] RulerMarks Marks(int& origin);
  PRichEdit& owner_;
  RulerHit drag_;
  bool moved_ = false;
};

// What the editor commands keep between calls.
struct RichEditorBars {
  explicit RichEditorBars(PRichEdit& owner) : owner(owner) {}
  PRichEdit& owner;
  bool showToolBar = true;
  bool showTabBar = true;
  bool showZoom = false;
  bool showPrint = false;
  bool showFind = false;
  bool showMenu = false;
  bool showInsertObject = false;
  bool useOle = true;
  bool autoHideBars = false;
  bool innerFocused = false;
  int maxLines = 0;
  int maxLineLength = 0;
  std::string contextHelp;
  // The find dialog's last text and settings.
  std::string findText;
  bool findEntered = false;
  bool matchCase = false;
  bool searchUp = false;
  // A key the editor took: its character message is swallowed too.
  bool swallowChar = false;
  std::unique_ptr<RichToolBar> toolBar;
  std::unique_ptr<RichRuler> ruler;
};

}  // namespace orvalis::controls
