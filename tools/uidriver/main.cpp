// orvalis-uidriver: drives and reads the windows of another process for
// end-to-end tests. Controls are found by their designer name (the
// "OrvalisName" property, a global atom), by control id, or by class and
// caption; what the driver sees is printed as key=value lines (see command.h).
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
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

// Repeats `attempt` until it reports true or the command's timeout has passed.
bool Poll(const Command& command, const std::function<bool()>& attempt) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (attempt()) return true;
    if (::GetTickCount() - start >= DWORD(command.timeoutMs)) return false;
    ::Sleep(kPollMs);
  }
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

// The text of a window of another process: WM_GETTEXT is marshalled by the
// system, GetWindowText would not ask the control.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
    return {};
  text.resize(copied);
  return win::Narrow(text);
}

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

void PrintWindow(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  Print("window", Hex(window));
  Print("pid", std::to_string(owner));
  Print("class", ClassOf(window));
  Print("name", DesignerName(window));
  Print("visible", Visible(window) ? "1" : "0");
  Print("title", TextOf(window));
}

void PrintRect(HWND window) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  Print("rect", std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                    std::to_string(r.bottom));
  Print("x", std::to_string(r.left));
  Print("y", std::to_string(r.top));
  Print("width", std::to_string(r.right - r.left));
  Print("height", std::to_string(r.bottom - r.top));
  Print("visible", ::IsWindowVisible(window) ? "1" : "0");
  // The client area on the screen: without a window manager (Xvfb) the title
  // bar and borders are not drawn, so photographs crop to this.
  RECT c = {};
  ::GetClientRect(window, &c);
  POINT origin = {0, 0};
  ::ClientToScreen(window, &origin);
  Print("client", std::to_string(origin.x) + "," + std::to_string(origin.y) + "," + std::to_string(c.right) + "," +
                      std::to_string(c.bottom));
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

std::vector<std::string> ListItems(HWND control) {
  std::string cls = UpperCase(ClassOf(control));
  bool combo = cls.find("COMBO") != std::string::npos;
  UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutW(control, countMessage, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &count)) return items;
  for (int i = 0; i < int(LONG_PTR(count)); ++i) {
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(control, lengthMessage, i, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length);
    if (LONG_PTR(length) < 0) length = 0;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(control, textMessage, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          kMessageTimeoutMs, &copied);
    text.resize(LONG_PTR(copied) < 0 ? 0 : copied);
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

// Memory inside the process that owns a window, for the messages whose
// pointer arguments the system does not carry across processes (tool bar and
// tooltip messages). The driver and the program must both be 64-bit.
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

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result);
  return LRESULT(result);
}

// Every button of a tool bar: "button=ID checked=0|1 mixed=0|1 hidden=0|1 enabled=0|1 tip=TEXT".
int ListToolBar(HWND bar) {
  constexpr SIZE_T kTipChars = 256;
  RemoteMemory memory(bar, sizeof(TBBUTTON) + sizeof(TOOLINFOW) + kTipChars * sizeof(wchar_t));
  if (!memory.ok()) return Failure("no access to the process");
  const SIZE_T infoAt = sizeof(TBBUTTON), textAt = infoAt + sizeof(TOOLINFOW);
  HWND tips = reinterpret_cast<HWND>(SendTo(bar, TB_GETTOOLTIPS, 0, 0));
  const int count = int(SendTo(bar, TB_BUTTONCOUNT, 0, 0));
  int buttons = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    if (!SendTo(bar, TB_GETBUTTON, WPARAM(i), memory.at(0)) || !memory.Read(0, &button, sizeof button)) continue;
    if (button.fsStyle & BTNS_SEP) continue;
    std::wstring tip;
    if (tips) {
      wchar_t text[kTipChars] = {};
      TOOLINFOW info{};
      info.cbSize = sizeof info;
      info.hwnd = bar;
      info.uId = UINT_PTR(button.idCommand);
      info.lpszText = reinterpret_cast<wchar_t*>(memory.at(textAt));
      memory.Write(textAt, text, sizeof text);
      memory.Write(infoAt, &info, sizeof info);
      SendTo(tips, TTM_GETTEXTW, kTipChars, memory.at(infoAt));
      memory.Read(textAt, text, sizeof text);
      text[kTipChars - 1] = 0;
      tip = text;
    }
    const BYTE state = button.fsState;
    Print("button", std::to_string(button.idCommand) + " checked=" + ((state & TBSTATE_CHECKED) ? "1" : "0") +
                        " mixed=" + ((state & TBSTATE_INDETERMINATE) ? "1" : "0") +
                        " hidden=" + ((state & TBSTATE_HIDDEN) ? "1" : "0") +
                        " enabled=" + ((state & TBSTATE_ENABLED) ? "1" : "0") + " tip=" + win::Narrow(tip));
    ++buttons;
  }
  Print("buttons", std::to_string(buttons));
  return 0;
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
// memory in the tree's process (TVM_GETITEMW carries a pointer).
struct TreeNodeText {
  HTREEITEM node;
  int depth;
  std::string text;
};
constexpr SIZE_T kTreeTextChars = 1024;

