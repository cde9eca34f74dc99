// In-memory setup host.
#include "setup/tests/memory_host.h"

#include "core/text.h"
#include "services/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

namespace orvalis {
namespace {

std::string WithoutFinalSlash(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '\\') p.pop_back();
  return p;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool WildcardMatch(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return text.empty();
  if (pattern[0] == '*') {
    for (size_t i = 0; i <= text.size(); ++i)
      if (WildcardMatch(text.substr(i), pattern.substr(1))) return true;
    return false;
  }
  if (text.empty()) return false;
  if (pattern[0] != '?' && pattern[0] != text[0]) return false;
  return WildcardMatch(text.substr(1), pattern.substr(1));
}

template <typename T>
bool Next(std::deque<T>& answers, T& answer, const char* what) {
  if (answers.empty()) {
    ADD_FAILURE() << "unscripted " << what;
    return false;
  }
  answer = std::move(answers.front());
  answers.pop_front();
  return true;
}

}  // namespace

std::string Deflate(const std::string& content) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::string out(size, '\0');
  int rc = compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(content.data()),
                    static_cast<uLong>(content.size()));
  EXPECT_EQ(rc, Z_OK);
  out.resize(size);
  return out;
}

// --- Starting state --------------------------------------------------------

// Upper-cased, without a final backslash, with "." and ".." segments resolved the
// way the platform resolves them.
std::string MemoryHost::Key(const std::string& path) {
  std::vector<std::string> segments;
  std::string upper = UpperCase(WithoutFinalSlash(path));
  size_t start = 0;
  while (start <= upper.size()) {
    size_t end = upper.find('\\', start);
    if (end == std::string::npos) end = upper.size();
    std::string segment = upper.substr(start, end - start);
    if (segment == "..") {
      if (segments.size() > 1) segments.pop_back();
    } else if (segment != "." && !(segment.empty() && !segments.empty())) {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string key;
  for (size_t i = 0; i < segments.size(); ++i) key += (i ? "\\" : "") + segments[i];
  return key;
}

std::string MemoryHost::SettingKey(const std::string& product, const std::string& section, const std::string& name) {
  return UpperCase(product + "|" + section + "|" + name);
}

void MemoryHost::AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
  AddFolder(FolderOf(path));
  files_[Key(path)] = File{path, bytes, attributes, 0};
}

void MemoryHost::AddFolder(const std::string& path) {
  std::string p = WithoutFinalSlash(path);
  while (!p.empty()) {
    folders_.insert(Key(p));
    p = FolderOf(p);
  }
}

void MemoryHost::LockFile(const std::string& path, int untilMs) {
  File* file = Find(path);
  ASSERT_NE(file, nullptr) << path;
  file->lockedUntilMs = untilMs;
}

void MemoryHost::SetSetting(const std::string& product, const std::string& section, const std::string& name,
                            const std::string& text) {
  settings_[SettingKey(product, section, name)] = Setting{false, 0, text};
}

void MemoryHost::SetSettingInt(const std::string& product, const std::string& section, const std::string& name,
                               std::int32_t number) {
  settings_[SettingKey(product, section, name)] = Setting{true, number, {}};
}

std::function<MainDialogResult(MainDialogModel&)> MemoryHost::Install() {
  return [](MainDialogModel&) { return MainDialogResult::kInstall; };
}

std::function<MainDialogResult(MainDialogModel&)> MemoryHost::InstallInto(const std::string& folder, bool custom) {
  return [folder, custom](MainDialogModel& model) {
    model.installPath = folder;
    model.customInstall = custom;
    return MainDialogResult::kInstall;
  };
}

std::function<MainDialogResult(MainDialogModel&)> MemoryHost::CancelMain() {
  return [](MainDialogModel&) { return MainDialogResult::kCancelled; };
}

// --- Queries -----------------------------------------------------------------

MemoryHost::File* MemoryHost::Find(const std::string& path) {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

const MemoryHost::File* MemoryHost::FindFile(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

bool MemoryHost::HasFolder(const std::string& path) const {
  std::string key = Key(path);
  return (key.size() == 2 && key[1] == ':') || folders_.count(key) > 0;
}

std::optional<MemoryHost::Setting> MemoryHost::StoredSetting(const std::string& product, const std::string& section,
                                                             const std::string& name) const {
  auto it = settings_.find(SettingKey(product, section, name));
  if (it == settings_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> MemoryHost::FilePaths() const {
  std::vector<std::string> paths;
  for (const auto& [key, file] : files_) paths.push_back(file.path);
  std::sort(paths.begin(), paths.end());
  return paths;
}

int MemoryHost::CountCalls(const std::string& prefix) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return StartsWith(c, prefix); }));
}

int MemoryHost::CallIndex(const std::string& prefix) const {
  for (size_t i = 0; i < calls.size(); ++i)
    if (StartsWith(calls[i], prefix)) return static_cast<int>(i);
  return -1;
}

bool MemoryHost::Denied(const std::string& path) const {
  std::string key = Key(path);
  for (const auto& prefix : denied_)
    if (StartsWith(key, Key(prefix))) return true;
  return false;
}

bool MemoryHost::Locked(const File& file) const {
  return file.lockedUntilMs == kLockedForever || nowMs < file.lockedUntilMs;
}

// --- Messages and windows ---------------------------------------------------

void MemoryHost::ShowMessage(const std::string& caption, const std::string& text) {
  calls.push_back("ShowMessage " + text);
  messages.push_back({"message", caption, text});
}

bool MemoryHost::AskYesNo(const std::string& caption, const std::string& text) {
  calls.push_back("AskYesNo " + text);
  messages.push_back({"question", caption, text});
  bool answer = false;
  Next(questionAnswers, answer, "question");
  return answer;
}

bool MemoryHost::AskElevation(const std::string& text) {
  calls.push_back("AskElevation " + text);
  messages.push_back({"elevation", "Warning", text});
  bool answer = false;
  Next(elevationAnswers, answer, "elevation offer");
  return answer;
}

LanguageChoice MemoryHost::ChooseLanguage() {
  calls.push_back("ChooseLanguage");
  ++languageDialogs;
  LanguageChoice answer = LanguageChoice::kCancelled;
  Next(languageAnswers, answer, "language dialog");
  return answer;
}

RunChoice MemoryHost::ChooseRunOrInstall(const RunOrInstallTexts& texts) {
  calls.push_back("ChooseRunOrInstall");
  runQuestions.push_back(texts);
  RunChoice answer = RunChoice::kCancelled;
  Next(runAnswers, answer, "run-or-install dialog");
  return answer;
}

MainDialogResult MemoryHost::ShowMainDialog(MainDialogModel& model) {
  calls.push_back("ShowMainDialog " + model.installPath);
  mainDialogs.push_back(model);
  std::function<MainDialogResult(MainDialogModel&)> answer;
  if (!Next(mainDialogAnswers, answer, "main dialog")) return MainDialogResult::kCancelled;
  return answer(model);
}

void MemoryHost::DestroyMainWindow() { calls.push_back("DestroyMainWindow"); }

bool MemoryHost::ShowOptionsDialog(OptionsDialogModel& model) {
  calls.push_back("ShowOptionsDialog");
  optionsDialogs.push_back(model);
  std::function<bool(OptionsDialogModel&)> answer;
  if (!Next(optionsAnswers, answer, "options dialog")) return false;
  return answer(model);
}

void MemoryHost::OpenProgress(const std::string& caption, int maximum) {
  calls.push_back("OpenProgress " + caption + " " + std::to_string(maximum));
  progressCaptions.push_back(caption);
  progressMaximum = maximum;
  progressOpen = true;
}

void MemoryHost::SetProgressText(const std::string& text) {
  calls.push_back("ProgressText " + text);
  EXPECT_TRUE(progressOpen) << "text on a closed progress window: " << text;
  progressTexts.push_back(text);
}

void MemoryHost::SetProgressPosition(int position) {
  calls.push_back("ProgressPosition " + std::to_string(position));
  EXPECT_TRUE(progressOpen);
  progressPositions.push_back(position);
}

void MemoryHost::RepaintProgress() { calls.push_back("RepaintProgress"); }

void MemoryHost::CloseProgress() {
  calls.push_back("CloseProgress");
  progressOpen = false;
}

// --- Files ------------------------------------------------------------------

bool MemoryHost::FileExists(const std::string& path) { return Find(path) != nullptr; }

bool MemoryHost::FolderExists(const std::string& path) { return HasFolder(path); }

bool MemoryHost::CreateFolders(const std::string& path) {
  calls.push_back("CreateFolders " + path);
  if (Denied(path) || WithoutFinalSlash(path).empty()) {
    folderError_ = Denied(path) ? 5 : 3;  // access denied, path not found
    return false;
  }
  AddFolder(path);
  return true;
}

bool MemoryHost::RemoveFile(const std::string& path) {
  calls.push_back("RemoveFile " + path);
  File* file = Find(path);
  if (!file || Locked(*file) || (file->attributes & kAttributeReadOnly) != 0 || Denied(path)) return false;
  files_.erase(Key(path));
  return true;
}

std::vector<std::string> MemoryHost::MatchingFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::string folderKey = Key(folder);
  for (const auto& [key, file] : files_) {
    if (Key(FolderOf(file.path)) != folderKey) continue;
    std::string name = file.path.substr(file.path.rfind('\\') + 1);
    if (WildcardMatch(UpperCase(name), UpperCase(pattern))) names.push_back(name);
  }
  return names;
}

