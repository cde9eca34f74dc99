// PRichEdit: the rich text control, a container window around the system's
// version-1 rich edit window (`PRichEditSub`). It loads RTF, simple HTML or
// plain text, keeps page breaks and fields in their stored form, measures and
// draws its content and reports clicks on web and mail addresses.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/rich/editor_rules.h"
#include "controls/rich/metafile_pictures.h"
#include "controls/rich/prichedit_model.h"
#include "controls/rich/rich_fields.h"
#include "controls/rich/rich_stream.h"
#include "controls/rich/rtf_convert.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/gdi_canvas.h"
#include "win/com.h"
#include "win/gdi.h"

namespace orvalis::controls {

class PRichEdit;
class RichToolBar;
class RichRuler;
struct RichEditorBars;

// The inner window's private messages. Posted after a paste: wParam and lParam
// are the start and end of the pasted range, which is formatted again and whose
// objects are put back on the base line.
inline constexpr UINT kRichPastedMessage = WM_APP + 0x301;
// Puts every embedded object of the document back below the base line.
inline constexpr UINT kRichReinsertMessage = WM_APP + 0x302;
// Gives the inner window the focus.
inline constexpr UINT kRichFocusMessage = WM_APP + 0x303;

// The scroll bars of the inner window.
enum class RichScrollBars : std::uint8_t { None, Horizontal, Vertical, Both };

// Shift state of the key events.
inline constexpr unsigned kShiftKey = 1, kAltKey = 2, kCtrlKey = 4;

// The inner window's cursor while the mouse is over it.
enum class RichCursor { Default, Arrow, HandPoint };

// The inner rich edit window. It hands its messages to its container first.
class PRichEditSub : public ui::WinControl {
 public:
  explicit PRichEditSub(PRichEdit& owner);

  // 1 for the version-1 class once the window exists, 2 or 4 when a later
  // class had to stand in, 0 before.
  [[nodiscard]] int Version() const { return version_; }
  [[nodiscard]] RichCursor Cursor() const { return cursor_; }
  void SetCursor(RichCursor cursor) { cursor_ = cursor; }

  void WndProc(ui::Message& m) override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void DoEnter() override;
  void DoExit() override;
  void MouseDown(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseUp(ui::MouseButton button, unsigned keys, int x, int y) override;
  void MouseMove(unsigned keys, int x, int y) override;

 private:
  PRichEdit& owner_;
  int version_ = 0;
  RichCursor cursor_ = RichCursor::Default;
};

class PRichEdit : public ui::WinControl {
 public:
  PRichEdit();
  ~PRichEdit() override;

  [[nodiscard]] PRichEditSub& RichEdit() { return sub_; }
  [[nodiscard]] int GetVersion() const { return sub_.Version(); }

  // Text in and out. Text is UTF-8; line breaks come back as CR LF.
  void SetText(std::string_view text);
  [[nodiscard]] std::string GetText();
  // Loads RTF, HTML ("<html>..." or "<!doctype html...") or plain text.
  void SetRichText(std::string_view text);
  // The document as stored RTF: field pictures and page breaks in stored form,
  // "" for an empty document.
  [[nodiscard]] std::string GetRichText();
  [[nodiscard]] std::string GetHtml();
  // Replaces the whole document with the RTF; false when the window refused it.
  bool StreamRichTextIn(std::string_view rtf);
  [[nodiscard]] std::string StreamRichTextOut();
  [[nodiscard]] std::string GetRTFSel();
  void DelSel();

  // Content height in pixels for a width (0: the inner window's), measured
  // against `dc` (null: the screen), plus the inner window's frame, the tool
  // bar and ruler that exist and the control's border; 0 for an empty text.
  [[nodiscard]] int RealHeight(int width = 0, HDC dc = nullptr);
  // Makes the control exactly as tall as its content.
  void Fit();
  // Draws the whole content into (left, top, right, bottom) of the canvas,
  // formatted from (formatLeft, formatTop); the target device measures the text.
  void DrawTo(ui::GdiCanvas& canvas, int left, int top, int right, int bottom, int formatLeft, int formatTop,
              HDC target = nullptr);
  void DrawTo(ui::GdiCanvas& canvas, int left, int top, int right, int bottom, HDC target = nullptr) {
    DrawTo(canvas, left, top, right, bottom, left, top, target);
  }

