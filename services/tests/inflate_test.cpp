// The growing-buffer inflate: sizes, attempts and every way a stream can fail.
#include "services/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace orvalis {
namespace {

std::string Deflate(const std::string& data, int level = Z_DEFAULT_COMPRESSION) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                      static_cast<uLong>(data.size()), level),
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

// Text of exactly `size` bytes whose default-level stream is exactly `streamSize` bytes:
// random letters (little redundancy) padded with zeros, tuned by bisection.
std::string TextWithStreamSize(size_t size, size_t streamSize) {
  size_t lo = 0, hi = size;
  while (lo < hi) {
    size_t mid = (lo + hi + 1) / 2;
    std::string s = RandomBytes(mid, 7);
    for (char& c : s) c = char('a' + (static_cast<unsigned char>(c) % 26));
    s.resize(size, '\0');
    if (Deflate(s).size() <= streamSize) lo = mid; else hi = mid - 1;
  }
  std::string s = RandomBytes(lo, 7);
  for (char& c : s) c = char('a' + (static_cast<unsigned char>(c) % 26));
  s.resize(size, '\0');
  return s;
}

TEST(InflateData, ReturnsTheOriginalBytes) {
  const std::string samples[] = {std::string(1'000'000, '\0'), RandomBytes(1'000'000, 1), "x",
                                 std::string("a\0b\0c", 5)};
  for (const auto& original : samples) {
    std::string bytes = Deflate(original);
    ASSERT_TRUE(InflateData(bytes));
    EXPECT_EQ(bytes.size(), original.size());
    EXPECT_TRUE(bytes == original);
  }
}

TEST(InflateData, AnEmptyFileIsAnEmptyResultNotAFailure) {
  std::string bytes = Deflate("");
  ASSERT_FALSE(bytes.empty());
  EXPECT_TRUE(InflateData(bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(InflateData, TriesFourTimesTheInputThenDoubles) {
  std::string original = TextWithStreamSize(10'000, 1'000);
  std::string bytes = Deflate(original);
  ASSERT_EQ(bytes.size(), 1'000u);
  std::vector<size_t> tried;
  ASSERT_TRUE(InflateData(bytes, [&](size_t c) { tried.push_back(c); }));
  EXPECT_EQ(tried, (std::vector<size_t>{4'000, 8'000, 16'000}));
  EXPECT_EQ(bytes, original);
}

TEST(InflateData, AStreamThatFitsIsInflatedInOneAttempt) {
  std::string original = RandomBytes(5'000, 3);
  std::string bytes = Deflate(original);
  int attempts = 0;
  ASSERT_TRUE(InflateData(bytes, [&](size_t) { ++attempts; }));
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(bytes, original);
}

TEST(InflateData, CapacityDoublesUntilPastTenMillionThenGrowsInSteps) {
  EXPECT_EQ(NextInflateCapacity(4'000), 8'000u);
  EXPECT_EQ(NextInflateCapacity(9'000'000), 18'000'000u);
  EXPECT_EQ(NextInflateCapacity(10'000'000), 20'000'000u);
  EXPECT_EQ(NextInflateCapacity(18'000'000), 28'000'000u);
  // 100 MB of zeros: a ~100 KB stream, capacities 0.4, 0.8, ... MB then +10 MB steps.
  std::string bytes = Deflate(std::string(100'000'000, '\0'));
  std::vector<size_t> tried;
  ASSERT_TRUE(InflateData(bytes, [&](size_t c) { tried.push_back(c); }));
  EXPECT_EQ(bytes.size(), 100'000'000u);
  ASSERT_GE(tried.size(), 3u);
  for (size_t i = 1; i < tried.size(); ++i) EXPECT_EQ(tried[i], NextInflateCapacity(tried[i - 1]));
  EXPECT_GE(tried.back(), 100'000'000u);
  EXPECT_LT(tried[tried.size() - 2], 100'000'000u);
}

TEST(InflateData, DamagedStreamsFailAndLeaveNothing) {
  std::string good = Deflate(RandomBytes(10'000, 5));
  std::string trailer = good;
  trailer.back() = char(trailer.back() ^ 0x01);  // Adler-32 mismatch
  std::string truncated = good.substr(0, good.size() - 10);
  std::string header = good;
  header[0] = 0x00;
  std::string garbage = RandomBytes(500, 9);
  const std::string* damaged[] = {&trailer, &truncated, &header, &garbage};
  for (const std::string* d : damaged) {
    std::string bytes = *d;
    EXPECT_FALSE(InflateData(bytes));
    EXPECT_TRUE(bytes.empty());
  }
  std::string empty;
  int attempts = 0;
  EXPECT_FALSE(InflateData(empty, [&](size_t) { ++attempts; }));
  EXPECT_EQ(attempts, 0);  // no endless loop over a zero capacity
}

}  // namespace
}  // namespace orvalis
