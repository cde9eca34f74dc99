// Descriptor lookup rules.
#include "services/descriptor_reader.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(DescriptorValue, FindsTheFirstKeyOccurrenceAndTrimsTheLine) {
  const std::string text =
      "Params=/m:nld\r\nShortCuts= create \r\nProduct=Demo \r\nProgram=demo.exe\t\r\n"
      "Version=3_24_4_0\r\nUpdate=never\r\nDate=10-05-2019 10:59\r\nFormula=a=b\r\nLast=end";
  struct Case { const char* key; const char* value; };
  const Case cases[] = {
      {"PRODUCT", "Demo"},      {"program", "demo.exe"}, {"Version", "3_24_4_0"}, {"SHORTCUTS", "create"},
      {"DATE", "never"},        // UPDATE= comes first and contains DATE=
      {"formula", "a=b"},       {"LAST", "end"},         {"MISSING", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DescriptorValue(text, c.key), c.value) << c.key;
}

TEST(DescriptorValue, KeysMatchWithoutCaseButValuesKeepTheirs) {
  EXPECT_EQ(DescriptorValue("productname=Mijn_Product\r\n", "PRODUCTNAME"), "Mijn_Product");
  EXPECT_EQ(DescriptorValue("Path=C:\\Tëst Map\r\n", "path"), "C:\\Tëst Map");
  EXPECT_EQ(DescriptorValue("product = Demo\r\n", "PRODUCT"), "");  // blank before "=" is not the key
  EXPECT_EQ(DescriptorValue("", "PRODUCT"), "");
  EXPECT_EQ(DescriptorValue("Product=\r\n", "PRODUCT"), "");
  EXPECT_EQ(DescriptorValue("Product=A\nB\r\n", "PRODUCT"), "A");  // a bare LF ends the line too
}

}  // namespace
}  // namespace orvalis