  // Links: the number for a link word (see controls::IsLink), -1 for none.
  [[nodiscard]] int IsLink(std::string& word) const;
  void SetLinkList(LinkList links) { linkList_ = std::move(links); }
  [[nodiscard]] const LinkList& GetLinkList() const { return linkList_; }

  // Settings.
  [[nodiscard]] bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  [[nodiscard]] int GetZoom() const { return zoom_; }
  void SetZoom(int zoom);
  // The background of the text (0x00BBGGRR or a system colour).
  [[nodiscard]] ui::Color GetColor() const override { return background_; }
  void SetColor(ui::Color color) override;
  [[nodiscard]] ui::BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(ui::BorderStyle style);
  [[nodiscard]] bool GetTabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  [[nodiscard]] const std::string& GetLanguage() const { return language_; }
  // A non-empty value is kept upper-cased; "NLD" gives Dutch texts.
  void SetLanguage(std::string_view language);
  [[nodiscard]] bool GetShowLinks() const { return showLinks_; }
  void SetShowLinks(bool show) { showLinks_ = show; }
  [[nodiscard]] bool GetRichFormat() const { return richFormat_; }
  void SetRichFormat(bool rich);
  [[nodiscard]] int GetSelStart();
  void SetSelStart(int start);
  [[nodiscard]] int GetSelLength();
  void SetSelLength(int length);
  void Focus();

  // Every message of the inner window to the debugger output.
  [[nodiscard]] bool GetDebug() const { return debug_; }
  void SetDebug(bool debug) { debug_ = debug; }
  // Where debug lines go instead of the debugger output (null: OutputDebugString).
  void SetDebugSink(std::function<void(const std::string&)> sink) { debugSink_ = std::move(sink); }

  // Stored only.
  std::string OrgText;

  std::function<void(PRichEdit&, const std::string& linkText, int object)> OnLink;
  std::function<void(PRichEdit&)> OnChange;
  std::function<void(PRichEdit&)> OnSelectionChange;
  std::function<void(PRichEdit&)> OnDestroy;

  // ---- Editor commands: bars (prichedit_bars.cpp), formatting (prichedit_format.cpp), keys
  // (prichedit_keys.cpp), menus (prichedit_menus.cpp), find and printing (prichedit_find_print.cpp),
  // embedded objects (prichedit_objects.cpp).
  [[nodiscard]] bool GetShowToolBar() const;
  void SetShowToolBar(bool show);
  [[nodiscard]] bool GetShowTabBar() const;
  void SetShowTabBar(bool show);
  void SetShowZoom(bool show);  // no zoom box with the version-1 window
  void SetShowPrint(bool show);
  void SetShowFind(bool show);
  void SetShowMenu(bool show);
  void SetShowInsertObject(bool show);
  void SetUseOle(bool use);
  void SetAutoHideBars(bool autoHide);
  // Enter is refused once the text holds maxLines - 1 line feeds (0: no limit).
  void SetMaxLines(int maxLines);
  // Typing is refused on a line that holds this many characters (0: no limit).
  void SetMaxLineLength(int maxLineLength);
  // Started from the context menu with the word under the mouse after it.
  void SetContextHelp(std::string help);
  [[nodiscard]] RichToolBar* ToolBar();
  [[nodiscard]] RichRuler* TabBar();
  void ClickMenu();
  void ClickFind() { Find(true); }
  void ClickUndo();
  void ClickCut();
  void ClickCopy();
  void ClickPaste();
  void ClickBold();
  void ClickItalic();
  void ClickUnderline();
  void ClickStrikeOut();
  void ClickNumbering();
  void SetNumbering(int style);
  void ClickAlignLeft() { SetAlignment(PFA_LEFT); }
  void ClickAlignCenter() { SetAlignment(PFA_CENTER); }
  void ClickAlignRight() { SetAlignment(PFA_RIGHT); }
  void ClickAlignJustify() { SetAlignment(PFA_JUSTIFY); }
  void SetAlignment(int alignment);  // PFA_...
  void SetLineSpacing(int rule, int value);
  // The font name (or, with an empty name, the size in points) of the selection.
  void SetSelectionFont(const std::string& name, int points);
  void ToolCommandClicked(ToolCommand command);
  void ClickTextColor();
  void ClickPrint() { (void)Print(); }
  // Prints the whole text on the default printer; false when nothing was printed.
  bool Print();
  void ClickNewField();
  void ClickInsertObject() { (void)InsertObject(false); }
  bool InsertObject(bool pasteSpecial);
  // Searches on from the selection; the dialog when asked or nothing was searched yet.
  void Find(bool showDialog);
  // Searches without the dialog; false when nothing matched.
  bool FindNext(const std::string& text, bool matchCase, bool up);
  // Tab stop i of the selection's paragraph in points, without its type.
  [[nodiscard]] int Tab(int index);
  void UpdateToolBar();
  void DoSelectionChange();
  // Fills the pop-up menu service with the context menu for a click at (x, y)
  // of the inner window; ContextMenuAt also shows it and carries out the choice.
  void BuildContextMenu(int x, int y);
  void ContextMenuAt(int x, int y);
  void BuildDropDownMenu();
  std::function<void(PRichEdit&, RichToolBar&)> OnCreateToolBar;
  // Forwarded from the inner window. A key handler may set the key to 0 to
  // swallow it; OnEnter, OnExit and the mouse events are the framework's own.
  std::function<void(PRichEdit&)> OnDblClick;
  std::function<void(PRichEdit&, unsigned& key, unsigned shift)> OnKeyDown;
  std::function<void(PRichEdit&, unsigned& key, unsigned shift)> OnKeyUp;
  // Asked for every change of protected text; the control allows it whatever
  // the answer.
  std::function<void(PRichEdit&, int startPos, int endPos, bool& allowChange)> OnProtectChange;

