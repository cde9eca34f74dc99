// Inflating arbitrary bytes as a payload stream: failure leaves nothing, and a
// success gives what zlib's streaming inflate makes of the same bytes.
// Input: the stream; a stream made by deflating the input is tried as well.
#include "fuzz/fuzz_check.h"
#include "services/inflate.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace orvalis;

namespace {

// The reference: inflate() in steps, with the same rule that the stream must be
// complete and followed by nothing.
bool ReferenceInflate(std::string_view in, std::string& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  char buffer[4096];
  int rc;
  do {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
    if (out.size() > (1u << 24)) rc = Z_MEM_ERROR;
  } while (rc == Z_OK);
  inflateEnd(&z);
  return rc == Z_STREAM_END && z.avail_in == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::string bytes(input);
  const bool ok = InflateData(bytes);
  if (!ok) FUZZ_CHECK(bytes.empty());
  if (input.empty()) FUZZ_CHECK(!ok);
  std::string reference;
  const bool referenceOk = ReferenceInflate(input, reference);
  FUZZ_CHECK(ok == referenceOk);
  if (ok) FUZZ_CHECK(bytes == reference);
  if (size == 0) return 0;

  // Round trip: the input deflated and inflated again is the input.
  uLongf packedSize = compressBound(static_cast<uLong>(size));
  std::string packed(packedSize, '\0');
  FUZZ_CHECK(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, data, static_cast<uLong>(size),
                       data[0] % 10) == Z_OK);
  packed.resize(packedSize);
  std::string inflated = packed;
  FUZZ_CHECK(InflateData(inflated));
  FUZZ_CHECK(inflated == input);
  // Cut short anywhere, the stream fails and leaves nothing.
  std::string cut = packed.substr(0, data[size - 1] % packedSize);
  FUZZ_CHECK(!InflateData(cut));
  FUZZ_CHECK(cut.empty());
  return 0;
}
