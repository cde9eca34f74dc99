// Splitting the program name off a command line.
#include "services/command_line.h"

namespace orvalis {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
  size_t at = 0;
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  if (at < commandLine.size() && commandLine[at] == '"') {
    size_t closing = commandLine.find('"', at + 1);
    at = closing == std::string_view::npos ? commandLine.size() : closing + 1;
  } else {
    while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  }
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

}  // namespace orvalis
