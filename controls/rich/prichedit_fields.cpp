// The rich text control's fields: named pictures the host draws, expanded when
// a text is loaded, inserted, edited through the host, re-drawn after a format
// command, and their hints under the mouse.
#include "controls/rich/prichedit.h"

#include <algorithm>
#include <optional>

#include "controls/rich/jpeg_picture.h"
#include "controls/rich/prichedit_detail.h"
#include "win/wide.h"

namespace orvalis::controls {

using detail::DetachScope;
using detail::FlagScope;
using detail::WaitCursor;

// The inner window as field expansion sees it.
class PRichEdit::WindowFields final : public FieldDocument {
 public:
  explicit WindowFields(PRichEdit& owner) : owner_(owner) {}
  std::u16string Text() override {
    const std::wstring text = owner_.PositionText();
    return std::u16string(text.begin(), text.end());
  }
  bool ProtectedBefore(int position) override {
    CHARRANGE caret{position, position};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&caret));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_PROTECTED;
    owner_.Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    return (format.dwEffects & CFE_PROTECTED) != 0;
  }
  std::string FieldRtf(const std::string& name) override { return owner_.GetField(name); }
  int Replace(int start, int end, const std::string& rtf) override {
    CHARRANGE marker{start, end};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&marker));
    if (rtf.empty()) {
      owner_.DelSel();
      return start;
    }
    (void)owner_.Insert(rtf, true);
    CHARRANGE inserted{};
    owner_.Send(EM_EXGETSEL, 0, LPARAM(&inserted));
    return inserted.cpMax;
  }

 private:
  PRichEdit& owner_;
};

void PRichEdit::ExpandFields() {
  WindowFields fields(*this);
  const std::vector<ObjectRange> pageBreaks = ExpandFieldMarkers(fields);
  // The loaded text is not protected, apart from the page breaks that stayed
  // markers; OnGetField is not asked meanwhile.
  DetachScope<decltype(OnGetField)> noFields(OnGetField);
  CHARRANGE all{0, -1};
  Send(EM_EXSETSEL, 0, LPARAM(&all));
  CHARFORMATW protection{};
  protection.cbSize = sizeof protection;
  protection.dwMask = CFM_PROTECTED;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&protection));
  protection.dwEffects = CFE_PROTECTED;
  for (const ObjectRange& marker : pageBreaks) {
    CHARRANGE range{marker.start, marker.start + marker.length};
    Send(EM_EXSETSEL, 0, LPARAM(&range));
    Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&protection));
  }
}

// ---------------------------------------------------------------- fields

namespace {
PRichEdit::JpegDecoder jpegDecoder = JpegMetafile;
}  // namespace

void PRichEdit::SetJpegDecoder(JpegDecoder decoder) { jpegDecoder = decoder; }

std::string PRichEdit::GetField(const std::string& name) {
  if (!OnGetField && !OnGetRtfField) return {};
  FlagScope quietSelection(selectionEvents_, false);
  FlagScope quietProtection(protectEvents_, false);
  win::unique_henhmetafile metafile;
  std::string rtf;
  if (const std::optional<std::string> jpeg = JpegFieldData(name)) {
    if (jpegDecoder) metafile = jpegDecoder(*jpeg);
  } else if (OnGetField) {
    OnGetField(*this, std::string(kPictureTag), name, metafile);
  } else {
    OnGetRtfField(*this, std::string(kPictureTag), name, rtf);
  }
  return metafile ? MetafilePictureText(metafile.get()) : rtf;
}

int PRichEdit::IsField() {
  if (!OnFieldEdit || !OnGetField || readOnly_ || !sub_.HandleAllocated()) return 0;
  // The selection must start with the picture, not merely hold one.
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  if (const win::com_ptr<IRichEditOle> ole = OleInterface()) {
    const std::vector<int> objects = ObjectPositions(ole.get());
    if (std::find(objects.begin(), objects.end(), int(selection.cpMin)) == objects.end()) return 0;
  }
  const std::optional<PictureLabel> label = ReadPictureLabel(GetRTFSel());
  return label ? FieldPictureKind(*label) : 0;
}

bool PRichEdit::FieldEdit(int left, int top, bool newField) {
  if (!OnFieldEdit || !OnGetField || readOnly_ || !sub_.HandleAllocated()) return false;
  POINT screen{left, top};
  ::ClientToScreen(Inner(), &screen);
  const PictureLabelReader readLabel = [](std::string_view picture) { return ReadPictureLabel(picture); };
  std::string object(kNewFieldName), selection;
  if (!newField) {
    WaitCursor wait;
    selection = GetRTFSel();
    object = JoinFieldNames(FieldNames(selection, readLabel));
  }
  if (object.empty()) return false;
  bool ret = false;
  OnFieldEdit(*this, screen.x, screen.y, object, ret);
  if (!ret) return false;
  if (newField) {
    (void)Insert(GetField(object), true);
  } else {
    (void)Insert(ReplaceFieldPictures(selection, object, readLabel,
                                      [this](const std::string& name) { return GetField(name); }),
                 true);
  }
  return true;
}

