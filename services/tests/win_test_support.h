// Helpers for tests that run under Windows (Wine): temporary folders, file
// bytes, the build output folder and the helper program the process tests start.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvalis::test {

// A fresh folder under %TEMP%, removed with everything in it at the end.
// path() ends with "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// The folder of the running test program, where the other build outputs lie.
[[nodiscard]] std::wstring BuildOutput(const std::wstring& fileName);

[[nodiscard]] std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The name of the last path element as the file system stores it (its case).
[[nodiscard]] std::wstring StoredName(const std::wstring& path);
// One zlib stream at the default level, as the packer writes them.
[[nodiscard]] std::string Deflate(const std::string& data);

// orvalis_test_helper.exe beside the test program: its path, the running
// copies, a copy started directly (not through the code under test; 0 when it
// cannot start), and ending every copy so the next test begins with none.
[[nodiscard]] std::string HelperPath();
[[nodiscard]] std::vector<DWORD> HelperProcesses();
DWORD StartHelper(const std::wstring& arguments);
void EndHelpers();

// Asks `condition` every 50 ms until it holds or `milliseconds` have passed.
template <typename Condition>
bool WaitFor(Condition condition, int milliseconds = 5000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (condition()) return true;
    ::Sleep(50);
  }
  return condition();
}

}  // namespace orvalis::test
