// The C interface of the choice control, the formula editor, the tagged lists
// and the tree view.
#include <algorithm>

#include "controls/capi/capi.h"
#include "controls/lists/pchoice.h"
#include "controls/lists/pchecklistbox.h"
#include "controls/lists/pcombobox.h"
#include "controls/entry/plineedit.h"
#include "controls/lists/ptreeview.h"

using namespace orvalis::controls;
using orvalis::capi::Do;
using orvalis::capi::In;
using orvalis::capi::Out;
using orvalis::capi::With;

namespace {

// Lines separated by line feeds (a carriage return before one is dropped).
[[nodiscard]] std::vector<std::string> LinesOf(const char* text) {
  std::vector<std::string> lines;
  std::string_view rest = In(text);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return lines;
}

}  // namespace

extern "C" {

ORVALIS_CREATE(PChoice)
ORVALIS_API void ORVALIS_CALL PChoice_SetLines(OrvalisControl* control, const char* lines) {
  Do<PChoice>(__func__, control, [&](PChoice& c) {
    std::vector<ChoiceLine> list;
    for (std::string& line : LinesOf(lines)) list.push_back({std::move(line), 0});
    c.SetLines(std::move(list));
  });
}
ORVALIS_API void ORVALIS_CALL PChoice_AddLine(OrvalisControl* control, const char* text, intptr_t tag) {
  Do<PChoice>(__func__, control, [&](PChoice& c) {
    std::vector<ChoiceLine> list = c.Lines();
    list.push_back({std::string(In(text)), tag});
    c.SetLines(std::move(list));
  });
}
ORVALIS_GETTER(PChoice, GetLineCount, int, c.Lines().size())
ORVALIS_API int ORVALIS_CALL PChoice_GetLine(OrvalisControl* control, int index, char* buffer, int size) {
  return With<PChoice>(__func__, control, Out({}, buffer, size), [&](PChoice& c) {
    const auto& lines = c.Lines();
    return Out(index >= 0 && std::size_t(index) < lines.size() ? lines[std::size_t(index)].text : std::string(), buffer,
               size);
  });
}
ORVALIS_SETTER(PChoice, Delete, intptr_t, value)
ORVALIS_COMMAND(PChoice, Refresh)
ORVALIS_GETTER(PChoice, GetAutoHeight, int, c.AutoHeight())
ORVALIS_API void ORVALIS_CALL PChoice_Fit(OrvalisControl* control) {
  Do<PChoice>(__func__, control, [&](PChoice& c) {
    c.Fit();
    orvalis::capi::SiteFollows(*control);
  });
}
ORVALIS_GETTER(PChoice, GetListIndex, int, c.ListIndex())
ORVALIS_SETTER(PChoice, SetListIndex, int, value)
ORVALIS_GETTER(PChoice, GetOtherIsActive, int, c.OtherIsActive())
ORVALIS_SETTER(PChoice, SetOtherIsActive, int, value != 0)
ORVALIS_GETTER(PChoice, GetOtherType, int, c.OtherType())
ORVALIS_SETTER(PChoice, SetOtherType, int, static_cast<OType>(value >= 0 && value <= 7 ? value : 2))
ORVALIS_TEXT_GETTER(PChoice, GetOtherText, c.OtherText())
ORVALIS_SETTER(PChoice, SetOtherText, const char*, std::string(In(value)))
ORVALIS_GETTER(PChoice, GetInvertedList, int, c.InvertedList())
ORVALIS_SETTER(PChoice, SetInvertedList, int, value != 0)
ORVALIS_GETTER(PChoice, GetHorizontal, int, c.Horizontal())
ORVALIS_SETTER(PChoice, SetHorizontal, int, value != 0)
ORVALIS_GETTER(PChoice, GetAutoAlign, int, c.AutoAlign())
ORVALIS_SETTER(PChoice, SetAutoAlign, int, value != 0)
ORVALIS_GETTER(PChoice, GetTextColor, uint32_t, c.TextColor())
ORVALIS_SETTER(PChoice, SetTextColor, uint32_t, value)
ORVALIS_EVENT(PChoice, OnChange)

}  // extern "C"

