// The rich edit window's stream buffer.
#include "controls/rich/rich_stream.h"

#include <algorithm>
#include <cstring>

namespace orvalis::controls {

PStreamObject PStreamObject::Borrowing(std::string_view text) {
  PStreamObject s;
  s.data_ = text.data();
  s.borrowed_ = true;
  s.size_ = text.size();
  return s;
}

PStreamObject PStreamObject::Owning(std::string text) {
  PStreamObject s;
  s.storage_ = std::move(text);
  s.data_ = s.storage_.data();
  s.size_ = s.storage_.size();
  return s;
}

PStreamObject::PStreamObject(PStreamObject&& other) noexcept
    : data_(other.data_),
      borrowed_(other.borrowed_),
      size_(other.size_),
      position_(other.position_),
      storage_(std::move(other.storage_)) {
  if (!borrowed_) data_ = storage_.data();
  other.data_ = nullptr;
  other.size_ = other.position_ = 0;
}

std::string PStreamObject::Written() const {
  std::string_view written(storage_.data(), std::min(position_, storage_.size()));
  while (!written.empty() && written.back() == '\0') written.remove_suffix(1);
  return std::string(written);
}

DWORD CALLBACK PStreamObject::ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept {
  auto* self = reinterpret_cast<PStreamObject*>(cookie);
  if (!self || size < 0) return 1;
  const std::size_t n = std::min(std::size_t(size), self->size_ - std::min(self->position_, self->size_));
  if (n > 0) std::memcpy(buffer, self->data_ + self->position_, n);
  self->position_ += n;
  *done = LONG(n);
  return 0;
}

DWORD CALLBACK PStreamObject::WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept {
  auto* self = reinterpret_cast<PStreamObject*>(cookie);
  if (!self || size < 0) return 1;
  try {
    const std::size_t n = std::size_t(size);
    if (self->position_ + n > self->storage_.size()) {
      self->storage_.resize(std::max(self->position_ + n, self->storage_.size() * 2 + 4096));
      self->size_ = self->storage_.size();
    }
    std::memcpy(self->storage_.data() + self->position_, buffer, n);
    self->position_ += n;
    self->data_ = self->storage_.data();
    *done = size;
    return 0;
  } catch (...) {
    *done = 0;
    return 1;  // out of memory: the window ends the stream
  }
}

}  // namespace orvalis::controls
