// orvalis-uidriver: drives and reads the windows of another process for
// end-to-end tests. Controls are found by their designer name (the
// "OrvalisName" property, a global atom), by control id, or by class and
// caption; what the driver sees is printed as key=value lines (see command.h).
// A reading is repeated until it succeeds (and meets --until); an action
// returns once the program has taken it (Settle).
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "tools/uidriver/command.h"
#include "win/unique_any.h"
#include "win/wide.h"

namespace orvalis::uidriver {
namespace {

constexpr UINT kMessageTimeoutMs = 2000;
constexpr int kPollMs = 50;

void Print(std::string_view key, std::string_view value) {
  std::string line = FactLine(key, value);
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
  fflush(stdout);
}

std::string Hex(const void* handle) {
  char text[32];
  snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

int Failure(std::string_view error) {
  Print("error", error);
  return 1;
}

class TickClock : public Clock {
 public:
  std::uint64_t NowMs() override { return ::GetTickCount64(); }
  void SleepMs(int ms) override { ::Sleep(DWORD(ms)); }
};

// Repeats `attempt` until it reports true or the command's timeout has passed.
bool Poll(const Command& command, const std::function<bool()>& attempt) {
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    if (attempt()) return true;
    if (::GetTickCount64() - start >= ULONGLONG(command.timeoutMs)) return false;
    ::Sleep(kPollMs);
  }
}

// A message to a window of another process; none when it was not answered in
// time (the program busy or hung), which is no answer rather than a zero.
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return std::nullopt;
  return LRESULT(result);
}

std::set<DWORD> Processes(const Command& command) {
  std::set<DWORD> ids;
  if (command.Has("pid")) {
    ids.insert(DWORD(std::stoull(command.Get("pid"), nullptr, 0)));
    return ids;
  }
  std::string wanted = UpperCase(command.Get("exe"));
  win::unique_file snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
    if (UpperCase(win::Narrow(entry.szExeFile)) == wanted) ids.insert(entry.th32ProcessID);
  return ids;
}

bool ProcessAlive(DWORD id) {
  win::unique_handle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
  return process && ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return win::Narrow(name);
}

// The text of a window of another process, none when it did not answer:
// WM_GETTEXT is marshalled by the system, GetWindowText would not ask the control.
std::optional<std::string> ReadText(HWND window) {
  const std::optional<LRESULT> length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length < 0) return std::nullopt;
  std::wstring text(size_t(*length) + 1, L'\0');
  const std::optional<LRESULT> copied =
      Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (!copied || *copied < 0) return std::nullopt;
  text.resize(std::min(size_t(*copied), text.size()));
  return win::Narrow(text);
}
// For matching and reports, where an unanswered text is an empty one.
std::string TextOf(HWND window) { return ReadText(window).value_or(std::string()); }

std::string DesignerName(HWND window) {
  auto atom = ATOM(reinterpret_cast<uintptr_t>(::GetPropW(window, win::Wide(kDesignerNameProperty).c_str())));
  if (atom == 0) return {};
  wchar_t name[256] = {};
  UINT length = ::GlobalGetAtomNameW(atom, name, 256);
  return win::Narrow(std::wstring_view(name, length));
}

