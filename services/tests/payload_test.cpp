// Payload resources read from real images: images are made with the system's
// own resource updater from a copy of OrvalisSetup.exe (which has no RT_RCDATA
// of its own) and loaded as data files.
#include "services/payload.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <variant>

#include "services/tests/win_test_support.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis {
namespace {

using test::Deflate;
using test::TempFolder;

struct Resource {
  std::variant<std::wstring, WORD> name;
  std::string bytes;
};

// A copy of OrvalisSetup.exe with `resources` added as RT_RCDATA.
std::wstring MakeImage(const TempFolder& folder, const std::vector<Resource>& resources) {
  std::wstring path = folder.path() + L"image.exe";
  EXPECT_TRUE(::CopyFileW(test::BuildOutput(L"OrvalisSetup.exe").c_str(), path.c_str(), FALSE));
  if (resources.empty()) return path;
  HANDLE update = ::BeginUpdateResourceW(path.c_str(), FALSE);
  EXPECT_NE(update, nullptr);
  for (const auto& r : resources) {
    LPCWSTR name = std::holds_alternative<WORD>(r.name) ? MAKEINTRESOURCEW(std::get<WORD>(r.name))
                                                        : std::get<std::wstring>(r.name).c_str();
    EXPECT_TRUE(::UpdateResourceW(update, RT_RCDATA, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                  const_cast<char*>(r.bytes.data()), DWORD(r.bytes.size())));
  }
  EXPECT_TRUE(::EndUpdateResourceW(update, FALSE));
  return path;
}

win::unique_hmodule LoadImage(const std::wstring& path) {
  win::unique_hmodule module(
      ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  EXPECT_TRUE(module) << "cannot load " << win::Narrow(path);
  return module;
}

TEST(ListResourceNames, AnImageWithoutRcdataGivesFalseAndAnEmptyList) {
  TempFolder folder;
  auto module = LoadImage(MakeImage(folder, {}));
  std::vector<std::string> list = {"stale"};
  EXPECT_FALSE(ListResourceNames(module.get(), &list, "FILE:", RT_RCDATA));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ListResourceNames(module.get(), nullptr, "", RT_RCDATA));
}

TEST(ListResourceNames, KeepsPrefixedNamesInDirectoryOrderWithThePrefixRemoved) {
  TempFolder folder;
  auto module = LoadImage(MakeImage(folder, {{L"FILE:README.TXT", "a"},
                                             {L"TFRMMAIN", "b"},
                                             {L"FILE:", "c"},
                                             {L"file:lower.txt", "d"},
                                             {L"FILE:DISK.ID", "e"},
                                             {WORD(7), "numbered"}}));
  std::vector<std::string> all;
  ASSERT_TRUE(ListResourceNames(module.get(), &all, "", RT_RCDATA));
  ASSERT_EQ(all.size(), 5u) << "numbered resources are not payload";
  std::vector<std::string> expected;
  for (const auto& name : all)
    if (name != "TFRMMAIN") expected.push_back(name.substr(5));

  std::vector<std::string> payload = {"stale"};
  ASSERT_TRUE(ListResourceNames(module.get(), &payload, "file:", RT_RCDATA));
  EXPECT_EQ(payload, expected);
  // The resource updater stores names upper-cased, as resource compilers do;
  // the prefix test itself ignores case.
  EXPECT_NE(std::find(payload.begin(), payload.end(), "LOWER.TXT"), payload.end());
  EXPECT_NE(std::find(payload.begin(), payload.end(), ""), payload.end());

  std::vector<std::string> none;
  EXPECT_TRUE(ListResourceNames(module.get(), &none, "NOTHING:", RT_RCDATA));
  EXPECT_TRUE(none.empty());
}

TEST(LoadResourceData, CopiesTheBytesOrGivesNothing) {
  TempFolder folder;
  std::string binary("\0\1\2zero\0bytes", 13);
  auto module = LoadImage(MakeImage(folder, {{L"FILE:BIN", binary}}));
  EXPECT_EQ(LoadResourceData(module.get(), "FILE:BIN", RT_RCDATA), binary);
  EXPECT_EQ(LoadResourceData(module.get(), "file:bin", RT_RCDATA), binary);
  EXPECT_EQ(LoadResourceData(module.get(), "FILE:MISSING", RT_RCDATA), "");
}

}  // namespace
}  // namespace orvalis
