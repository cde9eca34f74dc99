// The working state of one RunSetup call, shared by its phases: the host, the
// run's record, the payload list and the flags that live only for the run.
#pragma once

#include "setup/setup_host.h"
#include "setup/setup_log.h"
#include "setup/setup_state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// The exit codes of a run, in the numbers deployment tools know.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitCancelled = 1602;      // the user cancelled a dialog
inline constexpr int kExitFailed = 1603;         // the installation or its registration failed
inline constexpr int kExitSetupRunning = 1618;   // quiet run: another run holds the setup mutex

struct SetupRun {
  SetupRun(SetupState& state, SetupHost& host, std::string_view commandLine)
      : State(state), Host(host), Log(host), CommandLine(commandLine) {}

  SetupState& State;
  SetupHost& Host;
  SetupLog Log;
  std::string CommandLine;   // as the program received it; handed on to an elevated copy
  PayloadList Payload;
  std::string Descriptor;    // inflated descriptor text, empty when unreadable
  bool Ok = true;            // cleared by every failure and every cancel
  bool DirectRun = false;
  bool OptionsCancelled = false;
  bool AssistSelected = false;
  std::string ProgressCaption;
  bool ProgressOpen = false;
  int ProgressPosition = 0;
  bool Cancelled = false;            // the user cancelled the dialog that ended the run
  bool RegistrationFailed = false;   // a registry value of the registration could not be written
  bool OtherSetupRunning = false;    // a quiet run found the setup mutex held and installed nothing
  bool ElevationAccepted = false;    // an elevated copy was started to take over
  std::uint64_t BytesWritten = 0;    // payload bytes of the last install pass

  // Text `number` in the run's language.
  [[nodiscard]] const std::string& Text(int number) const;
  // A plain message box with the application title; logged, and in a quiet
  // run only logged.
  void Message(const std::string& text);
  // The elevation offer: `message`, two line breaks and the question. On Yes an
  // elevated copy is started with this run's command line; true means the
  // caller ends its run. A quiet run asks nothing and counts it as declined.
  bool OfferElevation(const std::string& message);
  // The product sub-folder of `base`, asking the host whether files exist.
  [[nodiscard]] std::string ProductFolder(std::string_view base);

  // Progress window steps; they do nothing while no window is open. A quiet
  // run opens none.
  void OpenProgress(int maximum);
  // Shows text `textNumber` (and `suffix`) and repaints; the log gets the
  // step in English.
  void ProgressStep(int textNumber, std::string_view suffix = {});
  void SetProgressPosition(int position);
  void CloseProgress();

  // The exit code of the run as it stands, before any elevated copy's.
  [[nodiscard]] int ExitCode() const;
};

// `text` on one line for the log: each run of line breaks becomes one blank.
[[nodiscard]] std::string OneLine(std::string_view text);

// The program file of the descriptor split at ".EXE " (any case): the part up
// to and including ".EXE", and the parameters after the blank. Without that
// pattern everything is the file and the parameters are empty.
struct ProgramCommand {
  std::string file;
  std::string parameters;
};
[[nodiscard]] ProgramCommand SplitProgramFile(std::string_view programFile);

// A program path as the first token of a command line: in double quotes when it
// holds a blank, otherwise exactly as given.
[[nodiscard]] std::string CommandPath(std::string_view path);

// `path` + " " + `parameters`, with the path quoted by CommandPath; no blank
// when there are no parameters.
[[nodiscard]] std::string CommandLineOf(std::string_view path, std::string_view parameters);

}  // namespace orvalis
