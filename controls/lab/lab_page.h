// The control lab's pages. A page builds its controls on the lab's form as a
// host program would, each with its designer name, and puts beside each one a
// read-only echo box (its name + "Echo") showing what the host reads back
// after every change or exit event. Each page lives in page_NAME.cpp and has
// one entry in the table of pages.cpp.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/edit_box.h"
#include "ui/form.h"

namespace orvalis::lab {

// A read-only single-line edit box: what a host reads back from a control.
class EchoBox : public ui::EditBox {
 protected:
  void MakeCreateParams(CreateParams& params) override;
};

// The lab's window and every control on it, owned for the life of the page.
class LabHost {
 public:
  LabHost(std::string language);
  LabHost(const LabHost&) = delete;
  LabHost& operator=(const LabHost&) = delete;

  [[nodiscard]] ui::Form& Form() { return form_; }
  // "NLD" or "ENU": every control with a Language gets this one.
  [[nodiscard]] const std::string& Language() const { return language_; }

  // A control named `name` on the form at (x, y), w × h.
  template <typename T>
  T& Add(const std::string& name, int x, int y, int w, int h) {
    auto owned = std::make_unique<T>();
    T& c = *owned;
    c.SetName(name);
    c.SetBounds(x, y, w, h);
    c.SetParent(&form_);
    controls_.push_back(std::move(owned));
    return c;
  }
  // The echo box of `control`, named control + "Echo".
  EchoBox& AddEcho(const std::string& control, int x, int y, int w, int h);
  // A caption in front of a control.
  void AddCaption(const std::string& text, int x, int y, int w);
  // Shows `text` in the echo box of `control`.
  void Echo(const std::string& control, std::string_view text);

  // Creates the windows and tells every control that loading is done.
  void Loaded();

 private:
  ui::Form form_;
  std::string language_;
  std::vector<std::unique_ptr<ui::Control>> controls_;
};

class LabPage {
 public:
  virtual ~LabPage() = default;
  // The client size of the lab's window for this page.
  [[nodiscard]] virtual ui::Size ClientSize() const = 0;
  // Adds the page's controls and hooks their events.
  virtual void Build(LabHost& host) = 0;
  // After the windows exist: first echoes, texts that need a window.
  virtual void Shown(LabHost&) {}
};

struct PageEntry {
  std::string_view name;
  std::unique_ptr<LabPage> (*make)();
};

// Every page, in the order of the table.
[[nodiscard]] std::span<const PageEntry> Pages();

std::unique_ptr<LabPage> MakeColorPage();
std::unique_ptr<LabPage> MakeRichEditPage();
std::unique_ptr<LabPage> MakeMaskedPage();
std::unique_ptr<LabPage> MakeDatePage();
std::unique_ptr<LabPage> MakeNumberPage();
std::unique_ptr<LabPage> MakePostcodePage();
std::unique_ptr<LabPage> MakeFormulaPage();
std::unique_ptr<LabPage> MakeChoicePage();
std::unique_ptr<LabPage> MakeTaggedPage();
std::unique_ptr<LabPage> MakeTreePage();

}  // namespace orvalis::lab
