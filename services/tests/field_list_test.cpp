// Splitting and building delimited field lists.
#include "services/field_list.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(FieldList, CountsFieldsWithTheirGroupingRules) {
  struct Case { const char* list; const char* delimiter; int options; int count; };
  const Case cases[] = {
      {"", ",", kFieldsPlain, 0},
      {"a", "", kFieldsPlain, 0},
      {"a", ",", kFieldsPlain, 1},
      {"a,", ",", kFieldsPlain, 2},
      {"a,b,,c", ",", kFieldsPlain, 4},
      {",", ",", kFieldsPlain, 2},
      {"x,\"1,2\",y", ",", kFieldsQuoted, 3},
      {"x,\"1,2\",y", ",", kFieldsPlain, 4},
      {"x,\"1,2\",y", ",", kFieldsQuoted | kFieldsKeepQuotes, 3},
      {"x,\"1,2,y", ",", kFieldsQuoted, 2},  // an unclosed quote groups to the end
      {"f(a,b),c", ",", kFieldsBracketed, 2},
      {"f(a,b),c", ",", kFieldsPlain, 3},
      {"f(a,(b,c)),d", ",", kFieldsBracketed, 2},
      {"a),b,(c),d", ",", kFieldsBracketed, 1},  // depth -1 after ")" keeps splitting off
      {"\"(\",a,b", ",", kFieldsQuoted | kFieldsBracketed, 3},  // "(" inside quotes does not nest
      {"Setup\\Path:C:\\x", ":", kFieldsPlain, 3},
      {"a::b", "::", kFieldsPlain, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CountFields(c.list, c.delimiter, c.options), c.count) << c.list << " opt " << c.options;
}

TEST(FieldList, ReturnsTheNumberedFieldOrNothing) {
  struct Case { const char* list; int index; const char* delimiter; int options; const char* field; };
  const Case cases[] = {
      {"a,b,,c", 2, ",", kFieldsPlain, ""},
      {"a,b,,c", 3, ",", kFieldsPlain, "c"},
      {"a,", 1, ",", kFieldsPlain, ""},
      {"a,b", 5, ",", kFieldsPlain, ""},
      {"a,b", -1, ",", kFieldsPlain, ""},
      {"", 0, ",", kFieldsPlain, ""},
      {"a,b", 0, "", kFieldsPlain, ""},
      {"A.DLL, B.DLL", 1, ",", kFieldsPlain, " B.DLL"},  // blanks belong to the field
      {"x,\"1,2\",y", 1, ",", kFieldsQuoted, "1,2"},
      {"x,\"1,2\",y", 2, ",", kFieldsQuoted, "y"},
      {"x,\"1,2\",y", 1, ",", kFieldsPlain, "\"1"},
      {"x,\"1,2\",y", 1, ",", kFieldsQuoted | kFieldsKeepQuotes, "\"1,2\""},
      {"a,  \"q\"  ,b", 1, ",", kFieldsQuoted, "q"},
      {"a,  \"q\"  ,b", 1, ",", kFieldsQuoted | kFieldsKeepQuotes, "  \"q\"  "},
      {"a,\",b", 1, ",", kFieldsPlain, "\""},
      {"\"", 0, ",", kFieldsQuoted, "\""},  // a lone quote is not a quoted field
      {"a\"b\"c,d", 0, ",", kFieldsQuoted, "a\"b\"c"},
      {"f(a,b),c", 0, ",", kFieldsBracketed, "f(a,b)"},
      {"f(a,b),c", 1, ",", kFieldsBracketed, "c"},
      {"Setup\\Path:C:\\x", 0, ":", kFieldsPlain, "Setup\\Path"},
      {"Setup\\Path:C:\\x", 1, ":", kFieldsPlain, "C"},
      {"Setup\\Path:C:\\x", 2, ":", kFieldsPlain, "\\x"},
      {"a::b::c", 2, "::", kFieldsPlain, "c"},
      {"Tëst,Map", 0, ",", kFieldsPlain, "Tëst"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetDelimitedField(c.list, c.index, c.delimiter, c.options), c.field)
        << c.list << " [" << c.index << "] opt " << c.options;
}

TEST(FieldList, CommaListsUseTheCommaDelimiter) {
  EXPECT_EQ(CountItems("a,b,,c", kFieldsPlain), 4);
  EXPECT_EQ(CountItems("x,\"1,2\",y", kFieldsQuoted), 3);
  EXPECT_EQ(GetListItem("x,\"1,2\",y", 1, kFieldsQuoted), "1,2");
  EXPECT_EQ(GetListItem("a:b,c", 0, kFieldsPlain), "a:b");
}

TEST(FieldList, NumberSetsMatchWholeNumbersOnly) {
  struct Case { const char* list; int number; const char* delimiter; bool contained; };
  const Case cases[] = {
      {"3,12,40", 12, ",", true},  {"3,120", 12, ",", false}, {"12", 12, ",", true},
      {"", 12, ",", false},        {"3;-7;9", -7, ";", true}, {"3;7;9", -7, ";", false},
      {"112,3", 12, ",", false},   {"3,40,12", 12, ",", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ContainsNumber(c.list, c.number, c.delimiter), c.contained) << c.list;
}

TEST(FieldList, AddNumberAppendsOnlyNewNumbers) {
  std::string list;
  EXPECT_TRUE(AddNumber(list, 7, ","));
  EXPECT_EQ(list, "7");
  EXPECT_FALSE(AddNumber(list, 7, ","));
  EXPECT_EQ(list, "7");
  EXPECT_TRUE(AddNumber(list, 70, ","));
  EXPECT_TRUE(AddNumber(list, -3, ","));
  EXPECT_EQ(list, "7,70,-3");
  std::string colon = "1";
  EXPECT_TRUE(AddNumber(colon, 2, ":"));
  EXPECT_EQ(colon, "1:2");
}

}  // namespace
}  // namespace orvalis
