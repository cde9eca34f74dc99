// Main dialog: laid out around the fitted product text, pumped by its own
// message loop while a pass waits for Install or Cancel.
#include "setup/main_window.h"

#include "controls/basics/pbitbtn.h"
#include "controls/rich/prichedit.h"
#include "services/processes.h"
#include "setup/main_dialog.h"
#include "setup/window_layout.h"
#include "ui/browse_folder.h"
#include "ui/check_box.h"
#include "ui/popup_menu.h"

namespace orvalis {
namespace {

// A 16 × 16 folder on magenta, which the button leaves transparent.
ui::Bitmap FolderGlyph() {
  constexpr ui::Color kClear = 0xFF00FF, kEdge = ui::Rgb(128, 96, 0), kBody = ui::Rgb(255, 208, 64),
                      kTab = ui::Rgb(240, 184, 40);
  ui::Bitmap b(16, 16, kClear);
  b.FillRect({1, 3, 7, 5}, kEdge);
  b.FillRect({2, 4, 6, 5}, kTab);
  b.FillRect({1, 5, 15, 14}, kEdge);
  b.FillRect({2, 6, 14, 13}, kBody);
  return b;
}

}  // namespace

TSForm::TSForm()
    : SetupForm("SForm", true),
      pBack_(Add<controls::PPanel>(*this, "pBack", 0, 0, layout::kMainWidth, 300)),
      header_(Add<controls::PPanel>(pBack_, "PPanel1", 68, 8, 405, 37)),
      label_(Add<ui::TextLabel>(header_, "Label", 4, 4, 397, 29)),
      rtfBox_(Add<controls::PPanel>(pBack_, "RtfBox", 8, layout::kRtfBoxTop, 517, 69)),
      rtf_(Add<controls::PRichEdit>(rtfBox_, "Rtf", 8, layout::kRtfTop, 501, 53)),
      setupBox_(Add<controls::PPanel>(pBack_, "SetupBox", 8, 129, 517, layout::kSetupBoxHeight)),
      lFolder_(Add<ui::TextLabel>(setupBox_, "lFolder", 8, 12, 493, 13)),
      path_(Add<ui::EditBox>(setupBox_, "Path", 8, 28, 465, 21)),
      btnBrowse_(Add<controls::PBitBtn>(setupBox_, "btnBrowse", 480, 28, 29, 21)),
      chkCustom_(Add<FrameCheckBox>(setupBox_, "chkCustom", 8, 52, 501, 17)),
      btnCancel_(Add<controls::PBitBtn>(pBack_, "btnCancel", 8, 210, layout::kButtonWidth, layout::kButtonHeight)),
      btnInstall_(Add<controls::PBitBtn>(pBack_, "btnInstall", 402, 210, layout::kButtonWidth,
                                         layout::kButtonHeight)),
      vLabel_(Add<ui::TextLabel>(pBack_, "VLabel", 128, 214, 277, layout::kVersionHeight)) {
  LookAsBackground(pBack_);
  pBack_.SetColor(ui::SystemColor(COLOR_APPWORKSPACE));
  LookAsHeader(header_);
  ui::Font title;
  title.face = "Verdana";
  title.height = -21;
  title.color = ui::Rgb(0, 0, 0);
  label_.SetFont(title);
  label_.SetCentered(true);
  LookAsFrame(rtfBox_);
  LookAsFrame(setupBox_);
  lFolder_.SetFont(DialogFont(ui::kBold));
  vLabel_.SetCentered(true);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&path_, &vLabel_, &btnBrowse_, &btnCancel_, &btnInstall_})
    c->SetFont(DialogFont());
  btnBrowse_.SetGlyph(FolderGlyph());

  rtf_.SetReadOnly(true);
  rtf_.SetBorderStyle(ui::BorderStyle::None);
  rtf_.SetTabStop(false);
  rtf_.SetShowLinks(false);
  rtf_.SetLanguage("NLD");
  rtf_.OnEnter = [this](ui::Control&) { path_.SetFocus(); };
  rtf_.OnLink = [](controls::PRichEdit&, const std::string& link, int) { (void)ShellOpen(link, "", ""); };

  btnInstall_.OnClick = [this](ui::Control&) { result_ = kMainInstall; };
  btnCancel_.OnClick = [this](ui::Control&) { result_ = kMainCancel; };
  btnBrowse_.OnClick = [this](ui::Control&) { FolderMenu(); };
  for (ui::Control* c : std::initializer_list<ui::Control*>{&pBack_, &header_, &label_, &rtfBox_, &rtf_, &setupBox_,
                                                            &lFolder_, &path_, &btnBrowse_, &chkCustom_, &btnCancel_,
                                                            &btnInstall_, &vLabel_})
    c->Loaded();
  SetClientSize(layout::kMainWidth, 243);
}

