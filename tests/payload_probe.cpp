// Test program: lists its own payload the way the setup does and prints, for
// every entry, the inflated size and CRC-32, or FAILED. Packed by the end-to-end
// tests with orvalis-pack and run under Wine.
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "services/inflate.h"
#include "services/payload.h"

int main() {
  std::vector<std::string> names;
  if (!orvalis::ListResourceNames(nullptr, &names, "FILE:", RT_RCDATA)) {
    std::printf("NO PAYLOAD\n");
    return 1;
  }
  for (const auto& name : names) {
    std::string bytes = orvalis::LoadResourceData(nullptr, "FILE:" + name, RT_RCDATA);
    size_t stored = bytes.size();
    if (bytes.empty() || !orvalis::InflateData(bytes)) {
      std::printf("%s\tFAILED\n", name.c_str());
      continue;
    }
    unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
    std::printf("%s\t%zu\t%zu\t%08lx\n", name.c_str(), stored, bytes.size(), crc);
  }
  return 0;
}