  // Editor settings, passed through to the inner window.
  [[nodiscard]] int GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  [[nodiscard]] RichScrollBars GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(RichScrollBars bars);
  [[nodiscard]] bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  [[nodiscard]] bool GetWantReturns() const { return wantReturns_; }
  void SetWantReturns(bool want);
  // The font of the inner window from a logical font.
  void SetLogFont(const LOGFONTW& font);
  // The character format of the selection as a font; setting it formats the selection.
  [[nodiscard]] ui::Font GetSelectedFont();
  void SetSelectedFont(const ui::Font& font);
  // True while the control itself inserts objects.
  [[nodiscard]] bool GetOleField() const { return oleField_; }

  // Fields: named pictures the host draws (see controls/rich_fields.h).
  // The RTF that stands for a field, or "" without a host.
  [[nodiscard]] std::string GetField(const std::string& name);
  // 0: the selection does not start with a field picture; 2: a "D" picture; 1: another one.
  [[nodiscard]] int IsField();
  // Lets the host create (newField) or change the fields of the selection;
  // (left, top) are client coordinates of the inner window. True when
  // something was inserted.
  bool FieldEdit(int left, int top, bool newField);
  // Replaces the selection with RTF (plain text is wrapped); keepFormat gives
  // the inserted range the character format at the selection start. Always true.
  bool Insert(std::string_view text, bool keepFormat);
  bool Insert(HENHMETAFILE metafile);
  // Lets the host re-draw the field pictures (of the selection) after a
  // formatting command; `attribute` is one of the kField... codes.
  void SetFieldTextAttributes(int attribute, bool selectionOnly);
  using FieldEditHandler = std::function<void(PRichEdit&, int left, int top, std::string& object, bool& ret)>;
  void SetOnFieldEdit(FieldEditHandler handler);
  // Embeds the file as an OLE object at the selection; nothing when a step fails.
  void InsertFile(const std::string& fileName);
  [[nodiscard]] bool GetHasFileLinks();
  void UpdateFileLinks();
  // Field names offered by the context menu.
  std::vector<std::string> FieldList;
  // What turns the bytes of "JPEGPICT:" fields into pictures, for every control
  // of the process: controls::JpegMetafile (controls/jpeg_picture.h) unless a
  // program says otherwise; with none such fields stay empty.
  using JpegDecoder = win::unique_henhmetafile (*)(std::string_view jpeg);
  static void SetJpegDecoder(JpegDecoder decoder);

  std::function<void(PRichEdit&, const std::string& object, std::string& hint)> OnFieldHint;
  std::function<void(PRichEdit&, int left, int top, std::string& object, bool& ret)> OnFieldEdit;
  // The host draws a field: a metafile whose author is `createdBy` (plus a type
  // letter) and whose description is the name.
  std::function<void(PRichEdit&, const std::string& createdBy, const std::string& object,
                     win::unique_henhmetafile& emf)>
      OnGetField;
  std::function<void(PRichEdit&, const std::string& createdBy, const std::string& object, std::string& rtf)>
      OnGetRtfField;
  // `attributes` is the format of the field's character; a changed `object`
  // replaces the field by that one.
  std::function<void(PRichEdit&, std::string& object, int attribute, const ui::Font& attributes)>
      OnSetFieldTextAttributes;
  // After every selection change: the names of the field pictures in the
  // selection, LF between them ("" for none).
  std::function<void(PRichEdit&, const std::string& object)> OnSelectObject;

