// Test helpers for the Windows side.
#include "services/tests/win_test_support.h"

#include <tlhelp32.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <atomic>

#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::test {
namespace {

const std::wstring kHelperName = L"orvalis_test_helper.exe";

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  win::unique_find find(::FindFirstFileW((folder + L"*").c_str(), &data));
  if (find) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = folder + name;
      ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full + L"\\");
      else
        ::DeleteFileW(full.c_str());
    } while (::FindNextFileW(find.get(), &data));
  }
  find.reset();
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + L"orvalis-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(counter++) + L"\\";
  RemoveTree(path_);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring BuildOutput(const std::wstring& fileName) {
  wchar_t self[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + fileName;
}

std::string ReadFileBytes(const std::wstring& path) {
  win::unique_file file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    ADD_FAILURE() << "cannot open for reading";
    return "<missing>";
  }
  std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) {
    EXPECT_TRUE(::ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr));
  }
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  win::unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
}

std::wstring StoredName(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  win::unique_find find(::FindFirstFileW(path.c_str(), &data));
  return find ? std::wstring(data.cFileName) : std::wstring(L"<missing>");
}

std::string Deflate(const std::string& data) {
  uLongf size = compressBound(uLong(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                      uLong(data.size()), Z_DEFAULT_COMPRESSION),
            Z_OK);
  out.resize(size);
  return out;
}

std::string HelperPath() { return win::Narrow(BuildOutput(kHelperName)); }

std::vector<DWORD> HelperProcesses() {
  std::vector<DWORD> found;
  win::unique_file snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    if (_wcsicmp(entry.szExeFile, kHelperName.c_str()) == 0) found.push_back(entry.th32ProcessID);
  return found;
}

DWORD StartHelper(const std::wstring& arguments) {
  std::wstring line = L"\"" + BuildOutput(kHelperName) + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    ADD_FAILURE() << "cannot start the helper";
    return 0;
  }
  ::WaitForInputIdle(info.hProcess, 5000);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return info.dwProcessId;
}

void EndHelpers() {
  for (DWORD id : HelperProcesses()) {
    win::unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 5000);
    }
  }
}

}  // namespace orvalis::test