namespace {

[[nodiscard]] PVar* VarOf(OrvalisVar* var) noexcept { return reinterpret_cast<PVar*>(var); }

// Runs `f` on the variable; nothing for a null one, and what is thrown is
// logged with the function's name and gets no further.
template <typename F>
void OnVar(const char* function, OrvalisVar* var, F&& f) noexcept {
  if (!var) return;
  try {
    f(*VarOf(var));
  } catch (...) {
    orvalis::capi::LogCaught(function, nullptr);
  }
}
template <typename R, typename F>
R FromVar(const char* function, OrvalisVar* var, R neutral, F&& f) noexcept {
  if (!var) return neutral;
  try {
    return static_cast<R>(f(*VarOf(var)));
  } catch (...) {
    orvalis::capi::LogCaught(function, nullptr);
    return neutral;
  }
}

}  // namespace

extern "C" {

ORVALIS_CREATE(PLineEdit)
ORVALIS_TEXT_GETTER(PLineEdit, GetText, c.Text())
ORVALIS_SETTER(PLineEdit, SetText, const char*, In(value))
ORVALIS_GETTER(PLineEdit, GetType, int, c.Type())
ORVALIS_SETTER(PLineEdit, SetType, int, value == 1 ? PLineType::pltColumnDef : PLineType::pltIndicator)
ORVALIS_API void ORVALIS_CALL PLineEdit_ClearConstList(OrvalisControl* control) {
  Do<PLineEdit>(__func__, control, [](PLineEdit& c) {
    c.ConstList().clear();
    c.Display();
  });
}
ORVALIS_API void ORVALIS_CALL PLineEdit_AddConst(OrvalisControl* control, const char* name) {
  Do<PLineEdit>(__func__, control, [&](PLineEdit& c) {
    c.ConstList().emplace_back(In(name));
    c.Display();
  });
}
ORVALIS_SETTER(PLineEdit, InsertConst, int, value)
ORVALIS_GETTER(PLineEdit, GetLocked, int, c.Locked())
ORVALIS_SETTER(PLineEdit, SetLocked, int, value != 0)
ORVALIS_GETTER(PLineEdit, GetSelStart, int, c.SelStart())
ORVALIS_SETTER(PLineEdit, SetSelStart, int, value)
ORVALIS_GETTER(PLineEdit, GetSelLength, int, c.SelLength())
ORVALIS_SETTER(PLineEdit, SetSelLength, int, value)
ORVALIS_SETTER(PLineEdit, DeletePos, int, std::size_t(value < 0 ? 0 : value))
ORVALIS_GETTER(PLineEdit, CanEdit, int, c.CanEdit())
ORVALIS_COMMAND(PLineEdit, Display)
ORVALIS_COMMAND(PLineEdit, CheckScrolling)
ORVALIS_EVENT(PLineEdit, OnChange)
ORVALIS_API void ORVALIS_CALL PLineEdit_SetOnEditVar(OrvalisControl* control, OrvalisEditVarEvent event,
                                                     void* context) {
  Do<PLineEdit>(__func__, control, [&](PLineEdit& c) {
    if (!event) {
      c.SetOnEditVar(nullptr);
      return;
    }
    c.SetOnEditVar([=](PLineEdit&, PVar& var, bool edit, std::int32_t left, std::int32_t top) {
      return event(context, control, reinterpret_cast<OrvalisVar*>(&var), edit ? 1 : 0, left, top) != 0;
    });
  });
}

ORVALIS_API int ORVALIS_CALL PVar_GetKind(OrvalisVar* var) {
  return FromVar(__func__, var, 0, [](PVar& v) { return v.Kind; });
}
ORVALIS_API void ORVALIS_CALL PVar_SetKind(OrvalisVar* var, int kind) {
  OnVar(__func__, var, [&](PVar& v) { v.Kind = kind == 1 ? 1 : 0; });
}
ORVALIS_API int ORVALIS_CALL PVar_GetCaption(OrvalisVar* var, char* buffer, int size) {
  return FromVar(__func__, var, Out({}, buffer, size), [&](PVar& v) { return Out(v.Caption, buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PVar_SetCaption(OrvalisVar* var, const char* caption) {
  OnVar(__func__, var, [&](PVar& v) { v.Caption = In(caption); });
}
ORVALIS_API int ORVALIS_CALL PVar_GetHint(OrvalisVar* var, char* buffer, int size) {
  return FromVar(__func__, var, Out({}, buffer, size), [&](PVar& v) { return Out(v.Hint, buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PVar_SetHint(OrvalisVar* var, const char* hint) {
  OnVar(__func__, var, [&](PVar& v) { v.Hint = In(hint); });
}
ORVALIS_API int ORVALIS_CALL PVar_GetTextValue(OrvalisVar* var, char* buffer, int size) {
  return FromVar(__func__, var, Out({}, buffer, size), [&](PVar& v) { return Out(v.TextValue, buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PVar_SetTextValue(OrvalisVar* var, const char* text) {
  OnVar(__func__, var, [&](PVar& v) { v.TextValue = In(text); });
}
ORVALIS_API int ORVALIS_CALL PVar_GetItemCount(OrvalisVar* var) {
  return FromVar(__func__, var, 0, [](PVar& v) { return v.Items.size(); });
}
ORVALIS_API int ORVALIS_CALL PVar_GetItem(OrvalisVar* var, int index, char* buffer, int size) {
  return FromVar(__func__, var, Out({}, buffer, size), [&](PVar& v) {
    return Out(index >= 0 && std::size_t(index) < v.Items.size() ? v.Items[std::size_t(index)] : std::string(), buffer,
               size);
  });
}
ORVALIS_API void ORVALIS_CALL PVar_AddItem(OrvalisVar* var, const char* item) {
  OnVar(__func__, var, [&](PVar& v) { v.Items.emplace_back(In(item)); });
}
ORVALIS_API void ORVALIS_CALL PVar_ClearItems(OrvalisVar* var) {
  OnVar(__func__, var, [](PVar& v) { v.Items.clear(); });
}

}  // extern "C"

namespace {

[[nodiscard]] bool Taken(const PComboBox& combo, std::string_view tag) {
  return std::find(combo.Tags().begin(), combo.Tags().end(), tag) != combo.Tags().end();
}

[[nodiscard]] PTreeItem* ItemOf(OrvalisTreeItem* item) noexcept { return reinterpret_cast<PTreeItem*>(item); }
[[nodiscard]] OrvalisTreeItem* Handle(PTreeItem* item) noexcept { return reinterpret_cast<OrvalisTreeItem*>(item); }

template <typename R, typename F>
R FromItem(const char* function, OrvalisTreeItem* item, R neutral, F&& f) noexcept {
  if (!item) return neutral;
  try {
    return static_cast<R>(f(*ItemOf(item)));
  } catch (...) {
    orvalis::capi::LogCaught(function, nullptr);
    return neutral;
  }
}
template <typename F>
void OnItem(const char* function, OrvalisTreeItem* item, F&& f) noexcept {
  if (!item) return;
  try {
    f(*ItemOf(item));
  } catch (...) {
    orvalis::capi::LogCaught(function, nullptr);
  }
}

}  // namespace

extern "C" {

ORVALIS_CREATE(PComboBox)
ORVALIS_GETTER(PComboBox, GetCount, int, c.Count())
ORVALIS_API int ORVALIS_CALL PComboBox_GetItem(OrvalisControl* control, int index, char* buffer, int size) {
  return With<PComboBox>(__func__, control, Out({}, buffer, size), [&](PComboBox& c) {
    const auto& items = c.Items();
    return Out(index >= 0 && std::size_t(index) < items.size() ? items[std::size_t(index)].caption : std::string(),
               buffer, size);
  });
}
ORVALIS_API void ORVALIS_CALL PComboBox_Add(OrvalisControl* control, const char* caption, int data) {
  Do<PComboBox>(__func__, control, [&](PComboBox& c) { c.Add(std::string(In(caption)), data); });
}
// A tag an item has already is refused, as the header says: selecting by tag
// would never reach the second item.
ORVALIS_API int ORVALIS_CALL PComboBox_AddTag(OrvalisControl* control, const char* caption, const char* tag,
                                              const char* hint) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) {
    return !Taken(c, In(tag)) && c.AddTag(std::string(In(caption)), std::string(In(tag)), std::string(In(hint)));
  });
}
ORVALIS_API int ORVALIS_CALL PComboBox_InsertTag(OrvalisControl* control, int index, const char* caption,
                                                 const char* tag, const char* hint) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) {
    return !Taken(c, In(tag)) &&
           c.InsertTag(index, std::string(In(caption)), std::string(In(tag)), std::string(In(hint)));
  });
}
ORVALIS_API int ORVALIS_CALL PComboBox_DeleteData(OrvalisControl* control, int data) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) { return c.Delete(data); });
}
ORVALIS_API int ORVALIS_CALL PComboBox_DeleteTag(OrvalisControl* control, const char* tag) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) { return c.Delete(In(tag)); });
}
ORVALIS_API int ORVALIS_CALL PComboBox_RenameData(OrvalisControl* control, int data, const char* caption) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) { return c.Rename(data, std::string(In(caption))); });
}
ORVALIS_API int ORVALIS_CALL PComboBox_RenameTag(OrvalisControl* control, const char* tag, const char* caption) {
  return With<PComboBox>(__func__, control, 0, [&](PComboBox& c) { return c.Rename(In(tag), std::string(In(caption))); });
}
ORVALIS_SETTER(PComboBox, SetTagList, const char*, LinesOf(value))
ORVALIS_SETTER(PComboBox, SetHintList, const char*, LinesOf(value))
ORVALIS_TEXT_GETTER(PComboBox, GetTag, c.GetTag())
ORVALIS_SETTER(PComboBox, SetTag, const char*, In(value))
ORVALIS_GETTER(PComboBox, GetData, int, c.GetData())
ORVALIS_SETTER(PComboBox, SetData, int, value)
ORVALIS_GETTER(PComboBox, GetPItemIndex, int, c.GetPItemIndex())
ORVALIS_SETTER(PComboBox, SetPItemIndex, int, value)
ORVALIS_COMMAND(PComboBox, Clear)
ORVALIS_EVENT(PComboBox, OnChange)

