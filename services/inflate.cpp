// The chunked, single-pass inflate of payload streams.
#include "services/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

namespace orvalis {

struct InflateBuffers::State {
  z_stream stream{};
  std::vector<char> chunk;
  ~State() { inflateEnd(&stream); }
};

InflateBuffers::InflateBuffers(std::size_t chunkSize) : chunkSize_(std::max<std::size_t>(chunkSize, 1)) {}

InflateBuffers::~InflateBuffers() = default;

const char* InflateBuffers::chunkData() const { return state_ ? state_->chunk.data() : nullptr; }

std::string_view InflateStatusText(InflateStatus status) {
  switch (status) {
    case InflateStatus::kOk: return "ok";
    case InflateStatus::kDamaged: return "damaged stream";
    case InflateStatus::kTooLarge: return "too large";
    case InflateStatus::kSinkFailed: return "write failed";
    case InflateStatus::kNoMemory: return "out of memory";
  }
  return "damaged stream";
}

template <typename Size>
InflateResult<Size> InflateChunked(std::string_view stream, InflateBuffers& buffers, const InflateSink& sink) {
  static_assert(kInflateCeiling <= static_cast<std::uint64_t>(Size(~Size(0))), "the ceiling must fit the count");
  constexpr Size kCeiling = static_cast<Size>(kInflateCeiling);
  InflateResult<Size> result;
  // zlib's smallest stream is 8 bytes; an empty resource is no stream at all.
  if (stream.empty()) return result;
  try {
    if (!buffers.state_) {
      auto state = std::make_unique<InflateBuffers::State>();
      state->chunk.resize(std::min<std::size_t>(buffers.chunkSize_, UINT_MAX));
      if (inflateInit(&state->stream) != Z_OK) {
        result.status = InflateStatus::kNoMemory;
        return result;
      }
      buffers.state_ = std::move(state);
    } else if (inflateReset(&buffers.state_->stream) != Z_OK) {
      result.status = InflateStatus::kNoMemory;
      return result;
    }
  } catch (const std::bad_alloc&) {
    result.status = InflateStatus::kNoMemory;
    return result;
  }
  z_stream& z = buffers.state_->stream;
  std::vector<char>& chunk = buffers.state_->chunk;
  const char* next = stream.data();
  std::size_t left = stream.size();  // input not yet given to zlib
  z.avail_in = 0;
  for (;;) {
    if (z.avail_in == 0 && left != 0) {
      const std::size_t give = std::min<std::size_t>(left, UINT_MAX);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
      z.avail_in = static_cast<uInt>(give);
      next += give;
      left -= give;
    }
    z.next_out = reinterpret_cast<Bytef*>(chunk.data());
    z.avail_out = static_cast<uInt>(chunk.size());
    const int rc = inflate(&z, Z_NO_FLUSH);
    const std::size_t have = chunk.size() - z.avail_out;
    if (have != 0) {
      // Compared before adding, so the count itself never passes the ceiling.
      if (have > static_cast<std::size_t>(kCeiling - result.size)) {
        result.status = InflateStatus::kTooLarge;
        return result;
      }
      if (!sink(std::string_view(chunk.data(), have))) {
        result.status = InflateStatus::kSinkFailed;
        return result;
      }
      result.size = static_cast<Size>(result.size + have);
    }
    if (rc == Z_STREAM_END) {
      // Anything after the stream's end makes it as damaged as a cut one.
      result.status = z.avail_in == 0 && left == 0 ? InflateStatus::kOk : InflateStatus::kDamaged;
      return result;
    }
    if (rc == Z_MEM_ERROR) {
      result.status = InflateStatus::kNoMemory;
      return result;
    }
    // Z_BUF_ERROR with room for output means the input ran out before the
    // stream ended; Z_NEED_DICT, Z_DATA_ERROR and Z_STREAM_ERROR are damage.
    if (rc != Z_OK) return result;
  }
}

template InflateResult<std::uint32_t> InflateChunked(std::string_view, InflateBuffers&, const InflateSink&);
template InflateResult<std::uint64_t> InflateChunked(std::string_view, InflateBuffers&, const InflateSink&);

bool InflateData(std::string& bytes) {
  std::string input;
  input.swap(bytes);  // on every failure path `bytes` stays empty
  InflateBuffers buffers(64 * 1024);
  std::string output;
  auto result = InflateChunked<std::uint64_t>(input, buffers, [&output](std::string_view chunk) {
    try {
      output.append(chunk);
    } catch (const std::bad_alloc&) {
      return false;  // a 32-bit process runs out of address space: that stream fails
    }
    return true;
  });
  if (!result.ok()) return false;
  bytes.swap(output);
  return true;
}

}  // namespace orvalis
