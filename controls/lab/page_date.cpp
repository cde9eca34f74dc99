// Page "date": two date edits as a host form uses them.
//   DateEdit1  no StartDate: ">" on an empty field offers nothing
//   DateEdit2  the change reported when the field is left
// Each echo box shows the host's date as yyyy-mm-dd (empty for none), " #"
// and the change events so far, after every change and when the focus comes
// to btnNext (the edits raise no exit event). btnNext takes the focus away;
// F4 or a double-click opens a field's calendar.
#include <cstdio>
#include <deque>
#include <string>

#include "controls/lab/lab_page.h"
#include "controls/basics/pbutton.h"
#include "controls/entry/pdateedit.h"

namespace orvalis::lab {
namespace {

std::string IsoDate(double date) {
  const int whole = controls::WholeDays(date).value_or(0);
  if (whole == 0) return {};
  const controls::CalendarDay c = controls::DayOfNumber(whole);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
  return text;
}

class DatePage : public LabPage {
 public:
  ui::Size ClientSize() const override { return {400, 136}; }

  void Build(LabHost& host) override {
    host_ = &host;
    const bool dutch = host.Language() == "NLD";
    const struct {
      const char* name;
      const char* caption;
      bool changeOnExit;
    } edits[] = {{"DateEdit1", dutch ? "Datum" : "Date", false},
                 {"DateEdit2", dutch ? "Bij verlaten" : "On exit", true}};
    int y = 16;
    for (const auto& e : edits) {
      host.AddCaption(e.caption, 16, y + 3, 80);
      auto& edit = host.Add<controls::PDateEdit>(e.name, 100, y, 110, 22);
      edit.SetChangeOnExit(e.changeOnExit);
      host.AddEcho(e.name, 226, y, 150, 22);
      auto* count = &counts_.emplace_back(0);
      edit.OnChange = [this, count](controls::PDateEdit& c) {
        ++*count;
        Echo(c, *count);
      };
      edits_.push_back(&edit);
      y += 34;
    }
    auto& next = host.Add<controls::PButton>("btnNext", 100, y + 4, 110, 28);
    next.SetCaption(dutch ? "Volgende" : "Next");
    // The edits raise no exit event: the page reads them back, as a host
    // would, when the focus has moved on to Next.
    next.OnEnter = [this](ui::Control&) {
      for (std::size_t i = 0; i < edits_.size(); ++i) Echo(*edits_[i], counts_[i]);
    };
  }

  void Shown(LabHost&) override {
    for (auto* edit : edits_) Echo(*edit, 0);
  }

 private:
  void Echo(controls::PDateEdit& edit, int count) {
    host_->Echo(edit.Name(), IsoDate(edit.GetDate()) + " #" + std::to_string(count));
  }

  LabHost* host_ = nullptr;
  std::vector<controls::PDateEdit*> edits_;
  std::deque<int> counts_;
};

}  // namespace

std::unique_ptr<LabPage> MakeDatePage() { return std::make_unique<DatePage>(); }

}  // namespace orvalis::lab
