// The rich text control's embedded objects: storage in memory and the inner
// window's OLE callback, objects put back below the base line, files embedded
// or linked, and the Insert Object and Paste Special dialogs.
#include "controls/rich/prichedit_objects.h"

#include "controls/rich/prichedit.h"
#include "controls/rich/prichedit_detail.h"
#include "ui/application.h"
#include "win/module.h"
#include "win/scope_exit.h"
#include "win/wide.h"

namespace orvalis::controls {
namespace {

// The inner window's OLE callback: storage for new objects; everything else
// is left to the window.
class RichOleCallback final : public IRichEditOleCallback {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IRichEditOleCallback) {
      *out = static_cast<IRichEditOleCallback*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetNewStorage(LPSTORAGE* storage) noexcept override {
    return detail::NewMemoryStorage(storage);
  }
  HRESULT STDMETHODCALLTYPE GetInPlaceContext(LPOLEINPLACEFRAME*, LPOLEINPLACEUIWINDOW*,
                                              LPOLEINPLACEFRAMEINFO) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ShowContainerUI(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryInsertObject(LPCLSID, LPSTORAGE, LONG) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteObject(LPOLEOBJECT) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL) noexcept override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDragDropEffect(BOOL, DWORD, LPDWORD) noexcept override { return S_OK; }
  // The context menu is the control's own.
  HRESULT STDMETHODCALLTYPE GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*) noexcept override {
    return E_NOTIMPL;
  }

 private:
  ULONG references_ = 1;
};

// oledlg.dll is loaded when one of its dialogs is asked for: the setup never
// shows them, so it does not import the library at start.
template <typename Function>
Function OleDialog(win::unique_hmodule& module, const char* name) {
  module.reset(::LoadLibraryW(L"oledlg.dll"));
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
}

// The icon picture the dialogs hand back (a METAFILEPICT in global memory).
void FreeIconPicture(HGLOBAL picture) noexcept {
  if (!picture) return;
  if (auto* metafile = static_cast<METAFILEPICT*>(::GlobalLock(picture))) {
    if (metafile->hMF) ::DeleteMetaFile(metafile->hMF);
    ::GlobalUnlock(picture);
  }
  ::GlobalFree(picture);
}

DWORD PasteTymed(PasteFormat format) {
  switch (format) {
    case PasteFormat::EmbeddedObject:
    case PasteFormat::LinkSource: return TYMED_ISTORAGE;
    case PasteFormat::EnhMetafile: return TYMED_ENHMF;
    case PasteFormat::Metafile: return TYMED_MFPICT;
    case PasteFormat::Bitmap: return TYMED_GDI;
    default: return TYMED_HGLOBAL;
  }
}

}  // namespace

HRESULT detail::NewMemoryStorage(IStorage** storage) noexcept {
  if (!storage) return E_INVALIDARG;
  *storage = nullptr;
  win::com_ptr<ILockBytes> bytes;
  const HRESULT hr = ::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put());
  if (FAILED(hr)) return hr;
  return ::StgCreateDocfileOnILockBytes(bytes.get(), STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0,
                                        storage);
}

IRichEditOleCallback* detail::NewOleCallback() { return new RichOleCallback; }

using detail::DetachScope;
using detail::FlagScope;
using detail::NewMemoryStorage;

win::com_ptr<IRichEditOle> PRichEdit::OleInterface() {
  win::com_ptr<IRichEditOle> ole;
  if (sub_.HandleAllocated()) Send(EM_GETOLEINTERFACE, 0, LPARAM(ole.put()));
  return ole;
}

std::vector<int> PRichEdit::ObjectPositions(IRichEditOle* ole) {
  std::vector<int> positions;
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (SUCCEEDED(ole->GetObject(i, &object, REO_GETOBJ_NO_INTERFACES))) positions.push_back(int(object.cp));
  }
  return positions;
}

void PRichEdit::ReinsertObjects(ObjectRange range) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  DetachScope<decltype(OnChange)> quiet(OnChange);
  FlagScope inserting(oleField_, true);
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, LPARAM(&selection));
  for (int cp : ObjectsInRange(ObjectPositions(ole.get()), range)) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    object.cp = cp;
    if (FAILED(ole->GetObject(REO_IOB_USE_CP, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) continue;
    const win::com_ptr<IOleObject> oleObject(object.poleobj);
    win::com_ptr<IStorage> storage;
    win::com_ptr<IOleClientSite> site;
    if (FAILED(NewMemoryStorage(storage.put())) || FAILED(ole->GetClientSite(site.put()))) continue;
    CHARRANGE one{cp, cp + 1};
    Send(EM_EXSETSEL, 0, LPARAM(&one));
    DelSel();
    object.cp = REO_CP_SELECTION;
    object.pstg = storage.get();
    object.polesite = site.get();
    object.dwFlags = (object.dwFlags | REO_BELOWBASELINE) & ~DWORD(REO_RESIZABLE);
    if (!readOnly_) object.dwFlags |= REO_INVERTEDSELECT;
    (void)ole->InsertObject(&object);
  }
  Send(EM_EXSETSEL, 0, LPARAM(&selection));
}

