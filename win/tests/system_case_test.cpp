// The case table against the system's own: every character of the Basic
// Multilingual Plane, through the function the resource loader upper-cases
// names with and through the locale API.
#include "core/text.h"
#include "win/wide.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace orvalis {
namespace {

using CaseChar = WCHAR(NTAPI*)(WCHAR);

CaseChar NtdllFunction(const char* name) {
  return reinterpret_cast<CaseChar>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

WCHAR LocaleMap(WCHAR c, DWORD flags) {
  WCHAR out = c;
  return ::LCMapStringEx(LOCALE_NAME_INVARIANT, flags, &c, 1, &out, 1, nullptr, nullptr, 0) == 1 ? out : 0;
}

// What a same-length mapping makes of one character: `mapped` when it keeps
// the UTF-8 length, else the character itself.
std::string SameLength(WCHAR c, WCHAR mapped) {
  const std::string from = win::Narrow(std::wstring(1, c)), to = win::Narrow(std::wstring(1, mapped));
  return to.size() == from.size() ? to : from;
}

TEST(SystemCase, EveryCharacterMapsAsTheSystemMapsIt) {
  const CaseChar upcase = NtdllFunction("RtlUpcaseUnicodeChar");
  const CaseChar downcase = NtdllFunction("RtlDowncaseUnicodeChar");
  ASSERT_NE(upcase, nullptr);
  ASSERT_NE(downcase, nullptr);
  int mismatches = 0, mapped = 0;
  std::string report;
  auto mismatch = [&](const char* what, unsigned c, unsigned got, unsigned system) {
    char line[96];
    std::snprintf(line, sizeof line, "%s of U+%04X gives U+%04X, the system U+%04X\n", what, c, got, system);
    if (++mismatches <= 20) report += line;
  };
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const WCHAR c = static_cast<WCHAR>(code);
    const WCHAR upper = upcase(c), lower = downcase(c);
    mapped += upper != c ? 1 : 0;
    if (WindowsUpperCase(code) != upper) mismatch("WindowsUpperCase", code, WindowsUpperCase(code), upper);
    if (LocaleMap(c, LCMAP_UPPERCASE) != upper) mismatch("LCMapStringEx", code, LocaleMap(c, LCMAP_UPPERCASE), upper);
    const std::string text = win::Narrow(std::wstring(1, c));
    if (UpperCase(text) != SameLength(c, upper)) mismatch("UpperCase", code, win::Wide(UpperCase(text))[0], upper);
    if (LowerCase(text) != SameLength(c, lower)) mismatch("LowerCase", code, win::Wide(LowerCase(text))[0], lower);
  }
  EXPECT_EQ(mismatches, 0) << report;
  EXPECT_GT(mapped, 1000);  // the system's table is really there
}

}  // namespace
}  // namespace orvalis
