// The product sub-folder rule.
#include "setup/product_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace orvalis {
namespace {

TEST(ProductFolder, AddsTheProductFolderUnlessBaseAlreadyHoldsIt) {
  const std::set<std::string> existing = {"C:\\Apps\\demo.exe", "C:\\Tëst Map\\demo.exe"};
  auto exists = [&](const std::string& path) { return existing.count(path) > 0; };
  struct Case { const char* base; const char* product; const char* program; const char* folder; };
  const Case cases[] = {
      {"", "Demo", "demo.exe", ""},
      {"C:\\Programs", "Demo", "", "C:\\Programs\\Orvalis\\Demo"},
      {"C:\\Programs", "Demo", "demo.exe", "C:\\Programs\\Orvalis\\Demo"},
      {"C:\\Programs\\Orvalis\\Demo\\Sub", "Demo", "", "C:\\Programs\\Orvalis\\Demo\\Sub"},
      {"C:\\Programs\\Orvalis\\Demo", "Demo", "", "C:\\Programs\\Orvalis\\Demo"},
      {"C:\\Programs\\Orvalis\\DemoX", "Demo", "", "C:\\Programs\\Orvalis\\DemoX"},  // a substring test
      {"C:\\Programs\\orvalis\\demo", "Demo", "", "C:\\Programs\\orvalis\\demo\\Orvalis\\Demo"},  // case counts
      {"C:\\Apps", "Demo", "demo.exe", "C:\\Apps"},  // already holds the program
      {"C:\\Apps", "Demo", "other.exe", "C:\\Apps\\Orvalis\\Demo"},
      {"C:\\Tëst Map", "Demo", "demo.exe", "C:\\Tëst Map"},
      {"C:\\Tëst Map", "Démo", "", "C:\\Tëst Map\\Orvalis\\Démo"},
      {"C:\\Temp\\", "Demo", "", "C:\\Temp\\Orvalis\\Demo"},  // a base with its "\" is not doubled
      {"C:\\Apps\\", "Demo", "demo.exe", "C:\\Apps\\"},
      {"C:\\Data", "", "", "C:\\Data\\Orvalis\\"},
  };
  for (const auto& c : cases) {
    SetupState state;
    state.Product = c.product;
    state.ProgramFile = c.program;
    EXPECT_EQ(ProductFolder(c.base, state, exists), c.folder) << c.base << " / " << c.product;
  }
}

TEST(ProductFolder, AsksForTheProgramFileInsideTheBase) {
  SetupState state;
  state.Product = "Demo";
  state.ProgramFile = "bin\\demo.exe";
  std::vector<std::string> asked;
  auto exists = [&](const std::string& path) {
    asked.push_back(path);
    return false;
  };
  EXPECT_EQ(ProductFolder("D:\\X", state, exists), "D:\\X\\Orvalis\\Demo");
  EXPECT_EQ(asked, std::vector<std::string>{"D:\\X\\bin\\demo.exe"});
}

}  // namespace
}  // namespace orvalis
