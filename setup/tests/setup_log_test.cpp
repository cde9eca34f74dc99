// The run's log: lines kept until the file is known, and the line formats.
#include "setup/setup_log.h"

#include "setup/tests/memory_host.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

TEST(SetupLog, KeepsLinesUntilOpenedAndWritesTheHeaderFirst) {
  struct Case {
    const char* what;
    std::string path;
    bool cannotOpen;
    std::vector<std::string> written;
  };
  const Case cases[] = {
      {"opened", "C:\\logs\\run.log", false, {"header", "early", "late"}},
      {"no path", "", false, {}},
      {"file cannot be opened", "Q:\\run.log", true, {}},
  };
  for (const auto& c : cases) {
    MemoryHost host;
    host.logCannotOpen = c.cannotOpen;
    SetupLog log(host);
    log.Write("early");
    EXPECT_TRUE(host.logLines.empty()) << c.what;
    log.Open(c.path, "header");
    log.Open("C:\\other.log", "second header");  // only the first call counts
    log.Write("late");
    EXPECT_EQ(host.logLines, c.written) << c.what;
    EXPECT_EQ(log.IsOpen(), !c.written.empty()) << c.what;
  }
}

TEST(SetupLog, LineFormats) {
  EXPECT_EQ(LogHeader("1.0.0", {2025, 1, 4, 9, 5, 3}, "/Q /O:\"C:\\a b.log\"", ""),
            "Orvalis Setup 1.0.0, started 2025-01-04 09:05:03, command line: /Q /O:\"C:\\a b.log\", PARAMS: (none)");
  EXPECT_EQ(LogHeader("2.1.0", {}, "", "/M:ENU"),
            "Orvalis Setup 2.1.0, started 0000-00-00 00:00:00, command line: (none), PARAMS: /M:ENU");
  struct Case { ExtractResult result; const char* line; };
  const Case cases[] = {
      {{true, 1234, 0, ""}, "file: Data\\Tëst.csv, 1234 bytes"},
      {{true, 0, 0, ""}, "file: Data\\Tëst.csv, 0 bytes"},
      {{false, 0, 5, "Access is denied."}, "file: Data\\Tëst.csv, FAILED: error 5 (Access is denied.)"},
      {{false, 0, 112, ""}, "file: Data\\Tëst.csv, FAILED: error 112"},
      {{false, 0, 0, "damaged stream"}, "file: Data\\Tëst.csv, FAILED: damaged stream"},
      {{false, 0, 0, ""}, "file: Data\\Tëst.csv, FAILED"},
  };
  for (const auto& c : cases) EXPECT_EQ(LogFileLine("Data\\Tëst.csv", c.result), c.line);
}

}  // namespace
}  // namespace orvalis
