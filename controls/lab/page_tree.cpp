// Page "tree": Tree1, a tree view as a host fills it: one root item with two
// parents of three children each, every item tagged but one, NeedTag and
// MultiSelect on, one caption of 300 characters. Tree1Echo shows the tags of
// the selected items as the host reads them, " #" and the change count.
#include <string>

#include "controls/lab/lab_page.h"
#include "controls/lists/ptreeview.h"

namespace orvalis::lab {
namespace {

class TreePage final : public LabPage {
 public:
  [[nodiscard]] ui::Size ClientSize() const override { return {460, 320}; }

  void Build(LabHost& host) override {
    const bool dutch = host.Language() == "NLD";
    tree_ = &host.Add<controls::PTreeView>("Tree1", 16, 16, 428, 250);
    host.AddCaption(dutch ? "Gekozen" : "Selected", 16, 285, 80);
    host.AddEcho("Tree1", 100, 282, 344, 21);
    tree_->SetAsTree(true);
    tree_->SetNeedTag(true);
    tree_->SetMultiSelect(true);
    tree_->OnChanged = [this, &host](controls::PTreeView&) {
      ++changes_;
      Echo(host);
    };

    struct Entry {
      const char* english;
      const char* dutch;
      const char* tag;  // none: untagged
      int data;
    };
    const Entry fruit[] = {{"Apple", "Appel", "apple", 11}, {"Pear", "Peer", nullptr, 12}, {"", "", "cherry", 13}};
    const Entry vegetables[] = {{"Bean", "Boon", "bean", 21}, {"Carrot", "Wortel", "carrot", 22},
                                {"Leek", "Prei", "leek", 23}};
    const auto add = [dutch](controls::PTreeItem& parent, const Entry& e) -> controls::PTreeItem& {
      controls::PTreeItem& item = parent.AddChild(dutch ? e.dutch : e.english, e.data);
      if (e.tag) item.SetTag(e.tag);
      return item;
    };
    controls::PTreeItem& root = add(tree_->Root(), {"Garden", "Tuin", "garden", 1});
    root_ = &root;
    controls::PTreeItem& fruits = add(root, {"Fruit", "Fruit", "fruit", 10});
    for (const Entry& e : fruit) add(fruits, e);
    fruits.Children().back()->Text = LongCaption(dutch);
    controls::PTreeItem& greens = add(root, {"Vegetables", "Groenten", "veg", 20});
    for (const Entry& e : vegetables) add(greens, e);
  }

  void Shown(LabHost& host) override {
    tree_->CreateNodes(tree_->Root());
    tree_->Expand(controls::PTreeView::NodeOf(*root_));
    Echo(host);
  }

 private:
  // 300 characters: more than a node shows.
  static std::string LongCaption(bool dutch) {
    std::string text = dutch ? "Kers met een naam van driehonderd tekens:" : "Cherry with a name of three hundred characters:";
    for (int n = 1; text.size() < 300; ++n) {
      text += ' ';
      text += std::to_string(n);
    }
    text.resize(300);
    return text;
  }

  void Echo(LabHost& host) {
    std::string tags;
    for (int i = 0; i < tree_->GetSelCount(); ++i) {
      if (i) tags += ',';
      tags += tree_->GetItem(tree_->GetSel(i)).Tag();
    }
    host.Echo(tree_->Name(), tags + " #" + std::to_string(changes_));
  }

  controls::PTreeView* tree_ = nullptr;
  controls::PTreeItem* root_ = nullptr;
  int changes_ = 0;
};

}  // namespace

std::unique_ptr<LabPage> MakeTreePage() { return std::make_unique<TreePage>(); }

}  // namespace orvalis::lab