// The inner window as the insert probe sees it.
class PRichEdit::WindowInsert final : public InsertTarget {
 public:
  explicit WindowInsert(PRichEdit& owner) : owner_(owner) {}
  std::string SaveDocument() override { return owner_.StreamRichTextOut(); }
  void RestoreDocument(const std::string& rtf) override { (void)owner_.StreamIn(rtf, SF_RTF); }
  void Select(int start, int length) override {
    CHARRANGE range{start, start + length};
    owner_.Send(EM_EXSETSEL, 0, LPARAM(&range));
  }
  void ReplaceSelection(std::string_view text) override {
    owner_.Send(EM_REPLACESEL, TRUE, LPARAM(win::Wide(text).c_str()));
  }
  std::u16string SelectedText() override {
    CHARRANGE range{};
    owner_.Send(EM_EXGETSEL, 0, LPARAM(&range));
    const std::wstring text = owner_.PositionText();
    const auto from = std::size_t(std::clamp<LONG>(range.cpMin, 0, LONG(text.size())));
    const auto to = std::size_t(std::clamp<LONG>(range.cpMax, LONG(from), LONG(text.size())));
    return std::u16string(text.begin() + std::ptrdiff_t(from), text.begin() + std::ptrdiff_t(to));
  }

 private:
  PRichEdit& owner_;
};

bool PRichEdit::Insert(std::string_view text, bool keepFormat) {
  if (!sub_.HandleAllocated()) return true;
  const std::string rtf = InsertRtf(text);
  std::optional<FlagScope> quiet(std::in_place, selectionEvents_, false);
  DetachScope<decltype(OnGetField)> noFields(OnGetField);
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  const int p = selection.cpMin, n = selection.cpMax - selection.cpMin;
  CHARFORMATW format{};
  format.cbSize = sizeof format;
  if (keepFormat) {
    CHARRANGE caret{p, p};
    Send(EM_EXSETSEL, 0, LPARAM(&caret));
    Send(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
    Send(EM_EXSETSEL, 0, LPARAM(&selection));
  }
  Send(EM_EXLIMITTEXT, 0, LPARAM(PositionText().size() + rtf.size() + 2005536));
  WindowInsert target(*this);
  const int retries = PlaceInsertProbe(target, p, n);
  {
    FlagScope inserting(oleField_, true);
    (void)StreamIn(rtf, SF_RTF | SFF_SELECTION);
  }
  CHARRANGE after{};
  Send(EM_EXGETSEL, 0, LPARAM(&after));
  const int inserted = std::max(0, int(after.cpMax) - p);
  ReinsertObjects(ReinsertRange(retries, p, inserted));
  quiet.reset();
  CHARRANGE range{p, p + inserted};
  Send(EM_EXSETSEL, 0, LPARAM(&range));
  if (keepFormat) Send(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&format));
  return true;
}

bool PRichEdit::Insert(HENHMETAFILE metafile) { return Insert(MetafilePictureText(metafile), true); }

void PRichEdit::SetFieldTextAttributes(int attribute, bool selectionOnly) {
  if (!OnSetFieldTextAttributes) return;
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  std::vector<int> positions = ObjectPositions(ole.get());
  if (selectionOnly)
    positions = ObjectsInRange(positions, ObjectRange{selection.cpMin, selection.cpMax - selection.cpMin});
  const PictureLabelReader readLabel = [](std::string_view picture) { return ReadPictureLabel(picture); };
  // From the last object back, so that a replaced picture moves none still to come.
  for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
    CHARRANGE one{*it, *it + 1};
    Send(EM_EXSETSEL, 0, LPARAM(&one));
    const std::string rtf = GetRTFSel();
    const std::optional<PictureLabel> label = ReadPictureLabel(rtf);
    const std::optional<std::string> name = label ? FieldName(*label) : std::nullopt;
    if (!name) continue;
    std::string changed = *name;
    OnSetFieldTextAttributes(*this, changed, attribute, GetSelectedFont());
    if (changed == *name) continue;
    (void)Insert(ReplaceFieldPictures(rtf, changed, readLabel,
                                      [this](const std::string& field) { return GetField(field); }),
                 true);
  }
  Send(EM_EXSETSEL, 0, LPARAM(&selection));
}

std::string PRichEdit::SelectedFieldNames() {
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  if (selection.cpMin == selection.cpMax) return {};
  const PictureLabelReader readLabel = [](std::string_view picture) { return ReadPictureLabel(picture); };
  return JoinFieldNames(FieldNames(GetRTFSel(), readLabel));
}

void PRichEdit::SetOnFieldEdit(FieldEditHandler handler) {
  OnFieldEdit = std::move(handler);
  UpdateToolBar();  // the insert-field button shows with a handler only
}

void PRichEdit::ShowFieldHint(int x, int y) {
  if (!OnFieldHint || readOnly_) return;
  if (!sub_.Hint().empty()) sub_.SetHint("");
  const std::optional<PictureLabel> label = ObjectLabelAt(CharFromPos(x, y));
  const std::optional<std::string> name = label ? FieldName(*label) : std::nullopt;
  if (!name) return;
  std::string hint;
  OnFieldHint(*this, *name, hint);
  if (hint.empty()) return;
  sub_.SetShowHint(true);
  sub_.SetHint(hint);
}

}  // namespace orvalis::controls
