// The byte buffer of the rich edit window's streams (EM_STREAMIN, EM_STREAMOUT).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace orvalis::controls {

// The byte buffer of a rich edit stream. Reading borrows the caller's text (or
// keeps its own copy); writing grows its own buffer.
class PStreamObject {
 public:
  // A stream that reads `text`, which must outlive it.
  static PStreamObject Borrowing(std::string_view text);
  // A stream that reads its own copy of `text`.
  static PStreamObject Owning(std::string text);
  // An empty stream to write into.
  PStreamObject() = default;
  PStreamObject(const PStreamObject&) = delete;
  PStreamObject& operator=(const PStreamObject&) = delete;
  PStreamObject(PStreamObject&& other) noexcept;
  PStreamObject& operator=(PStreamObject&&) = delete;

  [[nodiscard]] bool Borrowed() const { return borrowed_; }
  // What has been written, without trailing zero bytes.
  [[nodiscard]] std::string Written() const;

  // EDITSTREAM callbacks; the cookie is the stream. Nothing escapes them: a
  // failure ends the stream with an error code.
  static DWORD CALLBACK ReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept;
  static DWORD CALLBACK WriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) noexcept;

 private:
  const char* data_ = nullptr;
  bool borrowed_ = false;
  std::size_t size_ = 0;      // the data when reading, the capacity when writing
  std::size_t position_ = 0;  // read position, or bytes written
  std::string storage_;
};

}  // namespace orvalis::controls
