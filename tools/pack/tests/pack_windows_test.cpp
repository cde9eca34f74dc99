// The packer's output as Windows itself sees it: the test program packs a copy
// of its own executable (a real MinGW-linked image), reads the payload back
// with the resource API and starts the packed copy.
#include "tools/pack/packer.h"

#include "services/inflate.h"

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
  const PackOptions options{self, root_ / "DISK.ID", root_ / "files", root_ / "Packed.exe"};
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

}  // namespace
}  // namespace orvalis::pack
