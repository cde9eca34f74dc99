// The working state of one RunSetup call, shared by its phases: the host, the
// run's record, the payload list and the flags that live only for the run.
#pragma once

#include "setup/setup_host.h"
#include "setup/setup_state.h"

#include <string>
#include <string_view>

namespace orvalis {

struct SetupRun {
  SetupRun(SetupState& state, SetupHost& host, std::string_view commandLine)
      : State(state), Host(host), CommandLine(commandLine) {}

  SetupState& State;
  SetupHost& Host;
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

  // Text `number` in the run's language.
  [[nodiscard]] const std::string& Text(int number) const;
  // A plain message box with the application title.
  void Message(const std::string& text);
  // The elevation offer: `message`, two line breaks and the question. On Yes an
  // elevated copy is started with this run's command line; true means the
  // caller ends its run.
  bool OfferElevation(const std::string& message);
  // The product sub-folder of `base`, asking the host whether files exist.
  [[nodiscard]] std::string ProductFolder(std::string_view base);

  // Progress window steps; they do nothing while no window is open.
  void OpenProgress(int maximum);
  void ProgressStep(const std::string& text);  // sets the text and repaints
  void SetProgressPosition(int position);
  void CloseProgress();
};

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
