// Resource directories: the order the loader searches, round trips through
// the writer and the reader, and directories the reader must refuse.
#include "tools/pack/resource_tree.h"

#include "tools/pack/tests/test_images.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace orvalis::pack {
namespace {

using testing::Read16;
using testing::Read32;
using testing::TestResource;
using testing::Write32;

struct Flat {
  ResourceId type;
  ResourceId name;
  std::uint16_t language;
  std::uint32_t codePage;
  std::string data;
  friend bool operator==(const Flat&, const Flat&) = default;
};

std::vector<Flat> Flatten(const ResourceTree& tree) {
  std::vector<Flat> out;
  for (const auto& [type, names] : tree)
    for (const auto& [name, languages] : names)
      for (const auto& [language, data] : languages) out.push_back({type, name, language, data.codePage, data.bytes});
  return out;
}

// Reads resource data from a section image placed at `rva`.
ResourceDataReader SectionReader(const std::string& section, std::uint32_t rva) {
  return [&section, rva](std::uint32_t at, std::uint32_t size) -> Result<std::string_view> {
    if (at < rva || std::uint64_t{at} - rva + size > section.size()) return Failure{"outside the section"};
    return std::string_view(section).substr(at - rva, size);
  };
}

// One level of the loader's lookup: a binary search over the named or the
// numbered entries, names compared like wcsncmp against an upper-case query.
std::optional<std::uint32_t> LoaderFind(std::string_view section, std::uint32_t table, const ResourceId& id) {
  const std::uint16_t named = Read16(section, table + 12);
  const int count = id.IsName() ? named : Read16(section, table + 14);
  const std::size_t first = table + 16 + (id.IsName() ? 0 : 8 * named);
  int low = 0;
  int high = count - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const std::size_t entry = first + 8 * middle;
    std::int64_t difference = 0;
    if (id.IsName()) {
      const std::uint32_t at = Read32(section, entry) & 0x7FFFFFFFu;
      const std::uint16_t length = Read16(section, at);
      for (std::size_t i = 0; i < length && difference == 0; ++i) {
        const std::int64_t query = i < id.name().size() ? id.name()[i] : 0;
        difference = query - Read16(section, at + 2 + 2 * i);
      }
      if (difference == 0 && id.name().size() != length) difference = 1;
    } else {
      difference = std::int64_t{id.number()} - std::int64_t{Read32(section, entry)};
    }
    if (difference == 0) return Read32(section, entry + 4) & 0x7FFFFFFFu;
    if (difference < 0)
      high = middle - 1;
    else
      low = middle + 1;
  }
  return std::nullopt;
}

std::optional<std::string> LoaderLookup(std::string_view section, std::uint32_t rva, const ResourceId& type,
                                        const ResourceId& name, std::uint16_t language) {
  auto typeTable = LoaderFind(section, 0, type);
  if (!typeTable) return std::nullopt;
  auto nameTable = LoaderFind(section, *typeTable, name);
  if (!nameTable) return std::nullopt;
  auto dataEntry = LoaderFind(section, *nameTable, ResourceId::Number(language));
  if (!dataEntry) return std::nullopt;
  return std::string(section.substr(Read32(section, *dataEntry) - rva, Read32(section, *dataEntry + 4)));
}

// Names chosen where code unit order, case-insensitive order and length order disagree.
std::vector<std::u16string> AwkwardNames() {
  std::vector<std::u16string> names = {u"A",
                                       u"AB",
                                       u"ABC",
                                       u"A_B",
                                       u"AAB",
                                       u"A B",
                                       u"Z",
                                       u"_",
                                       u"0",
                                       u"~",
                                       u"\u00C9",
                                       u"\u03A9X",
                                       u"\u4E2D",
                                       u"\U0001F600",
                                       u"FILE:DATA\\X.BIN",
                                       u"FILE:DISK.ID",
                                       u"a"};
  std::mt19937 rng(5);
  for (int i = 0; i < 300; ++i) {
    std::u16string name = u"FILE:";
    for (int n = 1 + rng() % 12; n > 0; --n) name += static_cast<char16_t>(u"ABZ_.\\09\u00C9\u0416"[rng() % 10]);
    names.push_back(name);
  }
  return names;
}

