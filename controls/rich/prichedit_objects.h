// Embedded objects of the rich text control on the system's side: Paste
// Special's entries as the OLE dialog takes them, and inserting an object at
// the selection of a rich edit window.
#pragma once

#include <windows.h>
#include <oledlg.h>
#include <richole.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/rich/editor_rules.h"

namespace orvalis::controls {

// Paste Special's entries as the system dialog takes them, in the order of
// PasteSpecialEntries(); the texts live as long as the object.
struct OlePasteEntries {
  std::vector<std::wstring> names;
  std::vector<std::wstring> results;
  std::vector<OLEUIPASTEENTRYW> entries;
  UINT linkType = 0;  // the "Link Source" format, the dialog's one link type
};
[[nodiscard]] std::unique_ptr<OlePasteEntries> BuildPasteEntries();
[[nodiscard]] CLIPFORMAT PasteClipboardFormat(PasteFormat format);

// Inserts an object at the selection of a rich edit window: with the window's
// client site, resizable, below the base line, dynamic size and blank, the
// container named after the application title.
[[nodiscard]] bool InsertRichObject(IRichEditOle* ole, IOleObject* object, IStorage* storage, bool asIcon);

}  // namespace orvalis::controls
