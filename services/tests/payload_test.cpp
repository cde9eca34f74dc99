// Payload resources read from real images: images are made with the system's
// own resource updater from a copy of OrvalisSetup.exe (which has no RT_RCDATA
// of its own) and loaded as data files.
#include "services/payload.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <random>
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

std::string RandomBytes(size_t n) {
  std::mt19937 rng(3);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
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

TEST(ExtractResourceToFile, WritesThroughATemporaryFileAndKeepsTheOldFileOnFailure) {
  TempFolder folder;
  const std::string large = RandomBytes(1'500'000);  // several output chunks
  const std::string good = Deflate(large);
  auto module = LoadImage(MakeImage(
      folder, {{L"FILE:GOOD", good}, {L"FILE:EMPTYFILE", Deflate("")}, {L"FILE:CUT", good.substr(0, 5000)},
               {L"FILE:TAIL", Deflate("x") + "more"}}));
  const std::string base = win::Narrow(folder.path()) + "out\\";
  ASSERT_TRUE(::CreateDirectoryW(win::Wide(base).c_str(), nullptr));
  const struct {
    const char* resource;
    const char* file;
    DWORD attributesBefore;  // 0: no file there yet
    ExtractProblem problem;
    DWORD error;
    std::string after;  // the file's bytes afterwards; "" with no file
  } cases[] = {
      {"FILE:GOOD", "new.bin", 0, ExtractProblem::kNone, 0, large},
      {"FILE:GOOD", "hidden.bin", FILE_ATTRIBUTE_HIDDEN, ExtractProblem::kNone, 0, large},
      {"FILE:EMPTYFILE", "empty.txt", FILE_ATTRIBUTE_NORMAL, ExtractProblem::kNone, 0, ""},
      {"FILE:CUT", "cut.bin", FILE_ATTRIBUTE_NORMAL, ExtractProblem::kDamaged, 0, "old"},
      {"FILE:TAIL", "tail.bin", FILE_ATTRIBUTE_NORMAL, ExtractProblem::kDamaged, 0, "old"},
      {"FILE:MISSING", "missing.bin", FILE_ATTRIBUTE_NORMAL, ExtractProblem::kMissing, 0, "old"},
      {"FILE:GOOD", "readonly.bin", FILE_ATTRIBUTE_READONLY, ExtractProblem::kSystem, ERROR_ACCESS_DENIED, "old"},
      {"FILE:GOOD", "no\\folder.bin", 0, ExtractProblem::kSystem, ERROR_PATH_NOT_FOUND, ""},
  };
  InflateBuffers buffers;  // one for every file, as the setup has
  for (const auto& c : cases) {
    const std::string path = base + c.file;
    if (c.attributesBefore != 0) {
      test::WriteFileBytes(win::Wide(path), "old");
      ASSERT_TRUE(::SetFileAttributesW(win::Wide(path).c_str(), c.attributesBefore));
    }
    FileExtraction result = ExtractResourceToFile(module.get(), c.resource, RT_RCDATA, path, buffers);
    EXPECT_EQ(result.problem, c.problem) << c.file;
    EXPECT_EQ(result.error, c.error) << c.file;
    EXPECT_EQ(result.size, c.problem == ExtractProblem::kNone ? c.after.size() : 0u) << c.file;
    DWORD attributes = ::GetFileAttributesW(win::Wide(path).c_str());
    if (c.attributesBefore == 0 && c.problem != ExtractProblem::kNone) {
      EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES) << c.file;
      continue;
    }
    EXPECT_TRUE(test::ReadFileBytes(win::Wide(path)) == c.after) << c.file;
    // A new file carries none of the attributes of the one it replaced.
    if (c.problem == ExtractProblem::kNone) {
      EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), 0u) << c.file;
    }
    ::SetFileAttributesW(win::Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // No temporary file is left behind, whatever became of the file.
  std::vector<std::string> left;
  WIN32_FIND_DATAW data;
  win::unique_find find(::FindFirstFileW(win::Wide(base + "*").c_str(), &data));
  ASSERT_TRUE(find);
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) left.push_back(win::Narrow(data.cFileName));
  } while (::FindNextFileW(find.get(), &data));
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"cut.bin", "empty.txt", "hidden.bin", "missing.bin", "new.bin",
                                            "readonly.bin", "tail.bin"}));
}

}  // namespace
}  // namespace orvalis