std::optional<PictureLabel> PRichEdit::ObjectLabelAt(int cp) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return std::nullopt;
  REOBJECT object{};
  object.cbStruct = sizeof object;
  object.cp = cp;
  if (FAILED(ole->GetObject(REO_IOB_USE_CP, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) return std::nullopt;
  const win::com_ptr<IOleObject> oleObject(object.poleobj);
  const auto data = oleObject.query<IDataObject>(IID_IDataObject);
  if (!data) return std::nullopt;
  FORMATETC format{CF_ENHMETAFILE, nullptr, DVASPECT_CONTENT, -1, TYMED_ENHMF};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return std::nullopt;
  const auto release = win::scope_exit([&medium] { ::ReleaseStgMedium(&medium); });
  return medium.tymed == TYMED_ENHMF ? MetafileLabel(medium.hEnhMetaFile) : std::nullopt;
}

void PRichEdit::InsertFile(const std::string& fileName) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  win::com_ptr<IStorage> storage;
  win::com_ptr<IOleClientSite> site;
  win::com_ptr<IOleObject> object;
  if (FAILED(NewMemoryStorage(storage.put())) || FAILED(ole->GetClientSite(site.put()))) return;
  if (FAILED(::OleCreateFromFile(CLSID_NULL, win::Wide(fileName).c_str(), IID_IOleObject, OLERENDER_DRAW, nullptr,
                                 site.get(), storage.get(), object.put_void())))
    return;
  (void)::OleSetContainedObject(object.get(), TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  (void)object->GetUserClassID(&inserted.clsid);
  inserted.poleobj = object.get();
  inserted.pstg = storage.get();
  inserted.polesite = site.get();
  inserted.dvaspect = DVASPECT_CONTENT;
  inserted.dwFlags = REO_RESIZABLE | REO_BELOWBASELINE | REO_DYNAMICSIZE | REO_BLANK;
  FlagScope inserting(oleField_, true);
  (void)ole->InsertObject(&inserted);
}

bool PRichEdit::GetHasFileLinks() {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return false;
  FlagScope listing(oleField_, true);
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (SUCCEEDED(ole->GetObject(i, &object, REO_GETOBJ_NO_INTERFACES)) && (object.dwFlags & REO_LINKAVAILABLE))
      return true;
  }
  return false;
}

void PRichEdit::UpdateFileLinks() {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return;
  FlagScope listing(oleField_, true);
  const LONG count = ole->GetObjectCount();
  for (LONG i = 0; i < count; ++i) {
    REOBJECT object{};
    object.cbStruct = sizeof object;
    if (FAILED(ole->GetObject(i, &object, REO_GETOBJ_POLEOBJ)) || !object.poleobj) continue;
    const win::com_ptr<IOleObject> linked(object.poleobj);
    if (object.dwFlags & REO_LINKAVAILABLE) (void)linked->Update();
  }
}

CLIPFORMAT PasteClipboardFormat(PasteFormat format) {
  switch (format) {
    case PasteFormat::EmbeddedObject: return CLIPFORMAT(::RegisterClipboardFormatW(L"Embedded Object"));
    case PasteFormat::LinkSource: return CLIPFORMAT(::RegisterClipboardFormatW(L"Link Source"));
    case PasteFormat::Text: return CF_UNICODETEXT;
    case PasteFormat::RichText: return CLIPFORMAT(::RegisterClipboardFormatW(L"Rich Text Format"));
    case PasteFormat::EnhMetafile: return CF_ENHMETAFILE;
    case PasteFormat::Metafile: return CF_METAFILEPICT;
    case PasteFormat::Dib: return CF_DIB;
    case PasteFormat::Bitmap: return CF_BITMAP;
  }
  return 0;
}

std::unique_ptr<OlePasteEntries> BuildPasteEntries() {
  auto built = std::make_unique<OlePasteEntries>();
  const std::vector<PasteEntry>& table = PasteSpecialEntries();
  built->names.reserve(table.size());
  built->results.reserve(table.size());
  built->linkType = PasteClipboardFormat(PasteFormat::LinkSource);
  for (const PasteEntry& entry : table) {
    built->names.push_back(win::Wide(entry.name));
    built->results.push_back(win::Wide(entry.result));
    OLEUIPASTEENTRYW ole{};
    ole.fmtetc = FORMATETC{PasteClipboardFormat(entry.format), nullptr, DVASPECT_CONTENT, -1,
                           PasteTymed(entry.format)};
    ole.lpstrFormatName = built->names.back().c_str();
    ole.lpstrResultText = built->results.back().c_str();
    DWORD flags = 0;
    if (entry.paste) flags |= OLEUIPASTE_PASTE;
    if (entry.link) flags |= OLEUIPASTE_LINKTYPE1;
    if (entry.asIcon) flags |= OLEUIPASTE_ENABLEICON;
    ole.dwFlags = flags ? flags : DWORD(OLEUIPASTE_PASTEONLY);
    built->entries.push_back(ole);
  }
  return built;
}

