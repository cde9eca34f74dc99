// Everything the setup driver asks of the machine and the user, as one
// interface. The Windows program implements it with the installation services
// and the setup's windows; tests implement it in memory and record every call.
// Paths and texts are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "services/uninstall_entry.h"

namespace orvalis {

// File attribute bits, as the platform numbers them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
inline constexpr std::uint32_t kNoAttributes = 0xFFFFFFFF;  // the file does not exist

// Folder kinds of GetSystemPath.
inline constexpr int kFolderTemporary = 3;      // ends with "\"
inline constexpr int kFolderProgramFiles = 6;   // no final "\"
inline constexpr int kFolderLocalAppData = 7;   // no final "\"

enum class LanguageChoice { kCancelled, kDutch, kEnglish };
enum class RunChoice { kCancelled, kExecute, kInstall };
enum class MainDialogResult { kInstall, kCancelled };

// What the run-or-install question shows.
struct RunOrInstallTexts {
  std::string question;
  std::string cancelCaption;
  std::string executeCaption;
  std::string installCaption;
};

// One entry of the main dialog's folder menu; state bit 1 disables, bit 2 checks.
struct FolderMenuItem {
  int tag = 0;
  std::string caption;  // "-" is a separator
  int state = 0;
};

// The main dialog's content. The window copies the check box into
// `customInstall` and the folder text into `installPath` when the user
// chooses Install.
struct MainDialogModel {
  std::string caption;
  std::string productName;
  std::string productInfoRtf;
  std::string versionLine;
  std::string folderLabel;
  std::string customCaption;
  std::string cancelCaption;
  std::string installCaption;
  bool customInstall = false;
  std::string installPath;
  // The folder button's menu.
  std::string programFolder;  // candidate under the program-files folder; empty: not available
  std::string localFolder;    // candidate under the local application-data folder
  std::string programFolderCaption;
  std::string localFolderCaption;
  std::string selectFolderCaption;
  std::string browseTitle;
  // The product sub-folder rule, for the folder the user browsed to.
  std::function<std::string(const std::string&)> productFolder;
};

// One line of the options dialog's file list. `tag` is the index of the
// payload entry, or kAssistFilesTag for the entry that stands for all assist files.
struct OptionsFileItem {
  std::string caption;
  int tag = 0;
  bool ticked = true;
};
inline constexpr int kAssistFilesTag = -2;

// The options dialog's content; the window writes the user's ticks back.
struct OptionsDialogModel {
  std::string caption;
  std::string productName;
  std::string cancelCaption;
  std::string installCaption;
  bool filesVisible = false;
  std::string filesHeading;
  std::vector<OptionsFileItem> files;
  bool optionsVisible = false;
  std::string registerCaption;
  std::string runCaption;
  std::string linkCaption;
  std::string menuCaption;
  std::string shortcutNote;
  bool linkVisible = false;
  bool menuVisible = false;
  bool shortcutNoteVisible = false;
  bool registerTicked = false;
  bool runTicked = false;
  bool linkTicked = false;
  bool menuTicked = false;
};

// The outcome of installing one payload file.
struct ExtractResult {
  bool ok = false;
  std::uint64_t size = 0;     // bytes written
  std::uint32_t error = 0;    // the system's error code of a failed create, write or replace; 0 otherwise
  std::string reason;         // what failed, in words: "missing", "damaged stream", "too large", or the system's message
};

// Local date and time, as the machine's clock has it.
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// What became of the elevated copy that RestartElevated started.
struct ElevatedCopy {
  bool started = false;
  std::uint32_t exitCode = 0;  // once it has ended
  std::uint32_t error = 0;     // the system's error code of a start that failed
};
// The error of a start that the user refused at the system's elevation prompt.
inline constexpr std::uint32_t kErrorCancelled = 1223;

class SetupHost {
 public:
  virtual ~SetupHost() = default;

  // --- Messages. Plain boxes have no icon; the caption is the application title.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // Yes/No question without icon; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // The elevation offer's warning box (platform caption, warning icon, Yes and
  // No); `text` already ends with the question. True for Yes.
  virtual bool AskElevation(const std::string& text) = 0;

