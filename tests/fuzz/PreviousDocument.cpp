// A previous document of any shape: reading it never crashes, gives one of
// the reader's documented results and reads only what a document can carry.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "document/ControlCharacters.h"
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
  // Nothing read may hold a character a document cannot carry.
  for (const std::string* text : {&timestamp, &previous.osCaption, &previous.cpuName,
                                  &previous.memoryTotal, &previous.diskTotal, &previous.diskFree}) {
    for (const char c : *text) {
      if (IsForbiddenControl(static_cast<unsigned char>(c))) std::abort();
    }
  }
  return 0;
}
