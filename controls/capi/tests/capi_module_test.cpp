// The module as a whole: it exports the header's functions and no others, and
// a null handle or one of another class gives every function's neutral result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <type_traits>

#include "capi_table.h"
#include "host_window.h"

namespace orvalis::capi_test {
namespace {

const IMAGE_SECTION_HEADER* SectionOf(HMODULE module, const void* address) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto rva = DWORD(static_cast<const BYTE*>(address) - base);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
    if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize) return section;
  return nullptr;
}

TEST(Module, ExportsEveryFunctionOfTheHeaderAsCodeAndNothingElse) {
  const Module& module = TheModule();
  std::set<std::string> declared;
  for (Entry* entry : api.Entries()) {
    declared.insert(entry->name);
    if (!entry->address) {
      ADD_FAILURE() << ModuleName() << " does not export " << entry->name;
      continue;
    }
    const IMAGE_SECTION_HEADER* section = SectionOf(module.handle, reinterpret_cast<const void*>(entry->address));
    EXPECT_TRUE(section && (section->Characteristics & IMAGE_SCN_MEM_EXECUTE))
        << entry->name << " of " << ModuleName() << " does not lie in code";
  }
  for (const std::string& name : ExportedNames(module.handle))
    EXPECT_TRUE(declared.count(name)) << ModuleName() << " exports " << name << ", which the header does not declare";
  EXPECT_GT(declared.size(), 300u) << "the table made from the header is too short";
  const std::vector<Entry*> entries = api.Entries();
  const auto found = std::count_if(entries.begin(), entries.end(), [](Entry* e) { return e->address != nullptr; });
  std::printf("%s: %d of the header's %d functions exported\n", ModuleName().c_str(), int(found), int(declared.size()));
  if (module.isDll) {
    EXPECT_EQ(CallsRefused(), "") << "a library's imports are bound when it is loaded";
  }
}

// ---------------------------------------------------------------- neutral results

constexpr int kSize = 16;
int strayEvents = 0;

void ORVALIS_CALL StrayEvent(void*, OrvalisControl*) { ++strayEvents; }
void ORVALIS_CALL StrayLink(void*, OrvalisControl*, const char*, int) { ++strayEvents; }
int ORVALIS_CALL StrayEditVar(void*, OrvalisControl*, OrvalisVar*, int, int, int) { return ++strayEvents; }
void ORVALIS_CALL StrayItem(void*, OrvalisControl*, int) { ++strayEvents; }

// The arguments of one call: the handle (null or of another class), the host
// window (null or one that no longer exists), a text buffer the call must
// leave empty, and harmless values for the rest.
struct Call {
  OrvalisControl* handle = nullptr;
  HWND parent = nullptr;
  char buffer[kSize] = {};
  uint32_t pixels[kSize * kSize] = {};
  int context = 0;
};

template <typename T>
T Argument(Call& call) {
  if constexpr (std::is_same_v<T, OrvalisControl*>) return call.handle;
  else if constexpr (std::is_same_v<T, HWND>) return call.parent;
  else if constexpr (std::is_same_v<T, char*>) return call.buffer;
  else if constexpr (std::is_same_v<T, const char*>) return "x\xC3\xA9";
  else if constexpr (std::is_same_v<T, void*>) return &call.context;
  else if constexpr (std::is_same_v<T, const uint32_t*>) return call.pixels;
  else if constexpr (std::is_same_v<T, OrvalisEvent>) return StrayEvent;
  else if constexpr (std::is_same_v<T, OrvalisLinkEvent>) return StrayLink;
  else if constexpr (std::is_same_v<T, OrvalisEditVarEvent>) return StrayEditVar;
  else if constexpr (std::is_same_v<T, OrvalisItemEvent>) return StrayItem;
  else if constexpr (std::is_same_v<T, OrvalisWheelEvent>) return StrayItem;
  // Variables, tree items, the colour to select and anything new: none.
  else if constexpr (std::is_pointer_v<T>) return nullptr;
  else if constexpr (std::is_floating_point_v<T>) return T(1.5);
  // Sizes fit the buffer; indexes lie beyond every list.
  else return T(kSize);
}

template <typename T, typename... A>
constexpr bool Takes() {
  return (std::is_same_v<T, A> || ...);
}

template <typename R, typename... A>
void ExpectNeutral(Function<R (*)(A...)>& function, OrvalisControl* handle, HWND parent, const char* what) {
  Call call;
  call.handle = handle;
  call.parent = parent;
  std::fill(std::begin(call.buffer), std::end(call.buffer) - 1, 'x');
  if constexpr (std::is_void_v<R>) {
    function(Argument<A>(call)...);
  } else {
    const R result = function(Argument<A>(call)...);
    EXPECT_EQ(result, R{}) << function.name << " with " << what;
  }
  if constexpr (Takes<char*, A...>()) {
    EXPECT_STREQ(call.buffer, "") << function.name << " with " << what;
  }
}

template <typename R, typename... A>
void Sweep(Function<R (*)(A...)>& function, OrvalisControl* panel, OrvalisControl* label, HWND gone) {
  const std::string name = function.name;
  const std::string owner = name.substr(0, name.find('_'));
  // The settings key is the process's, not a control's: its own test sets it.
  if (owner == "Orvalis") return;
  if constexpr (Takes<OrvalisControl*, A...>()) {
    ExpectNeutral(function, nullptr, nullptr, "a null handle");
    // Every class is a control: the common calls have no class to miss.
    if (owner != "PControl") ExpectNeutral(function, owner == "PPanel" ? label : panel, nullptr, "a handle of another class");
  } else if constexpr (Takes<HWND, A...>()) {
    ExpectNeutral(function, nullptr, nullptr, "no host window");
    ExpectNeutral(function, nullptr, gone, "a host window that is gone");
  } else {
    ExpectNeutral(function, nullptr, nullptr, "null pointers");
  }
}

using ModuleTest = HostTest;

TEST_F(ModuleTest, NullHandlesAndHandlesOfAnotherClassGiveTheNeutralResult) {
  OrvalisControl* panel = Make(api.PPanel_Create, "Stays", 8, 8, 200, 100);
  OrvalisControl* label = Make(api.PLabel_Create, "Label", 8, 120, 100, 20);
  ASSERT_TRUE(panel && label);
  api.PPanel_SetCaption(panel, "unchanged");
  api.PControl_SetColor(panel, 0x00ABCDEF);
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host_, nullptr, nullptr, nullptr);
  ::DestroyWindow(gone);

  counting = false;
  strayEvents = 0;
#define ORVALIS_FUNCTION(f) Sweep(api.f, panel, label, gone);
#include "capi_functions.inc"
#undef ORVALIS_FUNCTION
  counting = true;

  // What the panel shows and answers is as it was, and no callback ever came.
  EXPECT_EQ(Read(api.PControl_GetText, panel), "unchanged");
  EXPECT_EQ(api.PControl_GetColor(panel), 0x00ABCDEFu);
  EXPECT_EQ(api.PControl_GetVisible(panel), 1);
  EXPECT_EQ(api.PControl_GetEnabled(panel), 1);
  Click(Window(panel), 20, 20);
  Wheel(Window(panel), 120);
  EXPECT_EQ(strayEvents, 0);
}

}  // namespace
}  // namespace orvalis::capi_test
