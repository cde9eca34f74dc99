// The setup run's host on Windows: every effect of a run goes through the
// installation services and the setup's windows from here.
#pragma once

#include <memory>

#include "services/inflate.h"
#include "setup/setup_host.h"
#include "win/unique_any.h"

namespace orvalis {

class TfrmProgress;
class TSForm;

class Win32Host final : public SetupHost {
 public:
  Win32Host();
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskElevation(const std::string& text) override;

  LanguageChoice ChooseLanguage() override;
  RunChoice ChooseRunOrInstall(const RunOrInstallTexts& texts) override;
  MainDialogResult ShowMainDialog(MainDialogModel& model) override;
  void DestroyMainWindow() override;
  bool ShowOptionsDialog(OptionsDialogModel& model) override;

  void OpenProgress(const std::string& caption, int maximum) override;
  void SetProgressText(const std::string& text) override;
  void SetProgressPosition(int position) override;
  void RepaintProgress() override;
  void CloseProgress() override;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& pattern) override;
  std::uint32_t ReadAttributes(const std::string& path) override;
  bool WriteAttributes(const std::string& path, std::uint32_t attributes) override;
  bool CanOpenExclusive(const std::string& path) override;

  bool ListPayloadNames(std::vector<std::string>& names) override;
  std::string LoadPayloadData(const std::string& name) override;
  ExtractResult ExtractPayloadFile(const std::string& name, const std::string& path) override;

  void SetProductKey(const std::string& product) override;
  std::string ReadSetting(const std::string& section, const std::string& name) override;
  std::int32_t ReadSettingInt(const std::string& section, const std::string& name) override;
  bool WriteSetting(const std::string& section, const std::string& name, const std::string& value,
                    bool deleteIfEmpty) override;
  bool WriteSettingInt(const std::string& section, const std::string& name, std::int32_t value,
                       bool deleteIfZero) override;

  bool IsUserAdministrator() override;
  std::string GetSystemPath(int kind) override;
  bool RegisterUninstall(const std::string& uninstallCommand, const std::string& entryName, bool perUser,
                         const std::string& displayName, const UninstallDetails& details) override;
  bool AssociateFileType(const std::string& ext, const std::string& program,
                         const std::string& description) override;
  void CreateShortcut(const std::string& target, const std::string& arguments, const std::string& name,
                      bool onDesktop) override;
  void OpenProgram(const std::string& file, const std::string& parameters, const std::string& folder) override;
  void RestartElevated(const std::string& commandLine) override;
  bool AcquireSetupMutex() override;
  void ReleaseSetupMutex() override;
  void Wait(int milliseconds) override;

  bool OpenLog(const std::string& path) override;
  void AppendLog(const std::string& line) override;
  LocalTime Now() override;
  std::uint32_t LastFolderError() override;
  std::string ErrorText(std::uint32_t code) override;
  ElevatedCopy WaitForElevatedCopy() override;

 private:
  // A message box stops the run: the progress window first shows where it is.
  void ShowProgressNow();
  // Windows of passes that failed at the writability check stay open under
  // the newest one until the run ends.
  std::vector<std::unique_ptr<TfrmProgress>> progress_;
  // Made on first use, shown by every interactive pass, destroyed after the loop.
  std::unique_ptr<TSForm> main_;
  win::unique_handle mutex_;
  bool mutexOwned_ = false;
  win::unique_file log_;
  std::uint32_t folderError_ = 0;
  win::unique_handle elevated_;    // the elevated copy, once started
  std::uint32_t elevatedError_ = 0;  // why it did not start
  // One inflate state and output buffer for every payload file of the run.
  InflateBuffers inflateBuffers_;
};

}  // namespace orvalis
