// Folder kinds and the special-folder fallbacks over fake sources.
#include "services/folder_kinds.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace orvalis {
namespace {

class FakeSources final : public FolderSources {
 public:
  std::string WindowsFolder() override { return "C:\\Windows"; }
  std::string SystemFolder() override { return "C:\\Windows\\system32"; }
  std::string TemporaryFolder() override { return "C:\\Temp\\"; }
  std::string CurrentFolder() override { return "D:\\Work"; }
  std::string ExecutablePath() override { return executable; }
  std::string SpecialFolder(int csidl) override {
    asked.push_back(csidl);
    return "special " + std::to_string(csidl);
  }
  std::string executable = "E:\\Tëst Map\\setup.exe";
  std::vector<int> asked;
};

TEST(FolderKinds, EachKindAsksItsOwnSource) {
  struct Case { int kind; const char* path; };
  const Case cases[] = {
      {0, ""},
      {1, "C:\\Windows"},
      {2, "C:\\Windows\\system32"},
      {3, "C:\\Temp\\"},
      {4, "D:\\Work"},
      {5, "E:\\Tëst Map\\"},
      {6, "special 38"},
      {7, "special 28"},
      {8, ""},
      {-1, ""},
  };
  for (const auto& c : cases) {
    FakeSources sources;
    EXPECT_EQ(SystemPathOf(c.kind, sources), c.path) << c.kind;
  }
}

TEST(FolderKinds, ExecutableFolderOfAnEmptyPathIsEmpty) {
  FakeSources sources;
  sources.executable = "";
  EXPECT_EQ(SystemPathOf(kFolderKindExecutable, sources), "");
}

TEST(FolderKinds, SpecialFolderFallbacks) {
  struct Case {
    const char* name;
    std::map<int, std::string> shell;
    std::string programFilesDir;
    int csidl;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"shell answer wins", {{23, "C:\\All\\Programs"}, {2, "C:\\Me\\Programs"}}, "", 23, "C:\\All\\Programs"},
      {"no common programs: the user's", {{2, "C:\\Me\\Programs"}}, "", 23, "C:\\Me\\Programs"},
      {"neither programs folder", {}, "", 23, ""},
      {"user's programs has no fallback", {}, "", 2, ""},
      {"desktop has no fallback", {{2, "x"}}, "x", 16, ""},
      {"program files from the shell", {{38, "C:\\Programs"}}, "D:\\Other", 38, "C:\\Programs"},
      {"program files from the registry", {}, "D:\\Program Files", 38, "D:\\Program Files"},
      {"quoted registry value", {}, "\"D:\\Program Files\"", 38, "D:\\Program Files"},
      {"only a leading quote", {}, "\"D:\\Apps", 38, "D:\\Apps"},
      {"a single quote character", {}, "\"", 38, "C:\\Program Files"},
      {"no registry value", {}, "", 38, "C:\\Program Files"},
  };
  for (const auto& c : cases) {
    int registryReads = 0;
    auto shell = [&](int csidl) {
      auto found = c.shell.find(csidl);
      return found == c.shell.end() ? std::string() : found->second;
    };
    auto registry = [&] {
      ++registryReads;
      return c.programFilesDir;
    };
    EXPECT_EQ(ResolveSpecialFolder(c.csidl, shell, registry), c.expected) << c.name;
    if (c.csidl != kCsidlProgramFiles) {
      EXPECT_EQ(registryReads, 0) << c.name;
    }
  }
}

TEST(FolderKinds, StripEnclosingQuotesRemovesAtMostOneAtEachEnd) {
  struct Case { const char* in; const char* out; };
  const Case cases[] = {{"\"a\"", "a"}, {"\"\"a\"\"", "\"a\""}, {"a\"", "a"}, {"\"", ""}, {"\"\"", ""}, {"a", "a"}};
  for (const auto& c : cases) EXPECT_EQ(StripEnclosingQuotes(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace orvalis
