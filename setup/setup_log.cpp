// The run's log.
#include "setup/setup_log.h"

#include <cstdlib>

#include "core/text.h"

namespace orvalis {

void SetupLog::Open(const std::string& path, const std::string& header) {
  if (state_ != State::kPending) return;
  state_ = !path.empty() && host_.OpenLog(path) ? State::kOpen : State::kNone;
  if (state_ == State::kOpen) {
    host_.AppendLog(header);
    for (const auto& line : pending_) host_.AppendLog(line);
  }
  pending_.clear();
}

void SetupLog::Write(std::string line) {
  if (state_ == State::kOpen)
    host_.AppendLog(line);
  else if (state_ == State::kPending)
    pending_.push_back(std::move(line));
}

std::string LogTime(const LocalTime& time) {
  const auto part = [](int value, int modulus, int width) { return PaddedNumber(std::uint64_t(std::abs(value % modulus)), width); };
  return part(time.year, 10000, 4) + "-" + part(time.month, 100, 2) + "-" + part(time.day, 100, 2) + " " +
         part(time.hour, 100, 2) + ":" + part(time.minute, 100, 2) + ":" + part(time.second, 100, 2);
}

std::string LogHeader(std::string_view version, const LocalTime& started, std::string_view commandLine,
                      std::string_view params) {
  std::string line = "Orvalis Setup ";
  line.append(version).append(", started ").append(LogTime(started));
  line.append(", command line: ").append(commandLine.empty() ? "(none)" : commandLine);
  line.append(", PARAMS: ").append(params.empty() ? "(none)" : params);
  return line;
}

std::string LogError(std::uint32_t code, std::string_view text) {
  std::string line = "error " + std::to_string(code);
  if (!text.empty()) line.append(" (").append(text).append(")");
  return line;
}

std::string LogFileLine(std::string_view name, const ExtractResult& result) {
  std::string line = "file: ";
  line.append(name);
  if (result.ok) return line + ", " + std::to_string(result.size) + " bytes";
  line += ", FAILED";
  if (result.error != 0) return line + ": " + LogError(result.error, result.reason);
  if (!result.reason.empty()) line.append(": ").append(result.reason);
  return line;
}

}  // namespace orvalis
