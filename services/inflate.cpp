// The chunked, single-pass inflate of payload streams.
#include "services/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

// The Adler-32 of payload streams is computed 16 bytes at a time with SSE2.
// Every x86-64 processor has it; the 32-bit build is made for processors that
// may lack it, so there the SSE2 code is compiled for SSE2 alone and chosen
// when the processor has it. Elsewhere zlib's own does the work.
#if defined(__x86_64__) || defined(__i386__)
#define ORVALIS_ADLER_SSE2 1
#include <cpuid.h>
#include <emmintrin.h>
#endif

namespace orvalis {

struct InflateBuffers::State {
  z_stream stream{};
  std::vector<char> chunk;
  ~State() { inflateEnd(&stream); }
};

InflateBuffers::InflateBuffers(std::size_t chunkSize) : chunkSize_(std::max<std::size_t>(chunkSize, 1)) {}

InflateBuffers::~InflateBuffers() = default;

const char* InflateBuffers::chunkData() const { return state_ ? state_->chunk.data() : nullptr; }

namespace {

constexpr std::uint32_t kAdlerBase = 65521;
// The most bytes whose sums fit 32 bits before they are reduced (zlib's NMAX).
constexpr std::size_t kAdlerBlock = 5552;

void AdlerBytes(std::uint32_t& a, std::uint32_t& b, const unsigned char* p, std::size_t n) {
  for (; n > 0; --n) {
    a += *p++;
    b += a;
  }
}

// zlib's Adler-32, which sums 16 bytes a step without vector instructions.
std::uint32_t ZlibAdler32(std::uint32_t adler, std::string_view bytes) {
  uLong sum = adler;
  while (!bytes.empty()) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(bytes.size(), UINT_MAX));
    sum = adler32(sum, reinterpret_cast<const Bytef*>(bytes.data()), n);
    bytes.remove_prefix(n);
  }
  return static_cast<std::uint32_t>(sum);
}

#if defined(ORVALIS_ADLER_SSE2)
bool HasSse2() {
#if defined(__SSE2__)
  return true;
#else
  static const bool has = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
  }();
  return has;
#endif
}

__attribute__((target("sse2"))) std::uint32_t Sse2Adler32(std::uint32_t adler, std::string_view bytes) {
  std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
  auto p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  while (n > 0) {
    std::size_t block = std::min(n, kAdlerBlock);
    n -= block;
    // 16 bytes a step: the byte sums (for a), the sums of the a's before each
    // step, and the bytes weighted 16 down to 1 (for b).
    const std::size_t steps = block / 16;
    if (steps > 0) {
      const __m128i zero = _mm_setzero_si128();
      const __m128i weightsHigh = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
      const __m128i weightsLow = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
      __m128i sums = zero, prefix = zero, weighted = zero;
      for (std::size_t i = 0; i < steps; ++i, p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        prefix = _mm_add_epi32(prefix, sums);
        sums = _mm_add_epi32(sums, _mm_sad_epu8(v, zero));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), weightsHigh));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), weightsLow));
      }
      alignas(16) std::uint32_t s[4], q[4], w[4];
      _mm_store_si128(reinterpret_cast<__m128i*>(s), sums);
      _mm_store_si128(reinterpret_cast<__m128i*>(q), prefix);
      _mm_store_si128(reinterpret_cast<__m128i*>(w), weighted);
      const std::uint64_t byteSum = std::uint64_t{s[0]} + s[2];
      const std::uint64_t b64 = b + std::uint64_t{a} * 16 * steps + 16 * (std::uint64_t{q[0]} + q[2]) +
                                std::uint64_t{w[0]} + w[1] + w[2] + w[3];
      a = static_cast<std::uint32_t>((a + byteSum) % kAdlerBase);
      b = static_cast<std::uint32_t>(b64 % kAdlerBase);
      block -= steps * 16;
    }
    AdlerBytes(a, b, p, block);
    p += block;
    a %= kAdlerBase;
    b %= kAdlerBase;
  }
  return b << 16 | a;
}
#endif

// The two header bytes of a zlib stream, checked as inflate() checks them: a
// multiple of 31, deflate, a window of at most 32 KiB, no preset dictionary
// (which a payload stream cannot bring along).
bool GoodHeader(std::string_view stream) {
  if (stream.size() < 2) return false;
  const auto method = static_cast<unsigned char>(stream[0]), flags = static_cast<unsigned char>(stream[1]);
  return (method << 8 | flags) % 31 == 0 && (method & 0x0F) == Z_DEFLATED && (method >> 4) <= 7 && (flags & 0x20) == 0;
}

}  // namespace

std::uint32_t UpdateAdler32(std::uint32_t adler, std::string_view bytes) {
#if defined(ORVALIS_ADLER_SSE2)
  if (HasSse2()) return Sse2Adler32(adler, bytes);
#endif
  return ZlibAdler32(adler, bytes);
}

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
  // zlib's inflate() reads the header and the Adler-32 trailer itself; here
  // they are read around a raw inflate, so that the checksum is computed 16
  // bytes at a time: zlib's own Adler-32 took a quarter of the inflate time.
  // Any stream that uncompress() accepts, with nothing after it, passes.
  constexpr std::size_t kHeader = 2, kTrailer = 4;
  if (!GoodHeader(stream)) return result;
  try {
    if (!buffers.state_) {
      auto state = std::make_unique<InflateBuffers::State>();
      state->chunk.resize(std::min<std::size_t>(buffers.chunkSize_, UINT_MAX));
      if (inflateInit2(&state->stream, -MAX_WBITS) != Z_OK) {
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
  const char* next = stream.data() + kHeader;
  std::size_t left = stream.size() - kHeader;  // input not yet given to zlib
  std::uint32_t adler = 1;
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
      adler = UpdateAdler32(adler, std::string_view(chunk.data(), have));
      if (!sink(std::string_view(chunk.data(), have))) {
        result.status = InflateStatus::kSinkFailed;
        return result;
      }
      result.size = static_cast<Size>(result.size + have);
    }
    if (rc == Z_STREAM_END) {
      // The checksum must follow, and nothing after it: more makes the stream
      // as damaged as a cut one.
      if (z.avail_in + left != kTrailer) return result;
      std::uint32_t stored = 0;
      for (char c : stream.substr(stream.size() - kTrailer)) stored = stored << 8 | static_cast<unsigned char>(c);
      if (stored == adler) result.status = InflateStatus::kOk;
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
