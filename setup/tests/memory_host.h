// An in-memory machine and user for driving the setup run in tests: files,
// folders, payload, settings and system state to start from, scripted answers
// for every dialog and question, and a record of every call.
#pragma once

#include "setup/setup_host.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvalis {

// A zlib stream of `content`, as the packer stores payload.
std::string Deflate(const std::string& content);

class MemoryHost : public SetupHost {
 public:
  // --- Starting state ------------------------------------------------------
  struct File {
    std::string path;  // as first written
    std::string bytes;
    std::uint32_t attributes = kAttributeArchive;
    int lockedUntilMs = 0;  // held open by another program until then; kLockedForever
  };
  static constexpr int kLockedForever = -1;

  struct Setting {
    bool isInteger = false;
    std::int32_t number = 0;
    std::string text;
  };

  void AddFile(const std::string& path, const std::string& bytes = "old",
               std::uint32_t attributes = kAttributeArchive);
  void AddFolder(const std::string& path);
  void LockFile(const std::string& path, int untilMs);
  // Creating folders and writing files under `prefix` fails (no rights).
  void DenyWrites(const std::string& prefix) { denied_.push_back(prefix); }
  void AddPayload(const std::string& name, const std::string& content) { payload_.push_back({name, Deflate(content)}); }
  void AddRawPayload(const std::string& name, const std::string& raw) { payload_.push_back({name, raw}); }
  void SetDescriptor(const std::string& text) { AddPayload("DISK.ID", text); }
  void SetSetting(const std::string& product, const std::string& section, const std::string& name,
                  const std::string& text);
  void SetSettingInt(const std::string& product, const std::string& section, const std::string& name,
                     std::int32_t number);

  bool administrator = false;
  std::map<int, std::string> systemPaths = {{kFolderTemporary, "C:\\Temp\\"},
                                            {kFolderProgramFiles, "C:\\Program Files"},
                                            {kFolderLocalAppData, "C:\\Users\\u\\AppData\\Local"}};
  std::set<std::string> failingFileTypes;  // AssociateFileType fails for these
  bool uninstallFails = false;              // RegisterUninstall reports a value not written
  bool mutexHeldElsewhere = false;          // another run holds the setup mutex
  bool logCannotOpen = false;
  LocalTime clock = {2025, 1, 14, 9, 5, 3};
  ElevatedCopy elevatedCopy = {true, 0, 0};  // what WaitForElevatedCopy reports

  // --- Scripted answers (an unscripted dialog fails the test and cancels) ---
  std::deque<LanguageChoice> languageAnswers;
  std::deque<RunChoice> runAnswers;
  std::deque<std::function<MainDialogResult(MainDialogModel&)>> mainDialogAnswers;
  std::deque<std::function<bool(OptionsDialogModel&)>> optionsAnswers;
  std::deque<bool> questionAnswers;
  std::deque<bool> elevationAnswers;
  // Main dialog answers: Install as shown, Install with another folder, Cancel.
  static std::function<MainDialogResult(MainDialogModel&)> Install();
  static std::function<MainDialogResult(MainDialogModel&)> InstallInto(const std::string& folder, bool custom = false);
  static std::function<MainDialogResult(MainDialogModel&)> CancelMain();

  // --- Record --------------------------------------------------------------
  struct Message {
    std::string kind;  // "message", "question" or "elevation"
    std::string caption;
    std::string text;
  };
  struct Uninstall {
    std::string command, entryName;
    bool perUser = false;
    std::string displayName;
    UninstallDetails details;
  };
  struct Association {
    std::string ext, program, description;
  };
  struct Shortcut {
    std::string target, arguments, name;
    bool onDesktop = false;
  };
  struct Started {
    std::string file, parameters, folder;
  };

  std::vector<std::string> calls;  // every call in order, one line each
  std::vector<Message> messages;
  std::vector<MainDialogModel> mainDialogs;  // as shown
  std::vector<OptionsDialogModel> optionsDialogs;
  std::vector<RunOrInstallTexts> runQuestions;
  int languageDialogs = 0;
  std::vector<Uninstall> uninstallEntries;
  std::vector<Association> associations;
  std::vector<Shortcut> shortcuts;
  std::vector<Started> started;
  std::vector<std::string> elevatedRestarts;
  std::vector<std::string> progressTexts;
  std::vector<int> progressPositions;
  std::vector<std::string> progressCaptions;
  int progressMaximum = 0;
  bool progressOpen = false;
  std::vector<int> waits;
  int nowMs = 0;
  std::string logPath;  // as opened
  std::vector<std::string> logLines;
  std::string productKey = "XXX";

  // --- Queries -------------------------------------------------------------
  [[nodiscard]] const File* FindFile(const std::string& path) const;
  [[nodiscard]] bool HasFolder(const std::string& path) const;
  [[nodiscard]] std::optional<Setting> StoredSetting(const std::string& product, const std::string& section,
                                                     const std::string& name) const;
  [[nodiscard]] std::vector<std::string> FilePaths() const;  // sorted, as written
  [[nodiscard]] int CountCalls(const std::string& prefix) const;
  // Index of the first call that starts with `prefix`, or -1.
  [[nodiscard]] int CallIndex(const std::string& prefix) const;

  // --- SetupHost -----------------------------------------------------------
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
  bool AssociateFileType(const std::string& ext, const std::string& program, const std::string& description) override;
  void CreateShortcut(const std::string& target, const std::string& arguments, const std::string& name,
                      bool onDesktop) override;
  void OpenProgram(const std::string& file, const std::string& parameters, const std::string& folder) override;
  void RestartElevated(const std::string& commandLine) override;
  bool AcquireSetupMutex() override;
  void ReleaseSetupMutex() override;
  void Wait(int milliseconds) override;
  bool OpenLog(const std::string& path) override;
  void AppendLog(const std::string& line) override;
  LocalTime Now() override { return clock; }
  std::uint32_t LastFolderError() override { return folderError_; }
  std::string ErrorText(std::uint32_t code) override;
  ElevatedCopy WaitForElevatedCopy() override;

 private:
  static std::string Key(const std::string& path);
  static std::string SettingKey(const std::string& product, const std::string& section, const std::string& name);
  [[nodiscard]] bool Denied(const std::string& path) const;
  [[nodiscard]] bool Locked(const File& file) const;
  File* Find(const std::string& path);

  std::map<std::string, File> files_;
  std::set<std::string> folders_;
  std::vector<std::string> denied_;
  std::uint32_t folderError_ = 0;
  std::vector<std::pair<std::string, std::string>> payload_;
  std::map<std::string, Setting> settings_;
};

}  // namespace orvalis