  // --- Windows of the run.
  virtual LanguageChoice ChooseLanguage() = 0;
  virtual RunChoice ChooseRunOrInstall(const RunOrInstallTexts& texts) = 0;
  // Shows the main dialog with `model` and waits for Install or Cancel/close.
  virtual MainDialogResult ShowMainDialog(MainDialogModel& model) = 0;
  // Destroys the main window created by the program entry.
  virtual void DestroyMainWindow() = 0;
  // Shows the options dialog modally; true when confirmed.
  virtual bool ShowOptionsDialog(OptionsDialogModel& model) = 0;

  // --- Progress window. Opening replaces a window that is still open.
  virtual void OpenProgress(const std::string& caption, int maximum) = 0;
  virtual void SetProgressText(const std::string& text) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void RepaintProgress() = 0;
  virtual void CloseProgress() = 0;

  // --- Files and folders.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Creates the folder with every missing parent; true when it exists afterwards.
  virtual bool CreateFolders(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Names (without folder) of the files in `folder` that match a wildcard
  // pattern such as "PF*.QXA".
  virtual std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& pattern) = 0;
  // kNoAttributes when the file cannot be read.
  virtual std::uint32_t ReadAttributes(const std::string& path) = 0;
  // 0 clears every attribute.
  virtual bool WriteAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // Opens the file for reading and writing without sharing and closes it again.
  virtual bool CanOpenExclusive(const std::string& path) = 0;

  // --- Payload travelling in the setup's own image ("FILE:" + name resources).
  // Names without the prefix, in resource order; false when there are none.
  virtual bool ListPayloadNames(std::vector<std::string>& names) = 0;
  // The raw zlib stream of one payload; empty when missing or unreadable.
  virtual std::string LoadPayloadData(const std::string& name) = 0;
  // Inflates payload `name` into `path`, through a temporary file beside it.
  virtual ExtractResult ExtractPayloadFile(const std::string& name, const std::string& path) = 0;

  // --- Per-user settings store: HKCU\Software\Orvalis\<product key>\<section>.
  virtual void SetProductKey(const std::string& product) = 0;
  virtual std::string ReadSetting(const std::string& section, const std::string& name) = 0;
  virtual std::int32_t ReadSettingInt(const std::string& section, const std::string& name) = 0;
  virtual bool WriteSetting(const std::string& section, const std::string& name, const std::string& value,
                            bool deleteIfEmpty) = 0;
  virtual bool WriteSettingInt(const std::string& section, const std::string& name, std::int32_t value,
                               bool deleteIfZero) = 0;

  // --- System.
  virtual bool IsUserAdministrator() = 0;
  // The folder of a folder kind; empty when it cannot be determined.
  virtual std::string GetSystemPath(int kind) = 0;
  // False when a value could not be written.
  virtual bool RegisterUninstall(const std::string& uninstallCommand, const std::string& entryName, bool perUser,
                                 const std::string& displayName, const UninstallDetails& details) = 0;
  virtual bool AssociateFileType(const std::string& ext, const std::string& program,
                                 const std::string& description) = 0;
  virtual void CreateShortcut(const std::string& target, const std::string& arguments, const std::string& name,
                              bool onDesktop) = 0;
  // The shell's "open" operation, normal window; the result is not needed.
  virtual void OpenProgram(const std::string& file, const std::string& parameters, const std::string& folder) = 0;
  // Starts the setup again with administrator rights and `commandLine` as its
  // arguments, unchanged.
  virtual void RestartElevated(const std::string& commandLine) = 0;
  // The named mutex "OrvalisSetup", held from the install loop until registration is done.
  // False when another run holds it (this run then does not).
  virtual bool AcquireSetupMutex() = 0;
  virtual void ReleaseSetupMutex() = 0;
  // A blocking pause.
  virtual void Wait(int milliseconds) = 0;

  // --- Deployment: the run's log, the clock, system errors, the elevated copy.
  // Opens the log file for appending, creating it when missing; false when it cannot be opened.
  virtual bool OpenLog(const std::string& path) = 0;
  // Writes one line to the open log; nothing happens while none is open.
  virtual void AppendLog(const std::string& line) = 0;
  virtual LocalTime Now() = 0;
  // The system's error code of the last CreateFolders that failed; 0 when unknown.
  virtual std::uint32_t LastFolderError() = 0;
  // The system's message for an error code, on one line.
  virtual std::string ErrorText(std::uint32_t code) = 0;
  // Waits until the copy that RestartElevated started has ended.
  virtual ElevatedCopy WaitForElevatedCopy() = 0;
};

}  // namespace orvalis
