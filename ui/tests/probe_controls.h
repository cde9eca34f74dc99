// Controls for the framework's own tests: each writes down what reaches its
// window procedure, so a test checks which object got which message, with
// which parameters and in which order.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace orvalis::ui::probe {

struct Seen {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// Base with its window procedure recorded. `answer` may take a message before
// the control does: it returns true when it set m.result and the inherited
// handling is to be skipped; it may also change the message and return false.
template <class Base>
class Probe : public Base {
 public:
  std::vector<Seen> seen;
  std::function<bool(Message&)> answer;

  [[nodiscard]] int Count(UINT msg) const {
    int n = 0;
    for (const Seen& s : seen) n += s.msg == msg;
    return n;
  }
  [[nodiscard]] const Seen* Last(UINT msg) const {
    for (auto it = seen.rbegin(); it != seen.rend(); ++it)
      if (it->msg == msg) return &*it;
    return nullptr;
  }
  // Messages of the framework's notification range (CN_BASE + message).
  [[nodiscard]] int Reflected() const {
    int n = 0;
    for (const Seen& s : seen) n += s.msg >= CN_BASE && s.msg < CN_BASE + 0x400;
    return n;
  }

  void WndProc(Message& m) override {
    seen.push_back({m.msg, m.wParam, m.lParam});
    if (answer && answer(m)) return;
    Base::WndProc(m);
  }

  // A system class of the test's choice for a probe of WinControl.
  std::wstring systemClass;
  DWORD extraStyle = 0;

 protected:
  void MakeCreateParams(typename Base::CreateParams& params) override {
    Base::MakeCreateParams(params);
    if (!systemClass.empty()) {
      params.className = systemClass;
      params.systemClass = true;
    }
    params.style |= extraStyle;
  }
};

// A windowless child that writes the mouse messages it gets as lines
// "<tag> enter", "<tag> down 10,5", "<tag> click" into a journal shared by the
// children of a test, coordinates in its own client space.
class Spot : public GraphicControl {
 public:
  Spot(std::vector<std::string>& journal, std::string tag) : journal_(&journal), tag_(std::move(tag)) {}
  void Paint(Canvas&) override {}

  void WndProc(Message& m) override {
    char at[32];
    std::snprintf(at, sizeof at, " %d,%d", int(short(LOWORD(m.lParam))), int(short(HIWORD(m.lParam))));
    switch (m.msg) {
      case CM_MOUSEENTER: Write("enter"); break;
      case CM_MOUSELEAVE: Write("leave"); break;
      case WM_MOUSEMOVE: Write("move", at); break;
      case WM_LBUTTONDOWN: Write("down", at); break;
      case WM_LBUTTONUP: Write("up", at); break;
      case WM_RBUTTONDOWN: Write("rdown", at); break;
      case WM_RBUTTONUP: Write("rup", at); break;
      case WM_CAPTURECHANGED: Write("capture lost"); break;
      default: break;
    }
    GraphicControl::WndProc(m);
  }
  void Click() override {
    Write("click");
    GraphicControl::Click();
  }

 private:
  void Write(const char* what, const char* at = "") {
    std::string line = tag_;
    line.append(" ").append(what).append(at);
    journal_->push_back(std::move(line));
  }

  std::vector<std::string>* journal_;
  std::string tag_;
};

// Handles what is waiting for this thread until done() holds or the deadline
// passes; done()'s last answer.
template <class Done>
bool PumpUntil(Done&& done, DWORD deadlineMs = 3000) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (::GetTickCount() - start > deadlineMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

}  // namespace orvalis::ui::probe
