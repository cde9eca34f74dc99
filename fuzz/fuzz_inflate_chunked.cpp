// The chunked inflate against zlib's one-shot uncompress() on arbitrary bytes:
// the same success or failure and the same bytes, whatever the chunk size and
// whatever the buffers inflated before.
// Input: the first byte picks the chunk size, the rest is the stream.
#include "fuzz/fuzz_check.h"
#include "services/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace orvalis;

namespace {

// Deflate expands at most 1032 times, so this holds what any input under the
// length limit inflates to.
constexpr std::size_t kMaxInput = 12 * 1024;
constexpr std::size_t kReferenceCapacity = 1032 * kMaxInput + 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxInput) return 0;
  // Kept from run to run, so every inflate starts from a state that an
  // earlier (maybe failed) one left behind.
  static std::array<std::unique_ptr<InflateBuffers>, 5> buffers = {
      std::make_unique<InflateBuffers>(1), std::make_unique<InflateBuffers>(7), std::make_unique<InflateBuffers>(258),
      std::make_unique<InflateBuffers>(4096), std::make_unique<InflateBuffers>(kInflateChunk)};
  static std::vector<unsigned char> reference(kReferenceCapacity);

  InflateBuffers& chosen = *buffers[data[0] % buffers.size()];
  const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

  std::string out;
  std::size_t largest = 0;
  auto result = InflateChunked<std::uint32_t>(stream, chosen, [&](std::string_view chunk) {
    FUZZ_CHECK(!chunk.empty());
    largest = std::max(largest, chunk.size());
    out.append(chunk);
    return true;
  });
  FUZZ_CHECK(largest <= chosen.chunkSize());
  FUZZ_CHECK(result.size == out.size());
  FUZZ_CHECK(result.status == InflateStatus::kOk || result.status == InflateStatus::kDamaged);

  // uncompress() takes whatever follows the stream's end; a payload stream
  // must be all stream, so its verdict counts only when it used every byte.
  uLongf referenceSize = static_cast<uLongf>(reference.size());
  uLong used = static_cast<uLong>(stream.size());
  const int rc = uncompress2(reference.data(), &referenceSize, reinterpret_cast<const Bytef*>(stream.data()), &used);
  const bool referenceOk = !stream.empty() && rc == Z_OK && used == stream.size();
  FUZZ_CHECK(result.ok() == referenceOk);
  if (referenceOk) {
    FUZZ_CHECK(out.size() == referenceSize);
    FUZZ_CHECK(out == std::string_view(reinterpret_cast<const char*>(reference.data()), referenceSize));
  }
  return 0;
}