void TSForm::WndProc(ui::Message& m) {
  if (m.msg == WM_CLOSE) {
    // The close box is Cancel; the window itself lives until the run ends.
    result_ = kMainCancel;
    m.result = 0;
    return;
  }
  SetupForm::WndProc(m);
}

void TSForm::Fill(const MainDialogModel& model) {
  SetCaption(model.caption);
  label_.SetCaption(model.productName);
  (void)Handle();
  rtf_.SetRichText(model.productInfoRtf);
  rtf_.Fit();
  vLabel_.SetCaption(model.versionLine);
  lFolder_.SetCaption(model.folderLabel);
  chkCustom_.SetCaption(model.customCaption);
  btnCancel_.SetCaption(model.cancelCaption);
  btnInstall_.SetCaption(model.installCaption);

  MainDialogLayout l = LayoutMainDialog(rtf_.Height());
  rtfBox_.SetSize(rtfBox_.Width(), l.rtfBoxHeight);
  setupBox_.SetBounds(setupBox_.Left(), l.setupBoxTop, setupBox_.Width(), setupBox_.Height());
  btnCancel_.SetBounds(btnCancel_.Left(), l.buttonTop, btnCancel_.Width(), btnCancel_.Height());
  btnInstall_.SetBounds(btnInstall_.Left(), l.buttonTop, btnInstall_.Width(), btnInstall_.Height());
  vLabel_.SetBounds(vLabel_.Left(), l.versionTop, vLabel_.Width(), vLabel_.Height());
  pBack_.SetSize(pBack_.Width(), l.clientHeight);
  SetClientSize(pBack_.Width(), l.clientHeight);

  chkCustom_.SetChecked(model.customInstall);
  path_.SetText(model.installPath);
}

MainDialogResult TSForm::ShowDialog(MainDialogModel& model) {
  model_ = &model;
  Fill(model);
  result_ = kMainOpen;
  Show();
  HWND window = HandleIfCreated();
  MSG msg;
  while (result_ == kMainOpen) {
    int got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(int(msg.wParam));
      result_ = kMainCancel;
      break;
    }
    if (window && ::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  model_ = nullptr;
  if (result_ != kMainInstall) return MainDialogResult::kCancelled;
  model.customInstall = chkCustom_.Checked();
  model.installPath = path_.Text();
  return MainDialogResult::kInstall;
}

void TSForm::FolderMenu() {
  if (!model_) return;
  const MainDialogModel& model = *model_;
  std::string text = path_.Text();
  ui::ClearPopupMenu();
  for (const FolderMenuItem& item : BuildFolderMenu(model, text)) ui::AddPopupItem(item.tag, item.caption, item.state);
  int tag = ui::ShowPopupMenu(btnBrowse_.Handle(), ui::kPopupAlignLeft);
  HWND owner = HandleIfCreated();
  std::string chosen = ApplyFolderMenuChoice(model, tag, text, [owner](const std::string& start, const std::string& title) {
    return ui::BrowseForFolder(owner, start, title);
  });
  if (chosen != text) path_.SetText(chosen);
}

}  // namespace orvalis