  void SetFont(const ui::Font& font) override;
  void Loaded() override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void WndProc(ui::Message& m) override;
  // In front of the container's window procedure and of the inner window's:
  // true when the message was consumed. An override hands what it does not
  // take to these.
  virtual bool CustomCtrlProc(ui::Message& m);
  virtual bool CustomProc(ui::Message& m);

 private:
  friend class PRichEditSub;

  // The inner window's messages before its own handling; true when consumed.
  bool InnerProc(ui::Message& m);
  void InnerMouseUp(ui::MouseButton button, int x, int y);
  void InnerMouseMove(int x, int y);
  void InnerSelectionChanged();
  void InnerChanged();

  class WindowFields;
  class WindowInsert;
  void ApplyEditorSettings();
  [[nodiscard]] win::com_ptr<IRichEditOle> OleInterface();
  [[nodiscard]] static std::vector<int> ObjectPositions(IRichEditOle* ole);
  // Deletes and inserts again every object in the range, below the base line.
  void ReinsertObjects(ObjectRange range);
  // The label of the object at a character position, read from its data.
  [[nodiscard]] std::optional<PictureLabel> ObjectLabelAt(int cp);
  void ShowFieldHint(int x, int y);
  // The names of the field pictures in the selection, LF between them.
  [[nodiscard]] std::string SelectedFieldNames();

  void Layout();
  void ApplyTheme();
  void ApplyTypography();
  void ApplyBackground();
  void SetPlainText(std::string_view text);
  void ExpandFields();
  // Whether the inner window keeps "\protect" when it reads RTF.
  [[nodiscard]] bool KeepsProtection();
  void ProtectAnchoredMarkers();
  void CheckContrast(std::string_view loaded);
  void FormatLinkBeforeCaret();
  // The text with positions as the window counts them.
  [[nodiscard]] std::wstring PositionText();
  [[nodiscard]] int CharFromPos(int x, int y);
  // The content height the window asks for at a width, in pixels.
  [[nodiscard]] int RequestedHeight(int width);
  [[nodiscard]] std::string StreamOut(UINT format);
  bool StreamIn(std::string_view rtf, UINT format);
  [[nodiscard]] HWND Inner();
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  PRichEditSub sub_;
  LinkList linkList_;
  bool readOnly_ = false;
  int zoom_ = 100;
  ui::Color background_ = ui::SystemColor(COLOR_WINDOW);
  ui::BorderStyle borderStyle_ = ui::BorderStyle::Single;
  bool tabStop_ = true;
  std::string language_ = "NLD";
  bool showLinks_ = false;
  bool richFormat_ = true;
  bool debug_ = false;
  std::function<void(const std::string&)> debugSink_;
  bool loading_ = false;
  bool selectionEvents_ = true;
  int requestedHeight_ = 0;
  int maxLength_ = 0;
  RichScrollBars scrollBars_ = RichScrollBars::None;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool oleField_ = false;
  bool protectEvents_ = true;
  std::vector<UINT> clipboardFormats_;
  win::com_ptr<IRichEditOleCallback> oleCallback_;
  // The editor's bars and command state (prichedit_bars.h).
  struct BarsDeleter {
    void operator()(RichEditorBars* bars) const noexcept;
  };
  std::unique_ptr<RichEditorBars, BarsDeleter> bars_;
  RichEditorBars& Bars();
  // Creates, destroys and places the bars; the top of the inner window's area.
  int PlaceBars(int border);
  // The height the bars that exist and the control's border take from it.
  [[nodiscard]] int BarsAndBorderHeight();
  // The editor's keys and typing rules; true when the message was taken.
  bool EditorKeys(ui::Message& m);
  void ApplyEditorBackground();
  void RunShortcut(EditorKey key);
  void InsertPageBreak();
  void ToggleStyle(DWORD mask, DWORD effect, int attribute);
  void IndentSelection(bool outdent, bool linesInSelection);
};

}  // namespace orvalis::controls
