// SHA-256, for the installer hash that package managers check downloads against.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis::pack {

class Sha256 {
 public:
  Sha256();
  void Add(std::string_view bytes);
  // The digest of everything added; the object is spent afterwards.
  [[nodiscard]] std::array<std::uint8_t, 32> Finish();

 private:
  void Block(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;
};

// The digest of `bytes` as 64 upper-case hexadecimal digits.
[[nodiscard]] std::string Sha256Hex(std::string_view bytes);

}  // namespace orvalis::pack
