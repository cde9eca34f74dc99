// Move-only ownership of COM interface pointers and of one COM initialisation
// of the calling thread.
#pragma once

#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace orvalis::win {

template <typename Interface>
class com_ptr {
 public:
  com_ptr() noexcept = default;
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
    if (value_ != nullptr) value_->Release();
    value_ = value;
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
    if (value_ != nullptr) {
      if (FAILED(value_->QueryInterface(iid, other.put_void()))) other.reset();
    }
    return other;
  }

 private:
  Interface* value_ = nullptr;
};

// CoInitialize for the lifetime of the object; ok() is false when COM could
// not be initialised (for example because the thread runs another apartment
// model), and then nothing is uninitialised at the end.
class com_scope {
 public:
  com_scope() noexcept : ok_(SUCCEEDED(::CoInitialize(nullptr))) {}
  com_scope(const com_scope&) = delete;
  com_scope& operator=(const com_scope&) = delete;
  ~com_scope() {
    if (ok_) ::CoUninitialize();
  }
  [[nodiscard]] bool ok() const noexcept { return ok_; }

 private:
  bool ok_;
};

}  // namespace orvalis::win
