// The C interface of the rich text control.
#include "controls/capi/capi.h"
#include "controls/rich/prichedit.h"

using namespace orvalis::controls;
using orvalis::capi::Do;
using orvalis::capi::In;
using orvalis::capi::Out;
using orvalis::capi::With;

extern "C" {

// The inner rich edit window is named after the control with "RichEdit" added,
// so a test can type into and click on the text itself.
ORVALIS_API OrvalisControl* ORVALIS_CALL PRichEdit_Create(HWND parent, const char* name, int x, int y, int width,
                                                          int height) {
  OrvalisControl* control = orvalis::capi::Create<PRichEdit>(__func__, parent, name, x, y, width, height);
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) { c.RichEdit().SetName(std::string(In(name)) + "RichEdit"); });
  return control;
}
ORVALIS_GETTER(PRichEdit, GetVersion, int, c.GetVersion())
ORVALIS_TEXT_GETTER(PRichEdit, GetText, c.GetText())
ORVALIS_SETTER(PRichEdit, SetText, const char*, In(value))
ORVALIS_TEXT_GETTER(PRichEdit, GetRichText, c.GetRichText())
ORVALIS_SETTER(PRichEdit, SetRichText, const char*, In(value))
ORVALIS_TEXT_GETTER(PRichEdit, GetHtml, c.GetHtml())
ORVALIS_TEXT_GETTER(PRichEdit, GetRTFSel, c.GetRTFSel())
ORVALIS_COMMAND(PRichEdit, DelSel)
ORVALIS_API int ORVALIS_CALL PRichEdit_RealHeight(OrvalisControl* control, int width) {
  return With<PRichEdit>(__func__, control, 0, [&](PRichEdit& c) { return c.RealHeight(width); });
}
ORVALIS_API void ORVALIS_CALL PRichEdit_Fit(OrvalisControl* control) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) {
    c.Fit();
    orvalis::capi::SiteFollows(*control);
  });
}
ORVALIS_API void ORVALIS_CALL PRichEdit_ClearLinkList(OrvalisControl* control) {
  Do<PRichEdit>(__func__, control, [](PRichEdit& c) { c.SetLinkList({}); });
}
ORVALIS_API void ORVALIS_CALL PRichEdit_AddLink(OrvalisControl* control, const char* word, int object) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) {
    LinkList links = c.GetLinkList();
    links.push_back({std::string(In(word)), object});
    c.SetLinkList(std::move(links));
  });
}
ORVALIS_GETTER(PRichEdit, GetReadOnly, int, c.GetReadOnly())
ORVALIS_SETTER(PRichEdit, SetReadOnly, int, value != 0)
ORVALIS_GETTER(PRichEdit, GetZoom, int, c.GetZoom())
ORVALIS_SETTER(PRichEdit, SetZoom, int, value)
ORVALIS_GETTER(PRichEdit, GetColor, uint32_t, c.GetColor())
ORVALIS_SETTER(PRichEdit, SetColor, uint32_t, value)
ORVALIS_GETTER(PRichEdit, GetBorderStyle, int, c.GetBorderStyle() == orvalis::ui::BorderStyle::None ? 0 : 1)
ORVALIS_SETTER(PRichEdit, SetBorderStyle, int, value ? orvalis::ui::BorderStyle::Single : orvalis::ui::BorderStyle::None)
ORVALIS_GETTER(PRichEdit, GetTabStop, int, c.GetTabStop())
ORVALIS_SETTER(PRichEdit, SetTabStop, int, value != 0)
ORVALIS_TEXT_GETTER(PRichEdit, GetLanguage, c.GetLanguage())
ORVALIS_SETTER(PRichEdit, SetLanguage, const char*, In(value))
ORVALIS_GETTER(PRichEdit, GetShowLinks, int, c.GetShowLinks())
ORVALIS_SETTER(PRichEdit, SetShowLinks, int, value != 0)
ORVALIS_GETTER(PRichEdit, GetRichFormat, int, c.GetRichFormat())
ORVALIS_SETTER(PRichEdit, SetRichFormat, int, value != 0)
ORVALIS_GETTER(PRichEdit, GetSelStart, int, c.GetSelStart())
ORVALIS_SETTER(PRichEdit, SetSelStart, int, value)
ORVALIS_GETTER(PRichEdit, GetSelLength, int, c.GetSelLength())
ORVALIS_SETTER(PRichEdit, SetSelLength, int, value)
ORVALIS_COMMAND(PRichEdit, Focus)
ORVALIS_GETTER(PRichEdit, GetShowToolBar, int, c.GetShowToolBar())
ORVALIS_SETTER(PRichEdit, SetShowToolBar, int, value != 0)
ORVALIS_GETTER(PRichEdit, GetShowTabBar, int, c.GetShowTabBar())
ORVALIS_SETTER(PRichEdit, SetShowTabBar, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetShowZoom, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetShowPrint, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetShowFind, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetShowMenu, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetShowInsertObject, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetUseOle, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetAutoHideBars, int, value != 0)
ORVALIS_SETTER(PRichEdit, SetMaxLines, int, value)
ORVALIS_SETTER(PRichEdit, SetMaxLineLength, int, value)
ORVALIS_SETTER(PRichEdit, SetContextHelp, const char*, std::string(In(value)))
ORVALIS_GETTER(PRichEdit, GetMaxLength, int, c.GetMaxLength())
ORVALIS_SETTER(PRichEdit, SetMaxLength, int, value)
ORVALIS_GETTER(PRichEdit, GetScrollBars, int, c.GetScrollBars())
ORVALIS_SETTER(PRichEdit, SetScrollBars, int, static_cast<RichScrollBars>(value >= 0 && value <= 3 ? value : 0))
ORVALIS_GETTER(PRichEdit, GetWordWrap, int, c.GetWordWrap())
ORVALIS_SETTER(PRichEdit, SetWordWrap, int, value != 0)
ORVALIS_GETTER(PRichEdit, GetWantReturns, int, c.GetWantReturns())
ORVALIS_SETTER(PRichEdit, SetWantReturns, int, value != 0)
ORVALIS_COMMAND(PRichEdit, ClickUndo)
ORVALIS_COMMAND(PRichEdit, ClickCut)
ORVALIS_COMMAND(PRichEdit, ClickCopy)
ORVALIS_COMMAND(PRichEdit, ClickPaste)
ORVALIS_COMMAND(PRichEdit, ClickBold)
ORVALIS_COMMAND(PRichEdit, ClickItalic)
ORVALIS_COMMAND(PRichEdit, ClickUnderline)
ORVALIS_COMMAND(PRichEdit, ClickStrikeOut)
ORVALIS_COMMAND(PRichEdit, ClickNumbering)
ORVALIS_COMMAND(PRichEdit, ClickAlignLeft)
ORVALIS_COMMAND(PRichEdit, ClickAlignCenter)
ORVALIS_COMMAND(PRichEdit, ClickAlignRight)
ORVALIS_COMMAND(PRichEdit, ClickAlignJustify)
ORVALIS_COMMAND(PRichEdit, ClickTextColor)
ORVALIS_COMMAND(PRichEdit, ClickFind)
ORVALIS_COMMAND(PRichEdit, ClickPrint)
ORVALIS_COMMAND(PRichEdit, ClickNewField)
ORVALIS_COMMAND(PRichEdit, ClickInsertObject)
ORVALIS_SETTER(PRichEdit, SetNumbering, int, value)
ORVALIS_SETTER(PRichEdit, SetAlignment, int, value)
ORVALIS_API void ORVALIS_CALL PRichEdit_SetLineSpacing(OrvalisControl* control, int rule, int value) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) { c.SetLineSpacing(rule, value); });
}
ORVALIS_API void ORVALIS_CALL PRichEdit_SetSelectionFont(OrvalisControl* control, const char* face, int points) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) { c.SetSelectionFont(std::string(In(face)), points); });
}
ORVALIS_GETTER(PRichEdit, Print, int, c.Print())
ORVALIS_API int ORVALIS_CALL PRichEdit_FindNext(OrvalisControl* control, const char* text, int matchCase, int up) {
  return With<PRichEdit>(__func__, control, 0, [&](PRichEdit& c) { return c.FindNext(std::string(In(text)), matchCase != 0, up != 0); });
}
ORVALIS_API int ORVALIS_CALL PRichEdit_Insert(OrvalisControl* control, const char* text, int keepFormat) {
  return With<PRichEdit>(__func__, control, 0, [&](PRichEdit& c) { return c.Insert(In(text), keepFormat != 0); });
}
ORVALIS_SETTER(PRichEdit, InsertFile, const char*, std::string(In(value)))
ORVALIS_API int ORVALIS_CALL PRichEdit_GetField(OrvalisControl* control, const char* name, char* buffer, int size) {
  return With<PRichEdit>(__func__, control, Out({}, buffer, size),
                         [&](PRichEdit& c) { return Out(c.GetField(std::string(In(name))), buffer, size); });
}
ORVALIS_GETTER(PRichEdit, IsField, int, c.IsField())
ORVALIS_GETTER(PRichEdit, GetHasFileLinks, int, c.GetHasFileLinks())
ORVALIS_COMMAND(PRichEdit, UpdateFileLinks)
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnLink(OrvalisControl* control, OrvalisLinkEvent event, void* context) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) {
    c.OnLink = nullptr;
    if (event)
      c.OnLink = [=](PRichEdit&, const std::string& link, int object) { event(context, control, link.c_str(), object); };
  });
}
ORVALIS_EVENT(PRichEdit, OnChange)
ORVALIS_EVENT(PRichEdit, OnSelectionChange)
ORVALIS_EVENT(PRichEdit, OnDblClick)
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnSelectObject(OrvalisControl* control, OrvalisTextEvent event,
                                                         void* context) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) {
    c.OnSelectObject = nullptr;
    if (event) c.OnSelectObject = [=](PRichEdit&, const std::string& names) { event(context, control, names.c_str()); };
  });
}
ORVALIS_API void ORVALIS_CALL PRichEdit_SetOnGetField(OrvalisControl* control, OrvalisFieldEvent event, void* context) {
  Do<PRichEdit>(__func__, control, [&](PRichEdit& c) {
    c.OnGetField = nullptr;
    if (!event) return;
    c.OnGetField = [=](PRichEdit&, const std::string& createdBy, const std::string& name,
                       orvalis::win::unique_henhmetafile& emf) {
      const orvalis::win::unique_henhmetafile drawn(event(context, control, name.c_str()));
      emf = orvalis::controls::LabelledMetafile(drawn.get(), orvalis::controls::PictureLabel{createdBy + "F", name});
    };
  });
}

}  // extern "C"
