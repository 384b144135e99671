#include "agent/AgentOptions.h"

#include <charconv>

const char kAgentUsage[] =
    "usage: morv-agent [options]\n"
    "       morv-agent --show [PATH]\n"
    "  --detail N        detail mode: 1 writes every class, other values the summary only"
    " (default 1)\n"
    "  --device ID       device id written to the document (default: the computer name)\n"
    "  --document PATH   asset document path (default AgentHardwareAsset.XML)\n"
    "  --no-staging      do not create Results\\Backup beside the agent\n"
    "  --runs N          inventory runs in one load of the module (default 1)\n"
    "  --show [PATH]     print the document at PATH (default: the document path) without\n"
    "                    running an inventory; exit 3 missing, 4 malformed, 5 not an asset\n"
    "                    document, 6 no XML document object\n"
    "  --help            this text\n";

namespace {

bool ParseInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  const auto [next, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && next == end && !text.empty();
}

}  // namespace

ParsedOptions ParseAgentOptions(const std::vector<std::string>& args) {
  AgentOptions options;
  std::string runOption;  // the first option that only a run takes
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") return {};
    if (runOption.empty() && arg != "--show" && arg != "--document") runOption = arg;
    if (arg == "--show") {
      options.show = true;
      // The path is optional: a following option is not one.
      if (hasValue && args[i + 1].rfind('-', 0) != 0) {
        options.documentPath = args[++i];
        if (options.documentPath.empty()) return {{}, "empty document path"};
      }
    } else if (arg == "--no-staging") {
      options.createStaging = false;
    } else if (arg == "--detail" && hasValue) {
      if (!ParseInt(args[++i], options.detailMode)) return {{}, "bad detail mode: " + args[i]};
    } else if (arg == "--runs" && hasValue) {
      if (!ParseInt(args[++i], options.runs) || options.runs < 1)
        return {{}, "bad run count: " + args[i]};
    } else if (arg == "--device" && hasValue) {
      options.deviceId = args[++i];
    } else if (arg == "--document" && hasValue) {
      options.documentPath = args[++i];
      if (options.documentPath.empty()) return {{}, "empty document path"};
    } else if (!hasValue &&
               (arg == "--detail" || arg == "--runs" || arg == "--device" || arg == "--document")) {
      return {{}, "missing value for " + arg};
    } else {
      return {{}, "unknown argument: " + arg};
    }
  }
  if (options.show && !runOption.empty())
    return {{}, "--show runs no inventory: drop " + runOption};
  return {options, {}};
}