std::vector<TreeNodeText> TreeNodes(HWND tree, RemoteMemory& memory) {
  const auto next = [&](HTREEITEM from, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
  };
  const SIZE_T textAt = sizeof(TVITEMW);
  std::vector<TreeNodeText> nodes;
  int depth = 0;
  for (HTREEITEM node = next(nullptr, TVGN_ROOT); node;) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = reinterpret_cast<wchar_t*>(memory.at(textAt));
    item.cchTextMax = int(kTreeTextChars);
    wchar_t text[kTreeTextChars] = {};
    memory.Write(textAt, text, sizeof text);
    memory.Write(0, &item, sizeof item);
    SendTo(tree, TVM_GETITEMW, 0, memory.at(0));
    memory.Read(textAt, text, sizeof text);
    text[kTreeTextChars - 1] = 0;
    nodes.push_back({node, depth, win::Narrow(text)});
    if (HTREEITEM child = next(node, TVGN_CHILD)) {
      node = child;
      ++depth;
      continue;
    }
    while (node) {  // the next sibling of the node or of its nearest ancestor
      if (HTREEITEM sibling = next(node, TVGN_NEXT)) {
        node = sibling;
        break;
      }
      node = next(node, TVGN_PARENT);
      --depth;
    }
  }
  return nodes;
}

int ListTree(HWND tree) {
  RemoteMemory memory(tree, sizeof(TVITEMW) + kTreeTextChars * sizeof(wchar_t));
  if (!memory.ok()) return Failure("no access to the process");
  const auto nodes = TreeNodes(tree, memory);
  const auto selected = reinterpret_cast<HTREEITEM>(SendTo(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  Print("count", std::to_string(nodes.size()));
  for (const auto& n : nodes) {
    Print("item", std::string(size_t(n.depth) * 2, ' ') + n.text);
    if (n.node == selected) Print("selected", n.text);
    if (SendTo(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(n.node), TVIS_EXPANDED) & TVIS_EXPANDED)
      Print("expanded", n.text);
  }
  return 0;
}

// A mouse click on the caption of the first node with that caption (or on its
// expand button), with Ctrl and Shift in the message's key flags.
int ClickTreeNode(HWND tree, const Command& command) {
  RemoteMemory memory(tree, sizeof(TVITEMW) + kTreeTextChars * sizeof(wchar_t));
  if (!memory.ok()) return Failure("no access to the process");
  HTREEITEM node = nullptr;
  for (const auto& n : TreeNodes(tree, memory))
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
// control focused, so the program sees the modifiers in its key state.
int PressKeys(HWND control, const KeyChord& chord) {
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
  ::Sleep(200);  // let the program take the keys before the input is detached
  if (attached) ::AttachThreadInput(self, target, FALSE);
  if (sent != inputs.size()) return Failure("the keys were not sent");
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
  const DWORD start = ::GetTickCount();
  for (;;) {
    bool alive = false;
    for (DWORD id : Processes(command)) alive = alive || ProcessAlive(id);
    started = started || alive;
    for (HWND window : TopWindows(command))
      if (seen.insert(window).second) PrintWindow(window);
    if (started && !alive) break;
    if (::GetTickCount() - start >= DWORD(command.timeoutMs)) {
      Print("windows", std::to_string(seen.size()));
      return Failure(started ? "the process is still running" : "the process did not start");
    }
    ::Sleep(10);
  }
  Print("windows", std::to_string(seen.size()));
  Print("exited", "1");
  return 0;
}

int Run(const Command& command) {
  const std::string& verb = command.verb;
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
  if (verb == "list" || verb == "wait-window" || verb == "controls" || verb == "close" ||
      (verb == "rect" && !HasControl(command))) {
    HWND window = WaitForWindow(command);
    if (window == nullptr) return Failure("no window");
    if (verb == "wait-window") {
      PrintWindow(window);
    } else if (verb == "rect") {
      PrintRect(window);
    } else if (verb == "close") {
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      Print("closed", Hex(window));
    } else {
      for (HWND top : TopWindows(command)) {
        PrintWindow(top);
        if (verb != "controls") continue;
        for (HWND child : Descendants(top)) {
          Print("control", Hex(child));
          Print("id", std::to_string(::GetDlgCtrlID(child)));
          Print("class", ClassOf(child));
          Print("name", DesignerName(child));
          Print("text", TextOf(child));
        }
      }
    }
    return 0;
  }

  HWND control = WaitForControl(command);
  if (control == nullptr) return Failure("no control");
  Print("control", Hex(control));
  if (verb == "text") {
    Print("text", TextOf(control));
  } else if (verb == "items") {
    auto items = ListItems(control);
    Print("count", std::to_string(items.size()));
    for (const auto& item : items) Print("item", item);
  } else if (verb == "checked") {
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state);
    Print("checked", std::to_string(state));
  } else if (verb == "set-text") {
    std::wstring text = win::Wide(command.Get("text"));
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kMessageTimeoutMs, &result))
      return Failure("the control did not answer");
    Print("text", TextOf(control));
  } else if (verb == "type") {
    for (wchar_t c : win::Wide(command.Get("text"))) ::PostMessageW(control, WM_CHAR, c, 1);
    Print("typed", command.Get("text"));
  } else if (verb == "click") {
    Click(command, control);
    Print("clicked", Hex(control));
  } else if (verb == "rect") {
    PrintRect(control);
  } else if (verb == "toolbar") {
    return ListToolBar(control);
  } else if (verb == "toolbar-click") {
    return ClickToolButton(control, int(std::stoll(command.Get("command"), nullptr, 0)));
  } else if (verb == "send") {
    auto number = [&](const char* option) {
      return command.Has(option) ? std::stoll(command.Get(option), nullptr, 0) : 0LL;
    };
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, UINT(number("message")), WPARAM(number("wparam")), LPARAM(number("lparam")),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
      return Failure("the control did not answer");
    Print("result", std::to_string(LONG_PTR(result)));
  } else if (verb == "tree") {
    return ListTree(control);
  } else if (verb == "tree-click") {
    return ClickTreeNode(control, command);
  } else if (verb == "keys") {
    const std::optional<KeyChord> chord = ParseKeyChord(command.Get("text"));
    if (!chord) return Failure("unknown keys: " + command.Get("text"));
    return PressKeys(control, *chord);
  }
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
