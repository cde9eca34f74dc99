// PRichEdit: the rich text control, a container window around the system's
// version-1 rich edit window (`PRichEditSub`). It loads RTF, simple HTML or
// plain text, keeps page breaks and fields in their stored form, measures and
// draws its content and reports clicks on web and mail addresses.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/prichedit_model.h"
#include "controls/rtf_convert.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/gdi_canvas.h"
#include "win/gdi.h"

namespace orvalis::controls {

class PRichEdit;

// The picture text of a metafile, converted to the 16-bit format against the
// screen; "" when the conversion gives nothing.
[[nodiscard]] std::string MetafilePictureText(HENHMETAFILE metafile);
// The metafile of a picture text; none when its bytes make no metafile.
[[nodiscard]] win::unique_henhmetafile MetafileFromPicture(std::string_view rtf, PictureSpan span);
// Author and description from the metafile's header; none without a description.
[[nodiscard]] std::optional<PictureLabel> MetafileLabel(HENHMETAFILE metafile);

// The byte buffer of a rich edit stream. Reading borrows the caller's text (or
// keeps its own copy); writing grows its own buffer.
class PStreamObject {
 public:
  // A stream that reads `text`, which must outlive it.
  static PStreamObject Borrowing(std::string_view text);
  // A stream that reads its own copy of `text`.
  static PStreamObject Owning(std::string text);
  // An empty stream to write into.
  PStreamObject() = default;
  PStreamObject(const PStreamObject&) = delete;
  PStreamObject& operator=(const PStreamObject&) = delete;
  PStreamObject(PStreamObject&& other) noexcept;
  PStreamObject& operator=(PStreamObject&&) = delete;

  [[nodiscard]] bool Borrowed() const { return borrowed_; }
  // What has been written, without trailing zero bytes.
  [[nodiscard]] std::string Written() const;

  // EDITSTREAM callbacks; the cookie is the stream. Nothing escapes them: a
  // failure ends the stream with an error code.
  static DWORD CALLBACK ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept;
  static DWORD CALLBACK WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept;

 private:
  const char* data_ = nullptr;
  bool borrowed_ = false;
  std::size_t size_ = 0;      // the data when reading, the capacity when writing
  std::size_t position_ = 0;  // read position, or bytes written
  std::string storage_;
};

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
  // against `dc` (null: the screen), plus the inner window's frame.
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
  [[nodiscard]] ui::Color GetColor() const { return background_; }
  void SetColor(ui::Color color);
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
  void SetRichFormat(bool rich) { richFormat_ = rich; }
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

  void SetFont(const ui::Font& font) override;
  void Loaded() override;

 protected:
  void MakeCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void WndProc(ui::Message& m) override;

 private:
  friend class PRichEditSub;

  // The inner window's messages before its own handling; true when consumed.
  bool InnerProc(ui::Message& m);
  void InnerMouseUp(ui::MouseButton button, int x, int y);
  void InnerMouseMove(int x, int y);
  void InnerSelectionChanged();
  void InnerChanged();

  void Layout();
  void ApplyTheme();
  void ApplyTypography();
  void ApplyBackground();
  void SetPlainText(std::string_view text);
  void ExpandFields();
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
};

}  // namespace orvalis::controls
