// The setup windows' layout rules: the heights and positions that the run
// computes from content, given in the windows' own pixels.
#pragma once

#include <array>

namespace orvalis {

// Main dialog: everything below the product text follows the text's height.
struct MainDialogLayout {
  int rtfBoxHeight = 0;
  int setupBoxTop = 0;
  int buttonTop = 0;
  int versionTop = 0;
  int clientHeight = 0;  // pBack's height as well
};
[[nodiscard]] MainDialogLayout LayoutMainDialog(int rtfHeight);

// Options dialog: the visible option controls (chkUnInstall, chkRun, chkLink,
// chkMenu, lShortcut) stack in pOptions, and the visible frames stack below
// the header.
struct OptionsDialogLayout {
  std::array<int, 5> optionTops{};  // for the visible ones; hidden ones keep 0
  int optionsHeight = 0;
  int filesTop = 0;
  int optionsTop = 0;
  int buttonTop = 0;
  int clientHeight = 0;
};
[[nodiscard]] OptionsDialogLayout LayoutOptionsDialog(bool filesVisible, bool optionsVisible,
                                                      const std::array<bool, 5>& optionVisible);

// Language dialog: the list shows every item, the buttons sit below it.
struct LanguageDialogLayout {
  int listHeight = 0;
  int buttonTop = 0;
  int clientWidth = 0;
  int clientHeight = 0;
};
[[nodiscard]] LanguageDialogLayout LayoutLanguageDialog(int itemCount);

// Designed positions shared by the windows and their layout rules.
namespace layout {
inline constexpr int kButtonWidth = 123;
inline constexpr int kButtonHeight = 25;
// Main dialog.
inline constexpr int kMainWidth = 533;
inline constexpr int kRtfBoxTop = 52;
inline constexpr int kRtfTop = 8;
inline constexpr int kSetupBoxHeight = 73;
inline constexpr int kVersionHeight = 17;
// Options dialog.
inline constexpr int kOptionsWidth = 416;
inline constexpr int kOptionsHeaderBottom = 8 + 37;
inline constexpr int kFilesHeight = 213;
inline constexpr int kCheckHeight = 17;
inline constexpr int kNoteHeight = 57;
// Language dialog.
inline constexpr int kLanguageListLeft = 4;
inline constexpr int kLanguageListTop = 28;
inline constexpr int kLanguageListWidth = 276;
inline constexpr int kLanguageItemHeight = 16;
}  // namespace layout

}  // namespace orvalis
