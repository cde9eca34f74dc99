// A move-only guard that runs a callable once when it goes out of scope, for
// the undo steps that have no handle of their own to own.
//   win::scope_exit restore([&] { busy = false; });
#pragma once

#include <type_traits>
#include <utility>

namespace orvalis::win {

template <typename Callable>
class [[nodiscard]] scope_exit {
 public:
  explicit scope_exit(Callable callable) noexcept(std::is_nothrow_move_constructible_v<Callable>)
      : callable_(std::move(callable)) {}
  scope_exit(scope_exit&& other) noexcept(std::is_nothrow_move_constructible_v<Callable>)
      : callable_(std::move(other.callable_)), armed_(std::exchange(other.armed_, false)) {}
  scope_exit(const scope_exit&) = delete;
  scope_exit& operator=(const scope_exit&) = delete;
  scope_exit& operator=(scope_exit&&) = delete;
  // The callable runs from a destructor: it must not throw.
  ~scope_exit() { reset(); }

  // Runs the callable now rather than at the end of the scope (once at most).
  void reset() noexcept {
    if (std::exchange(armed_, false)) callable_();
  }
  // Dismisses the guard: the callable never runs.
  void release() noexcept { armed_ = false; }

 private:
  Callable callable_;
  bool armed_ = true;
};

template <typename Callable>
scope_exit(Callable) -> scope_exit<Callable>;

}  // namespace orvalis::win
