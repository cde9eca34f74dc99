// The colour dialog driven from a second thread: where it opens, what the
// caller's colour becomes, and the custom colours kept in the settings store.
#include "controls/dialogs/color_select.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "controls/dialogs/placement.h"
#include "services/registry.h"
#include "services/registry_rules.h"
#include "services/settings.h"

#define ORVALIS_CONTROLS_STATIC  // linked in, not imported
#include "orvalis_controls.h"

namespace orvalis::controls {
namespace {

struct Answer {
  int button = IDOK;
  std::optional<ui::Color> pick;  // typed into the red, green and blue boxes first
};

// What the answering thread saw of the dialog.
struct Seen {
  RECT rect = {};
  bool found = false;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) noexcept {
  wchar_t cls[16] = {};
  ::GetClassNameW(window, cls, 16);
  if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// Waits for the dialog on `thread`, notes its rectangle and answers it.
void AnswerDialog(DWORD thread, Answer answer, Seen& seen) {
  HWND dialog = nullptr;
  for (int i = 0; i < 500 && dialog == nullptr; ++i) {
    ::EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) ::Sleep(10);
  }
  if (dialog == nullptr) return;
  seen.found = true;
  ::GetWindowRect(dialog, &seen.rect);
  if (answer.pick) {
    const int parts[3] = {ui::RedOf(*answer.pick), ui::GreenOf(*answer.pick), ui::BlueOf(*answer.pick)};
    for (int i = 0; i < 3; ++i)  // the dialog's red, green and blue edit boxes
      ::SendMessageW(::GetDlgItem(dialog, 706 + i), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(std::to_wstring(parts[i]).c_str()));
  }
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
}

class ColorSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ProductKey();
    SetProductKey("OrvalisColorTest" + std::to_string(::GetCurrentProcessId()));
  }
  void TearDown() override {
    DeleteRegKey(HKEY_CURRENT_USER, SettingsKey());
    SetProductKey(saved_);
  }
  // Runs SelectColorAt on this thread while another one answers the dialog.
  bool Select(ui::Color& color, unsigned flags, int x, int y, Answer answer) {
    seen_ = {};
    std::thread helper(AnswerDialog, ::GetCurrentThreadId(), answer, std::ref(seen_));
    bool confirmed = SelectColorAt(color, flags, x, y);
    helper.join();
    return confirmed;
  }
  std::string saved_;
  Seen seen_;
};

TEST_F(ColorSelectTest, ResultFollowsTheAnswerAndFlags) {
  const struct {
    const char* what;
    unsigned flags;
    ui::Color color;
    Answer answer;
    bool confirmed;
    ui::Color expected;
  } cases[] = {
      {"cancel keeps the colour", 2, 0x123456, {IDCANCEL, ui::Color(0x00FF00)}, false, 0x123456},
      {"OK on another colour", 2, 0x123456, {IDOK, ui::Color(0x00FF00)}, true, 0x00FF00},
      {"OK unchanged keeps a system colour", 2, ui::kBtnFace, {IDOK, std::nullopt}, true, ui::kBtnFace},
      {"flag 4: black means the window colour", 6, kWindowColorRef, {IDOK, std::nullopt}, true, kWindowColorRef},
      {"flag 4: another colour", 6, kWindowColorRef, {IDOK, ui::Color(0x0000FF)}, true, 0x0000FF},
  };
  for (const auto& c : cases) {
    ui::Color color = c.color;
    EXPECT_EQ(Select(color, c.flags, 40, 30, c.answer), c.confirmed) << c.what;
    EXPECT_TRUE(seen_.found) << c.what;
    EXPECT_EQ(color, c.expected) << c.what;
  }
}

TEST_F(ColorSelectTest, OpensAtThePointAndStaysInsideTheWorkArea) {
  const ui::Rect area = WorkArea(0);
  ui::Color color = 0x0000FF;
  Select(color, 0, area.left + 40, area.top + 30, {IDCANCEL, std::nullopt});
  ASSERT_TRUE(seen_.found);
  EXPECT_EQ(seen_.rect.left, area.left + 40);
  EXPECT_EQ(seen_.rect.top, area.top + 30);
  Select(color, 0, area.right - 5, area.bottom - 5, {IDCANCEL, std::nullopt});
  ASSERT_TRUE(seen_.found);
  EXPECT_EQ(seen_.rect.right, area.right);
  EXPECT_EQ(seen_.rect.bottom, area.bottom);
}

TEST_F(ColorSelectTest, CustomColorsAreReadAndWrittenBack) {
  ui::Color color = 0x0000FF;
  Select(color, 0, 10, 10, {IDCANCEL, std::nullopt});
  EXPECT_EQ(ReadSetting("Settings", "CustomColors"), kDefaultCustomColors) << "the default list, saved on cancel";
  ASSERT_TRUE(WriteSetting("Settings", "CustomColors", "ColorB=abcdef\r\ncolorP=80", false));
  Select(color, 0, 10, 10, {IDOK, std::nullopt});
  std::string stored = ReadSetting("Settings", "CustomColors");
  EXPECT_EQ(stored.substr(0, 30), "ColorA=FFFFFF\r\nColorB=ABCDEF\r\n");
  EXPECT_EQ(stored.substr(stored.size() - 13), "ColorP=000080");
}

// A host names its settings key through the C interface; the custom colours
// go under that key and the placeholder key is left alone.
TEST_F(ColorSelectTest, AHostNamesItsSettingsKey) {
  const std::string key = "OrvalisHostKey" + std::to_string(::GetCurrentProcessId());
  const std::string placeholder = "Software\\Orvalis\\XXX\\Settings";
  const std::string before = ReadRegString(HKEY_CURRENT_USER, placeholder, "CustomColors");
  Orvalis_SetProductKey(key.c_str());
  for (const char* refused : {static_cast<const char*>(nullptr), "", "Two\\Levels"}) Orvalis_SetProductKey(refused);
  char name[64] = {};
  EXPECT_EQ(Orvalis_GetProductKey(name, sizeof name), int(key.size()));
  EXPECT_EQ(std::string(name), key);

  seen_ = {};
  std::thread helper(AnswerDialog, ::GetCurrentThreadId(), Answer{IDOK, std::nullopt}, std::ref(seen_));
  uint32_t colour = 0x0000FF;
  EXPECT_EQ(Color_Select(nullptr, &colour, 0), 1);
  helper.join();
  EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, "Software\\Orvalis\\" + key + "\\Settings", "CustomColors"));
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, placeholder, "CustomColors"), before);
}

}  // namespace
}  // namespace orvalis::controls