ResourceTree LargeTree() {
  ResourceTree tree;
  std::mt19937 rng(9);
  for (const auto& name : AwkwardNames()) {
    std::string data(rng() % 40, '\0');
    for (char& c : data) c = static_cast<char>(rng());
    tree[ResourceId::Number(10)][ResourceId::Name(name)][0] = {data, 0};
  }
  for (std::uint16_t id : {65535, 1, 2, 300}) tree[ResourceId::Number(10)][ResourceId::Number(id)][0] = {"n", 0};
  for (std::uint16_t language : {0x0413, 0, 0x0409})
    tree[ResourceId::Number(3)][ResourceId::Number(1)][language] = {"icon", 1252};
  tree[ResourceId::Name(u"ZFORMS")][ResourceId::Name(u"MAIN")][0] = {"", 0};
  tree[ResourceId::Name(u"A")][ResourceId::Number(2)][7] = {"x", 0};
  return tree;
}

TEST(ResourceOrder, NamesFirstInCodeUnitOrderThenNumbersAscending) {
  struct Case {
    ResourceId a, b;
    bool aFirst;
  };
  const Case cases[] = {
      {ResourceId::Name(u"ZZZ"), ResourceId::Number(1), true},
      {ResourceId::Number(1), ResourceId::Name(u"A"), false},
      {ResourceId::Number(2), ResourceId::Number(10), true},
      {ResourceId::Name(u"AB"), ResourceId::Name(u"ABC"), true},              // a prefix sorts first
      {ResourceId::Name(u"AAB"), ResourceId::Name(u"A_B"), true},             // '_' is above the capitals
      {ResourceId::Name(u"A_B"), ResourceId::Name(u"AaB"), true},             // and below the small letters
      {ResourceId::Name(u"Z"), ResourceId::Name(u"\u00C9"), true},            // by code unit, not by alphabet
      {ResourceId::Name(u"\uFFFD"), ResourceId::Name(u"\U0001F600"), false},  // units, not code points
      {ResourceId::Name(u"A"), ResourceId::Name(u"A"), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResourceOrder()(c.a, c.b), c.aFirst) << c.a.Describe() << " vs " << c.b.Describe();
  }
}

TEST(LayoutResourceSection, TheLoadersBinarySearchFindsEveryResource) {
  const ResourceTree tree = LargeTree();
  const std::uint32_t rva = 0x7000;
  auto layout = LayoutResourceSection(tree, rva);
  ASSERT_TRUE(layout.ok()) << layout.error();
  const std::string section = layout.value().Join();
  ASSERT_EQ(section.size(), layout.value().size);
  for (const Flat& r : Flatten(tree)) {
    auto found = LoaderLookup(section, rva, r.type, r.name, r.language);
    ASSERT_TRUE(found) << r.type.Describe() << "/" << r.name.Describe();
    EXPECT_EQ(*found, r.data) << r.name.Describe();
  }
  for (const auto& absent : {u"AA", u"A_", u"FILE:", u"FILE:DISK.I", u"B", u"\u00C8"})
    EXPECT_FALSE(LoaderLookup(section, rva, ResourceId::Number(10), ResourceId::Name(absent), 0));
  EXPECT_FALSE(LoaderLookup(section, rva, ResourceId::Number(10), ResourceId::Number(3), 0));
  EXPECT_FALSE(LoaderLookup(section, rva, ResourceId::Number(3), ResourceId::Number(1), 0x0407));
}

TEST(LayoutResourceSection, DataIsAlignedAndDirectoryStampsAreZero) {
  auto layout = LayoutResourceSection(LargeTree(), 0x7000);
  ASSERT_TRUE(layout.ok());
  std::uint32_t previousEnd = static_cast<std::uint32_t>(layout.value().head.size());
  for (const auto& chunk : layout.value().chunks) {
    EXPECT_EQ(chunk.offset % 8, 0u);
    EXPECT_GE(chunk.offset, previousEnd);  // no resource overlaps the directory or another resource
    previousEnd = chunk.offset + static_cast<std::uint32_t>(chunk.bytes.size());
  }
  EXPECT_LE(previousEnd, layout.value().size);
  EXPECT_EQ(Read32(layout.value().head, 4), 0u);  // the root's time stamp
}

TEST(ParseResourceDirectory, ReadsBackWhatEitherWriterLaidOut) {
  // The packer's layout (breadth first) and the test encoder's (depth first).
  const ResourceTree tree = LargeTree();
  auto layout = LayoutResourceSection(tree, 0x3000);
  ASSERT_TRUE(layout.ok());
  const std::string packed = layout.value().Join();
  auto parsed = ParseResourceDirectory(packed, SectionReader(packed, 0x3000));
  ASSERT_TRUE(parsed.ok()) << parsed.error();
  EXPECT_EQ(Flatten(parsed.value()), Flatten(tree));

  const auto resources = testing::StandardResources();
  const std::string encoded = testing::EncodeResourceDirectory(resources, 0x5000);
  auto standard = ParseResourceDirectory(encoded, SectionReader(encoded, 0x5000));
  ASSERT_TRUE(standard.ok()) << standard.error();
  std::vector<Flat> expected;
  for (const TestResource& r : resources) expected.push_back({r.type, r.name, r.language, r.codePage, r.data});
  EXPECT_EQ(Flatten(standard.value()), expected);
}

