// For tests: collects what OutputDebugString sends while the object lives.
// OutputDebugString raises an exception with the text for a debugger to take;
// a vectored handler sees it before any other handler does.
#pragma once

#include <windows.h>

#include <string>

namespace orvalis::win {

class DebugCapture {
 public:
  DebugCapture() noexcept : handler_(::AddVectoredExceptionHandler(1, &Handler)) { active_ = this; }
  ~DebugCapture() {
    ::RemoveVectoredExceptionHandler(handler_);
    active_ = nullptr;
  }
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  // Everything sent so far, as ANSI text (ASCII is all a test should expect).
  [[nodiscard]] const std::string& Text() const { return text_; }

 private:
  static constexpr DWORD kPrintAnsi = 0x40010006;  // DBG_PRINTEXCEPTION_C: {length, text}

  static LONG CALLBACK Handler(EXCEPTION_POINTERS* pointers) noexcept {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    // Windows 10 raises DBG_PRINTEXCEPTION_WIDE_C first and then, unhandled, this
    // one: the ANSI text alone is taken, once.
    if (active_ && record.ExceptionCode == kPrintAnsi && record.NumberParameters >= 2) {
      try {
        active_->text_ += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
      } catch (...) {
      }
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }

  static inline DebugCapture* active_ = nullptr;
  PVOID handler_;
  std::string text_;
};

}  // namespace orvalis::win