bool Visible(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

struct WindowSearch {
  std::set<DWORD> ids;
  const Command* command;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  const Command& command = *search->command;
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (!search->ids.count(owner)) return TRUE;
  if (!command.flags.count("all") && !Visible(window)) return TRUE;
  try {
    if (command.Has("title") && TextOf(window) != command.Get("title")) return TRUE;
    // --class names the window when no control is asked for.
    bool classForWindow = !command.Has("name") && !command.Has("id");
    if (classForWindow && command.Has("class") && !SameText(ClassOf(window), command.Get("class"))) return TRUE;
    search->found.push_back(window);
  } catch (...) {
    return FALSE;  // no exception may cross into the system's enumeration
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) noexcept {
  try {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

// The process's top-level windows that match --title and --class, in z-order.
std::vector<HWND> TopWindows(const Command& command) {
  WindowSearch search{Processes(command), &command, {}};
  ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool IsWanted(const Command& command, HWND window) {
  if (command.Has("name")) return DesignerName(window) == command.Get("name");
  if (command.Has("id")) return ::GetDlgCtrlID(window) == int(std::stoll(command.Get("id"), nullptr, 0));
  if (!SameText(ClassOf(window), command.Get("class"))) return false;
  return !command.Has("caption") || TextOf(window) == command.Get("caption");
}

// The first control (or named top-level window) of the process that the
// command names; windows are searched from the top of the z-order.
HWND FindControl(const Command& command) {
  Command windows = command;
  windows.options.erase("class");  // here --class names the control
  for (HWND top : TopWindows(windows)) {
    if (command.Has("name") && IsWanted(command, top)) return top;
    for (HWND child : Descendants(top))
      if (IsWanted(command, child)) return child;
  }
  return nullptr;
}

bool HasControl(const Command& command) {
  return command.Has("name") || command.Has("id") || (command.Has("class") && command.verb != "wait-window" &&
                                                      command.verb != "list" && command.verb != "close" &&
                                                      command.verb != "controls");
}

// The facts of a top-level window. Its title is empty when the program did
// not answer: a setup that works without taking messages still shows windows.
void AddWindow(Reading& reading, HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  reading.Add("window", Hex(window));
  reading.Add("pid", std::to_string(owner));
  reading.Add("class", ClassOf(window));
  reading.Add("name", DesignerName(window));
  reading.Add("visible", Visible(window) ? "1" : "0");
  reading.Add("title", TextOf(window));
}

void PrintFacts(const std::vector<Fact>& facts) {
  for (const Fact& fact : facts) Print(fact.key, fact.value);
}

void AddRect(Reading& reading, HWND window) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  reading.Add("rect", std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                          std::to_string(r.bottom));
  reading.Add("x", std::to_string(r.left));
  reading.Add("y", std::to_string(r.top));
  reading.Add("width", std::to_string(r.right - r.left));
  reading.Add("height", std::to_string(r.bottom - r.top));
  reading.Add("visible", ::IsWindowVisible(window) ? "1" : "0");
  // The client area on the screen: without a window manager (Xvfb) the title
  // bar and borders are not drawn, so photographs crop to this.
  RECT c = {};
  ::GetClientRect(window, &c);
  POINT origin = {0, 0};
  ::ClientToScreen(window, &origin);
  reading.Add("client", std::to_string(origin.x) + "," + std::to_string(origin.y) + "," + std::to_string(c.right) +
                            "," + std::to_string(c.bottom));
}

HWND WaitForControl(const Command& command) {
  HWND control = nullptr;
  Poll(command, [&] { return (control = FindControl(command)) != nullptr; });
  return control;
}

HWND WaitForWindow(const Command& command) {
  HWND window = nullptr;
  Poll(command, [&] {
    auto windows = TopWindows(command);
    window = windows.empty() ? nullptr : windows.front();
    return window != nullptr;
  });
  return window;
}

const char kNoAnswer[] = "the control did not answer";

// The items of a list box or combo box; none when a message went unanswered.
std::optional<std::vector<std::string>> ListItems(HWND control) {
  std::string cls = UpperCase(ClassOf(control));
  bool combo = cls.find("COMBO") != std::string::npos;
  UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::string> items;
  const std::optional<LRESULT> count = Ask(control, countMessage, 0, 0);
  if (!count) return std::nullopt;
  for (int i = 0; i < int(*count); ++i) {
    const std::optional<LRESULT> length = Ask(control, lengthMessage, WPARAM(i), 0);
    if (!length) return std::nullopt;
    std::wstring text(size_t(std::max<LRESULT>(*length, 0)) + 1, L'\0');
    const std::optional<LRESULT> copied = Ask(control, textMessage, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
    if (!copied) return std::nullopt;
    text.resize(std::min(size_t(std::max<LRESULT>(*copied, 0)), text.size()));
    items.push_back(win::Narrow(text));
  }
  return items;
}

void Click(const Command& command, HWND control) {
  if (command.flags.count("notify")) {
    ::PostMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
  } else if (command.flags.count("mouse")) {
    RECT r = {};
    ::GetClientRect(control, &r);
    LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(control, WM_LBUTTONUP, 0, at);
  } else {
    ::PostMessageW(control, BM_CLICK, 0, 0);
  }
}

// Waits until the thread of `window` has handled every message posted and
// every input pressed for it so far. Windows paints a window only when its
// thread's queue holds no posted message and no input (GetMessage returns
// WM_PAINT after both), so a pixel marked invalid that is found painted again
// means that the program has taken the characters typed, the clicks posted
// and the keys pressed before, and what their handlers posted in turn; a
// modal loop they opened paints too. A window that is hidden or gone has no
// paint to wait for: the control is tried, then its top-level window.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-getmessage#remarks
bool Settle(HWND window, const Command& command) {
  const ULONGLONG start = ::GetTickCount64();
  const HWND candidates[] = {window, ::GetAncestor(window, GA_ROOT)};
  for (HWND candidate : candidates) {
    if (!candidate || !::IsWindow(candidate) || !::IsWindowVisible(candidate)) continue;
    RECT pixel = {0, 0, 1, 1};
    ::RedrawWindow(candidate, &pixel, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    if (!::GetUpdateRect(candidate, nullptr, FALSE)) continue;
    for (;;) {
      if (!::IsWindow(candidate)) return true;
      if (!::IsWindowVisible(candidate)) break;  // hidden by what it handled: try the window it sits in
      if (!::GetUpdateRect(candidate, nullptr, FALSE)) return true;
      if (::GetTickCount64() - start >= ULONGLONG(command.timeoutMs)) return false;
      ::Sleep(5);
    }
  }
  return true;
}

// Waits until `window` and every visible window inside it have been painted:
// first the program idle (Settle), then no update region left anywhere in the
// tree, which is what a photograph needs; Wine hands the painted pixels to
// the X server when the thread goes idle again.
bool WaitPainted(HWND window, const Command& command) {
  if (!Settle(window, command)) return false;
  return Poll(command, [&] {
    if (!::IsWindow(window)) return true;
    if (::GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child : Descendants(window))
      if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
  });
}

// Memory inside the process that owns a window, for the messages whose
// pointer arguments the system does not carry across processes (tool bar and
// tooltip messages). The driver and the program must have the same bitness.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner));
    if (process_) address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  [[nodiscard]] bool ok() const { return address_ != nullptr; }
  [[nodiscard]] LPARAM at(SIZE_T offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) {
    return ::WriteProcessMemory(process_.get(), reinterpret_cast<void*>(at(offset)), data, size, nullptr) != 0;
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) {
    return ::ReadProcessMemory(process_.get(), reinterpret_cast<void*>(at(offset)), data, size, nullptr) != 0;
  }

 private:
  win::unique_handle process_;
  void* address_ = nullptr;
};

// The answer to a message, 0 when there was none: for the actions, which
// find out from what the program shows afterwards.
LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Ask(window, message, wParam, lParam).value_or(0);
}

// The buttons of a tool bar, separators left out; the whole bar or the one
// with --command. Any message unanswered fails the reading.
Reading ReadToolBar(HWND bar, const Command& command) {
  constexpr SIZE_T kTipChars = 256;
  RemoteMemory memory(bar, sizeof(TBBUTTON) + sizeof(TOOLINFOW) + kTipChars * sizeof(wchar_t));
  if (!memory.ok()) return FailedReading("no access to the process");
  const SIZE_T infoAt = sizeof(TBBUTTON), textAt = infoAt + sizeof(TOOLINFOW);
  const std::optional<LRESULT> tips = Ask(bar, TB_GETTOOLTIPS, 0, 0);
  const std::optional<LRESULT> count = Ask(bar, TB_BUTTONCOUNT, 0, 0);
  if (!tips || !count) return FailedReading(kNoAnswer);
  const bool one = command.Has("command");
  const int wanted = one ? int(std::stoll(command.Get("command"), nullptr, 0)) : 0;
  Reading reading;
  reading.Add("control", Hex(bar));
  int buttons = 0;
  for (int i = 0; i < int(*count); ++i) {
    TBBUTTON button{};
    const std::optional<LRESULT> got = Ask(bar, TB_GETBUTTON, WPARAM(i), memory.at(0));
    if (!got || !*got || !memory.Read(0, &button, sizeof button)) return FailedReading(kNoAnswer);
    if (button.fsStyle & BTNS_SEP) continue;
    if (one && button.idCommand != wanted) continue;
    std::wstring tip;
    if (*tips) {
      wchar_t text[kTipChars] = {};
      TOOLINFOW info{};
      info.cbSize = sizeof info;
      info.hwnd = bar;
      info.uId = UINT_PTR(button.idCommand);
      info.lpszText = reinterpret_cast<wchar_t*>(memory.at(textAt));
      if (!memory.Write(textAt, text, sizeof text) || !memory.Write(infoAt, &info, sizeof info) ||
          !Ask(HWND(*tips), TTM_GETTEXTW, kTipChars, memory.at(infoAt)) || !memory.Read(textAt, text, sizeof text))
        return FailedReading(kNoAnswer);
      text[kTipChars - 1] = 0;
      tip = text;
    }
    const BYTE state = button.fsState;
    const ToolButton shown{button.idCommand,
                           (state & TBSTATE_CHECKED) != 0,
                           (state & TBSTATE_INDETERMINATE) != 0,
                           (state & TBSTATE_HIDDEN) != 0,
                           (state & TBSTATE_ENABLED) != 0,
                           win::Narrow(tip)};
    if (one) {
      AddToolButtonFacts(reading, shown);
      return reading;
    }
    reading.Add("button", ToolButtonLine(shown));
    ++buttons;
  }
  if (one) return FailedReading("no button " + command.Get("command"));
  reading.Add("buttons", std::to_string(buttons));
  return reading;
}

// A click with the mouse in the middle of the tool bar button with a command id.
int ClickToolButton(HWND bar, int id) {
  RemoteMemory memory(bar, sizeof(RECT));
  RECT r{};
  if (!memory.ok() || !SendTo(bar, TB_GETRECT, WPARAM(id), memory.at(0)) || !memory.Read(0, &r, sizeof r))
    return Failure("no button " + std::to_string(id));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::PostMessageW(bar, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(bar, WM_LBUTTONUP, 0, at);
  Print("clicked", std::to_string(id));
  return 0;
}

// The nodes of a tree view in display order with their depth, read through
// memory in the tree's process (TVM_GETITEMW carries a pointer); none when a
// message went unanswered.
struct TreeNodeText {
  HTREEITEM node;
  int depth;
  std::string text;
};
constexpr SIZE_T kTreeTextChars = 1024;

std::optional<std::vector<TreeNodeText>> TreeNodes(HWND tree, RemoteMemory& memory) {
  bool answered = true;
  const auto next = [&](HTREEITEM from, UINT how) {
    const std::optional<LRESULT> found = Ask(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from));
    answered = answered && found.has_value();
    return reinterpret_cast<HTREEITEM>(found.value_or(0));
  };
  const SIZE_T textAt = sizeof(TVITEMW);
  std::vector<TreeNodeText> nodes;
  int depth = 0;
  for (HTREEITEM node = next(nullptr, TVGN_ROOT); node && answered;) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(textAt));
    item.cchTextMax = int(kTreeTextChars);
    wchar_t text[kTreeTextChars] = {};
    if (!memory.Write(textAt, text, sizeof text) || !memory.Write(0, &item, sizeof item) ||
        !Ask(tree, TVM_GETITEMW, 0, memory.at(0)) || !memory.Read(textAt, text, sizeof text))
      return std::nullopt;
    text[kTreeTextChars - 1] = 0;
    nodes.push_back({node, depth, win::Narrow(text)});
    if (HTREEITEM child = next(node, TVGN_CHILD)) {
      node = child;
      ++depth;
      continue;
    }
    while (node && answered) {  // the next sibling of the node or of its nearest ancestor
      if (HTREEITEM sibling = next(node, TVGN_NEXT)) {
        node = sibling;
        break;
      }
      node = next(node, TVGN_PARENT);
      --depth;
    }
  }
  if (!answered) return std::nullopt;
  return nodes;
}

Reading ReadTree(HWND tree) {
  RemoteMemory memory(tree, sizeof(TVITEMW) + kTreeTextChars * sizeof(wchar_t));
  if (!memory.ok()) return FailedReading("no access to the process");
  const auto nodes = TreeNodes(tree, memory);
  const std::optional<LRESULT> selected = Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  if (!nodes || !selected) return FailedReading(kNoAnswer);
  Reading reading;
  reading.Add("control", Hex(tree));
  reading.Add("count", std::to_string(nodes->size()));
  for (const auto& n : *nodes) {
    reading.Add("item", std::string(size_t(n.depth) * 2, ' ') + n.text);
    if (n.node == reinterpret_cast<HTREEITEM>(*selected)) reading.Add("selected", n.text);
    const std::optional<LRESULT> state =
        Ask(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(n.node), TVIS_EXPANDED);
    if (!state) return FailedReading(kNoAnswer);
    if (*state & TVIS_EXPANDED) reading.Add("expanded", n.text);
  }
  return reading;
}

// A mouse click on the caption of the first node with that caption (or on its
// expand button), with Ctrl and Shift in the message's key flags.
int ClickTreeNode(HWND tree, const Command& command) {
  RemoteMemory memory(tree, sizeof(TVITEMW) + kTreeTextChars * sizeof(wchar_t));
  if (!memory.ok()) return Failure("no access to the process");
  HTREEITEM node = nullptr;
  for (const auto& n : TreeNodes(tree, memory).value_or(std::vector<TreeNodeText>()))
    if (!node && n.text == command.Get("item")) node = n.node;
  if (!node) return Failure("no node " + command.Get("item"));
  SendTo(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
  RECT r{};
  static_assert(sizeof(HTREEITEM) <= sizeof(RECT));
  memcpy(&r, &node, sizeof node);  // TVM_GETITEMRECT takes the node in the rectangle
  if (!memory.Write(0, &r, sizeof r) || !SendTo(tree, TVM_GETITEMRECT, TRUE, memory.at(0)) ||
      !memory.Read(0, &r, sizeof r))
    return Failure("node not shown: " + command.Get("item"));
  // The middle of the caption's visible part, or the middle of the indent step before it.
  RECT client{};
  ::GetClientRect(tree, &client);
  const int indent = int(SendTo(tree, TVM_GETINDENT, 0, 0));
  const int x = command.flags.count("expander") ? r.left - indent / 2 : (r.left + std::min(r.right, client.right)) / 2;
  const LPARAM at = MAKELPARAM(x, (r.top + r.bottom) / 2);
  WPARAM keys = 0;
  if (command.flags.count("ctrl")) keys |= MK_CONTROL;
  if (command.flags.count("shift")) keys |= MK_SHIFT;
  ::PostMessageW(tree, WM_MOUSEMOVE, keys, at);
  ::PostMessageW(tree, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
  ::PostMessageW(tree, WM_LBUTTONUP, keys, at);
  Print("clicked", command.Get("item"));
  return 0;
}

// Real keyboard input: the control's window is brought to the front and the
// control focused, so the program sees the modifiers in its key state. The
// input stays attached until the program has taken the keys.
int PressKeys(HWND control, const KeyChord& chord, const Command& command) {
  const DWORD target = ::GetWindowThreadProcessId(control, nullptr);
  const DWORD self = ::GetCurrentThreadId();
  const bool attached = ::AttachThreadInput(self, target, TRUE) != 0;
  ::SetForegroundWindow(::GetAncestor(control, GA_ROOT));
  ::SetFocus(control);
  HWND focus = ::GetFocus();
  Print("focus", focus == control ? "1" : "0");
  std::vector<INPUT> inputs;
  auto key = [&](unsigned vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = WORD(vk);
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (chord.ctrl) key(VK_CONTROL, false);
  if (chord.shift) key(VK_SHIFT, false);
  if (chord.alt) key(VK_MENU, false);
  key(chord.virtualKey, false);
  key(chord.virtualKey, true);
  if (chord.alt) key(VK_MENU, true);
  if (chord.shift) key(VK_SHIFT, true);
  if (chord.ctrl) key(VK_CONTROL, true);
  const UINT sent = ::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  const bool settled = Settle(control, command);
  if (attached) ::AttachThreadInput(self, target, FALSE);
  if (sent != inputs.size()) return Failure("the keys were not sent");
  if (!settled) return Failure("the program did not take the keys in time");
  Print("pressed", std::to_string(inputs.size()));
  return 0;
}

// The visible message box or dialog (#32770) of the process.
HWND FindBox(const Command& command) {
  Command boxes = command;
  boxes.options.erase("title");
  boxes.options["class"] = "#32770";
  boxes.options.erase("name");
  boxes.options.erase("id");
  auto found = TopWindows(boxes);
  return found.empty() ? nullptr : found.front();
}

int AnswerBox(const Command& command) {
  HWND box = nullptr;
  if (!Poll(command, [&] { return (box = FindBox(command)) != nullptr; })) return Failure("no message box");
  Print("box", Hex(box));
  Print("caption", TextOf(box));
  HWND text = ::GetDlgItem(box, 0xFFFF);
  Print("text", text ? TextOf(text) : std::string());
  const std::string wanted = command.Get("button");
  int wantedId = BoxButtonId(wanted);
  HWND press = nullptr;
  for (HWND child : Descendants(box)) {
    if (!SameText(ClassOf(child), "Button")) continue;
    std::string caption = WithoutAccelerator(TextOf(child));
    Print("button", caption);
    int id = ::GetDlgCtrlID(child);
    if (press == nullptr && ((wantedId != 0 && id == wantedId) || SameText(caption, wanted))) press = child;
  }
  if (press == nullptr) return Failure("no button " + wanted);
  int id = ::GetDlgCtrlID(press);
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(press));
  // The box gone is the answer taken. What the program does next is not
  // waited for: a setup goes on installing without taking messages.
  if (!Poll(command, [&] { return !::IsWindow(box) || !Visible(box); })) return Failure("the box stayed open");
  Print("pressed", BoxButtonName(id));
  return 0;
}

// Polls from before the process starts (name it with --exe) until it has
// ended, printing every visible top-level window of it once: a run that must
// show nothing is checked by "windows=0". A window shown and gone within one
// poll (10 ms) can slip through.
int Watch(const Command& command) {
  Print("watching", command.Has("pid") ? command.Get("pid") : command.Get("exe"));
  std::set<HWND> seen;
  bool started = false;
  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    bool alive = false;
    for (DWORD id : Processes(command)) alive = alive || ProcessAlive(id);
    started = started || alive;
    for (HWND window : TopWindows(command)) {
      if (!seen.insert(window).second) continue;
      Reading facts;
      AddWindow(facts, window);
      PrintFacts(facts.facts);
    }
    if (started && !alive) break;
    if (::GetTickCount64() - start >= ULONGLONG(command.timeoutMs)) {
      Print("windows", std::to_string(seen.size()));
      return Failure(started ? "the process is still running" : "the process did not start");
    }
    ::Sleep(10);
  }
  Print("windows", std::to_string(seen.size()));
  Print("exited", "1");
  return 0;
}

// One reading of what a reading verb asks for, the control or window looked
// for afresh each time (a program may make it again).
Reading ReadOnce(const Command& command) {
  const std::string& verb = command.verb;
  if (verb == "list" || verb == "controls" || (verb == "rect" && !HasControl(command))) {
    const std::vector<HWND> windows = TopWindows(command);
    if (windows.empty()) return FailedReading("no window");
    Reading reading;
    if (verb == "rect") {
      AddRect(reading, windows.front());
      return reading;
    }
    for (HWND top : windows) {
      AddWindow(reading, top);
      if (verb != "controls") continue;
      for (HWND child : Descendants(top)) {
        const std::optional<std::string> text = ReadText(child);
        if (!text && ::IsWindow(child)) return FailedReading(kNoAnswer);
        reading.Add("control", Hex(child));
        reading.Add("id", std::to_string(::GetDlgCtrlID(child)));
        reading.Add("class", ClassOf(child));
        reading.Add("name", DesignerName(child));
        reading.Add("text", text.value_or(std::string()));
      }
    }
    return reading;
  }

  HWND control = FindControl(command);
  if (control == nullptr) return FailedReading("no control");
  if (verb == "toolbar") return ReadToolBar(control, command);
  if (verb == "tree") return ReadTree(control);
  Reading reading;
  reading.Add("control", Hex(control));
  if (verb == "text") {
    const std::optional<std::string> text = ReadText(control);
    if (!text) return FailedReading(kNoAnswer);
    reading.Add("text", *text);
  } else if (verb == "items") {
    const auto items = ListItems(control);
    if (!items) return FailedReading(kNoAnswer);
    reading.Add("count", std::to_string(items->size()));
    for (const auto& item : *items) reading.Add("item", item);
  } else if (verb == "checked") {
    const std::optional<LRESULT> state = Ask(control, BM_GETCHECK, 0, 0);
    if (!state) return FailedReading(kNoAnswer);
    reading.Add("checked", std::to_string(*state));
  } else if (verb == "rect") {
    AddRect(reading, control);
  } else if (verb == "send") {
    const auto number = [&](const char* option) {
      return command.Has(option) ? std::stoll(command.Get(option), nullptr, 0) : 0LL;
    };
    const std::optional<LRESULT> result =
        Ask(control, UINT(number("message")), WPARAM(number("wparam")), LPARAM(number("lparam")));
    if (!result) return FailedReading(kNoAnswer);
    reading.Add("result", std::to_string(LONG_PTR(*result)));
  }
  return reading;
}

int Read(const Command& command) {
  TickClock clock;
  WaitResult result;
  if (command.verb == "send" && !command.until) {
    // A message that acts is sent once (one the program did not answer in
    // time may still have been taken), and what its handler posted is taken
    // before the driver returns, as after any action.
    HWND control = WaitForControl(command);
    if (control == nullptr) return Failure("no control");
    result.shown = ReadOnce(command);
    result.error = result.shown.error;
    if (result.error.empty() && !Settle(control, command)) result.error = "the program did not take it in time";
  } else {
    result = ReadUntil([&] { return ReadOnce(command); }, command.until, command.timeoutMs, clock, kPollMs);
  }
  PrintFacts(result.shown.facts);
  return result.error.empty() ? 0 : Failure(result.error);
}

int Run(const Command& command) {
  const std::string& verb = command.verb;
  if (IsReadingVerb(verb)) return Read(command);
  if (verb == "watch") return Watch(command);
  if (verb == "wait-exit") {
    bool ended = Poll(command, [&] {
      for (DWORD id : Processes(command))
        if (ProcessAlive(id)) return false;
      return true;
    });
    if (!ended) return Failure("the process is still running");
    Print("exited", "1");
    return 0;
  }
  if (verb == "answer-box") return AnswerBox(command);
  if (verb == "wait-painted") {
    const HWND window = HasControl(command) ? WaitForControl(command) : WaitForWindow(command);
    if (window == nullptr) return Failure(HasControl(command) ? "no control" : "no window");
    if (!WaitPainted(window, command)) return Failure("the window was not painted in time");
    Print("painted", Hex(window));
    return 0;
  }
  if (verb == "wait-window" || verb == "close") {
    HWND window = WaitForWindow(command);
    if (window == nullptr) return Failure("no window");
    if (verb == "close") {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      Print("closed", Hex(window));
      return 0;
    }
    Reading facts;
    AddWindow(facts, window);
    PrintFacts(facts.facts);
    return 0;
  }

  HWND control = WaitForControl(command);
  if (control == nullptr) return Failure("no control");
  Print("control", Hex(control));
  int status = 0;
  if (verb == "set-text") {
    std::wstring text = win::Wide(command.Get("text"));
    if (!Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) return Failure(kNoAnswer);
    Print("text", TextOf(control));
  } else if (verb == "type") {
    for (wchar_t c : win::Wide(command.Get("text"))) ::PostMessageW(control, WM_CHAR, c, 1);
    Print("typed", command.Get("text"));
  } else if (verb == "click") {
    Click(command, control);
    Print("clicked", Hex(control));
  } else if (verb == "toolbar-click") {
    status = ClickToolButton(control, int(std::stoll(command.Get("command"), nullptr, 0)));
  } else if (verb == "tree-click") {
    status = ClickTreeNode(control, command);
  } else if (verb == "keys") {
    const std::optional<KeyChord> chord = ParseKeyChord(command.Get("text"));
    if (!chord) return Failure("unknown keys: " + command.Get("text"));
    return PressKeys(control, *chord, command);  // settles while the input is attached
  }
  if (status != 0) return status;
  if (!Settle(control, command)) return Failure("the program did not take it in time");
  return 0;
}

}  // namespace
}  // namespace orvalis::uidriver

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" line ends for the shell, UTF-8 bytes as they are
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(orvalis::win::Narrow(argv[i]));
  auto parsed = orvalis::uidriver::ParseCommand(args);
  if (!parsed.command) {
    orvalis::uidriver::Print("error", parsed.error);
    fputs(orvalis::uidriver::Usage().c_str(), stderr);
    return 2;
  }
  try {
    return orvalis::uidriver::Run(*parsed.command);
  } catch (const std::exception& e) {
    return orvalis::uidriver::Failure(e.what());
  }
}
