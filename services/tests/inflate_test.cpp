// The chunked inflate: bytes and sizes, every way a stream can fail, and the
// ceiling reached through a 32-bit count.
#include "services/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace orvalis {
namespace {

std::string Deflate(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                     static_cast<uLong>(data.size())),
            Z_OK);
  out.resize(size);
  return out;
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

// A zlib stream of any length whose content is one random pattern over and
// over, built from a deflated piece repeated: neither the content nor more than
// one piece of stream is ever held. The period is long because zlib copies a
// match a byte at a time, and a long distance lets it do so at gigabytes a second.
class RepeatingStream {
 public:
  RepeatingStream() : pattern_(RandomBytes(32'000, 11)) {}

  [[nodiscard]] std::string Make(std::uint64_t total) const {
    constexpr std::uint64_t kPiece = 2'048 * 32'000;  // whole periods, so pieces line up
    const std::string piece = Deflated(kPiece, false);
    const uLong pieceAdler = Adler(kPiece);
    std::string stream = "\x78\x01";
    uLong adler = adler32(0, nullptr, 0);
    for (std::uint64_t n = total / kPiece; n > 0; --n) {
      stream += piece;
      adler = adler32_combine(adler, pieceAdler, static_cast<z_off_t>(kPiece));
    }
    const std::uint64_t rest = total % kPiece;
    stream += Deflated(rest, true);
    adler = adler32_combine(adler, Adler(rest), static_cast<z_off_t>(rest));
    for (int shift = 24; shift >= 0; shift -= 8) stream += static_cast<char>(adler >> shift & 0xFF);
    return stream;
  }

  // Whether `chunk`, found at `offset` of the content, is what belongs there.
  [[nodiscard]] bool Matches(std::uint64_t offset, std::string_view chunk) const {
    size_t at = static_cast<size_t>(offset % pattern_.size());
    while (!chunk.empty()) {
      size_t n = std::min(chunk.size(), pattern_.size() - at);
      if (chunk.compare(0, n, std::string_view(pattern_).substr(at, n)) != 0) return false;
      chunk.remove_prefix(n);
      at = 0;
    }
    return true;
  }

 private:
  // Raw deflate blocks of the first `count` bytes of the content, ending on a
  // byte boundary; with `last` the final block, else after a full flush, so
  // that copies can follow each other.
  [[nodiscard]] std::string Deflated(std::uint64_t count, bool last) const {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out;
    char buffer[1 << 16];
    auto pump = [&](int flush) {
      do {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        EXPECT_NE(deflate(&z, flush), Z_STREAM_ERROR);
        out.append(buffer, sizeof buffer - z.avail_out);
      } while (z.avail_out == 0);
    };
    for (std::uint64_t left = count; left > 0;) {
      size_t n = static_cast<size_t>(std::min<std::uint64_t>(left, pattern_.size()));
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pattern_.data()));
      z.avail_in = static_cast<uInt>(n);
      pump(Z_NO_FLUSH);
      left -= n;
    }
    pump(last ? Z_FINISH : Z_FULL_FLUSH);
    deflateEnd(&z);
    return out;
  }

  [[nodiscard]] uLong Adler(std::uint64_t count) const {
    uLong adler = adler32(0, nullptr, 0);
    for (std::uint64_t left = count; left > 0;) {
      size_t n = static_cast<size_t>(std::min<std::uint64_t>(left, pattern_.size()));
      adler = adler32(adler, reinterpret_cast<const Bytef*>(pattern_.data()), static_cast<uInt>(n));
      left -= n;
    }
    return adler;
  }

  std::string pattern_;
};

TEST(InflateChunked, GivesTheOriginalBytesInBoundedChunksWithBuffersReused) {
  const std::string samples[] = {std::string(1'000'000, '\0'), RandomBytes(1'000'000, 1), "x",
                                 std::string("a\0b\0c", 5), ""};
  InflateBuffers buffers(4096);
  const char* chunk = nullptr;
  for (const auto& original : samples) {
    std::string out;
    size_t largest = 0;
    auto result = InflateChunked<std::uint64_t>(Deflate(original), buffers, [&](std::string_view piece) {
      largest = std::max(largest, piece.size());
      out.append(piece);
      return true;
    });
    ASSERT_TRUE(result.ok()) << original.size();
    EXPECT_EQ(result.size, original.size());
    EXPECT_TRUE(out == original) << original.size();
    EXPECT_LE(largest, 4096u);
    if (chunk == nullptr) chunk = buffers.chunkData();
    EXPECT_EQ(buffers.chunkData(), chunk) << "the output buffer is made once";
  }
}

