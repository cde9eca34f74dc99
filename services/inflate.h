// Inflating payload streams: one zlib stream in, the file's bytes out in
// chunks of a fixed size, so the memory used does not grow with the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvalis {

// No payload file may inflate to more than this many bytes.
inline constexpr std::uint64_t kInflateCeiling = 2'000'000'000;
// Output handed to the sink at a time. Under Wine, writing the 200 MiB text
// of the benchmark took 50 ms in chunks of 64 or 128 KiB and 110 ms in chunks
// of 256 KiB to 1 MiB: a chunk that stays in the processor's cache is copied
// to the file cache faster.
inline constexpr std::size_t kInflateChunk = 128 * 1024;

enum class InflateStatus {
  kOk,
  kDamaged,     // not exactly one complete zlib stream: empty, damaged, truncated,
                // followed by more data, or made with a preset dictionary
  kTooLarge,    // inflates to more than kInflateCeiling bytes
  kSinkFailed,  // the sink refused a chunk
  kNoMemory,
};

// What went wrong, in words for a log: "damaged stream", "too large", ...
[[nodiscard]] std::string_view InflateStatusText(InflateStatus status);

// zlib's Adler-32 of `bytes` continued from `adler` (1 to start), 16 bytes at
// a time with SSE2 where the processor has it (about twice as fast as zlib's
// own), else by zlib.
[[nodiscard]] std::uint32_t UpdateAdler32(std::uint32_t adler, std::string_view bytes);

template <typename Size>
struct InflateResult {
  InflateStatus status = InflateStatus::kDamaged;
  Size size = 0;  // bytes handed to the sink
  [[nodiscard]] bool ok() const { return status == InflateStatus::kOk; }
};

// Receives the inflated bytes in order, one chunk at a time; returning false
// stops the inflate with kSinkFailed.
using InflateSink = std::function<bool(std::string_view chunk)>;

// The inflate state and the output buffer, made on first use and reused for
// every stream after it: a fresh large allocation per file costs page faults,
// under Wine especially. One object serves one thread.
class InflateBuffers {
 public:
  explicit InflateBuffers(std::size_t chunkSize = kInflateChunk);
  ~InflateBuffers();
  InflateBuffers(const InflateBuffers&) = delete;
  InflateBuffers& operator=(const InflateBuffers&) = delete;

  [[nodiscard]] std::size_t chunkSize() const { return chunkSize_; }
  // Where the output chunks are made; null before the first inflate.
  [[nodiscard]] const char* chunkData() const;

 private:
  template <typename Size>
  friend InflateResult<Size> InflateChunked(std::string_view, InflateBuffers&, const InflateSink&);
  struct State;
  std::size_t chunkSize_;
  std::unique_ptr<State> state_;
};

// Inflates `stream` in one pass, handing the output to `sink` in chunks of at
// most buffers.chunkSize() bytes. The count of output bytes is kept in `Size`
// and checked against the ceiling before it grows, so a 32-bit count never
// wraps. A failure may come after some chunks were handed over: the caller
// throws away what it got.
template <typename Size>
[[nodiscard]] InflateResult<Size> InflateChunked(std::string_view stream, InflateBuffers& buffers,
                                                 const InflateSink& sink);

extern template InflateResult<std::uint32_t> InflateChunked(std::string_view, InflateBuffers&, const InflateSink&);
extern template InflateResult<std::uint64_t> InflateChunked(std::string_view, InflateBuffers&, const InflateSink&);

// Replaces the zlib stream in `bytes` by its inflated content, for small
// streams such as the descriptor. False on any failure, leaving `bytes`
// empty; true on success, so a stream that inflates to nothing is told apart
// from a damaged one.
[[nodiscard]] bool InflateData(std::string& bytes);

}  // namespace orvalis
