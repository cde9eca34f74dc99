// Inflating payload streams: one zlib stream in, the file's bytes out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace orvalis {

// Called with every output capacity tried, before the attempt; lets tests and
// benchmarks watch the growing-buffer rule at work.
using InflateAttemptObserver = std::function<void(std::size_t capacity)>;

// Replaces the zlib stream in `bytes` by its inflated content. zlib's one-shot
// uncompress() is called with capacities 4n, then doubling until past
// 10,000,000 bytes, then in steps of 10,000,000, and gives up once the capacity
// exceeds 2,000,000,000. Returns false on any failure (damaged, truncated or
// empty stream, buffer ceiling, out of memory), leaving `bytes` empty; returns
// true on success, so a stream that inflates to nothing is told apart from a
// damaged one.
[[nodiscard]] bool InflateData(std::string& bytes, const InflateAttemptObserver& observer = {});

// The capacity that follows `capacity` under the growing-buffer rule.
[[nodiscard]] std::size_t NextInflateCapacity(std::size_t capacity);

inline constexpr std::size_t kInflateCeiling = 2'000'000'000;
inline constexpr std::size_t kInflateStep = 10'000'000;

}  // namespace orvalis
