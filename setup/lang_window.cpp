// Language dialog: the list names both languages; OK, a double-click or Enter
// accepts, Cancel, Esc or the close box ends the run.
#include "setup/lang_window.h"

#include "controls/basics/pbitbtn.h"
#include "setup/texts.h"
#include "setup/window_layout.h"

namespace orvalis {

TfrmLang::TfrmLang()
    : SetupForm("frmLang", true),
      pBack_(Add<controls::PPanel>(*this, "pBack", 0, 0, 284, 183)),
      l_(Add<ui::TextLabel>(pBack_, "l", layout::kLanguageListLeft, 8, layout::kLanguageListWidth, 17)),
      list_(Add<ui::ListBox>(pBack_, "List", layout::kLanguageListLeft, layout::kLanguageListTop,
                             layout::kLanguageListWidth, 97)) {
  SetCaption(kDialogCaption);
  LookAsBackground(pBack_);
  l_.SetFont(DialogFont());
  list_.SetFont(DialogFont());
  l_.SetCaption(kLanguageDialogLabel);
  list_.SetItemHeight(layout::kLanguageItemHeight);
  auto& cancel = Add<controls::PBitBtn>(pBack_, "btnCancel", layout::kLanguageListLeft, 0, layout::kButtonWidth,
                                        layout::kButtonHeight);
  auto& ok = Add<controls::PBitBtn>(pBack_, "btnInstall",
                                    layout::kLanguageListLeft + layout::kLanguageListWidth - layout::kButtonWidth, 0,
                                    layout::kButtonWidth, layout::kButtonHeight);
  for (auto* b : {&cancel, &ok}) b->SetFont(DialogFont());
  cancel.SetCaption(kLanguageDialogCancel);
  ok.SetCaption(kLanguageDialogOk);
  cancel.OnClick = [this](ui::Control&) { Cancel(); };
  ok.OnClick = [this](ui::Control&) { Accept(); };
  list_.OnDblClick = [this](ui::ListBox&) { Accept(); };
  list_.OnKeyUp = [this](ui::ListBox&, unsigned key) {
    if (key == VK_RETURN) Accept();
    if (key == VK_ESCAPE) Cancel();
  };

  (void)Handle();
  list_.AddItem(kLanguageDutchItem);
  list_.AddItem(kLanguageEnglishItem);
  list_.SetItemIndex(0);

  LanguageDialogLayout size = LayoutLanguageDialog(list_.Count());
  list_.SetSize(layout::kLanguageListWidth, size.listHeight);
  cancel.SetBounds(cancel.Left(), size.buttonTop, cancel.Width(), cancel.Height());
  ok.SetBounds(ok.Left(), size.buttonTop, ok.Width(), ok.Height());
  pBack_.SetSize(size.clientWidth, size.clientHeight);
  SetClientSize(size.clientWidth, size.clientHeight);
}

void TfrmLang::Accept() { SetModalResult(ui::mrOk); }
void TfrmLang::Cancel() { SetModalResult(ui::mrCancel); }

LanguageChoice TfrmLang::Choose() {
  list_.SetFocus();
  if (ShowModal() != ui::mrOk) return LanguageChoice::kCancelled;
  return list_.ItemIndex() == 1 ? LanguageChoice::kEnglish : LanguageChoice::kDutch;
}

}  // namespace orvalis