ORVALIS_CREATE(PCheckListBox)
ORVALIS_GETTER(PCheckListBox, GetItemCount, int, c.ItemCount())
ORVALIS_SETTER(PCheckListBox, Add, const char*, std::string(In(value)))
ORVALIS_API int ORVALIS_CALL PCheckListBox_AddTag(OrvalisControl* control, const char* caption, const char* tag) {
  return With<PCheckListBox>(__func__, control, 0,
                             [&](PCheckListBox& c) { return c.AddTag(std::string(In(caption)), std::string(In(tag))); });
}
ORVALIS_COMMAND(PCheckListBox, Clear)
ORVALIS_API int ORVALIS_CALL PCheckListBox_GetChecked(OrvalisControl* control, int index) {
  return With<PCheckListBox>(__func__, control, 0, [&](PCheckListBox& c) { return c.Checked(index); });
}
ORVALIS_API void ORVALIS_CALL PCheckListBox_SetChecked(OrvalisControl* control, int index, int checked) {
  Do<PCheckListBox>(__func__, control, [&](PCheckListBox& c) { c.SetChecked(index, checked != 0); });
}
ORVALIS_TEXT_GETTER(PCheckListBox, GetTags, c.GetTags())
ORVALIS_SETTER(PCheckListBox, SetTags, const char*, In(value))
ORVALIS_COMMAND(PCheckListBox, LoadTheme)
ORVALIS_API void ORVALIS_CALL PCheckListBox_SetOnClickCheck(OrvalisControl* control, OrvalisItemEvent event,
                                                            void* context) {
  Do<PCheckListBox>(__func__, control, [&](PCheckListBox& c) {
    c.OnClickCheck = nullptr;
    if (event) c.OnClickCheck = [=](PCheckListBox&, int index) { event(context, control, index); };
  });
}