std::uint32_t MemoryHost::ReadAttributes(const std::string& path) {
  const File* file = Find(path);
  return file ? file->attributes : kNoAttributes;
}

bool MemoryHost::WriteAttributes(const std::string& path, std::uint32_t attributes) {
  calls.push_back("WriteAttributes " + path + " " + std::to_string(attributes));
  File* file = Find(path);
  if (!file || Denied(path)) return false;
  file->attributes = attributes;
  return true;
}

bool MemoryHost::CanOpenExclusive(const std::string& path) {
  const File* file = Find(path);
  return file && !Locked(*file) && (file->attributes & kAttributeReadOnly) == 0 && !Denied(path);
}

// The Windows host's steps: a file already there must not be read-only;
// create the file, or a temporary file beside it when there is one already
// (either needs the folder and the right to write there); inflate into it;
// then rename it over `path`, which fails while the old file is open. Only
// the last step touches a file already there.
ExtractResult MemoryHost::ExtractPayloadFile(const std::string& name, const std::string& path) {
  calls.push_back("ExtractPayloadFile " + path);
  constexpr std::uint32_t kPathNotFound = 3, kAccessDenied = 5, kSharingViolation = 32;
  auto failed = [](std::uint32_t error, std::string reason) {
    return ExtractResult{false, 0, error, std::move(reason)};
  };
  auto raw = std::find_if(payload_.begin(), payload_.end(),
                          [&](const auto& entry) { return SameText(entry.first, name); });
  if (raw == payload_.end()) return failed(0, "missing");
  if (!HasFolder(FolderOf(path))) return failed(kPathNotFound, "The system cannot find the path specified.");
  if (Denied(path)) return failed(kAccessDenied, "Access is denied.");
  File* old = Find(path);
  if (old != nullptr && (old->attributes & kAttributeReadOnly) != 0) return failed(kAccessDenied, "Access is denied.");
  std::string bytes;
  InflateBuffers buffers(4096);
  auto inflated = InflateChunked<std::uint64_t>(raw->second, buffers, [&bytes](std::string_view chunk) {
    bytes.append(chunk);
    return true;
  });
  if (!inflated.ok()) return failed(0, std::string(InflateStatusText(inflated.status)));
  if (old != nullptr) {
    if (Locked(*old)) return failed(kSharingViolation, "The file is in use by another process.");
    old->bytes = std::move(bytes);
    old->attributes = kAttributeArchive;
  } else {
    files_[Key(path)] = File{path, std::move(bytes), kAttributeArchive, 0};
  }
  return ExtractResult{true, inflated.size, 0, {}};
}

