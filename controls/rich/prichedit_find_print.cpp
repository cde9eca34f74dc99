// The rich text editor's find dialog and search, and printing the whole text
// on the default printer.
#include "controls/rich/prichedit.h"

#include <commdlg.h>

#include <algorithm>
#include <initializer_list>

#include "controls/rich/prichedit_bars.h"
#include "controls/rich/prichedit_detail.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit_box.h"
#include "ui/form.h"
#include "win/gdi.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// The find dialog: the last text and settings; true on "Ok".
bool ShowFindDialog(HWND inner, RichEditorBars& bars) {
  ui::Form form;
  form.SetName("frmFind");
  form.SetCaption("Find");
  form.SetBorderStyle(ui::BorderStyle::Dialog);
  ui::EditBox text;
  text.SetName("edtFind");
  text.SetParent(&form);
  text.SetBounds(8, 8, 226, 21);
  text.SetText(bars.findText);
  ui::CheckBox matchCase, searchUp;
  matchCase.SetName("chkMatchCase");
  matchCase.SetCaption("Match Case");
  matchCase.SetBounds(8, 36, 110, 17);
  matchCase.SetChecked(bars.matchCase);
  searchUp.SetName("chkSearchUp");
  searchUp.SetCaption("Search Up");
  searchUp.SetBounds(124, 36, 110, 17);
  searchUp.SetChecked(bars.searchUp);
  ui::Button cancel, ok;
  cancel.SetName("btnCancel");
  cancel.SetCaption("Cancel");
  cancel.SetCancel(true);
  cancel.SetModalResult(ui::mrCancel);
  cancel.SetBounds(78, 60, 75, 25);
  ok.SetName("btnOk");
  ok.SetCaption("Ok");
  ok.SetDefault(true);
  ok.SetModalResult(ui::mrOk);
  ok.SetBounds(159, 60, 75, 25);
  for (ui::Control* c : std::initializer_list<ui::Control*>{&matchCase, &searchUp, &cancel, &ok}) c->SetParent(&form);
  // 250 pixels wide, centred over the inner window.
  form.SetClientSize(242, 93);
  RECT over{};
  ::GetWindowRect(inner, &over);
  const int width = 250, height = form.Height() > 0 ? form.Height() : 122;
  form.SetBounds((over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, width, height);
  if (form.ShowModal() != ui::mrOk) return false;
  bars.findText = text.Text();
  bars.matchCase = matchCase.Checked();
  bars.searchUp = searchUp.Checked();
  bars.findEntered = true;
  return true;
}

}  // namespace

using detail::Select;
using detail::Selection;
using detail::Utf16;

// ---------------------------------------------------------------- find

void PRichEdit::Find(bool showDialog) {
  RichEditorBars& bars = Bars();
  if ((showDialog || !bars.findEntered) && !ShowFindDialog(Inner(), bars)) return;
  (void)FindNext(bars.findText, bars.matchCase, bars.searchUp);
}

bool PRichEdit::FindNext(const std::string& what, bool matchCase, bool up) {
  const std::wstring text = PositionText();
  const std::wstring wanted = win::Wide(what);
  const CHARRANGE selection = Selection(Inner());
  const auto found =
      FindInText(Utf16(text), Utf16(wanted), TextRange{selection.cpMin, selection.cpMax}, matchCase, up);
  if (!found) return false;
  Select(Inner(), found->start, found->end);
  Send(EM_SCROLLCARET);
  return true;
}

// ---------------------------------------------------------------- printing

bool PRichEdit::Print() {
  PRINTDLGW query{};
  query.lStructSize = sizeof query;
  query.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  if (!::PrintDlgW(&query)) return false;
  if (query.hDevMode) ::GlobalFree(query.hDevMode);
  if (query.hDevNames) ::GlobalFree(query.hDevNames);
  win::unique_hdc printer(query.hDC);
  if (!printer) return false;
  HDC dc = printer.get();
  const std::wstring title = win::Wide(ui::Application::Title());
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = title.c_str();
  if (::StartDocW(dc, &document) <= 0) return false;
  const int dpiX = std::max(1, ::GetDeviceCaps(dc, LOGPIXELSX)), dpiY = std::max(1, ::GetDeviceCaps(dc, LOGPIXELSY));
  const RECT page{0, 0, ::MulDiv(::GetDeviceCaps(dc, HORZRES), 1440, dpiX),
                  ::MulDiv(::GetDeviceCaps(dc, VERTRES), 1440, dpiY)};
  GETTEXTLENGTHEX query16{GTL_PRECISE | GTL_NUMCHARS, 1200};
  const int length = int(Send(EM_GETTEXTLENGTHEX, WPARAM(&query16)));
  const int pages = PrintPages(length, [&](int first) {
    ::StartPage(dc);
    FORMATRANGE range{};
    range.hdc = range.hdcTarget = dc;
    range.rc = range.rcPage = page;
    range.chrg = CHARRANGE{first, -1};
    const int next = int(Send(EM_FORMATRANGE, TRUE, LPARAM(&range)));
    ::EndPage(dc);
    return next;
  });
  Send(EM_FORMATRANGE, FALSE, 0);
  ::EndDoc(dc);
  return pages > 0;
}

}  // namespace orvalis::controls
