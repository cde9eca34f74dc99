// Tagged combo box and check list: the tag and hint lists beside the items,
// also when they are out of step, and selection and checks by tag.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/lists/tagged_lists.h"

namespace orvalis::controls {
namespace {

TagComboModel Abc() {
  TagComboModel m;
  m.AddTag("Alpha", "A1", std::string("first"));
  m.AddTag("Beta", "B2", std::string("second"));
  m.AddTag("Gamma", "C3", std::string(""));
  return m;
}

TEST(TagCombo, SelectByTagAndData) {
  struct Case {
    const char* tag;
    int index;
  };
  const Case cases[] = {
      {"B2", 1}, {"b2", 1}, {"c3", 2}, {"B", 0}, {"B22", 0}, {"", 0}, {"zz", 0},
  };
  for (const auto& c : cases) {
    auto m = Abc();
    m.SetPItemIndex(2);
    m.SetTag(c.tag);
    EXPECT_EQ(m.GetPItemIndex(), c.index) << c.tag;
  }
  TagComboModel empty;
  empty.SetTag("A1");
  EXPECT_EQ(empty.GetPItemIndex(), -1);
  EXPECT_EQ(empty.GetTag(), "");
  EXPECT_EQ(empty.GetData(), 0);

  TagComboModel d;
  d.Add("x", 5);
  d.Add("y", 7);
  d.Add("z", 7);
  d.SetData(7);
  EXPECT_EQ(d.GetPItemIndex(), 1);
  d.SetData(8);
  EXPECT_EQ(d.GetPItemIndex(), 0);
  EXPECT_EQ(d.GetData(), 5);
  EXPECT_EQ(d.GetTag(), "");  // no tag list
}

TEST(TagCombo, TagRoundTripsByteForByte) {
  TagComboModel m;
  m.AddTag("lower", "key");
  m.AddTag("upper", "KEY");
  for (const char* tag : {"key", "KEY"}) {
    m.SetTag(tag);
    EXPECT_EQ(m.GetTag(), tag);
  }
  m.SetTag("Key");  // no exact match: the first equal ignoring case
  EXPECT_EQ(m.GetTag(), "key");
}

TEST(TagCombo, ListsOutOfStep) {
  TagComboModel m;
  EXPECT_TRUE(m.AddTag("a", "A"));
  m.Add("b", 2);
  EXPECT_FALSE(m.AddTag("c", "C"));
  EXPECT_FALSE(m.AddTag("c", "C", 3));
  EXPECT_FALSE(m.InsertTag(0, "c", "C"));
  EXPECT_EQ(m.Items().size(), 2u);
  EXPECT_EQ(m.Tags(), std::vector<std::string>{"A"});
  m.SetPItemIndex(1);
  EXPECT_EQ(m.GetTag(), "");  // tag list shorter than the position
  // Deleting an item the lists have no entry for leaves them as they are.
  EXPECT_TRUE(m.Delete(2));
  EXPECT_EQ(m.Tags(), std::vector<std::string>{"A"});
  EXPECT_TRUE(m.AddTag("c", "C"));  // in step again
  // Tags without hints: the hint forms refuse, the tag forms work.
  EXPECT_FALSE(m.AddTag("d", "D", std::string("hint")));
  EXPECT_FALSE(m.InsertTag(0, "d", "D", "hint"));
  // A tag beyond the items selects the first item.
  m.SetTagList({"A", "C", "X"});
  m.SetTag("X");
  EXPECT_EQ(m.GetPItemIndex(), 0);
  EXPECT_FALSE(m.Delete(std::string_view("X")));
}

TEST(TagCombo, DeleteInsertAndRename) {
  auto m = Abc();
  m.SetPItemIndex(2);
  EXPECT_FALSE(m.Delete(std::string_view("Z9")));
  EXPECT_TRUE(m.Delete(std::string_view("b2")));
  EXPECT_EQ(m.Items().size(), 2u);
  EXPECT_EQ(m.Hints(), (std::vector<std::string>{"first", ""}));
  EXPECT_EQ(m.GetPItemIndex(), 1);  // still on Gamma
  EXPECT_EQ(m.GetTag(), "C3");
  EXPECT_TRUE(m.InsertTag(0, "Zero", "Z0", "zero"));
  EXPECT_EQ(m.GetTag(), "C3");
  EXPECT_FALSE(m.InsertTag(9, "Nine", "N9", "nine"));
  EXPECT_TRUE(m.Rename(std::string_view("z0"), "Nil"));
  EXPECT_EQ(m.Items()[0].caption, "Nil");
  EXPECT_FALSE(m.Rename(5, "x"));
  EXPECT_TRUE(m.Delete(std::string_view("C3")));  // the selected item
  EXPECT_EQ(m.GetPItemIndex(), -1);
  EXPECT_FALSE(m.ShowHint());
}

TEST(TagCombo, HintFollowsTheSelectedItem) {
  struct Step {
    int index;
    bool show;
    const char* hint;
  };
  const Step steps[] = {{0, true, "first"}, {2, false, nullptr}, {1, true, "second"}, {-1, false, nullptr},
                        {1, true, "second"}, {3, false, nullptr}};
  auto m = Abc();
  for (const auto& s : steps) {
    m.SetPItemIndex(s.index);
    EXPECT_EQ(m.ShowHint(), s.show) << s.index;
    if (s.hint) {
      EXPECT_EQ(m.HintText(), s.hint);
    }
  }
  // An item without a hint entry does not keep the previous item's tool tip.
  m.AddTag("Delta", "D4");
  m.SetPItemIndex(0);
  m.SetPItemIndex(3);
  EXPECT_FALSE(m.ShowHint());
}

TEST(TagCombo, AssignAndClear) {
  auto src = Abc();
  TagComboModel m;
  m.Add("old", 1);
  m.Assign(src);
  EXPECT_EQ(m.Items(), src.Items());
  EXPECT_EQ(m.Tags(), src.Tags());
  EXPECT_EQ(m.Hints(), src.Hints());
  m.SetTag("A1");
  m.Clear();
  EXPECT_TRUE(m.Items().empty());
  EXPECT_TRUE(m.Tags().empty());
  EXPECT_TRUE(m.Hints().empty());
  EXPECT_EQ(m.GetPItemIndex(), -1);
  EXPECT_FALSE(m.ShowHint());
}

TEST(TagCheckList, TagsOfTheCheckedItems) {
  struct Case {
    const char* set;
    std::vector<bool> checked;
    const char* get;
  };
  const Case cases[] = {
      {"2\n11", {false, true, true}, "2\n11"},
      {"11", {false, false, true}, "11"},
      {"1", {true, false, false}, "1"},
      {"1\n2\n11", {true, true, true}, "1\n2\n11"},
      {"11\n1", {true, false, true}, "1\n11"},
      {"", {false, false, false}, ""},
      {"12\n", {false, false, false}, ""},
  };
  TagCheckListModel m;
  ASSERT_TRUE(m.AddTag("a", "1"));
  ASSERT_TRUE(m.AddTag("b", "2"));
  ASSERT_TRUE(m.AddTag("c", "11"));
  for (const auto& c : cases) {
    m.SetTags(c.set);
    std::vector<bool> checked;
    for (const auto& item : m.Items()) checked.push_back(item.checked);
    EXPECT_EQ(checked, c.checked) << c.set;
    EXPECT_EQ(m.GetTags(), c.get) << c.set;
  }
}

TEST(TagCheckList, EmptyTagAndListsOutOfStep) {
  TagCheckListModel m;
  m.AddTag("none", "");
  m.AddTag("b", "2");
  m.SetTags("");
  EXPECT_FALSE(m.Items()[0].checked);
  m.SetTags("\n2");
  EXPECT_EQ(m.GetTags(), "\n2");

  m.Add("untagged");
  EXPECT_FALSE(m.AddTag("c", "3"));
  EXPECT_EQ(m.Items().size(), 3u);
  EXPECT_EQ(m.GetTags(), "");
  m.SetTags("2");
  EXPECT_TRUE(m.Items()[0].checked);  // unchanged
  m.Clear();
  EXPECT_TRUE(m.Items().empty());
  EXPECT_TRUE(m.AddTag("c", "3"));
}

}  // namespace
}  // namespace orvalis::controls