// --- Payload and settings ---------------------------------------------------------

bool MemoryHost::ListPayloadNames(std::vector<std::string>& names) {
  names.clear();
  for (const auto& [name, raw] : payload_) names.push_back(name);
  return !names.empty();
}

std::string MemoryHost::LoadPayloadData(const std::string& name) {
  calls.push_back("LoadPayloadData " + name);
  for (const auto& [entry, raw] : payload_)
    if (SameText(entry, name)) return raw;
  return {};
}

void MemoryHost::SetProductKey(const std::string& product) {
  calls.push_back("SetProductKey " + product);
  productKey = product;
}

std::string MemoryHost::ReadSetting(const std::string& section, const std::string& name) {
  auto it = settings_.find(SettingKey(productKey, section, name));
  return it == settings_.end() || it->second.isInteger ? std::string() : it->second.text;
}

std::int32_t MemoryHost::ReadSettingInt(const std::string& section, const std::string& name) {
  auto it = settings_.find(SettingKey(productKey, section, name));
  return it == settings_.end() || !it->second.isInteger ? 0 : it->second.number;
}

bool MemoryHost::WriteSetting(const std::string& section, const std::string& name, const std::string& value,
                              bool deleteIfEmpty) {
  calls.push_back("WriteSetting " + section + "\\" + name + "=" + value);
  if (value.empty() && deleteIfEmpty)
    settings_.erase(SettingKey(productKey, section, name));
  else
    settings_[SettingKey(productKey, section, name)] = Setting{false, 0, value};
  return true;
}

