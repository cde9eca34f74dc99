// Options dialog: built from the model, stacked by what is visible.
#include "setup/options_window.h"

#include "controls/basics/pbitbtn.h"
#include "setup/window_layout.h"
#include "ui/check_box.h"
#include "ui/text_label.h"

namespace orvalis {

TfrmCustom::TfrmCustom(const OptionsDialogModel& model) : SetupForm("frmCustom", true) {
  using namespace layout;
  SetCaption(model.caption);
  auto& back = Add<controls::PPanel>(*this, "pBack", 0, 0, kOptionsWidth + 1, 300);
  LookAsBackground(back);
  auto& header = Add<controls::PPanel>(back, "PPanel1", 44, 8, 337, 37);
  LookAsHeader(header);
  auto& label = Add<ui::TextLabel>(header, "Label", 4, 4, 329, 29);
  ui::Font title;
  title.face = "Verdana";
  title.height = -21;
  title.color = ui::Rgb(0, 0, 0);
  label.SetFont(title);
  label.SetCentered(true);
  label.SetCaption(model.productName);

  auto& files = Add<controls::PPanel>(back, "pFiles", 8, 0, 401, kFilesHeight);
  LookAsFrame(files);
  auto& heading = Add<ui::TextLabel>(files, "lSelect", 8, 8, 385, 17);
  heading.SetFont(DialogFont());
  heading.SetCaption(model.filesHeading);
  list_ = &Add<ui::CheckListBox>(files, "List", 8, 24, 385, 181);
  list_->SetFont(DialogFont());
  list_->SetItemHeight(13);

  auto& options = Add<controls::PPanel>(back, "pOptions", 8, 0, 401, 100);
  LookAsFrame(options);
  auto box = [&](const char* name, int top, const std::string& caption, bool ticked, bool visible) {
    auto& c = Add<FrameCheckBox>(options, name, 8, top, 385, kCheckHeight);
    c.SetCaption(caption);
    c.SetChecked(ticked);
    c.SetVisible(visible);
    return &c;
  };
  chkUnInstall_ = box("chkUnInstall", 6, model.registerCaption, model.registerTicked, true);
  chkRun_ = box("chkRun", 26, model.runCaption, model.runTicked, true);
  chkLink_ = box("chkLink", 46, model.linkCaption, model.linkTicked, model.linkVisible);
  chkMenu_ = box("chkMenu", 66, model.menuCaption, model.menuTicked, model.menuVisible);
  auto& note = Add<ui::TextLabel>(options, "lShortcut", 8, 48, 385, kNoteHeight);
  note.SetFont(DialogFont());
  note.SetWordWrap(true);
  note.SetCaption(model.shortcutNote);
  note.SetVisible(model.shortcutNoteVisible);

  auto& install = Add<controls::PBitBtn>(back, "btnInstall", 286, 0, kButtonWidth, kButtonHeight);
  auto& cancel = Add<controls::PBitBtn>(back, "btnCancel", 8, 0, kButtonWidth, kButtonHeight);
  for (auto* b : {&install, &cancel}) b->SetFont(DialogFont());
  install.SetCaption(model.installCaption);
  install.SetModalResult(ui::mrOk);
  cancel.SetCaption(model.cancelCaption);
  cancel.SetModalResult(ui::mrCancel);

  (void)Handle();
  for (const OptionsFileItem& item : model.files) list_->AddItem(item.caption, item.tag, item.ticked);
  files.SetVisible(model.filesVisible);
  options.SetVisible(model.optionsVisible);

  ui::Control* stacked[] = {chkUnInstall_, chkRun_, chkLink_, chkMenu_, &note};
  std::array<bool, 5> visible{true, true, model.linkVisible, model.menuVisible, model.shortcutNoteVisible};
  OptionsDialogLayout l = LayoutOptionsDialog(model.filesVisible, model.optionsVisible, visible);
  for (size_t i = 0; i < visible.size(); ++i)
    if (visible[i]) stacked[i]->SetBounds(stacked[i]->Left(), l.optionTops[i], stacked[i]->Width(), stacked[i]->Height());
  options.SetSize(options.Width(), l.optionsHeight);
  if (model.filesVisible) files.SetBounds(files.Left(), l.filesTop, files.Width(), files.Height());
  if (model.optionsVisible) options.SetBounds(options.Left(), l.optionsTop, options.Width(), options.Height());
  install.SetBounds(install.Left(), l.buttonTop, install.Width(), install.Height());
  cancel.SetBounds(cancel.Left(), l.buttonTop, cancel.Width(), cancel.Height());
  back.SetSize(back.Width(), l.clientHeight);
  SetClientSize(kOptionsWidth, l.clientHeight);
}

bool TfrmCustom::Confirm(OptionsDialogModel& model) {
  if (ShowModal() != ui::mrOk) return false;
  for (size_t i = 0; i < model.files.size(); ++i) model.files[i].ticked = list_->Checked(int(i));
  model.registerTicked = chkUnInstall_->Checked();
  model.runTicked = chkRun_->Checked();
  model.linkTicked = chkLink_->Checked();
  model.menuTicked = chkMenu_->Checked();
  return true;
}

}  // namespace orvalis
