// A previous document of any shape: reading it never crashes and gives one
// of the reader's documented results.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "document/pugi/PugiDom.h"
#include "entry/InventorySummary.h"
#include "tracking/ChangeComparison.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/morv-fuzz-previous-" + std::to_string(::getpid()) + ".xml";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  PugiDomFactory dom;
  InventorySummary previous;
  std::string timestamp;
  const int result = ReadPreviousSummary(path, previous, timestamp, &dom);
  if (result != 0 && result != -203 && result != -205) std::abort();
  return 0;
}
