// The packer's output as Windows itself sees it: the test program packs a copy
// of its own executable (a real MinGW-linked image), reads the payload back
// with the resource API and starts the packed copy.
#include "tools/pack/packer.h"

#include "core/text.h"
#include "core/utf16.h"
#include "services/inflate.h"
#include "services/payload.h"
#include "services/payload_name.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <random>
#include <vector>

namespace orvalis::pack {
namespace {

namespace fs = std::filesystem;

class PackOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("orvalis-pack-windows-" + std::to_string(random()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path root_;
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
  if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
  return TRUE;
}

TEST_F(PackOnWindows, TheResourceApiFindsEveryPayloadAndThePackedProgramRuns) {
  wchar_t self[MAX_PATH];
  ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  const std::map<std::string, std::string> files = {{"A_B.TXT", "underscore"},
                                                    {"AAB.TXT", "capitals"},
                                                    {"Data/Sub/x.bin", std::string(100'000, '\0')},
                                                    {"caf\xC3\xA9.txt", "accent"},
                                                    {"z.txt", ""}};
  for (const auto& [name, bytes] : files) Write(root_ / "files" / PathFromUtf8(name), bytes);
  const std::string descriptor = "PRODUCT=Orvalis Test\r\n";
  Write(root_ / "DISK.ID", descriptor);
  const PackOptions options{self, root_ / "DISK.ID", root_ / "files", root_ / "Packed.exe", {}};
  auto report = Pack(options);
  ASSERT_TRUE(report.ok()) << report.error();

  HMODULE module =
      LoadLibraryExW(options.output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr) << GetLastError();
  std::vector<std::wstring> names;
  EXPECT_TRUE(EnumResourceNamesW(module, MAKEINTRESOURCEW(10), CollectName, reinterpret_cast<LONG_PTR>(&names)));
  const std::vector<std::wstring> expected = {L"FILE:AAB.TXT",          L"FILE:A_B.TXT", L"FILE:CAF\u00C9.TXT",
                                              L"FILE:DATA\\SUB\\X.BIN", L"FILE:DISK.ID", L"FILE:Z.TXT"};
  EXPECT_EQ(names, expected);
  const std::map<std::wstring, std::string> contents = {
      {L"FILE:AAB.TXT", "capitals"},     {L"FILE:A_B.TXT", "underscore"},
      {L"FILE:CAF\u00C9.TXT", "accent"}, {L"FILE:DATA\\SUB\\X.BIN", files.at("Data/Sub/x.bin")},
      {L"FILE:DISK.ID", descriptor},     {L"FILE:Z.TXT", ""}};
  for (const auto& [name, original] : contents) {
    HRSRC found = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));
    ASSERT_NE(found, nullptr) << PathToUtf8(name);
    const DWORD size = SizeofResource(module, found);
    const void* data = LockResource(LoadResource(module, found));
    ASSERT_NE(data, nullptr);
    std::string bytes(static_cast<const char*>(data), size);
    ASSERT_TRUE(InflateData(bytes)) << PathToUtf8(name);
    EXPECT_TRUE(bytes == original) << PathToUtf8(name);
  }
  FreeLibrary(module);

  // The packed copy still loads and runs (here: lists no tests and ends with 0).
  std::wstring command = L"\"" + options.output.wstring() + L"\" --gtest_filter=NoSuchTest.None";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(options.output.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process))
      << GetLastError();
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60'000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// A file for every letter the loader upper-cases, and for the letters of
// one-way mappings it leaves: each one the packer accepts, the setup's own
// resource functions find by its stored name and by its name as it was.
TEST_F(PackOnWindows, EveryLetterThePackerAcceptsIsFoundAgain) {
  wchar_t self[MAX_PATH];
  ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::vector<std::string> names;
  for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
    const bool oneWay = c == U'\u00B5' || c == U'\u0131' || c == U'\u017F' || c == U'\u01C5' || c == U'\u03C2';
    if ((c >= 0xD800 && c <= 0xDFFF) || (WindowsUpperCase(c) == c && !oneWay)) continue;
    std::string name = "x";
    name += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(c)));
    name += ".bin";
    if (UnstorableLetter(name) == 0) names.push_back(name);
  }
  ASSERT_GT(names.size(), 1000u);
  for (const std::string& name : names) Write(root_ / "files" / PathFromUtf8(name), name);
  Write(root_ / "DISK.ID", "PRODUCT=Orvalis Test\r\n");
  const PackOptions options{self, root_ / "DISK.ID", root_ / "files", root_ / "Packed.exe", {}};
  auto report = Pack(options);
  ASSERT_TRUE(report.ok()) << report.error();

  HMODULE module =
      LoadLibraryExW(options.output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr) << GetLastError();
  std::vector<std::string> stored;
  EXPECT_TRUE(ListResourceNames(module, &stored, "FILE:", RT_RCDATA));
  EXPECT_EQ(stored.size(), names.size() + 1);  // and the descriptor
  std::string lost;
  for (const std::string& name : stored)
    if (LoadResourceData(module, "FILE:" + name, RT_RCDATA).empty()) lost += name + " ";
  for (const std::string& name : names) {
    std::string bytes = LoadResourceData(module, "FILE:" + name, RT_RCDATA);
    if (!InflateData(bytes) || bytes != name) lost += name + " ";
  }
  EXPECT_EQ(lost, "");
  FreeLibrary(module);
}

}  // namespace
}  // namespace orvalis::pack
