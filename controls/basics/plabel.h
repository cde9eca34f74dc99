// PLabel: the framework label that acts as a hyperlink when `Link` is set:
// underlined with the screen-wide hand cursor while the mouse is over it.
#pragma once

#include <cstdint>
#include <string>

#include "controls/basics/plabel_model.h"
#include "ui/label.h"

namespace orvalis::controls {

enum PLoadFromWordList : std::uint8_t { No, Yes, CheckFile };

class PLabel : public ui::Label, private LinkHost {
 public:
  PLabel();
  ~PLabel() override;

  [[nodiscard]] const std::string& Link() const { return link_; }
  void SetLink(std::string link) { link_ = std::move(link); }

  void WndProc(ui::Message& m) override;
  // Resets the screen cursor before the click event runs.
  void Click() override;

  // Stored only.
  bool RowHeader = false;
  bool ColumnHeader = false;
  bool ColumnFooter = false;
  bool LoadFromFile = false;
  bool QQ = false;
  PLoadFromWordList LoadFromWordList = No;
  ui::Control* HintBtn = nullptr;

 private:
  [[nodiscard]] std::uint8_t FontStyle() const override { return GetFont().style; }
  void SetFontStyle(std::uint8_t style) override;
  void SetScreenCursor(int cursor) override;

  std::string link_;
};

}  // namespace orvalis::controls
