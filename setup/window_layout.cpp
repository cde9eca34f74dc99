// Layout rules of the main, options and language dialogs.
#include "setup/window_layout.h"

#include <cstddef>

namespace orvalis {

MainDialogLayout LayoutMainDialog(int rtfHeight) {
  using namespace layout;
  MainDialogLayout l;
  l.rtfBoxHeight = rtfHeight + 2 * kRtfTop;
  l.setupBoxTop = kRtfBoxTop + l.rtfBoxHeight + 8;
  l.buttonTop = l.setupBoxTop + kSetupBoxHeight + 8;
  l.versionTop = l.buttonTop + (kButtonHeight - kVersionHeight) / 2;
  l.clientHeight = l.buttonTop + kButtonHeight + 8;
  return l;
}

OptionsDialogLayout LayoutOptionsDialog(bool filesVisible, bool optionsVisible,
                                        const std::array<bool, 5>& optionVisible) {
  using namespace layout;
  OptionsDialogLayout l;
  int y = 6;
  for (std::size_t i = 0; i < optionVisible.size(); ++i) {
    if (!optionVisible[i]) continue;
    l.optionTops[i] = y;
    y += (i == 4 ? kNoteHeight : kCheckHeight) + 4;
  }
  l.optionsHeight = y + 2;

  y = kOptionsHeaderBottom + 8;
  if (filesVisible) {
    l.filesTop = y;
    y += kFilesHeight + 8;
  }
  if (optionsVisible) {
    l.optionsTop = y;
    y += l.optionsHeight + 8;
  }
  l.buttonTop = y;
  l.clientHeight = y + kButtonHeight + 8;
  return l;
}

LanguageDialogLayout LayoutLanguageDialog(int itemCount) {
  using namespace layout;
  LanguageDialogLayout l;
  l.listHeight = itemCount * kLanguageItemHeight + 8;
  l.buttonTop = kLanguageListTop + l.listHeight + 8;
  l.clientWidth = kLanguageListWidth + 8;
  l.clientHeight = l.buttonTop + kButtonHeight + 8;
  return l;
}

}  // namespace orvalis
