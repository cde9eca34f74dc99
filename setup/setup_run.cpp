// Shared steps of a setup run.
#include "setup/setup_run.h"

#include "core/text.h"
#include "setup/product_folder.h"
#include "setup/texts.h"

namespace orvalis {

const std::string& SetupRun::Text(int number) const { return SetupText(number, State.LanguageIndex); }

void SetupRun::Message(const std::string& text) {
  Log.Write("message: " + OneLine(text));
  if (!State.Quiet) Host.ShowMessage(std::string(kApplicationTitle), text);
}

bool SetupRun::OfferElevation(const std::string& message) {
  if (State.Quiet) {
    Log.Write("elevation offer declined (quiet run): " + OneLine(message));
    return false;
  }
  const bool accepted = Host.AskElevation(message + "\n\n" + Text(kTextElevationQuestion));
  Log.Write(std::string("elevation offer ") + (accepted ? "accepted" : "declined") + ": " + OneLine(message));
  if (!accepted) return false;
  // The command line goes on as it came, not re-joined from parsed arguments,
  // so a quoted /P:"C:\My Folder" reaches the elevated copy intact.
  Host.RestartElevated(CommandLine);
  ElevationAccepted = true;
  return true;
}

std::string SetupRun::ProductFolder(std::string_view base) {
  return orvalis::ProductFolder(base, State, [this](const std::string& path) { return Host.FileExists(path); });
}

void SetupRun::OpenProgress(int maximum) {
  if (State.Quiet) return;
  Host.OpenProgress(ProgressCaption, maximum);
  ProgressOpen = true;
  ProgressPosition = 0;
}

void SetupRun::ProgressStep(int textNumber, std::string_view suffix) {
  Log.Write("step: " + SetupText(textNumber, kEnglish) + std::string(suffix));
  if (!ProgressOpen) return;
  Host.SetProgressText(Text(textNumber) + std::string(suffix));
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

int SetupRun::ExitCode() const {
  if (OtherSetupRunning) return kExitSetupRunning;
  if (Ok) return RegistrationFailed ? kExitFailed : kExitSuccess;
  return Cancelled ? kExitCancelled : kExitFailed;
}

std::string OneLine(std::string_view text) {
  std::string line;
  bool lineBreak = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      lineBreak = true;
      continue;
    }
    if (lineBreak && !line.empty()) line += ' ';
    lineBreak = false;
    line += c;
  }
  return line;
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
