// Path pieces and command quoting.
#include "services/paths.h"

#include "core/text.h"

namespace orvalis {
namespace {

size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/:"); }

}  // namespace

std::string_view FolderPart(std::string_view path) {
  size_t at = LastSeparator(path);
  return at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1);
}

std::string_view FileNamePart(std::string_view path) {
  size_t at = LastSeparator(path);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

std::string StartFolderOf(std::string_view file) {
  size_t at = file.find_last_of('\\');
  if (at == std::string_view::npos) return {};
  std::string folder(file.substr(0, at));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

std::string QuoteProgram(std::string_view programPath) {
  if (!programPath.empty() && programPath.front() == '"') return std::string(programPath);
  std::string_view program = programPath;
  std::string_view rest;
  size_t exe = UpperCase(programPath).find(".EXE ");
  if (exe != std::string::npos) {
    program = programPath.substr(0, exe + 4);
    rest = programPath.substr(exe + 4);
  }
  if (program.find(' ') == std::string_view::npos) return std::string(programPath);
  std::string out;
  out.reserve(programPath.size() + 2);
  out += '"';
  out += program;
  out += '"';
  out += rest;
  return out;
}

}  // namespace orvalis
