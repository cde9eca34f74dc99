// COM ownership: interface pointers, memory from the COM task allocator, and
// one COM initialisation of the calling thread.
#pragma once

#include <objbase.h>
#include <unknwn.h>

#include <utility>

#include "win/unique_any.h"

namespace orvalis::win {

template <typename Interface>
class com_ptr {
 public:
  com_ptr() noexcept = default;
  // Takes over a reference the caller holds (no AddRef).
  explicit com_ptr(Interface* value) noexcept : value_(value) {}
  com_ptr(const com_ptr&) = delete;
  com_ptr& operator=(const com_ptr&) = delete;
  com_ptr(com_ptr&& other) noexcept : value_(other.release()) {}
  com_ptr& operator=(com_ptr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~com_ptr() { reset(); }

  [[nodiscard]] Interface* get() const noexcept { return value_; }
  [[nodiscard]] Interface* operator->() const noexcept { return value_; }
  [[nodiscard]] explicit operator bool() const noexcept { return value_ != nullptr; }

  void reset(Interface* value = nullptr) noexcept {
    Interface* old = std::exchange(value_, value);
    if (old != nullptr) old->Release();
  }
  [[nodiscard]] Interface* release() noexcept { return std::exchange(value_, nullptr); }
  // For out-parameters: releases what is held and hands out the slot.
  [[nodiscard]] Interface** put() noexcept {
    reset();
    return &value_;
  }
  // The slot as the void** that CoCreateInstance and QueryInterface take.
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  // Asks for another interface of the same object; empty when it has none.
  template <typename Other>
  [[nodiscard]] com_ptr<Other> query(REFIID iid) const noexcept {
    com_ptr<Other> other;
    // A failed query holds no reference, whatever it left in the slot.
    if (value_ != nullptr && FAILED(value_->QueryInterface(iid, other.put_void()))) (void)other.release();
    return other;
  }

 private:
  Interface* value_ = nullptr;
};

// Memory the callee allocated with CoTaskMemAlloc: item ID lists, strings of
// the shell's folder queries.
template <typename Pointer>
struct CoTaskMemPolicy {
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer memory) noexcept { ::CoTaskMemFree(memory); }
};
template <typename Pointer>
using unique_cotaskmem = unique_any<CoTaskMemPolicy<Pointer>>;

// CoInitializeEx for the lifetime of the object. ok() is true when COM is
// initialised for this scope, including S_FALSE (it already was, on this thread):
// every successful call needs its own CoUninitialize. A thread that runs
// another apartment model answers RPC_E_CHANGED_MODE; then ok() is false and
// nothing is uninitialised at the end.
class com_scope {
 public:
  explicit com_scope(DWORD flags = COINIT_APARTMENTTHREADED) noexcept : result_(::CoInitializeEx(nullptr, flags)) {}
  com_scope(const com_scope&) = delete;
  com_scope& operator=(const com_scope&) = delete;
  ~com_scope() {
    if (ok()) ::CoUninitialize();
  }
  [[nodiscard]] bool ok() const noexcept { return SUCCEEDED(result_); }
  [[nodiscard]] HRESULT result() const noexcept { return result_; }

 private:
  HRESULT result_;
};

}  // namespace orvalis::win
