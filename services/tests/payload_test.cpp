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
using test::ReadFileBytes;
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

TEST(ExtractPayloadFile, WritesUnderTheDisplayNameAndCreatesFolders) {
  TempFolder folder;
  std::string big(300'000, 'x');
  auto module = LoadImage(MakeImage(folder, {{L"FILE:DATA\\SUB\\X.BIN", Deflate(big)},
                                             {L"FILE:README.TXT", Deflate("short")},
                                             {L"FILE:EMPTY.DAT", Deflate("")},
                                             {L"FILE:BROKEN.DAT", "not a stream"},
                                             {L"FILE:..\\EVIL.TXT", Deflate("evil")}}));
  std::string install = win::Narrow(folder.path()) + "T\xC3\xABst Map\\";
  ASSERT_TRUE(ForceFolders(install));

  // An existing, longer file is replaced, not appended to.
  std::wstring readme = win::Wide(install) + L"Readme.txt";
  test::WriteFileBytes(readme, std::string(1000, 'o'));

  EXPECT_EQ(ExtractPayloadFile(module.get(), "DATA\\SUB\\X.BIN", install), ExtractResult::kWritten);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "README.TXT", install), ExtractResult::kWritten);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "EMPTY.DAT", install), ExtractResult::kWritten);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "BROKEN.DAT", install), ExtractResult::kNoData);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "MISSING.DAT", install), ExtractResult::kNoData);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "..\\EVIL.TXT", install), ExtractResult::kUnsafeName);

  EXPECT_EQ(ReadFileBytes(win::Wide(install) + L"Data\\sub\\x.bin"), big);
  EXPECT_EQ(ReadFileBytes(readme), "short");
  EXPECT_EQ(ReadFileBytes(win::Wide(install) + L"Empty.dat"), "");
  EXPECT_EQ(::GetFileAttributesW((win::Wide(install) + L"Broken.dat").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW((folder.path() + L"evil.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesW((folder.path() + L"Evil.txt").c_str()), INVALID_FILE_ATTRIBUTES);

  // Folders and files carry the display name's case on disk.
  EXPECT_EQ(test::StoredName(win::Wide(install) + L"Data"), L"Data");
  EXPECT_EQ(test::StoredName(win::Wide(install) + L"Data\\sub"), L"sub");
  EXPECT_EQ(test::StoredName(win::Wide(install) + L"Data\\sub\\x.bin"), L"x.bin");
}

TEST(ExtractPayloadFile, AFileThatCannotBeOpenedFails) {
  TempFolder folder;
  auto module = LoadImage(MakeImage(folder, {{L"FILE:LOCKED.DAT", Deflate("new")}}));
  std::string install = win::Narrow(folder.path());
  std::wstring locked = folder.path() + L"Locked.dat";
  test::WriteFileBytes(locked, "old");
  win::unique_file holder(::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_EQ(ExtractPayloadFile(module.get(), "LOCKED.DAT", install), ExtractResult::kWriteFailed);
  holder.reset();
  EXPECT_EQ(ReadFileBytes(locked), "old");
}

TEST(ForceFolders, CreatesEveryMissingParent) {
  TempFolder folder;
  std::string deep = win::Narrow(folder.path()) + "a\\b\xC3\xA9\\c\\";
  EXPECT_TRUE(ForceFolders(deep));
  EXPECT_TRUE(ForceFolders(deep));  // existing is fine
  DWORD attributes = ::GetFileAttributesW(win::Wide(deep).c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  test::WriteFileBytes(folder.path() + L"file", "x");
  EXPECT_FALSE(ForceFolders(win::Narrow(folder.path()) + "file\\sub"));
  EXPECT_FALSE(ForceFolders(""));
}

}  // namespace
}  // namespace orvalis