bool MemoryHost::WriteSettingInt(const std::string& section, const std::string& name, std::int32_t value,
                                 bool deleteIfZero) {
  calls.push_back("WriteSettingInt " + section + "\\" + name + "=" + std::to_string(value));
  if (value == 0 && deleteIfZero)
    settings_.erase(SettingKey(productKey, section, name));
  else
    settings_[SettingKey(productKey, section, name)] = Setting{true, value, {}};
  return true;
}

// --- System -------------------------------------------------------------------

bool MemoryHost::IsUserAdministrator() { return administrator; }

std::string MemoryHost::GetSystemPath(int kind) {
  auto it = systemPaths.find(kind);
  return it == systemPaths.end() ? std::string() : it->second;
}

bool MemoryHost::RegisterUninstall(const std::string& uninstallCommand, const std::string& entryName, bool perUser,
                                   const std::string& displayName, const UninstallDetails& details) {
  calls.push_back("RegisterUninstall " + uninstallCommand);
  uninstallEntries.push_back({uninstallCommand, entryName, perUser, displayName, details});
  return !uninstallFails;
}

bool MemoryHost::AssociateFileType(const std::string& ext, const std::string& program, const std::string& description) {
  calls.push_back("AssociateFileType " + ext);
  associations.push_back({ext, program, description});
  return failingFileTypes.count(ext) == 0;
}

void MemoryHost::CreateShortcut(const std::string& target, const std::string& arguments, const std::string& name,
                                bool onDesktop) {
  calls.push_back(std::string("CreateShortcut ") + (onDesktop ? "desktop " : "menu ") + target);
  shortcuts.push_back({target, arguments, name, onDesktop});
}

void MemoryHost::OpenProgram(const std::string& file, const std::string& parameters, const std::string& folder) {
  calls.push_back("OpenProgram " + file);
  started.push_back({file, parameters, folder});
}

void MemoryHost::RestartElevated(const std::string& commandLine) {
  calls.push_back("RestartElevated " + commandLine);
  elevatedRestarts.push_back(commandLine);
}

bool MemoryHost::AcquireSetupMutex() {
  calls.push_back("AcquireSetupMutex");
  return !mutexHeldElsewhere;
}

void MemoryHost::ReleaseSetupMutex() { calls.push_back("ReleaseSetupMutex"); }

void MemoryHost::Wait(int milliseconds) {
  calls.push_back("Wait " + std::to_string(milliseconds));
  waits.push_back(milliseconds);
  nowMs += milliseconds;
}

// --- Deployment -----------------------------------------------------------------

bool MemoryHost::OpenLog(const std::string& path) {
  calls.push_back("OpenLog " + path);
  if (logCannotOpen) return false;
  logPath = path;
  return true;
}

void MemoryHost::AppendLog(const std::string& line) {
  EXPECT_FALSE(logPath.empty()) << "a log line without an open log: " << line;
  logLines.push_back(line);
}

std::string MemoryHost::ErrorText(std::uint32_t code) {
  switch (code) {
    case 3: return "The system cannot find the path specified.";
    case 5: return "Access is denied.";
    default: return {};
  }
}

ElevatedCopy MemoryHost::WaitForElevatedCopy() {
  calls.push_back("WaitForElevatedCopy");
  return elevatedCopy;
}

}  // namespace orvalis