ORVALIS_CREATE(PTreeView)
ORVALIS_GETTER(PTreeView, GetRoot, OrvalisTreeItem*, Handle(&c.Root()))
ORVALIS_API void ORVALIS_CALL PTreeView_CreateNodes(OrvalisControl* control, OrvalisTreeItem* item) {
  Do<PTreeView>(__func__, control, [&](PTreeView& c) {
    if (item && ItemOf(item)->Tree() == c.Root().Tree()) c.CreateNodes(*ItemOf(item));
  });
}
ORVALIS_API void ORVALIS_CALL PTreeView_Expand(OrvalisControl* control, OrvalisTreeItem* item) {
  Do<PTreeView>(__func__, control, [&](PTreeView& c) {
    if (item && ItemOf(item)->Tree() == c.Root().Tree()) c.Expand(PTreeView::NodeOf(*ItemOf(item)));
  });
}
ORVALIS_API void ORVALIS_CALL PTreeView_Collapse(OrvalisControl* control, OrvalisTreeItem* item) {
  Do<PTreeView>(__func__, control, [&](PTreeView& c) {
    if (item && ItemOf(item)->Tree() == c.Root().Tree()) c.Collapse(PTreeView::NodeOf(*ItemOf(item)));
  });
}
ORVALIS_COMMAND(PTreeView, FullCollapse)
ORVALIS_COMMAND(PTreeView, Clear)
ORVALIS_GETTER(PTreeView, GetSelectedItem, OrvalisTreeItem*, Handle(c.GetSelectedItem()))
ORVALIS_API void ORVALIS_CALL PTreeView_SetSelectedItem(OrvalisControl* control, OrvalisTreeItem* item) {
  Do<PTreeView>(__func__, control, [&](PTreeView& c) {
    if (item && ItemOf(item)->Tree() == c.Root().Tree()) c.SetSelectedItem(*ItemOf(item));
  });
}
ORVALIS_TEXT_GETTER(PTreeView, GetTag, c.GetTag())
ORVALIS_SETTER(PTreeView, SetTag, const char*, In(value))
ORVALIS_GETTER(PTreeView, GetData, int, c.GetData())
ORVALIS_SETTER(PTreeView, SetData, int, value)
ORVALIS_GETTER(PTreeView, GetHasTag, int, c.GetHasTag())
ORVALIS_TEXT_GETTER(PTreeView, GetText, c.GetText())
ORVALIS_GETTER(PTreeView, GetSelCount, int, c.GetSelCount())
ORVALIS_API int ORVALIS_CALL PTreeView_GetSelItem(OrvalisControl* control, int index) {
  return With<PTreeView>(__func__, control, 0, [&](PTreeView& c) { return c.GetSelItem(index); });
}
ORVALIS_API int ORVALIS_CALL PTreeView_GetTags(OrvalisControl* control, char* buffer, int size) {
  return With<PTreeView>(__func__, control, Out({}, buffer, size), [&](PTreeView& c) {
    std::string text;
    for (const TreeTag& tag : c.GetTags()) {
      if (!text.empty()) text += '\n';
      text += tag.tag;
    }
    return Out(text, buffer, size);
  });
}
ORVALIS_GETTER(PTreeView, GetTreeOption, int, c.GetTreeOption())
ORVALIS_SETTER(PTreeView, SetTreeOption, int, static_cast<PTreeOption>(value >= 0 && value <= 3 ? value : 0))
ORVALIS_GETTER(PTreeView, GetAsTree, int, c.GetAsTree())
ORVALIS_SETTER(PTreeView, SetAsTree, int, value != 0)
ORVALIS_GETTER(PTreeView, GetMultiSelect, int, c.GetMultiSelect())
ORVALIS_SETTER(PTreeView, SetMultiSelect, int, value != 0)
ORVALIS_GETTER(PTreeView, GetNeedTag, int, c.GetNeedTag())
ORVALIS_SETTER(PTreeView, SetNeedTag, int, value != 0)
ORVALIS_GETTER(PTreeView, GetNoDblClick, int, c.GetNoDblClick())
ORVALIS_SETTER(PTreeView, SetNoDblClick, int, value != 0)
ORVALIS_GETTER(PTreeView, GetOrgFullCollapse, int, c.GetOrgFullCollapse())
ORVALIS_SETTER(PTreeView, SetOrgFullCollapse, int, value != 0)
ORVALIS_EVENT(PTreeView, OnChanged)
ORVALIS_EVENT(PTreeView, OnDblClick)

ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_AddChild(OrvalisTreeItem* item, const char* text, int data) {
  return FromItem(__func__, item, static_cast<OrvalisTreeItem*>(nullptr),
                  [&](PTreeItem& i) { return Handle(&i.AddChild(std::string(In(text)), data)); });
}
ORVALIS_API int ORVALIS_CALL PTreeItem_GetChildCount(OrvalisTreeItem* item) {
  return FromItem(__func__, item, 0, [](PTreeItem& i) { return i.Children().size(); });
}
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_GetChild(OrvalisTreeItem* item, int index) {
  return FromItem(__func__, item, static_cast<OrvalisTreeItem*>(nullptr), [&](PTreeItem& i) {
    return index >= 0 && std::size_t(index) < i.Children().size() ? Handle(i.Children()[std::size_t(index)].get())
                                                                   : nullptr;
  });
}
ORVALIS_API OrvalisTreeItem* ORVALIS_CALL PTreeItem_GetParent(OrvalisTreeItem* item) {
  return FromItem(__func__, item, static_cast<OrvalisTreeItem*>(nullptr), [](PTreeItem& i) { return Handle(i.Parent()); });
}
ORVALIS_API int ORVALIS_CALL PTreeItem_GetText(OrvalisTreeItem* item, char* buffer, int size) {
  return FromItem(__func__, item, Out({}, buffer, size), [&](PTreeItem& i) { return Out(i.Text, buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PTreeItem_SetText(OrvalisTreeItem* item, const char* text) {
  OnItem(__func__, item, [&](PTreeItem& i) { i.Text = In(text); });
}
ORVALIS_API int ORVALIS_CALL PTreeItem_GetData(OrvalisTreeItem* item) {
  return FromItem(__func__, item, 0, [](PTreeItem& i) { return i.Data; });
}
ORVALIS_API void ORVALIS_CALL PTreeItem_SetData(OrvalisTreeItem* item, int data) {
  OnItem(__func__, item, [&](PTreeItem& i) { i.Data = data; });
}
ORVALIS_API int ORVALIS_CALL PTreeItem_GetTag(OrvalisTreeItem* item, char* buffer, int size) {
  return FromItem(__func__, item, Out({}, buffer, size), [&](PTreeItem& i) { return Out(i.Tag(), buffer, size); });
}
ORVALIS_API void ORVALIS_CALL PTreeItem_SetTag(OrvalisTreeItem* item, const char* tag) {
  OnItem(__func__, item, [&](PTreeItem& i) { i.SetTag(std::string(In(tag))); });
}
ORVALIS_API void ORVALIS_CALL PTreeItem_SetImages(OrvalisTreeItem* item, int image, int selectedImage) {
  OnItem(__func__, item, [&](PTreeItem& i) {
    i.ImageIndex = image;
    i.SelectedImageIndex = selectedImage;
  });
}

}  // extern "C"