bool InsertRichObject(IRichEditOle* ole, IOleObject* object, IStorage* storage, bool asIcon) {
  if (!ole || !object) return false;
  win::com_ptr<IOleClientSite> site;
  if (FAILED(ole->GetClientSite(site.put()))) return false;
  const std::wstring title = win::Wide(ui::Application::Title());
  (void)object->SetHostNames(title.c_str(), nullptr);
  (void)::OleSetContainedObject(object, TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  (void)object->GetUserClassID(&inserted.clsid);
  inserted.poleobj = object;
  inserted.pstg = storage;
  inserted.polesite = site.get();
  inserted.dvaspect = asIcon ? DVASPECT_ICON : DVASPECT_CONTENT;
  inserted.dwFlags = REO_RESIZABLE | REO_BELOWBASELINE | REO_DYNAMICSIZE | REO_BLANK;
  return SUCCEEDED(ole->InsertObject(&inserted));
}

bool PRichEdit::InsertObject(bool pasteSpecial) {
  const win::com_ptr<IRichEditOle> ole = OleInterface();
  if (!ole) return false;
  win::com_ptr<IOleClientSite> site;
  win::com_ptr<IStorage> storage;
  if (FAILED(ole->GetClientSite(site.put())) || FAILED(NewMemoryStorage(storage.put()))) return false;
  win::unique_hmodule oledlg;
  win::com_ptr<IOleObject> object;
  bool asIcon = false;

  if (!pasteSpecial) {
    using InsertDialog = UINT(WINAPI*)(LPOLEUIINSERTOBJECTW);
    const auto dialog = OleDialog<InsertDialog>(oledlg, "OleUIInsertObjectW");
    if (!dialog) return false;
    wchar_t file[257] = {};
    OLEUIINSERTOBJECTW query{};
    query.cbStruct = sizeof query;
    query.dwFlags = IOF_SELECTCREATENEW | IOF_DISABLEDISPLAYASICON | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT |
                    IOF_CREATELINKOBJECT;
    query.hWndOwner = Inner();
    query.lpszFile = file;
    query.cchFile = 256;
    query.iid = IID_IOleObject;
    query.oleRender = OLERENDER_DRAW;
    query.lpIOleClientSite = site.get();
    query.lpIStorage = storage.get();
    query.ppvObj = object.put_void();
    const UINT answer = dialog(&query);
    FreeIconPicture(query.hMetaPict);
    if (answer != OLEUI_OK || FAILED(query.sc) || !object) return false;
    asIcon = (query.dwFlags & IOF_CHECKDISPLAYASICON) != 0;
  } else {
    using PasteDialog = UINT(WINAPI*)(LPOLEUIPASTESPECIALW);
    const auto dialog = OleDialog<PasteDialog>(oledlg, "OleUIPasteSpecialW");
    win::com_ptr<IDataObject> data;
    if (!dialog || FAILED(::OleGetClipboard(data.put()))) return false;
    const std::unique_ptr<OlePasteEntries> entries = BuildPasteEntries();
    OLEUIPASTESPECIALW query{};
    query.cbStruct = sizeof query;
    query.dwFlags = PSF_SELECTPASTE;
    query.hWndOwner = Inner();
    query.lpSrcDataObj = data.get();
    query.arrPasteEntries = entries->entries.data();
    query.cPasteEntries = int(entries->entries.size());
    query.arrLinkTypes = &entries->linkType;
    query.cLinkTypes = 1;
    const UINT answer = dialog(&query);
    FreeIconPicture(query.hMetaPict);
    if (answer != OLEUI_OK || query.nSelectedIndex < 0 || query.nSelectedIndex >= query.cPasteEntries) return false;
    asIcon = (query.dwFlags & PSF_CHECKDISPLAYASICON) != 0;
    const PasteFormat format = PasteSpecialEntries()[std::size_t(query.nSelectedIndex)].format;
    if (!PastesObject(format)) {
      // Data: the inner window imports the clipboard in that format.
      REPASTESPECIAL how{DWORD(asIcon ? DVASPECT_ICON : DVASPECT_CONTENT), 0};
      Send(EM_PASTESPECIAL, PasteClipboardFormat(ImportedFormat(format)), LPARAM(&how));
      UpdateToolBar();
      return true;
    }
    const DWORD render = OLERENDER_DRAW;
    FORMATETC icon{0, nullptr, DVASPECT_ICON, -1, TYMED_NULL};
    const HRESULT created =
        query.fLink ? ::OleCreateLinkFromData(data.get(), IID_IOleObject, render, asIcon ? &icon : nullptr,
                                              site.get(), storage.get(), object.put_void())
                    : ::OleCreateFromData(data.get(), IID_IOleObject, render, asIcon ? &icon : nullptr, site.get(),
                                          storage.get(), object.put_void());
    if (FAILED(created) || !object) return false;
  }

  const bool done = InsertRichObject(ole.get(), object.get(), storage.get(), asIcon);
  UpdateToolBar();
  return done;
}

}  // namespace orvalis::controls
