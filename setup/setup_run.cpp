// Shared steps of a setup run.
#include "setup/setup_run.h"

#include "core/text.h"
#include "setup/product_folder.h"
#include "setup/texts.h"

namespace orvalis {

const std::string& SetupRun::Text(int number) const { return SetupText(number, State.LanguageIndex); }

void SetupRun::Message(const std::string& text) { Host.ShowMessage(std::string(kApplicationTitle), text); }

bool SetupRun::OfferElevation(const std::string& message) {
  if (!Host.AskElevation(message + "\n\n" + Text(kTextElevationQuestion))) return false;
  // The command line goes on as it came, not re-joined from parsed arguments,
  // so a quoted /P:"C:\My Folder" reaches the elevated copy intact.
  Host.RestartElevated(CommandLine);
  return true;
}

std::string SetupRun::ProductFolder(std::string_view base) {
  return orvalis::ProductFolder(base, State, [this](const std::string& path) { return Host.FileExists(path); });
}

void SetupRun::OpenProgress(int maximum) {
  Host.OpenProgress(ProgressCaption, maximum);
  ProgressOpen = true;
  ProgressPosition = 0;
}

void SetupRun::ProgressStep(const std::string& text) {
  if (!ProgressOpen) return;
  Host.SetProgressText(text);
  Host.RepaintProgress();
}

void SetupRun::SetProgressPosition(int position) {
  if (!ProgressOpen) return;
  ProgressPosition = position;
  Host.SetProgressPosition(position);
}

void SetupRun::CloseProgress() {
  if (!ProgressOpen) return;
  Host.CloseProgress();
  ProgressOpen = false;
}

ProgramCommand SplitProgramFile(std::string_view programFile) {
  size_t at = UpperCase(programFile).find(".EXE ");
  if (at == std::string::npos) return {std::string(programFile), {}};
  return {std::string(programFile.substr(0, at + 4)), std::string(programFile.substr(at + 5))};
}

std::string CommandPath(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted.append(1, '"').append(path).append(1, '"');
  return quoted;
}

std::string CommandLineOf(std::string_view path, std::string_view parameters) {
  std::string line = CommandPath(path);
  if (!parameters.empty()) line.append(1, ' ').append(parameters);
  return line;
}

}  // namespace orvalis
