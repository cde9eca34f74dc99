// The growing-buffer inflate of payload streams.
#include "services/inflate.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace orvalis {

std::size_t NextInflateCapacity(std::size_t capacity) {
  return capacity + std::min(capacity, kInflateStep);
}

bool InflateData(std::string& bytes, const InflateAttemptObserver& observer) {
  std::string input;
  input.swap(bytes);  // on every failure path `bytes` stays empty
  if (input.empty()) return false;
  // Every zlib stream is at least 6 bytes, so 4n never starts at zero.
  std::size_t capacity = 4 * input.size();
  try {
    for (;;) {
      if (observer) observer(capacity);
      std::string output(capacity, '\0');
      uLongf length = static_cast<uLongf>(capacity);
      int rc = ::uncompress(reinterpret_cast<Bytef*>(output.data()), &length,
                            reinterpret_cast<const Bytef*>(input.data()),
                            static_cast<uLong>(input.size()));
      if (rc == Z_OK) {
        output.resize(length);
        output.shrink_to_fit();
        bytes.swap(output);
        return true;
      }
      if (rc != Z_BUF_ERROR || capacity > kInflateCeiling) return false;
      capacity = NextInflateCapacity(capacity);
    }
  } catch (const std::bad_alloc&) {
    // A 32-bit process runs out of address space long before the ceiling:
    // that file fails like a damaged one instead of ending the setup.
    return false;
  }
}

}  // namespace orvalis