TEST(InflateChunked, DamagedStreamsFailAndTheBuffersStayUsable) {
  const std::string good = Deflate(RandomBytes(10'000, 5));
  std::string trailer = good;
  trailer.back() = char(trailer.back() ^ 0x01);  // Adler-32 mismatch
  std::string header = good;
  header[0] = 0x00;
  // A stream that asks for a preset dictionary (FDICT set, dictionary id follows).
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, Z_DEFAULT_COMPRESSION), Z_OK);
  ASSERT_EQ(deflateSetDictionary(&z, reinterpret_cast<const Bytef*>("dictionary"), 10), Z_OK);
  std::string withDictionary(64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>("dictionary text"));
  z.avail_in = 15;
  z.next_out = reinterpret_cast<Bytef*>(withDictionary.data());
  z.avail_out = 64;
  ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  withDictionary.resize(64 - z.avail_out);
  deflateEnd(&z);
  const struct {
    const char* what;
    std::string stream;
  } cases[] = {
      {"empty input", ""},
      {"checksum changed", trailer},
      {"cut short", good.substr(0, good.size() - 10)},
      {"cut after the header", good.substr(0, 2)},
      {"header broken", header},
      {"not a stream", RandomBytes(500, 9)},
      {"data after the end", good + "x"},
      {"a second stream after the end", good + good},
      {"needs a dictionary", withDictionary},
  };
  InflateBuffers buffers(1024);
  for (const auto& c : cases) {
    EXPECT_EQ(InflateChunked<std::uint64_t>(c.stream, buffers, [](std::string_view) { return true; }).status,
              InflateStatus::kDamaged)
        << c.what;
    std::string bytes = c.stream;
    EXPECT_FALSE(InflateData(bytes)) << c.what;
    EXPECT_TRUE(bytes.empty()) << c.what;
    const std::string after = "after " + std::string(c.what);
    std::string again;
    EXPECT_TRUE(InflateChunked<std::uint64_t>(Deflate(after), buffers, [&](std::string_view p) {
                  again.append(p);
                  return true;
                }).ok());
    EXPECT_EQ(again, after);
  }
}

TEST(InflateChunked, ASinkThatRefusesStopsTheInflate) {
  InflateBuffers buffers(1000);
  int calls = 0;
  auto result = InflateChunked<std::uint64_t>(Deflate(std::string(10'000, 'z')), buffers, [&](std::string_view) {
    ++calls;
    return calls < 3;
  });
  EXPECT_EQ(result.status, InflateStatus::kSinkFailed);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(result.size, 2000u);
}

TEST(UpdateAdler32, AgreesWithZlibAtEveryLengthAndSplit) {
  const std::string data = RandomBytes(200'000, 4) + std::string(70'000, '\xFF');  // all-ones: the largest sums
  const size_t lengths[] = {0, 1, 15, 16, 17, 100, 5'551, 5'552, 5'553, 65'536 + 7, data.size()};
  for (size_t length : lengths) {
    for (size_t split : {size_t{0}, std::min<size_t>(1, length), length / 3}) {
      const std::string_view all(data.data() + (data.size() - length), length);  // ends on the 0xFF run
      const auto expected = static_cast<std::uint32_t>(
          adler32(1, reinterpret_cast<const Bytef*>(all.data()), static_cast<uInt>(all.size())));
      EXPECT_EQ(UpdateAdler32(UpdateAdler32(1, all.substr(0, split)), all.substr(split)), expected)
          << length << " split at " << split;
    }
  }
}

TEST(InflateData, AnEmptyFileIsAnEmptyResultNotAFailure) {
  std::string bytes = Deflate("");
  ASSERT_FALSE(bytes.empty());
  EXPECT_TRUE(InflateData(bytes));
  EXPECT_TRUE(bytes.empty());
  bytes = Deflate("descriptor");
  EXPECT_TRUE(InflateData(bytes));
  EXPECT_EQ(bytes, "descriptor");
}

// Two gigabytes through a 32-bit count, as the shipped 32-bit setup keeps it:
// the ceiling itself installs, one byte more fails without the count wrapping,
// and the only output memory is the one chunk buffer.
TEST(InflateChunked, AThirtyTwoBitCountReachesTheCeilingAndStopsJustPastIt) {
  const RepeatingStream content;
  InflateBuffers buffers;
  const char* chunk = nullptr;
  for (std::uint64_t total : {kInflateCeiling, kInflateCeiling + 1}) {
    std::uint64_t seen = 0;
    size_t largest = 0;
    bool same = true;
    auto result = InflateChunked<std::uint32_t>(content.Make(total), buffers, [&](std::string_view piece) {
      same = same && content.Matches(seen, piece);
      seen += piece.size();
      largest = std::max(largest, piece.size());
      return true;
    });
    if (chunk == nullptr) chunk = buffers.chunkData();
    EXPECT_EQ(buffers.chunkData(), chunk);
    EXPECT_LE(largest, kInflateChunk);
    EXPECT_TRUE(same);
    EXPECT_EQ(result.size, seen) << total;
    if (total == kInflateCeiling) {
      EXPECT_EQ(result.status, InflateStatus::kOk);
      EXPECT_EQ(result.size, kInflateCeiling);
    } else {
      EXPECT_EQ(result.status, InflateStatus::kTooLarge);
      EXPECT_LE(result.size, kInflateCeiling);
      EXPECT_GT(result.size, kInflateCeiling - kInflateChunk);
    }
  }
}

}  // namespace
}  // namespace orvalis
