// Page "choice": Choice1 three lines in a column, Choice2 the same lines in a
// row 300 wide, Choice3 a column whose last line is the "other" choice with a
// number edit (Choice3_Other) beside it. The buttons are named Choice1_0 and
// so on. Each echo box shows ListIndex, "/", OtherText, " #" and the number of
// change events so far.
#include <string>
#include <vector>

#include "controls/lab/lab_page.h"
#include "controls/lists/pchoice.h"
#include "ui/button.h"

namespace orvalis::lab {
namespace {

class ChoicePage final : public LabPage {
 public:
  [[nodiscard]] ui::Size ClientSize() const override { return {600, 250}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    const std::vector<controls::ChoiceLine> lines = {{"One", 1}, {"Two", 2}, {"Three", 3}};
    struct Row {
      const char* name;
      const char* english;
      const char* dutch;
      int y;
      int width;
    };
    const Row rows[] = {{"Choice1", "Column", "Kolom", 16, 200},
                        {"Choice2", "Row", "Rij", 96, 300},
                        {"Choice3", "With other", "Met anders", 136, 300}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      const Row& row = rows[i];
      host.AddCaption(dutch ? row.dutch : row.english, 16, row.y + 2, 100);
      controls::PChoice& choice = host.Add<controls::PChoice>(row.name, 120, row.y, row.width, 21);
      host.AddEcho(row.name, 440, row.y, 144, 21);
      choice.OnChange = [this, i, &host](controls::PChoice&) {
        ++changes_[i];
        Echo(host, i);
      };
      choices_[i] = &choice;
    }
    choices_[0]->SetLines(lines);
    choices_[0]->Fit();
    choices_[1]->SetHorizontal(true);
    choices_[1]->SetLines(lines);
    choices_[2]->SetLines({{"One", 1}, {"Two", 2}, {dutch ? "Anders" : "Other", 3}});
    choices_[2]->SetOtherType(controls::OType::otPNumEdit);
    choices_[2]->SetOtherIsActive(true);
    choices_[2]->Fit();
    auto& next = host.Add<ui::Button>("btnNext", 120, 208, 100, 28);
    next.SetCaption(dutch ? "Volgende" : "Next");
  }

  void Shown(LabHost& host) override {
    for (std::size_t i = 0; i < std::size(choices_); ++i) Echo(host, i);
  }

 private:
  void Echo(LabHost& host, std::size_t i) {
    const controls::PChoice& c = *choices_[i];
    std::string other;
    for (const char ch : c.OtherText())
      if (ch != '\r') other += ch == '\n' ? '|' : ch;
    host.Echo(c.Name(), std::to_string(c.ListIndex()) + "/" + other + " #" + std::to_string(changes_[i]));
  }

  controls::PChoice* choices_[3] = {};
  int changes_[3] = {};
};

}  // namespace

std::unique_ptr<LabPage> MakeChoicePage() { return std::make_unique<ChoicePage>(); }

}  // namespace orvalis::lab