TEST(ParseResourceDirectory, RefusesMalformedDirectories) {
  const std::vector<TestResource> one = {{ResourceId::Number(10), ResourceId::Name(u"X"), 0, 0, "data"}};
  const std::string good = testing::EncodeResourceDirectory(one, 0);
  // good: root @0 (1 id entry), type table @24 (1 named), language table @48, name @72, data entry @76, data @92.
  ASSERT_EQ(Read32(good, 16), 10u);
  ASSERT_EQ(Read32(good, 20), 0x80000000u | 24);
  ASSERT_EQ(Read32(good, 48 + 16 + 4), 76u);
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"empty", [](std::string& d) { d.clear(); }, "outside the resource section"},
      {"entry count past the end", [](std::string& d) { d[14] = 50; }, "outside the resource section"},
      {"table refers to itself", [](std::string& d) { Write32(d, 20, 0x80000000u); }, "one table twice"},
      {"data at the type level", [](std::string& d) { Write32(d, 20, 76); }, "data where a table belongs"},
      {"a fourth level", [](std::string& d) { Write32(d, 48 + 20, 0x80000000u | 24); }, "nested deeper"},
      {"name outside the section", [](std::string& d) { Write32(d, 40, 0x80000000u | 5000); }, "name lies outside"},
      {"name longer than the section", [](std::string& d) { d[72] = '\x7F'; }, "name lies outside"},
      {"id above 16 bits", [](std::string& d) { Write32(d, 16, 0x10000); }, "above 65535"},
      {"data outside the section", [](std::string& d) { Write32(d, 80, 4000); }, "outside the section"},
      {"data entry outside", [](std::string& d) { Write32(d, 48 + 20, 5000); }, "data entry of resource"},
      {"shared data entry",
       [](std::string& d) {
         // A second language entry pointing at the same data entry.
         d[48 + 14] = 2;
         d.insert(48 + 24, std::string(8, '\0'));
         Write32(d, 48 + 24, 1);
         Write32(d, 48 + 28, 84);
         Write32(d, 40, 0x80000000u | 80);
         Write32(d, 48 + 20, 84);
         Write32(d, 84, 100);
       },
       "shares its data entry"},
  };
  for (const Case& c : cases) {
    std::string directory = good;
    c.damage(directory);
    auto parsed = ParseResourceDirectory(directory, SectionReader(directory, 0));
    ASSERT_FALSE(parsed.ok()) << c.what;
    EXPECT_NE(parsed.error().find(c.message), std::string::npos) << c.what << ": " << parsed.error();
  }

  // Two entries for one type or one name: the loader would only ever find one of them.
  const std::vector<TestResource> two = {{ResourceId::Number(10), ResourceId::Name(u"X"), 0, 0, "a"},
                                         {ResourceId::Number(10), ResourceId::Name(u"Y"), 0, 0, "b"},
                                         {ResourceId::Number(11), ResourceId::Number(1), 0, 0, "c"}};
  std::string duplicateType = testing::EncodeResourceDirectory(two, 0);
  ASSERT_EQ(Read32(duplicateType, 24), 11u);
  Write32(duplicateType, 24, 10);
  std::string duplicateName = testing::EncodeResourceDirectory(two, 0);
  const std::size_t y = duplicateName.find(std::string("Y\0", 2));
  ASSERT_NE(y, std::string::npos);
  duplicateName[y] = 'X';
  for (const std::string& directory : {duplicateType, duplicateName}) {
    auto parsed = ParseResourceDirectory(directory, SectionReader(directory, 0));
    ASSERT_FALSE(parsed.ok());
    EXPECT_NE(parsed.error().find("occurs twice"), std::string::npos) << parsed.error();
  }
}

TEST(LayoutResourceSection, RefusesWhatTheDirectoryFormatCannotHold) {
  ResourceTree longName;
  longName[ResourceId::Number(10)][ResourceId::Name(std::u16string(70000, u'A'))][0] = {"x", 0};
  auto layout = LayoutResourceSection(longName, 0x1000);
  ASSERT_FALSE(layout.ok());
  EXPECT_NE(layout.error().find("longer than 65535"), std::string::npos);

  ResourceTree small;
  small[ResourceId::Number(10)][ResourceId::Number(1)][0] = {"x", 0};
  EXPECT_FALSE(LayoutResourceSection(small, 0xFFFFFFF0u).ok());  // would run past 4 GiB
}

}  // namespace
}  // namespace orvalis::pack
