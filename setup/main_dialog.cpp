// Main dialog content and folder menu.
#include "setup/main_dialog.h"

#include "core/text.h"
#include "setup/texts.h"

namespace orvalis {

std::string VersionLine(const SetupState& state) {
  std::string line;
  if (!state.Version.empty()) line = SetupText(kTextVersionPrefix, state.LanguageIndex) + state.Version;
  if (!state.Pid.empty()) line += " (" + state.Pid + ")";
  if (!state.Date.empty()) line += "  " + SetupText(kTextDatePrefix, state.LanguageIndex) + state.Date;
  return std::string(Trim(line));
}

MainDialogModel BuildMainDialog(SetupRun& run) {
  const SetupState& s = run.State;
  MainDialogModel m;
  m.caption = run.Text(kTextMainCaption);
  m.productName = s.ProductName;
  m.productInfoRtf = run.Text(kTextProductInfo);
  m.versionLine = VersionLine(s);
  m.folderLabel = run.Text(kTextFolderLabel);
  m.customCaption = run.Text(kTextCustomCheck);
  m.cancelCaption = run.Text(kTextCancel);
  m.installCaption = run.Text(kTextInstall);
  m.customInstall = s.CustomInstall;
  m.installPath = s.InstallPath;
  m.programFolder = run.ProductFolder(run.Host.GetSystemPath(kFolderProgramFiles));
  m.localFolder = run.ProductFolder(run.Host.GetSystemPath(kFolderLocalAppData));
  m.programFolderCaption = run.Text(kTextProgramFolderItem);
  m.localFolderCaption = run.Text(kTextLocalFolderItem);
  m.selectFolderCaption = run.Text(kTextSelectFolderItem);
  m.browseTitle = run.Text(kTextBrowseTitle);
  m.productFolder = [&run](const std::string& base) { return run.ProductFolder(base); };
  return m;
}

MainDialogResult ShowMainDialog(SetupRun& run) {
  MainDialogModel model = BuildMainDialog(run);
  MainDialogResult result = run.Host.ShowMainDialog(model);
  if (result == MainDialogResult::kInstall) {
    run.State.CustomInstall = model.customInstall;
    run.State.InstallPath = model.installPath;
  }
  return result;
}

std::vector<FolderMenuItem> BuildFolderMenu(const MainDialogModel& model, std::string_view pathText) {
  auto state = [&](const std::string& candidate) {
    if (candidate.empty()) return kMenuStateDisabled;
    return UpperCase(pathText) == UpperCase(candidate) ? kMenuStateChecked : 0;
  };
  return {
      {1, model.programFolderCaption, state(model.programFolder)},
      {2, model.localFolderCaption, state(model.localFolder)},
      {0, "-", 0},
      {3, model.selectFolderCaption, 0},
  };
}

std::string ApplyFolderMenuChoice(const MainDialogModel& model, int tag, const std::string& pathText,
                                  const BrowseFunction& browse) {
  switch (tag) {
    case 1: return model.programFolder;
    case 2: return model.localFolder;
    case 3: {
      std::string chosen = browse ? browse(pathText, model.browseTitle) : pathText;
      return model.productFolder ? model.productFolder(chosen) : chosen;
    }
    default: return pathText;
  }
}

}  // namespace orvalis
