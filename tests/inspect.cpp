// Test tool: looks at what a setup left behind, from inside Windows, and holds
// files open for the writability tests.
//   inspect.exe file PATH            → "size crc32 attributes" or "missing"
//   inspect.exe lnk PATH             → "target|arguments|working folder"
//   inspect.exe reg ROOT KEY NAME    → "type:value" (ROOT: HKCU, HKLM, HKCR) or "missing"
//   inspect.exe hold PATH SECONDS    → opens PATH with no sharing, prints "held", waits, closes
//   inspect.exe mutex NAME           → "exists" or "missing"
//   inspect.exe holdmutex NAME SECONDS → creates and owns the mutex, prints "held", waits, releases
//   inspect.exe attr PATH VALUE      → sets the file attributes (decimal)
#include <windows.h>
#include <shlobj.h>
#include <zlib.h>

#include <cstdio>
#include <string>

#include "win/com.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace {

using orvalis::win::Narrow;

int File(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  orvalis::win::unique_file file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    std::printf("missing\n");
    return 1;
  }
  std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ::ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr);
  unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
  std::printf("%zu %08lx %lu\n", bytes.size(), crc, attributes);
  return 0;
}

int Link(const std::wstring& path) {
  orvalis::win::com_ptr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
    return 2;
  auto file = link.query<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(path.c_str(), STGM_READ))) {
    std::printf("missing\n");
    return 1;
  }
  wchar_t target[MAX_PATH] = {}, arguments[1024] = {}, folder[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link->GetArguments(arguments, 1024);
  link->GetWorkingDirectory(folder, MAX_PATH);
  std::printf("%s|%s|%s\n", Narrow(target).c_str(), Narrow(arguments).c_str(), Narrow(folder).c_str());
  return 0;
}

int Reg(const std::wstring& root, const std::wstring& key, const std::wstring& name) {
  HKEY base = root == L"HKLM" ? HKEY_LOCAL_MACHINE : root == L"HKCR" ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
  orvalis::win::unique_hkey opened;
  if (::RegOpenKeyExW(base, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) {
    std::printf("missing\n");
    return 1;
  }
  DWORD type = 0, size = 0;
  const wchar_t* valueName = name == L"@" ? nullptr : name.c_str();
  if (::RegQueryValueExW(opened.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    std::printf("missing\n");
    return 1;
  }
  std::string data(size, '\0');
  ::RegQueryValueExW(opened.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  if (type == REG_DWORD) {
    std::printf("dword:%ld\n", *reinterpret_cast<const LONG*>(data.data()));
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    std::printf("sz:%s\n", Narrow(text).c_str());
  } else {
    std::printf("type%lu:%lu bytes\n", type, size);
  }
  return 0;
}

int Hold(const std::wstring& path, int seconds) {
  orvalis::win::unique_file file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    std::printf("cannot hold\n");
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  ::Sleep(DWORD(seconds) * 1000);
  return 0;
}

int HoldMutex(const std::wstring& name, int seconds) {
  orvalis::win::unique_handle mutex(::CreateMutexW(nullptr, TRUE, name.c_str()));
  if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
    std::printf("cannot hold\n");
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  ::Sleep(DWORD(seconds) * 1000);
  ::ReleaseMutex(mutex.get());
  return 0;
}

int Mutex(const std::wstring& name) {
  orvalis::win::unique_handle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
  std::printf(mutex ? "exists\n" : "missing\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  orvalis::win::com_scope com;
  std::wstring verb = argc > 1 ? argv[1] : L"";
  if (verb == L"file" && argc == 3) return File(argv[2]);
  if (verb == L"lnk" && argc == 3) return Link(argv[2]);
  if (verb == L"reg" && argc == 5) return Reg(argv[2], argv[3], argv[4]);
  if (verb == L"hold" && argc == 4) return Hold(argv[2], _wtoi(argv[3]));
  if (verb == L"mutex" && argc == 3) return Mutex(argv[2]);
  if (verb == L"holdmutex" && argc == 4) return HoldMutex(argv[2], _wtoi(argv[3]));
  if (verb == L"attr" && argc == 4) return ::SetFileAttributesW(argv[2], DWORD(_wtoi(argv[3]))) ? 0 : 1;
  std::fprintf(stderr, "usage: inspect.exe file|lnk|reg|hold|mutex|holdmutex|attr ...\n");
  return 2;
}
