// The run's log for the people who deploy the product: plain UTF-8 lines,
// written through the host into the file named by /O:. The file is known only
// after the descriptor's PARAMS; lines from before are kept until then.
#pragma once

#include "setup/setup_host.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalis {

class SetupLog {
 public:
  explicit SetupLog(SetupHost& host) : host_(host) {}

  // Opens the log at `path` through the host, writes `header` and then the
  // lines kept so far. An empty path, or a file that cannot be opened, ends
  // logging for the run. Only the first call counts.
  void Open(const std::string& path, const std::string& header);
  // A line for the log; kept while the log is not yet open, dropped when
  // the run has none.
  void Write(std::string line);
  [[nodiscard]] bool IsOpen() const { return state_ == State::kOpen; }

 private:
  enum class State { kPending, kOpen, kNone };
  SetupHost& host_;
  State state_ = State::kPending;
  std::vector<std::string> pending_;
};

// "2025-01-14 09:05:03".
[[nodiscard]] std::string LogTime(const LocalTime& time);

// The first line: the setup's version, when it started, its command line and
// the descriptor's PARAMS.
[[nodiscard]] std::string LogHeader(std::string_view version, const LocalTime& started,
                                    std::string_view commandLine, std::string_view params);

// "error 5 (Access is denied.)"; without a text just "error 5".
[[nodiscard]] std::string LogError(std::uint32_t code, std::string_view text);

// One installed payload file: "file: NAME, SIZE bytes", or its failure with
// the system's error code and the reason.
[[nodiscard]] std::string LogFileLine(std::string_view name, const ExtractResult& result);

}  // namespace orvalis
